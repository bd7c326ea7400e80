#include <gtest/gtest.h>

#include "text/primitives.h"

namespace miravel {
namespace {

struct CutRow {
  const char* name;
  Text actual;
  Text expected;
};

TEST(TextCuts, Rows) {
  const CutRow rows[] = {
      {"mid past the end", TextMid("abcdef", 5, 10), "ef"},
      {"mid from 0", TextMid("abcdef", 0, 2), ""},
      {"mid from the last byte", TextMid("abcdef", 6, 1), "f"},
      {"mid beyond the length", TextMid("abcdef", 7, 1), ""},
      {"mid of no bytes", TextMid("abcdef", 2, 0), ""},
      {"mid", TextMid("abcdef", 2, 3), "bcd"},
      {"left 0", TextLeft("abc", 0), ""},
      {"left negative", TextLeft("abc", -1), ""},
      {"left beyond", TextLeft("abc", 10), "abc"},
      {"left", TextLeft("abc", 2), "ab"},
      {"right 0", TextRight("abc", 0), ""},
      {"right negative", TextRight("abc", -3), ""},
      {"right beyond", TextRight("abc", 10), "abc"},
      {"right", TextRight("abc", 2), "bc"},
      {"left may split a character", TextLeft("\xC4\x45x", 1), "\xC4"},
      {"right may split a character", TextRight("x\xC4\x45", 1), "\x45"},
      {"cuts keep a lone lead byte", TextRight("ab\xB0", 1), "\xB0"},
      {"mid keeps a lone lead byte", TextMid("ab\xB0", 2, 5), "b\xB0"},
  };
  for (const CutRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.actual, row.expected);
  }
}

TEST(TextCuts, Length) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("a\xD6\xD0"), 3);
}

}  // namespace
}  // namespace miravel
