#include "regex/regex_object.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace miravel {
namespace {

// GBK spellings of the Chinese texts used below.
const Text kZhongWen = "\xD6\xD0\xCE\xC4";  // 中文
const Text kWen = "\xCE\xC4";               // 文
const Text kFullwidthOne = "\xA3\xB1";      // １

struct MatchCase {
  std::string name;
  Text pattern;
  Text subject;
  bool caseSensitive;
  bool multiline;
  bool global;
  std::vector<Text> texts;      // every match, in order
  std::vector<int> positions;   // their byte offsets
};

void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.name; }

class RegexMatches : public ::testing::TestWithParam<MatchCase> {};

TEST_P(RegexMatches, GiveTextsAndByteOffsets) {
  const MatchCase& c = GetParam();
  RegexObject regex;
  ASSERT_TRUE(regex.Compile(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global));
  ASSERT_EQ(regex.MatchCount(), static_cast<int>(c.texts.size()));
  for (int i = 0; i < regex.MatchCount(); ++i) {
    int position = -100;
    EXPECT_EQ(regex.MatchText(i + 1, &position), c.texts[i]) << "match " << i + 1;
    EXPECT_EQ(position, c.positions[i]) << "match " << i + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegexMatches,
    ::testing::Values(
        MatchCase{"PairsGlobal", "(\\d+)-(\\d+)", "x 12-34 y 5-6", false, true, true,
                  {"12-34", "5-6"}, {2, 10}},
        MatchCase{"PairsFirstOnly", "(\\d+)-(\\d+)", "x 12-34 y 5-6", false, true, false,
                  {"12-34"}, {2}},
        MatchCase{"NoMatch", "z+", "x 12-34", false, true, true, {}, {}},
        MatchCase{"IgnoreCaseByDefault", "abc", "xABCx", false, true, true, {"ABC"}, {1}},
        MatchCase{"CaseSensitive", "abc", "xABCx abc", true, true, true, {"abc"}, {6}},
        MatchCase{"ChineseBeforeMatch", "\\d+", kZhongWen + " 42", false, true, true, {"42"}, {5}},
        MatchCase{"ChineseInPattern", kWen + "\\d", kZhongWen + "1" + kZhongWen + "2", false, true,
                  true, {kWen + "1", kWen + "2"}, {2, 7}},
        MatchCase{"WordIsAscii", "\\w+", "ab" + kZhongWen + "c_1", false, true, true,
                  {"ab", "c_1"}, {0, 6}},
        MatchCase{"DigitIsAscii", "\\d", kFullwidthOne + "7", false, true, true, {"7"}, {2}},
        MatchCase{"MultilineAnchor", "^b", "a\r\nb", false, true, true, {"b"}, {3}},
        MatchCase{"SingleLineAnchor", "^b", "a\r\nb", false, false, true, {}, {}},
        MatchCase{"DotMatchesLineBreak", "a.b", "a\nb", false, false, true, {"a\nb"}, {0}},
        MatchCase{"EmptyMatchesStepOn", "x*", "ab", false, true, true, {"", "", ""}, {0, 1, 2}},
        MatchCase{"LoneLeadByteAtEnd", "\\w+", "ab\xD6", false, true, true, {"ab"}, {0}}),
    [](const auto& info) { return info.param.name; });

struct GroupCase {
  std::string name;
  Text pattern;
  Text subject;
  int match;
  int group;
  Text text;
  int position;
};

void PrintTo(const GroupCase& c, std::ostream* os) { *os << c.name; }

class RegexGroups : public ::testing::TestWithParam<GroupCase> {};

TEST_P(RegexGroups, GiveCapturedTextAndItsOffset) {
  const GroupCase& c = GetParam();
  RegexObject regex;
  ASSERT_TRUE(regex.Compile(c.pattern, c.subject));
  int position = -100;
  EXPECT_EQ(regex.SubmatchText(c.match, c.group, &position), c.text);
  EXPECT_EQ(position, c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegexGroups,
    ::testing::Values(
        GroupCase{"SecondGroup", "(\\d+)-(\\d+)", "x 12-34 y 5-6", 1, 2, "34", 5},
        GroupCase{"SecondMatch", "(\\d+)-(\\d+)", "x 12-34 y 5-6", 2, 1, "5", 10},
        // The group's own place, not an earlier copy of its text in the match.
        GroupCase{"SameTextEarlier", "(\\d)-(\\d)", "1-1", 1, 2, "1", 2},
        GroupCase{"AfterChinese", "id=(\\d+)", kZhongWen + "id=77", 1, 1, "77", 7},
        GroupCase{"GroupTookNoPart", "(a)|(b)", "b", 1, 1, "", -1},
        GroupCase{"OtherAlternative", "(a)|(b)", "b", 1, 2, "b", 0},
        GroupCase{"MatchZero", "(\\d)", "1", 0, 1, "", -1},
        GroupCase{"MatchBeyond", "(\\d)", "1", 2, 1, "", -1},
        GroupCase{"GroupZero", "(\\d)", "1", 1, 0, "", -1},
        GroupCase{"GroupBeyond", "(\\d)", "1", 1, 2, "", -1}),
    [](const auto& info) { return info.param.name; });

TEST(RegexObject, CountsGroupsOfTheFirstMatch) {
  RegexObject regex;
  EXPECT_EQ(regex.SubmatchCount(), 0);
  ASSERT_TRUE(regex.Compile("(\\d+)-(\\d+)", "x 12-34 y 5-6"));
  EXPECT_EQ(regex.SubmatchCount(), 2);
  ASSERT_TRUE(regex.Compile("(\\d+)-(\\d+)", "no digits"));
  EXPECT_EQ(regex.SubmatchCount(), 0);
}

TEST(RegexObject, NothingBeforeTheFirstCompile) {
  RegexObject regex;
  int position = -100;
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.MatchText(1, &position), "");
  EXPECT_EQ(position, -1);
  EXPECT_EQ(regex.GetPattern(), "");
  EXPECT_EQ(regex.ReplaceMatches("x"), "");
}

class InvalidPattern : public ::testing::TestWithParam<Text> {};

TEST_P(InvalidPattern, FailsAndDropsTheEarlierMatches) {
  RegexObject regex;
  ASSERT_TRUE(regex.Compile("\\d", "1 2 3"));
  ASSERT_EQ(regex.MatchCount(), 3);
  EXPECT_FALSE(regex.Compile(GetParam(), "1 2 3"));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.MatchText(1), "");
  EXPECT_EQ(regex.SubmatchCount(), 0);
  EXPECT_EQ(regex.ReplaceMatches("x"), "");
  EXPECT_EQ(regex.GetPattern(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Table, InvalidPattern,
                         ::testing::Values("(", "[a-", "a{2,1}", "\\", "*a", "(?<n>a)(?<n>b)"));

TEST(RegexObject, PathologicalPatternFailsInsteadOfHanging) {
  RegexObject regex;
  ASSERT_TRUE(regex.Compile("a", "aaa"));
  EXPECT_FALSE(regex.Compile("(a+)+$", std::string(40, 'a') + "!"));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_FALSE(regex.Compile("^(\\w+\\s?)*$", "an ordinary sentence with a few words in it!"));
  EXPECT_FALSE(regex.Compile("(x+x+)+y", std::string(40, 'x') + "zy"));
  // The object stays usable.
  EXPECT_TRUE(regex.Compile("a+", "baa"));
  EXPECT_EQ(regex.MatchText(1), "aa");
}

TEST(RegexObject, QuoteMarkerExpansion) {
  const Text pattern = "a#\xD2\xFD\xBA\xC5" "b";  // a#引号b
  RegexObject regex;
  ASSERT_TRUE(regex.Compile(pattern, "xa\"b", false, true, true, true));
  EXPECT_EQ(regex.GetPattern(), "a\"b");
  EXPECT_EQ(regex.MatchText(1), "a\"b");
  ASSERT_TRUE(regex.Compile(pattern, "xa\"b"));
  EXPECT_EQ(regex.GetPattern(), pattern);
  EXPECT_EQ(regex.MatchCount(), 0);
}

struct ReplaceCase {
  std::string name;
  Text pattern;
  Text subject;
  bool global;
  Text replacement;
  Text expected;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

class RegexReplace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(RegexReplace, UsesSubstitutionSyntax) {
  const ReplaceCase& c = GetParam();
  RegexObject regex;
  regex.Compile(c.pattern, c.subject, false, true, c.global);
  EXPECT_EQ(regex.ReplaceMatches(c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegexReplace,
    ::testing::Values(
        ReplaceCase{"SwapGroupsGlobal", "(\\d+)-(\\d+)", "x 12-34 y 5-6", true, "$2-$1",
                    "x 34-12 y 6-5"},
        ReplaceCase{"FirstOnly", "(\\d+)-(\\d+)", "x 12-34 y 5-6", false, "$2-$1",
                    "x 34-12 y 5-6"},
        ReplaceCase{"ChineseAround", "\\d+", kZhongWen + "12" + kWen, true, kWen,
                    kZhongWen + kWen + kWen},
        ReplaceCase{"NoMatchKeepsSubject", "z", kZhongWen, true, "y", kZhongWen},
        ReplaceCase{"EmptyReplacementDeletes", "\\d", "a1b2", true, "", "ab"},
        ReplaceCase{"DollarEscape", "\\d", "a1", true, "$$", "a$"},
        ReplaceCase{"UnknownGroupFails", "(\\d)", "a1", true, "$9", ""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace miravel
