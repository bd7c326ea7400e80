#include <gtest/gtest.h>

#include "text/text_between.h"

namespace miravel {
namespace {

struct BetweenRow {
  const char* name;
  Text text;
  Text left;
  Text right;
  int start;
  bool ignoreCase;
  Text expected;
};

const Text kYuan = "\xA3\xA4";           // "￥"
const Text kQuote = "#\xD2\xFD\xBA\xC5";  // "#引号"

const BetweenRow kRows[] = {
    {"simple", "k=v;x", "k=", ";", 0, false, "v"},
    {"first left marker counts", "a[1]a[2]", "[", "]", 0, false, "1"},
    {"right marker only before the left one", "];[x", "[", "]", 0, false, ""},
    {"right marker right after the left one", "k=;", "k=", ";", 0, false, ""},
    {"missing left marker", "abc", "x", "c", 0, false, ""},
    {"missing right marker", "k=v", "k=", ";", 0, false, ""},
    {"empty right marker", "k=v;", "k=", "", 0, false, ""},
    {"empty left marker starts at the first byte", "abc;d", "", ";", 0, false, "abc"},
    {"empty left marker ignores the start", "abc;d", "", ";", 3, false, "abc"},
    {"empty left marker, empty text", "", "", ";", 0, false, ""},
    {"password between yuan signs", "x" + kYuan + "AbC123" + kYuan + "y" + kYuan, kYuan, kYuan, 0, false, "AbC123"},
    {"#quote stands for a double quote", "key=\"v\"", "key=" + kQuote, kQuote, 0, false, "v"},
    {"start 1 is the beginning", "k=v;k=w;", "k=", ";", 1, false, "v"},
    {"start after the first left marker", "k=v;k=w;", "k=", ";", 2, false, "w"},
    {"start beyond the last left marker", "k=v;k=w;", "k=", ";", 6, false, ""},
    {"ignore case", "Set-Cookie: a=b; path", "set-cookie:", ";", 0, true, " a=b"},
    {"case matters by default", "Set-Cookie: a=b; path", "set-cookie:", ";", 0, false, ""},
    {"marker not matched on a trail byte", "\xC4" "E=1;E=2;", "E=", ";", 0, false, "2"},
    {"header value", "Accept: */*\r\nUser-Agent: X/1\r\n", "User-Agent:", "\r\n", 0, false, " X/1"},
};

TEST(TextBetween, Rows) {
  for (const BetweenRow& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(TextBetween(row.text, row.left, row.right, row.start, row.ignoreCase), row.expected);
  }
}

TEST(TextBetween, LeavesTheMarkersAlone) {
  const Text left = "k=" + kQuote;
  TextBetween("k=\"v\"", left, kQuote);
  EXPECT_EQ(left, "k=" + kQuote);
}

}  // namespace
}  // namespace miravel
