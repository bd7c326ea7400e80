#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "text/primitives.h"

namespace miravel {
namespace {

struct SplitRow {
  const char* name;
  Text text;
  Text separator;
  std::optional<int> maximum;
  std::vector<Text> expected;
};

const SplitRow kRows[] = {
    {"empty member between separators, none at the end", "a;;b;", ";", std::nullopt, {"a", "", "b"}},
    {"separator at the start", ";a", ";", std::nullopt, {"", "a"}},
    {"empty text", "", ";", std::nullopt, {}},
    {"empty separator", "a;b", "", std::nullopt, {"a;b"}},
    {"maximum of 1", "a;b;c", ";", 1, {"a"}},
    {"maximum of 2", "a;b;c", ";", 2, {"a", "b"}},
    {"maximum larger than the pieces", "a;b", ";", 5, {"a", "b"}},
    {"maximum of 0", "a;b", ";", 0, {}},
    {"negative maximum counts as 0", "a;b", ";", -1, {}},
    {"no separator", "abc", ";", std::nullopt, {"abc"}},
    {"separator only", ";", ";", std::nullopt, {""}},
    {"longer separator", "a<>b<>c", "<>", std::nullopt, {"a", "b", "c"}},
    {"case matters", "aXbxc", "x", std::nullopt, {"aXb", "c"}},
    {"separator on a trail byte is stepped over", "\xC4" "EaEb", "E", std::nullopt, {"\xC4" "Ea", "b"}},
    {"lone lead byte stays in the last member", "a;\xB0", ";", std::nullopt, {"a", "\xB0"}},
    {"double-byte separator", "a\xA3\xBB" "b", "\xA3\xBB", std::nullopt, {"a", "b"}},
};

TEST(SplitText, Rows) {
  for (const SplitRow& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(SplitText(row.text, row.separator, row.maximum).Members(), row.expected);
  }
}

TEST(SplitText, DefaultSeparatorIsComma) {
  EXPECT_EQ(SplitText("a,b").Members(), (std::vector<Text>{"a", "b"}));
}

}  // namespace
}  // namespace miravel
