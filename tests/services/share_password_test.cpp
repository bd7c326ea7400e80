#include "services/share_password.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <ostream>
#include <string>

#include "fake_gateway_fixture.h"
#include "services/gateway_protocol.h"

namespace miravel {
namespace {

const Text kYen = "\xA3\xA4";  // ￥
const Text kTokenEmpty = "FAIL_SYS_TOKEN_EMPTY::\xC1\xEE\xC5\xC6\xCE\xAA\xBF\xD5";      // 令牌为空
const Text kTokenExpired = "FAIL_SYS_TOKEN_EXOIRED::\xC1\xEE\xC5\xC6\xB9\xFD\xC6\xDA";  // 令牌过期
const Text kIllegalAccess = "FAIL_SYS_ILLEGAL_ACCESS::\xB7\xC7\xB7\xA8\xC7\xEB\xC7\xF3";  // 非法请求
const Text kItemLink = "https://item.taobao.com/item.htm?id=612345678901&spm=a1z10";

bool HoldsFreshSession(const Text& cookies) {
  auto all = [](const Text& text, size_t from, size_t count, const char* allowed) {
    return text.size() >= from + count &&
           text.find_first_not_of(allowed, from) >= from + count;
  };
  const char* hex = "0123456789abcdef";
  const size_t enc = 9 + 32 + 14 + 2;  // after "_m_h5_tk=", token, "_" + 13 digits, "; "
  return cookies.size() == enc + 13 + 32 && cookies.rfind("_m_h5_tk=", 0) == 0 &&
         all(cookies, 9, 32, hex) && cookies.compare(41, 2, "_1") == 0 &&
         all(cookies, 43, 12, "0123456789") && cookies.compare(55, 2, "; ") == 0 &&
         cookies.compare(enc, 13, "_m_h5_tk_enc=") == 0 && all(cookies, enc + 13, 32, hex);
}

using WarmUp = FakeGatewayTest;

TEST_F(WarmUp, StoresTheGatewaysSessionCookies) {
  WarmUpGateway();
  EXPECT_EQ(LastField("kind"), "warmup");
  EXPECT_TRUE(HoldsFreshSession(SessionCookies)) << SessionCookies;
  const Text first = SessionToken(SessionCookies);

  // The second answer writes its cookie headers as "set-cookie".
  WarmUpGateway();
  EXPECT_TRUE(HoldsFreshSession(SessionCookies)) << SessionCookies;
  EXPECT_NE(SessionToken(SessionCookies), first);
}

struct ConversionCase {
  std::string name;
  Text address;
  Text title;
  Text titleReceived = title;  // what the gateway decodes
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.name; }

class Conversion : public FakeGatewayTest, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(Conversion, GetsTheFramedPasswordForTheSentTitle) {
  const ConversionCase& c = GetParam();
  WarmUpGateway();
  const SharePasswordOutcome outcome = RequestSharePassword(c.address, c.title);
  EXPECT_EQ(LastField("ret"), "SUCCESS::调用成功") << LastField("reject");
  EXPECT_EQ(outcome.password, LastFieldText("password"));
  EXPECT_EQ(outcome.password.substr(0, 2), kYen);
  EXPECT_EQ(outcome.failure, "");
  EXPECT_FALSE(outcome.tokenRejected);
  // What the gateway decoded is exactly what was typed.
  EXPECT_EQ(ControlText("/_fake/last-title"), c.titleReceived);
  EXPECT_EQ(ControlText("/_fake/last-data"), ShareDataText(c.address, c.title));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Conversion,
    ::testing::Values(
        ConversionCase{"AsciiTitle", kItemLink, "Summer dress, size M"},
        ConversionCase{"ChineseTitle", kItemLink, "\xB1\xA6\xB1\xB4 \xD6\xD0\xCE\xC4"},  // 宝贝 中文
        ConversionCase{"QuotedTitle", kItemLink, "a \"quoted\" \\ title\r\nline two\ttab"},
        ConversionCase{"BackslashTrailByte", kItemLink, "\x95\x5C" "x"},
        ConversionCase{"InjectionAttempt", kItemLink, "x\",\"bizId\":\"other"},
        ConversionCase{"LoneLeadByteBeforeQuote", kItemLink, "a\xD6\"b", "a?\"b"},
        ConversionCase{"EmptyAddressAndTitle", "", ""}),
    [](const auto& info) { return info.param.name; });

using SharePassword = FakeGatewayTest;

TEST_F(SharePassword, ConvertReturnsThePasswordOnly) {
  WarmUpGateway();
  const Text password = ConvertToSharePassword(kItemLink, "t");
  EXPECT_EQ(password, LastFieldText("password"));
  EXPECT_FALSE(password.empty());
}

TEST_F(SharePassword, RenewedTokenSignsTheNextConversion) {
  WarmUpGateway();
  const Text first = SessionToken(SessionCookies);
  ASSERT_FALSE(ConvertToSharePassword(kItemLink, "t").empty());

  Control("/_fake/expire");
  const SharePasswordOutcome expired = RequestSharePassword(kItemLink, "t");
  EXPECT_EQ(expired.password, "");
  EXPECT_EQ(expired.failure, kTokenExpired);
  EXPECT_TRUE(expired.tokenRejected);
  const Text renewed = SessionToken(SessionCookies);
  EXPECT_NE(renewed, first);
  EXPECT_TRUE(HoldsFreshSession(SessionCookies)) << SessionCookies;

  EXPECT_FALSE(ConvertToSharePassword(kItemLink, "t").empty());
  EXPECT_EQ(LastField("token"), renewed);
}

TEST_F(SharePassword, WithoutWarmUpTheFirstAnswerBringsTheToken) {
  const SharePasswordOutcome first = RequestSharePassword(kItemLink, "t");
  EXPECT_EQ(first.password, "");
  EXPECT_EQ(first.failure, kTokenEmpty);
  EXPECT_TRUE(first.tokenRejected);
  EXPECT_FALSE(ConvertToSharePassword(kItemLink, "t").empty());
}

TEST_F(SharePassword, WrongSignIsRejectedWithoutPassword) {
  WarmUpGateway();
  // A longer cookie name ending in _m_h5_tk comes first: its value is signed
  // while the gateway checks against the real token.
  SessionCookies = "x_m_h5_tk=decoy_1; " + SessionCookies;
  const SharePasswordOutcome outcome = RequestSharePassword(kItemLink, "t");
  EXPECT_EQ(outcome.password, "");
  EXPECT_EQ(outcome.failure, kIllegalAccess);
  EXPECT_FALSE(outcome.tokenRejected);
  EXPECT_EQ(outcome.answer.find(kYen), Text::npos);
}

struct FramingCase {
  std::string mode;
  bool yieldsPassword;
};

void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.mode; }

class AnswerFraming : public FakeGatewayTest, public ::testing::WithParamInterface<FramingCase> {};

TEST_P(AnswerFraming, OnlyTwoSignsAroundACodeGiveAPassword) {
  WarmUpGateway();
  Control("/_fake/answer?mode=" + GetParam().mode);
  const SharePasswordOutcome outcome = RequestSharePassword(kItemLink, "t");
  if (GetParam().yieldsPassword) {
    EXPECT_EQ(outcome.password, FramedPassword(LastFieldText("password")));
    EXPECT_NE(outcome.password, "");
    EXPECT_EQ(outcome.failure, "");
  } else {
    EXPECT_EQ(outcome.password, "");
    EXPECT_EQ(outcome.failure, "no share password in the answer");
    EXPECT_FALSE(outcome.tokenRejected);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, AnswerFraming,
                         ::testing::Values(FramingCase{"normal", true}, FramingCase{"two", true},
                                           FramingCase{"one", false}, FramingCase{"none", false},
                                           FramingCase{"adjacent", false}),
                         [](const auto& info) { return info.param.mode; });

// A loopback port that refuses connections: bound, never listening.
class ClosedPort {
 public:
  ClosedPort() : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd_, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~ClosedPort() { close(fd_); }
  std::string HostPort() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  int fd_;
  int port_ = 0;
};

TEST_F(SharePassword, GatewayDownGivesEmptyResultAndTheTransportsReason) {
  WarmUpGateway();
  const Text session = SessionCookies;
  ClosedPort closed;
  setenv("MIRAVEL_GATEWAY_HOST", closed.HostPort().c_str(), 1);
  EXPECT_EQ(ConvertToSharePassword(kItemLink, "t"), "");
  const SharePasswordOutcome outcome = RequestSharePassword(kItemLink, "t");
  EXPECT_EQ(outcome.password, "");
  EXPECT_EQ(outcome.answer, "");
  EXPECT_NE(outcome.failure, "");
  EXPECT_NE(outcome.failure, "no share password in the answer");
  EXPECT_FALSE(outcome.tokenRejected);
  EXPECT_EQ(SessionToken(SessionCookies), SessionToken(session));
}

}  // namespace
}  // namespace miravel
