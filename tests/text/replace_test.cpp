#include <gtest/gtest.h>

#include <optional>

#include "text/primitives.h"

namespace miravel {
namespace {

struct ReplaceRow {
  const char* name;
  Text text;
  Text sought;
  Text replacement;
  int start;
  std::optional<int> count;
  bool caseSensitive;
  Text expected;
};

const ReplaceRow kRows[] = {
    {"count 0 changes nothing", "aXa", "a", "b", 1, 0, false, "aXa"},
    {"empty sought changes nothing", "abc", "", "x", 1, std::nullopt, false, "abc"},
    {"start beyond the length changes nothing", "abc", "c", "x", 4, std::nullopt, false, "abc"},
    {"empty text", "", "a", "x", 1, std::nullopt, false, ""},
    {"no overlap, left to right", "aaa", "aa", "b", 1, std::nullopt, false, "ba"},
    {"the replacement is not searched again", "aa", "a", "aa", 1, std::nullopt, false, "aaaa"},
    {"omitted replacement deletes", "a,b,c", ",", "", 1, std::nullopt, false, "abc"},
    {"case ignored unless asked", "aXbxc", "x", "-", 1, std::nullopt, false, "a-b-c"},
    {"case sensitive", "aXbxc", "x", "-", 1, std::nullopt, true, "aXb-c"},
    {"bytes before start are copied", "abcabc", "abc", "X", 2, std::nullopt, false, "abcX"},
    {"start below 1 is 1", "abcabc", "abc", "X", -3, std::nullopt, false, "XX"},
    {"count limits the replacements", "abcabc", "abc", "X", 1, 1, false, "Xabc"},
    {"negative count never runs out", "aaa", "a", "b", 1, -1, false, "bbb"},
    {"trail byte is stepped over", "\xC4" "Ex", "E", "_", 1, std::nullopt, true, "\xC4" "Ex"},
    {"after a match the walk resumes right after it", "\xC4\x45\x45", "\xC4", "_", 1, std::nullopt, true, "_EE"},
    {"a start on a trail byte begins the walk there", "\xC4" "Ex", "E", "_", 2, std::nullopt, true, "\xC4_x"},
    {"lone lead byte is dropped when the walk reaches it", "ab\xB0", "x", "y", 1, std::nullopt, false, "ab"},
    {"lone lead byte is kept when the loop ends earlier", "ab\xB0", "xy", "z", 1, std::nullopt, false, "ab\xB0"},
    {"lone lead byte can itself be replaced", "ab\xB0", "\xB0", "y", 1, std::nullopt, false, "aby"},
    {"lone lead byte is kept once the count runs out", "xa\xB0", "x", "y", 1, 1, false, "ya\xB0"},
    {"lone lead byte behind a double-byte one", "\xB0\xA1\xB0", "x", "y", 1, std::nullopt, false, "\xB0\xA1"},
};

TEST(ReplaceText, Rows) {
  for (const ReplaceRow& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ReplaceText(row.text, row.sought, row.replacement, row.start, row.count, row.caseSensitive),
              row.expected);
  }
}

TEST(ReplaceText, DefaultsReplaceEveryOccurrenceIgnoringCase) {
  EXPECT_EQ(ReplaceText("A-a-A", "a"), "--");
}

}  // namespace
}  // namespace miravel
