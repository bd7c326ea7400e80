// WebRequest step by step over the scripted transport: what it hands the
// transport, what it makes of the answer, and the failures a real server
// cannot produce on demand.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fake_transport.h"
#include "http/web_request.h"

namespace miravel {
namespace {

using testing::FakeTransport;
using Step = FakeTransport::Step;

const char kDefaultAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Every in/out parameter supplied, each holding a recognisable value.
struct Parameters {
  Text cookies = "a=1; b = 2";
  Text returnedCookies = "before";
  Text extraHeaders = "X-Mine: 1";
  Text returnedHeaders = "before";
  Bytes postBytes = B("post bytes");

  Bytes Call(FakeTransport& transport, const Text& url = "http://Host.example/p?q=1", int method = kMethodPost) {
    return WebRequest(transport, url, method, "post text", &cookies, &returnedCookies, &extraHeaders,
                      &returnedHeaders, false, &postBytes, "");
  }
};

struct EarlyFailure {
  const char* name;
  Step step;
  std::vector<std::string> calls;
};

void PrintTo(const EarlyFailure& c, std::ostream* os) { *os << c.name; }

const EarlyFailure kEarlyFailures[] = {
    {"Open", Step::kOpen, {"Open"}},
    {"Connect", Step::kConnect, {"Open", "Connect", "Close(internet)"}},
    {"OpenRequest", Step::kOpenRequest,
     {"Open", "Connect", "OpenRequest", "Close(connection)", "Close(internet)"}},
};

class EarlyFailureTest : public ::testing::TestWithParam<EarlyFailure> {};

TEST_P(EarlyFailureTest, ReturnsNothingAndLeavesEveryParameterAlone) {
  FakeTransport transport;
  transport.failAt = GetParam().step;
  transport.body = B("never read");
  Parameters parameters;
  const Parameters before = parameters;

  EXPECT_TRUE(parameters.Call(transport).empty());
  EXPECT_EQ(transport.calls, GetParam().calls);
  EXPECT_EQ(parameters.cookies, before.cookies);
  EXPECT_EQ(parameters.returnedCookies, before.returnedCookies);
  EXPECT_EQ(parameters.extraHeaders, before.extraHeaders);
  EXPECT_EQ(parameters.returnedHeaders, before.returnedHeaders);
  EXPECT_EQ(parameters.postBytes, before.postBytes);
  EXPECT_EQ(LastWebRequestError(), "scripted failure");
}

INSTANTIATE_TEST_SUITE_P(Steps, EarlyFailureTest, ::testing::ValuesIn(kEarlyFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WebRequestStepsTest, SuccessfulExchangeCallsEveryStepInOrder) {
  FakeTransport transport;
  transport.body = Bytes(2500, 'x');
  transport.rawHeaders = "HTTP/1.1 200 OK\r\n";
  EXPECT_EQ(WebRequest(transport, "http://host/"), transport.body);
  const std::vector<std::string> expected = {"Open", "Connect", "OpenRequest", "Send", "Read", "Read",
                                             "Read", "Read", "QueryRawHeaders", "Close(request)",
                                             "Close(connection)", "Close(internet)"};
  EXPECT_EQ(transport.calls, expected);
  EXPECT_EQ(LastWebRequestError(), "");
}

TEST(WebRequestStepsTest, HandsTheTransportHostPortPathAndVerb) {
  FakeTransport transport;
  WebRequest(transport, "HTTPS://Host.Example:8443/P?q", 7);
  EXPECT_EQ(transport.host, "host.example");
  EXPECT_EQ(transport.port, 8443);
  EXPECT_EQ(transport.path, "/P?q");
  EXPECT_EQ(transport.verb, "GET");
  EXPECT_TRUE(transport.sentBody.empty());
}

struct VerbCase {
  const char* name;
  int method;
  const char* verb;
};

void PrintTo(const VerbCase& c, std::ostream* os) { *os << c.name; }

const VerbCase kVerbCases[] = {
    {"Get", 0, "GET"}, {"Post", 1, "POST"}, {"Head", 2, "HEAD"}, {"Seven", 7, "GET"}, {"MinusOne", -1, "GET"},
};

class VerbTest : public ::testing::TestWithParam<VerbCase> {};

TEST_P(VerbTest, Verb) {
  FakeTransport transport;
  WebRequest(transport, "http://host/", GetParam().method, "text");
  EXPECT_EQ(transport.verb, GetParam().verb);
  EXPECT_EQ(transport.sentBody, GetParam().verb == std::string("GET") ? Bytes{} : B("text"));
}

INSTANTIATE_TEST_SUITE_P(Methods, VerbTest, ::testing::ValuesIn(kVerbCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WebRequestStepsTest, PostTextFillsEmptyPostBytes) {
  FakeTransport transport;
  Bytes postBytes;
  WebRequest(transport, "http://host/", kMethodPost, "a=1&b=2", nullptr, nullptr, nullptr, nullptr, false,
             &postBytes);
  EXPECT_EQ(transport.sentBody, B("a=1&b=2"));
  EXPECT_EQ(postBytes, B("a=1&b=2"));
}

TEST(WebRequestStepsTest, PostBytesWinOverPostText) {
  FakeTransport transport;
  Bytes postBytes = {'z', 0, 'z'};
  WebRequest(transport, "http://host/", kMethodHead, "ignored", nullptr, nullptr, nullptr, nullptr, false,
             &postBytes);
  EXPECT_EQ(transport.sentBody, (Bytes{'z', 0, 'z'}));
}

struct HeaderCase {
  const char* name;
  Text extraHeaders;
  std::optional<Text> cookies;
  Text url;
  Text block;
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }

const HeaderCase kHeaderCases[] = {
    {"DefaultsWithCookies", "", "a=1; b=2", "http://h/x",
     "Accept: */*\r\nReferer: http://h/x\r\nAccept-Language: zh-cn\r\n"
     "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1; b=2"},
    {"CookiesNotSupplied", "", std::nullopt, "http://h/",
     "Accept: */*\r\nReferer: http://h/\r\nAccept-Language: zh-cn\r\n"
     "Content-Type: application/x-www-form-urlencoded"},
    {"CookiesSuppliedEmpty", "", "", "http://h/",
     "Accept: */*\r\nReferer: http://h/\r\nAccept-Language: zh-cn\r\n"
     "Content-Type: application/x-www-form-urlencoded"},
    {"CallerAcceptKept", "Accept: text/html", std::nullopt, "http://h/",
     "Accept: text/html\r\nReferer: http://h/\r\nAccept-Language: zh-cn\r\n"
     "Content-Type: application/x-www-form-urlencoded"},
    {"DefaultsAfterCallerLines", "X-A: 1\r\nReferer: r", std::nullopt, "http://h/",
     "X-A: 1\r\nReferer: r\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
     "Content-Type: application/x-www-form-urlencoded"},
    {"LowerCaseContentTypeStillGetsDefault", "content-type: text/plain", std::nullopt, "http://h/",
     "content-type: text/plain\r\nAccept: */*\r\nReferer: http://h/\r\nAccept-Language: zh-cn\r\n"
     "Content-Type: application/x-www-form-urlencoded"},
    {"CookieTextWithItsOwnHeaderName", "", "Cookie: k=v", "http://h/",
     "Accept: */*\r\nReferer: http://h/\r\nAccept-Language: zh-cn\r\n"
     "Content-Type: application/x-www-form-urlencoded\r\nCookie: k=v"},
};

class HeaderBlockTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderBlockTest, SentAndLeftInExtraHeaders) {
  const HeaderCase& c = GetParam();
  FakeTransport transport;
  Text headers = c.extraHeaders;
  Text cookies = c.cookies.value_or("");
  WebRequest(transport, c.url, kMethodGet, "", c.cookies ? &cookies : nullptr, nullptr, &headers);
  EXPECT_EQ(transport.sentHeaders, c.block);
  EXPECT_EQ(headers, c.block);
}

INSTANTIATE_TEST_SUITE_P(Blocks, HeaderBlockTest, ::testing::ValuesIn(kHeaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct AgentCase {
  const char* name;
  Text extraHeaders;
  Text agent;
};

void PrintTo(const AgentCase& c, std::ostream* os) { *os << c.name; }

const AgentCase kAgentCases[] = {
    {"Default", "", kDefaultAgent},
    {"FromHeaderLine", "Accept: x\r\nUser-Agent:  Probe/1.0 \r\nX: y", "Probe/1.0"},
    {"LowerCaseSingleLine", "user-agent: probe/2", "probe/2"},
    {"LowerCaseAfterAnotherLineTakesTheFirstValue", "X-A: v\r\nuser-agent: p", "v\r\nuser-agent: p"},
    {"EmptyValueFallsBackToFirstColon", "User-Agent:\r\nX: y", "\r\nX: y"},
};

class AgentTest : public ::testing::TestWithParam<AgentCase> {};

TEST_P(AgentTest, Agent) {
  FakeTransport transport;
  Text headers = GetParam().extraHeaders;
  WebRequest(transport, "http://h/", kMethodGet, "", nullptr, nullptr, &headers);
  EXPECT_EQ(transport.agent, GetParam().agent);
}

INSTANTIATE_TEST_SUITE_P(Agents, AgentTest, ::testing::ValuesIn(kAgentCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WebRequestStepsTest, ProxyTextAndFlags) {
  FakeTransport direct;
  Text cookies;
  WebRequest(direct, "http://h/", kMethodGet, "", &cookies);
  EXPECT_EQ(direct.proxy, "");
  EXPECT_TRUE(direct.options.noCookies);
  EXPECT_FALSE(direct.options.noRedirect);
  EXPECT_FALSE(direct.options.secure);

  FakeTransport http;
  WebRequest(http, "http://h/", kMethodGet, "", nullptr, nullptr, nullptr, nullptr, true, nullptr, "p:8080");
  EXPECT_EQ(http.proxy, "http=p:8080");
  EXPECT_FALSE(http.options.noCookies);
  EXPECT_TRUE(http.options.noRedirect);

  FakeTransport https;
  WebRequest(https, "HTTPS://h/", kMethodGet, "", nullptr, nullptr, nullptr, nullptr, false, nullptr, "p:8080");
  EXPECT_EQ(https.proxy, "p:8080");
  EXPECT_TRUE(https.options.secure);
}

struct CaptureCase {
  const char* name;
  Text rawHeaders;
  Text captured;
};

void PrintTo(const CaptureCase& c, std::ostream* os) { *os << c.name; }

const CaptureCase kCaptureCases[] = {
    {"MixedCase", "HTTP/1.1 200 OK\r\nset-cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n", "a=1; b=2"},
    {"NoCookies", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n", ""},
    {"WordOnlyWithoutSemicolon", "HTTP/1.1 200 OK\r\nX-Note:  mentions set-cookie here \r\n",
     "X-Note:  mentions Set-Cookie here"},
    {"WordOnlyWithSemicolon", "HTTP/1.1 200 OK\r\nX-Note: Set-Cookie; x\r\nSet-Cookie: c=3\r\n", "; c=3"},
    {"NoAnswer", "", ""},
};

class CaptureTest : public ::testing::TestWithParam<CaptureCase> {};

TEST_P(CaptureTest, CapturesWithoutMergingWhenCookiesAreNotSupplied) {
  FakeTransport transport;
  transport.rawHeaders = GetParam().rawHeaders;
  Text captured = "old";
  WebRequest(transport, "http://h/", kMethodGet, "", nullptr, &captured);
  EXPECT_EQ(captured, GetParam().captured);
}

INSTANTIATE_TEST_SUITE_P(Answers, CaptureTest, ::testing::ValuesIn(kCaptureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WebRequestStepsTest, RawHeadersNormaliseSetCookieCase) {
  FakeTransport transport;
  transport.rawHeaders = "HTTP/1.1 200 OK\r\nSET-COOKIE: a=1\r\nX: set-cookiex\r\n";
  Text headers;
  WebRequest(transport, "http://h/", kMethodGet, "", nullptr, nullptr, nullptr, &headers);
  EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nX: Set-Cookiex\r\n");
}

TEST(WebRequestStepsTest, SuppliedEmptyCookiesEndEqualToReturnedCookies) {
  FakeTransport transport;
  transport.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: t=1; path=/\r\nSet-Cookie: u = 2\r\n";
  Text cookies, captured;
  WebRequest(transport, "http://h/", kMethodGet, "", &cookies, &captured);
  EXPECT_EQ(cookies, "t=1; u=2");
  EXPECT_EQ(captured, cookies);
}

TEST(WebRequestStepsTest, FailedSendStillNormalisesCookies) {
  FakeTransport transport;
  transport.failAt = Step::kSend;
  Text cookies = "a = 1;b=2;a=3; c=deleted";
  Text captured = "old", headers, rawHeaders = "old";
  EXPECT_TRUE(WebRequest(transport, "http://h/", kMethodGet, "", &cookies, &captured, &headers, &rawHeaders).empty());
  EXPECT_EQ(cookies, "a=1; b=2");
  EXPECT_EQ(captured, "a=1; b=2");
  EXPECT_EQ(rawHeaders, "");
  EXPECT_NE(headers.find("Cookie: a = 1;b=2;a=3; c=deleted"), Text::npos);
  EXPECT_EQ(LastWebRequestError(), "scripted failure");
}

TEST(WebRequestStepsTest, BodyCutShortByAFailedReadIsNotReturned) {
  FakeTransport transport;
  transport.failAt = Step::kRead;
  transport.body = Bytes(5000, 'x');
  transport.readFailsAfter = 3072;
  transport.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: k=v\r\n";
  Text cookies;
  EXPECT_TRUE(WebRequest(transport, "http://h/", kMethodGet, "", &cookies).empty());
  EXPECT_EQ(cookies, "k=v");
  EXPECT_EQ(LastWebRequestError(), "scripted failure");
}

TEST(WebRequestStepsTest, BodyOverTheBoundIsNotReturned) {
  FakeTransport transport;
  transport.body = Bytes(kMaxBodyBytes + 1, 'x');
  EXPECT_TRUE(WebRequest(transport, "http://h/").empty());
  EXPECT_EQ(LastWebRequestError(), "body larger than 64 MiB");
}

TEST(HeaderValueTest, TextAfterFirstColonTrimmed) {
  EXPECT_EQ(HeaderValue("User-Agent:  a:b  "), "a:b");
  EXPECT_EQ(HeaderValue("no colon"), "");
  EXPECT_EQ(HeaderValue("Name:"), "");
  EXPECT_EQ(HeaderValue("Name:\t x"), "\t x");
}

}  // namespace
}  // namespace miravel
