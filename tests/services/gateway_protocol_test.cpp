#include "services/gateway_protocol.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>

#include "services/gateway.h"

namespace miravel {
namespace {

const Text kZhong = "\xD6\xD0";             // 中
const Text kBackslashTrail = "\x95\x5C";    // 昞: its trail byte is '\'
const Text kYen = "\xA3\xA4";               // ￥

TEST(ShareDataText, OneLetterAddressAndTitle) {
  const Text data = ShareDataText("x", "y");
  EXPECT_EQ(data,
            "{\"url\":\"x\",\"passwordType\":\"tao\",\"sourceType\":\"other\",\"title\":\"y\","
            "\"bizId\":\"mama-taobaolianmeng\"}");
  EXPECT_EQ(data.size(), 95u);
}

TEST(ShareDataText, EscapesAddressAndTitle) {
  EXPECT_EQ(ShareDataText("a\"b", "c\\d"),
            "{\"url\":\"a\\\"b\",\"passwordType\":\"tao\",\"sourceType\":\"other\",\"title\":"
            "\"c\\\\d\",\"bizId\":\"mama-taobaolianmeng\"}");
}

struct EscapeCase {
  std::string name;
  Text input;
  Text expected;
};

void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }

class JsonEscape : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(JsonEscape, KeepsTheStringValid) {
  EXPECT_EQ(JsonStringContent(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, JsonEscape,
    ::testing::Values(EscapeCase{"Empty", "", ""},
                      EscapeCase{"Plain", "https://a.b/c?id=1&x=y", "https://a.b/c?id=1&x=y"},
                      EscapeCase{"Quote", "say \"hi\"", "say \\\"hi\\\""},
                      EscapeCase{"Backslash", "a\\b", "a\\\\b"},
                      EscapeCase{"LineBreaks", "a\r\nb\tc", "a\\r\\nb\\tc"},
                      EscapeCase{"OtherControls", "\x01\x1F\x08", "\\u0001\\u001f\\u0008"},
                      EscapeCase{"ChineseUnchanged", kZhong + kYen, kZhong + kYen},
                      EscapeCase{"TrailByteBackslashUnchanged", kBackslashTrail + "\\",
                                 kBackslashTrail + "\\\\"},
                      EscapeCase{"LeadByteBeforeQuote", "\x81\"", "?\\\""},
                      EscapeCase{"LeadByteBeforeDelete", "\xD6\x7F", "?\x7F"},
                      EscapeCase{"LeadByteAtEnd", "ab\xD6", "ab?"},
                      EscapeCase{"HighSingleBytes", "\x80\xFF", "\x80\xFF"},
                      EscapeCase{"SlashAndDelete", "/\x7F", "/\x7F"}),
    [](const auto& info) { return info.param.name; });

struct TokenCase {
  std::string name;
  Text cookies;
  Text token;
};

void PrintTo(const TokenCase& c, std::ostream* os) { *os << c.name; }

class SessionTokenOf : public ::testing::TestWithParam<TokenCase> {};

TEST_P(SessionTokenOf, CutsBetweenMarkerAndUnderscoreOne) {
  EXPECT_EQ(SessionToken(GetParam().cookies), GetParam().token);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SessionTokenOf,
    ::testing::Values(
        TokenCase{"Typical", "_m_h5_tk=0123456789abcdef0123456789abcdef_1765432109876; "
                             "_m_h5_tk_enc=ffff",
                  "0123456789abcdef0123456789abcdef"},
        TokenCase{"NoUnderscoreOneInValue", "_m_h5_tk=abc; x=y_1z", "abc; x=y"},
        TokenCase{"NoUnderscoreOneAfter", "_m_h5_tk=abc; x=y", ""},
        TokenCase{"NoMarker", "a=1; b=2_1", ""},
        TokenCase{"Empty", "", ""},
        TokenCase{"LongerNameFirst", "x_m_h5_tk=first_1; _m_h5_tk=second_1", "first"}),
    [](const auto& info) { return info.param.name; });

TEST(Sign, IsMd5OfTheUtf8SignInput) {
  EXPECT_EQ(SignInput("tok", "1700000000000", "{}"), "tok&1700000000000&30916652&{}");
  EXPECT_EQ(SignInput("", "1", "d"), "&1&30916652&d");
  EXPECT_EQ(SignOf("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(SignOf(kZhong), "aed1dfbc31703955e64806b799b67645");
}

class GatewayUrls : public ::testing::Test {
 protected:
  void SetUp() override { setenv("MIRAVEL_GATEWAY_HOST", "127.0.0.1:8080", 1); }
  void TearDown() override { unsetenv("MIRAVEL_GATEWAY_HOST"); }
};

TEST_F(GatewayUrls, HostComesFromTheEnvironment) {
  EXPECT_EQ(GatewayHost(), "127.0.0.1:8080");
  setenv("MIRAVEL_GATEWAY_HOST", "", 1);
  EXPECT_EQ(GatewayHost(), "h5api.m.taobao.com");
  unsetenv("MIRAVEL_GATEWAY_HOST");
  EXPECT_EQ(GatewayHost(), "h5api.m.taobao.com");
}

TEST_F(GatewayUrls, WarmUpUrl) {
  EXPECT_EQ(WarmUpUrl("1700000000000"),
            "http://127.0.0.1:8080/h5/mtop.taobao.wireless.share.password.getpasswordshareinfo/"
            "1.0/?v=1.0&api=mtop.taobao.wireless.share.password.getpasswordshareinfo"
            "&appKey=30916652&callback=mtopjsonp1&type=jsonp&t=1700000000000");
}

TEST_F(GatewayUrls, SignedUrlEncodesOnlyTheData) {
  EXPECT_EQ(SignedRequestUrl("1700000000000", "0123abcd", "{\"a\":\"b_~ -." + kZhong + "/,\"}"),
            "http://127.0.0.1:8080/h5/mtop.taobao.wireless.share.password.getpasswordshareinfo/"
            "1.0/?v=1.0&api=mtop.taobao.wireless.share.password.getpasswordshareinfo"
            "&appKey=30916652&t=1700000000000&callback=mtopjsonp1&type=jsonp&sign=0123abcd"
            "&data=%7B%22a%22%3A%22b%5F%7E%20-.%E4%B8%AD%2F%2C%22%7D");
}

struct AnswerCase {
  std::string name;
  Text answer;
  Text password;
};

void PrintTo(const AnswerCase& c, std::ostream* os) { *os << c.name; }

class PasswordInAnswer : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(PasswordInAnswer, IsTheFirstFramedCode) {
  EXPECT_EQ(FramedPassword(GetParam().answer), GetParam().password);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PasswordInAnswer,
    ::testing::Values(AnswerCase{"Framed", "({\"p\":\"" + kYen + "AbC12" + kYen + "\"})",
                                 kYen + "AbC12" + kYen},
                      AnswerCase{"TwoCodes", kYen + "one" + kYen + " " + kYen + "two" + kYen,
                                 kYen + "one" + kYen},
                      AnswerCase{"OneSign", "x" + kYen + "code", ""},
                      AnswerCase{"NoSign", "mtopjsonp1({})", ""},
                      AnswerCase{"SideBySide", kYen + kYen + "code" + kYen, ""},
                      AnswerCase{"Empty", "", ""}),
    [](const auto& info) { return info.param.name; });

TEST(ReturnMessage, FirstEntryOfRet) {
  const Text empty = "FAIL_SYS_TOKEN_EMPTY::\xC1\xEE\xC5\xC6\xCE\xAA\xBF\xD5";  // 令牌为空
  EXPECT_EQ(ReturnMessage(" mtopjsonp1({\"api\":\"x\",\"data\":{},\"ret\":[\"" + empty +
                          "\"],\"v\":\"1.0\"})"),
            empty);
  EXPECT_EQ(ReturnMessage("{\"ret\": [ \"A::b\", \"C::d\"]}"), "A::b");
  EXPECT_EQ(ReturnMessage("{\"ret\":[]}"), "");
  EXPECT_EQ(ReturnMessage("<html>"), "");
  EXPECT_TRUE(RejectsToken(empty));
  EXPECT_TRUE(RejectsToken("FAIL_SYS_TOKEN_EXOIRED::x"));
  EXPECT_TRUE(RejectsToken("FAIL_SYS_TOKEN_ILLEGAL::x"));
  EXPECT_FALSE(RejectsToken("FAIL_SYS_ILLEGAL_ACCESS::x"));
  EXPECT_FALSE(RejectsToken("SUCCESS::x"));
}

}  // namespace
}  // namespace miravel
