#include "http/cookies.h"

#include <gtest/gtest.h>

#include <random>
#include <ostream>
#include <string>

#include "text/primitives.h"

namespace miravel {
namespace {

const Text kFullWidthSpace = "\xA1\xA1";

struct MergeCase {
  const char* name;
  Text stored;
  Text fresh;
  Text merged;
  Text freshAfter;
};

void PrintTo(const MergeCase& c, std::ostream* os) { *os << c.name; }

const MergeCase kMergeCases[] = {
    {"StoredEmpty", "", "a=1; b=2", "a=1; b=2", "a=1;b=2"},
    {"FreshReplacesStored", "a=1; b=2", "b=3", "b=3; a=1", "b=3"},
    {"FreshEmpty", "a=1; b=2", "", "a=1; b=2", ""},
    {"Deleted", "a=1; b=2", "a=deleted", "b=2", "a=deleted"},
    {"NamesAreCaseSensitive", "A=1", "a=2", "a=2; A=1", "a=2"},
    {"FreshRepeatsOfOneNameStay", "", "a=1; a=2", "a=1; a=2", "a=1;a=2"},
    {"ExactRepeatsRemoved", "", "a=1; a=1", "a=1", "a=1;a=1"},
    {"FirstStoredOfANameWins", "x=1; x=2", "", "x=1", ""},
    {"SpacesRemoved", "", "k=a b", "k=ab", "k=ab"},
    {"FullWidthSpacesRemoved", "v=1" + kFullWidthSpace + "2", "", "v=12", ""},
    {"EntryWithoutEquals", "flag; a=1", "flag", "flag; a=1", "flag"},
    {"EmptyEntrySurvivesOnce", "a=1;;b=2", "", "a=1; ; b=2", ""},
    {"FinalSeparatorGivesNoEntry", "a=1;", "", "a=1", ""},
    {"BothEmpty", "", "", "", ""},
    {"DeletedIsExactCaseAfterSpaceRemoval", "", "a=DELETED; b=deleted ", "a=DELETED", "a=DELETED;b=deleted"},
    {"DeletedNeedsTheWholeSuffix", "=deleted; x=deleted1", "", "x=deleted1", ""},
};

class MergeCookiesTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesTest, MergesAndReplacesBothArguments) {
  const MergeCase& c = GetParam();
  Text stored = c.stored;
  Text fresh = c.fresh;
  EXPECT_EQ(MergeCookies(stored, fresh), c.merged);
  EXPECT_EQ(stored, c.merged);
  EXPECT_EQ(fresh, c.freshAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, MergeCookiesTest, ::testing::ValuesIn(kMergeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MergeCookiesTest, RepeatedNameFromAnswerCollapsesAtTheNextMerge) {
  Text stored;
  Text fresh = "a=1; a=2";
  MergeCookies(stored, fresh);
  Text none;
  EXPECT_EQ(MergeCookies(stored, none), "a=1");
}

// The merge as a plain sequence of scans over the lists, the way the
// routines below define it; the hashed MergeCookies must agree with it.
Text ScanningMerge(Text& stored, Text& fresh) {
  stored = RemoveAllSpaces(stored);
  fresh = RemoveAllSpaces(fresh);
  const TextArray storedList = SplitText(stored, ";");
  TextArray merged = SplitText(fresh, ";");
  for (const Text& entry : storedList) {
    if (!HasCookieName(merged, CookieName(entry))) AppendText(merged, entry);
  }
  stored.clear();
  for (const Text& entry : merged) {
    if (TextRight(entry, 8) != "=deleted") stored += entry + "; ";
  }
  stored = TextLeft(stored, TextLength(stored) - 2);
  TextArray seen;
  Text result;
  for (const Text& piece : SplitText(stored, "; ")) {
    if (IndexOfText(seen, piece) == -1) {
      AppendText(seen, piece);
      result += piece + "; ";
    }
  }
  stored = TextLeft(result, TextLength(result) - 2);
  return stored;
}

Text RandomCookieString(std::mt19937& random) {
  static const char* const kPieces[] = {"a=1", "a=2", "b=1", "A=1", "b", "c=deleted", "",
                                        " d = 4 ", "a=deleted", "e=x y", "=1", "f="};
  std::uniform_int_distribution<int> count(0, 6);
  std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(kPieces)) - 1);
  std::uniform_int_distribution<int> separator(0, 2);
  Text text;
  const int n = count(random);
  for (int i = 0; i < n; ++i) {
    if (i > 0) text += separator(random) == 0 ? ";" : "; ";
    text += kPieces[pick(random)];
  }
  return text;
}

TEST(MergeCookiesTest, AgreesWithTheScanningDefinition) {
  std::mt19937 random(20240611);
  for (int i = 0; i < 5000; ++i) {
    const Text stored = RandomCookieString(random);
    const Text fresh = RandomCookieString(random);
    Text storedA = stored, freshA = fresh, storedB = stored, freshB = fresh;
    ASSERT_EQ(MergeCookies(storedA, freshA), ScanningMerge(storedB, freshB))
        << "stored '" << stored << "' fresh '" << fresh << "'";
    ASSERT_EQ(freshA, freshB);
  }
}

TEST(CookieNameTest, Names) {
  EXPECT_EQ(CookieName("a=1=2"), "a");
  EXPECT_EQ(CookieName(" a =1"), "a");
  EXPECT_EQ(CookieName(kFullWidthSpace + "flag "), "flag");
  EXPECT_EQ(CookieName("=1"), "");
  EXPECT_EQ(CookieName(""), "");
}

TEST(HasCookieNameTest, ExactByteComparison) {
  const TextArray entries({"a=1", "B=2", "flag"});
  EXPECT_TRUE(HasCookieName(entries, "B"));
  EXPECT_TRUE(HasCookieName(entries, "flag"));
  EXPECT_FALSE(HasCookieName(entries, "b"));
  EXPECT_FALSE(HasCookieName(TextArray{}, ""));
}

TEST(RemoveDuplicateEntriesTest, KeepsFirstOccurrences) {
  EXPECT_EQ(RemoveDuplicateEntries("a; b; a; ; ; c", "; "), "a; b; ; c");
  EXPECT_EQ(RemoveDuplicateEntries("x,y,x,", ","), "x,y");
  EXPECT_EQ(RemoveDuplicateEntries("", "; "), "");
  EXPECT_EQ(RemoveDuplicateEntries("whole", ""), "whole");
}

TEST(IndexOfTextTest, FirstEqualMemberOrMinusOne) {
  const TextArray array({"a", "", "b", "a"});
  EXPECT_EQ(IndexOfText(array, "a"), 1);
  EXPECT_EQ(IndexOfText(array, ""), 2);
  EXPECT_EQ(IndexOfText(array, "b"), 3);
  EXPECT_EQ(IndexOfText(array, "A"), -1);
  EXPECT_EQ(IndexOfText(TextArray{}, ""), -1);
}

}  // namespace
}  // namespace miravel
