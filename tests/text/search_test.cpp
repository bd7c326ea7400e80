#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "text/primitives.h"

namespace miravel {
namespace {

struct FindRow {
  const char* name;
  Text text;
  Text sought;
  int start;
  bool ignoreCase;
  int expected;
};

const FindRow kFindRows[] = {
    {"from 3 past the only b", "abc", "b", 3, false, -1},
    {"from 0", "abc", "b", 0, false, 2},
    {"from 1", "abc", "b", 1, false, 2},
    {"from 2 includes 2", "abc", "b", 2, false, 2},
    {"start beyond the length", "abc", "b", 4, false, -1},
    {"negative start is the whole text", "abc", "a", -5, false, 1},
    {"empty sought in a text, any start", "abc", "", 3, false, 1},
    {"empty sought beyond the length", "abc", "", 4, false, -1},
    {"empty sought in empty text", "", "", 0, false, -1},
    {"sought longer than text", "ab", "abc", 0, false, -1},
    {"whole text", "abc", "abc", 0, false, 1},
    {"match at the very end", "xxabc", "bc", 0, false, 4},
    {"case matters by default", "xabc", "ABC", 0, false, -1},
    {"ignore case", "xabc", "ABC", 0, true, 2},
    {"ignore case both ways", "xABC", "abc", 0, true, 2},
    {"trail byte followed by ASCII is stepped over", "\xC4" "Ex", "Ex", 0, false, -1},
    {"trail byte stepped over, then a real match", "\xC4" "ExEx", "Ex", 0, false, 4},
    {"a walk starting on the trail byte sees it as a character", "\xC4" "Ex", "Ex", 2, false, 2},
    {"trail bytes in A-Z fold when ignoring case", "\xC4\x45", "\xC4\x65", 0, true, 1},
    {"trail bytes do not fold otherwise", "\xC4\x45", "\xC4\x65", 0, false, -1},
    {"first candidate on a trail byte, second on a start", "\xB0\xA1\xA1\xA1", "\xA1\xA1", 0, false, 3},
    {"only candidate on a trail byte", "\xB0\xA1\xA1", "\xA1\xA1", 0, false, -1},
    {"double-byte sought", "ab\xD6\xD0\xCE\xC4", "\xCE\xC4", 0, false, 5},
    {"lone lead byte at the end can be matched itself", "ab\xB0", "\xB0", 0, false, 3},
    {"lone lead byte at the end: longer sought does not fit", "ab\xB0", "\xB0\xA1", 0, false, -1},
    {"lone lead byte: nothing after it", "\xB0" "a\xB0", "a", 0, false, -1},
    {"search from a start inside a double-byte run", "\xB0\xA1\xB0\xA1", "\xA1\xB0", 2, false, 2},
};

TEST(FindText, Rows) {
  for (const FindRow& row : kFindRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FindText(row.text, row.sought, row.start, row.ignoreCase), row.expected);
  }
}

struct ReverseRow {
  const char* name;
  Text text;
  Text sought;
  std::optional<int> start;
  bool ignoreCase;
  int expected;
};

const ReverseRow kReverseRows[] = {
    {"no start: last match", "abcabc", "abc", std::nullopt, false, 4},
    {"start 5: match must end before byte 5", "abcabc", "abc", 5, false, 1},
    {"start 6", "abcabc", "abc", 6, false, 1},
    {"start 7: whole text", "abcabc", "abc", 7, false, 4},
    {"start far beyond", "abcabc", "abc", 100, false, 4},
    {"start 1: nothing", "abcabc", "abc", 1, false, -1},
    {"start 0: nothing", "abcabc", "abc", 0, false, -1},
    {"overlapping matches", "aaa", "aa", std::nullopt, false, 2},
    {"empty sought", "abc", "", std::nullopt, false, 1},
    {"empty sought, empty region", "abc", "", 1, false, -1},
    {"empty text", "", "a", std::nullopt, false, -1},
    {"ignore case", "ABCabc", "abc", std::nullopt, true, 4},
    {"case matters by default", "abcABC", "abc", std::nullopt, false, 1},
    {"trail byte stepped over", "Ex\xC4" "Ex", "Ex", std::nullopt, false, 1},
    {"trail byte only", "\xC4" "Ex", "Ex", std::nullopt, false, -1},
    {"region cuts a double-byte character", "ab\xB0\xA1", "\xB0", 4, false, 3},
    {"lone lead byte at the end", "\xB0\xA1\xB0", "\xB0", std::nullopt, false, 3},
};

TEST(FindTextReverse, Rows) {
  for (const ReverseRow& row : kReverseRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FindTextReverse(row.text, row.sought, row.start, row.ignoreCase), row.expected);
  }
}

// The plain walk: step character by character and compare at every step.
bool NaiveEqualAt(const Text& text, std::size_t p, const Text& sought, bool ignoreCase) {
  for (std::size_t k = 0; k < sought.size(); ++k) {
    char a = text[p + k];
    char b = sought[k];
    if (ignoreCase) {
      if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
      if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 32);
    }
    if (a != b) return false;
  }
  return true;
}

