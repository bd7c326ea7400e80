#include "text/url_encode.h"

#include <gtest/gtest.h>

#include <string_view>

namespace miravel {
namespace {

struct UrlCase {
  const char* name;
  std::string_view text;
  bool keepUnreserved;
  bool utf8;
  std::string_view expected;
};

TEST(UrlEncode, EncodesEveryByteButTheKeptOnes) {
  const UrlCase cases[] = {
      {"space is %20, never +", "a b", true, true, "a%20b"},
      {"GBK character as UTF-8", "\xC4\xE3", true, true, "%E4%BD%A0"},
      {"GBK character as GBK", "\xC4\xE3", true, false, "%C4%E3"},
      {"kept bytes", "-.09AZaz", true, true, "-.09AZaz"},
      {"_ and ~ are encoded", "_~", true, true, "%5F%7E"},
      {"* / and the rest of 0x20..0x2F", " !*+,/", true, true, "%20%21%2A%2B%2C%2F"},
      {"neighbours of the kept ranges", ":@[`{", true, false, "%3A%40%5B%60%7B"},
      {"JSON value", "{\"k\":\"v\"}", true, true, "%7B%22k%22%3A%22v%22%7D"},
      {"without keeping, every byte", "ab", false, false, "%61%62"},
      {"without keeping, UTF-8", "a\xC4\xE3", false, true, "%61%E4%BD%A0"},
      {"upper-case hex, two digits", "\n\xFF", false, false, "%0A%FF"},
      {"only a line feed", "\n", true, true, "%0A"},
      {"empty", "", true, true, ""},
      {"empty, no flags", "", false, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UrlEncode(Text(c.text), c.keepUnreserved, c.utf8), c.expected);
  }
}

TEST(UrlEncode, DefaultsEncodeEveryByteOfTheGbkText) {
  EXPECT_EQ(UrlEncode("a-\xC4\xE3"), "%61%2D%C4%E3");
}

}  // namespace
}  // namespace miravel