// Every match position of the walk from `from` inside [from, end), in order.
std::vector<int> NaiveMatches(const Text& text, std::size_t from, std::size_t end, const Text& sought,
                              bool ignoreCase) {
  std::vector<int> matches;
  std::size_t p = from;
  while (p < end) {
    if (end - p >= sought.size() && NaiveEqualAt(text, p, sought, ignoreCase)) {
      matches.push_back(static_cast<int>(p) + 1);
    }
    if (static_cast<unsigned char>(text[p]) >= 0x80) {
      if (p + 1 == text.size()) break;
      p += 2;
    } else {
      p += 1;
    }
  }
  return matches;
}

int NaiveFind(const Text& text, const Text& sought, int start, bool ignoreCase) {
  const std::size_t from = start < 2 ? 0 : static_cast<std::size_t>(start) - 1;
  if (from >= text.size()) return -1;
  if (sought.empty()) return 1;
  auto matches = NaiveMatches(text, from, text.size(), sought, ignoreCase);
  return matches.empty() ? -1 : matches.front();
}

int NaiveFindReverse(const Text& text, const Text& sought, std::optional<int> start, bool ignoreCase) {
  std::size_t end = text.size();
  if (start) end = *start < 2 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(*start) - 1, end);
  if (end == 0) return -1;
  if (sought.empty()) return 1;
  auto matches = NaiveMatches(text, 0, end, sought, ignoreCase);
  return matches.empty() ? -1 : matches.back();
}

// Texts from a small alphabet of ASCII letters, lead bytes and bytes that are
// both lead and trail, so that matches on trail bytes are frequent.
Text RandomText(std::mt19937& rng, std::size_t maxLength) {
  static const char kAlphabet[] = {'a', 'A', 'b', 'B', '\xA1', '\xB0', '\xC1'};
  std::uniform_int_distribution<std::size_t> length(0, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 1);
  Text text(length(rng), ' ');
  for (char& c : text) c = kAlphabet[pick(rng)];
  return text;
}

TEST(FindText, AgreesWithThePlainWalk) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 20000; ++round) {
    const Text text = RandomText(rng, round % 10 == 0 ? 600 : 24);
    const Text sought = RandomText(rng, 4);
    const bool ignoreCase = round % 3 == 0;
    const int start = static_cast<int>(rng() % (text.size() + 3)) - 1;
    SCOPED_TRACE(testing::Message() << "round " << round);
    ASSERT_EQ(FindText(text, sought, start, ignoreCase), NaiveFind(text, sought, start, ignoreCase));
    ASSERT_EQ(FindTextReverse(text, sought, std::nullopt, ignoreCase),
              NaiveFindReverse(text, sought, std::nullopt, ignoreCase));
    ASSERT_EQ(FindTextReverse(text, sought, start, ignoreCase), NaiveFindReverse(text, sought, start, ignoreCase));
  }
}

// A periodic text whose candidates all lie on trail bytes exercises the
// switch from memmem to the scanning search, and the reverse search's run.
TEST(FindText, CrowdedCandidatesOnTrailBytes) {
  const Text text = ConcatText({"\xB0", RepeatText(2000, "\xA1\xC1")});
  EXPECT_EQ(FindText(text, "\xA1\xC1"), -1);
  EXPECT_EQ(FindText(text + "x\xA1\xC1", "\xA1\xC1"), 4003);
  EXPECT_EQ(FindTextReverse(text, "\xA1\xC1"), -1);
  EXPECT_EQ(FindTextReverse(text + "x\xA1\xC1", "\xA1\xC1"), 4003);
  EXPECT_EQ(FindText(text, "\xC1\xA1"), 3);
  EXPECT_EQ(FindTextReverse(text, "\xC1\xA1"), 3999);
  const Text longSought = RepeatText(10, "\xA1\xC1");
  EXPECT_EQ(FindText(text, longSought), -1);
  EXPECT_EQ(FindText(ConcatText({text, "x", longSought}), longSought), 4003);
}

// Repetitive texts make candidate checks pile up; the searches stay right
// when they switch to scanning.
TEST(FindText, RepetitiveTextIgnoringCase) {
  const Text text = ConcatText({RepeatText(10000, "A"), "b"});
  EXPECT_EQ(FindText(text, "aaaaaaaaab", 0, true), 9992);
  EXPECT_EQ(FindText(text, "aaaaaaaaac", 0, true), -1);
  EXPECT_EQ(FindTextReverse(text, "aaaaaaaaab", std::nullopt, true), 9992);
  const Text gbk = ConcatText({"\xB0", RepeatText(5000, "A\xC1"), "AA"});
  EXPECT_EQ(FindText(gbk, "aA", 0, true), -1);  // every "A\xC1" is a character
  EXPECT_EQ(FindText(gbk, "a", 0, true), 10003);
}

}  // namespace
}  // namespace miravel
