// WebRequest over libcurl against the loopback server tests/http/http_server.py.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "http/curl_transport.h"
#include "http/web_request.h"
#include "support/local_server.h"
#include "wire.h"

namespace miravel {
namespace {

using testing::AsString;
using testing::LocalServer;
using testing::ParseWire;
using testing::QueryValue;

const std::string kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
const std::string kFormType = "Content-Type: application/x-www-form-urlencoded";

class WebRequestServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = std::make_unique<LocalServer>("http/http_server.py"); }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override { ASSERT_TRUE(server_->ok()) << "the test server did not start"; }

  static std::string Url(const std::string& path) { return server_->url(path); }
  static std::string Host() { return "Host: " + server_->host_port(); }

  // An answer from /respond carrying the given header lines.
  static std::string Respond(const std::vector<std::string>& lines, const std::string& body = "") {
    std::string url = Url("/respond?body=" + QueryValue(body));
    for (const auto& line : lines) url += "&h=" + QueryValue(line);
    return url;
  }

  static inline std::unique_ptr<LocalServer> server_;
};

TEST_F(WebRequestServerTest, DefaultHeaderBlockOnTheWire) {
  const std::string url = Url("/echo");
  const auto wire = ParseWire(WebRequest(url));
  EXPECT_EQ(wire.requestLine, "GET /echo HTTP/1.1");
  const std::vector<std::string> expected = {Host(), "User-Agent: " + kDefaultAgent, "Accept: */*",
                                             "Referer: " + url, "Accept-Language: zh-cn", kFormType};
  EXPECT_EQ(wire.headers, expected);
  EXPECT_EQ(wire.body, "");
}

TEST_F(WebRequestServerTest, CookiesAndExtraHeadersOnTheWire) {
  const std::string url = Url("/echo?x=1");
  Text cookies = "a=1; b=2";
  Text headers = "X-Extra: yes\r\nAccept: text/plain\r\nX-Empty:";
  const auto wire = ParseWire(WebRequest(url, kMethodGet, "", &cookies, nullptr, &headers));
  EXPECT_EQ(wire.requestLine, "GET /echo?x=1 HTTP/1.1");
  const std::vector<std::string> expected = {Host(), "User-Agent: " + kDefaultAgent,
                                             "X-Extra: yes", "Accept: text/plain", "X-Empty:",
                                             "Referer: " + url, "Accept-Language: zh-cn", kFormType,
                                             "Cookie: a=1; b=2"};
  EXPECT_EQ(wire.headers, expected);
  EXPECT_EQ(headers, "X-Extra: yes\r\nAccept: text/plain\r\nX-Empty:\r\nReferer: " + url +
                         "\r\nAccept-Language: zh-cn\r\n" + kFormType + "\r\nCookie: a=1; b=2");
}

TEST_F(WebRequestServerTest, UserAgentFromExtraHeadersIsTheOnlyOne) {
  Text headers = "user-agent: Probe/1.0";
  const auto wire = ParseWire(WebRequest(Url("/echo"), kMethodGet, "", nullptr, nullptr, &headers));
  const std::vector<std::string> expected = {Host(), "user-agent: Probe/1.0", "Accept: */*",
                                             "Referer: " + Url("/echo"), "Accept-Language: zh-cn", kFormType};
  EXPECT_EQ(wire.headers, expected);
}

struct MethodCase {
  const char* name;
  int method;
  std::string postText;
  Bytes postBytes;
  std::string requestLine;
  std::string body;
};

void PrintTo(const MethodCase& c, std::ostream* os) { *os << c.name; }

const MethodCase kMethodCases[] = {
    {"SevenIsGet", 7, "ignored", {}, "GET /echo HTTP/1.1", ""},
    {"MinusOneIsGet", -1, "ignored", {}, "GET /echo HTTP/1.1", ""},
    {"PostText", kMethodPost, "a=1&b=2", {}, "POST /echo HTTP/1.1", "a=1&b=2"},
    {"PostBytesWin", kMethodPost, "ignored", {'x', 0, 'y'}, "POST /echo HTTP/1.1", std::string("x\0y", 3)},
    {"PostEmpty", kMethodPost, "", {}, "POST /echo HTTP/1.1", ""},
    {"LargePostWithoutExpect", kMethodPost, std::string(200'000, 'p'), {}, "POST /echo HTTP/1.1",
     std::string(200'000, 'p')},
};

class MethodTest : public WebRequestServerTest, public ::testing::WithParamInterface<MethodCase> {};

TEST_P(MethodTest, RequestLineAndBody) {
  const MethodCase& c = GetParam();
  Bytes postBytes = c.postBytes;
  const auto wire = ParseWire(WebRequest(Url("/echo"), c.method, c.postText, nullptr, nullptr, nullptr,
                                         nullptr, false, &postBytes));
  EXPECT_EQ(wire.requestLine, c.requestLine);
  EXPECT_EQ(wire.body, c.body);
  for (const auto& line : wire.headers) EXPECT_NE(line.rfind("Expect", 0), 0u) << line;
  if (c.method == kMethodPost) {
    EXPECT_EQ(wire.headers.back(), "Content-Length: " + std::to_string(c.body.size()));
  }
}

INSTANTIATE_TEST_SUITE_P(Methods, MethodTest, ::testing::ValuesIn(kMethodCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WebRequestServerTest, HeadSendsTheBodyAndReadsNone) {
  Bytes postBytes;
  Text rawHeaders;
  EXPECT_TRUE(WebRequest(Url("/echo"), kMethodHead, "h=1", nullptr, nullptr, nullptr, &rawHeaders, false,
                         &postBytes)
                  .empty());
  EXPECT_EQ(LastWebRequestError(), "");
  EXPECT_EQ(rawHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
  EXPECT_EQ(AsString(postBytes), "h=1");
  const auto wire = ParseWire(WebRequest(Url("/last")));
  EXPECT_EQ(wire.requestLine, "HEAD /echo HTTP/1.1");
  EXPECT_EQ(wire.body, "h=1");
}

TEST_F(WebRequestServerTest, SetCookieInAnyCaseCapturedAndMerged) {
  Text cookies = "c=0; d=4";
  Text captured, rawHeaders;
  const Bytes body = WebRequest(Respond({"set-cookie: a=1; path=/", "SET-COOKIE: c=3", "Set-Cookie: b=2"}, "ok"),
                                kMethodGet, "", &cookies, &captured, nullptr, &rawHeaders);
  EXPECT_EQ(AsString(body), "ok");
  EXPECT_EQ(rawHeaders,
            "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: c=3\r\nSet-Cookie: b=2\r\n"
            "Content-Length: 2\r\nConnection: close\r\n");
  EXPECT_EQ(captured, "a=1; c=3; b=2; d=4");
  EXPECT_EQ(cookies, captured);
}

TEST_F(WebRequestServerTest, RedirectFollowedKeepsOnlyTheFinalAnswer) {
  const std::string target = "/respond?body=final&h=" + QueryValue("Set-Cookie: last=2");
  const std::string url = Url("/redirect?to=" + QueryValue(target) + "&h=" + QueryValue("Set-Cookie: hop=1"));
  Text captured, rawHeaders;
  EXPECT_EQ(AsString(WebRequest(url, kMethodGet, "", nullptr, &captured, nullptr, &rawHeaders)), "final");
  EXPECT_EQ(rawHeaders, "HTTP/1.1 200 OK\r\nSet-Cookie: last=2\r\nContent-Length: 5\r\nConnection: close\r\n");
  EXPECT_EQ(captured, "last=2");
}

TEST_F(WebRequestServerTest, RedirectNotFollowedWhenAsked) {
  const std::string url = Url("/redirect?to=%2Fsmall&h=" + QueryValue("Set-Cookie: hop=1"));
  Text captured, rawHeaders;
  EXPECT_EQ(AsString(WebRequest(url, kMethodGet, "", nullptr, &captured, nullptr, &rawHeaders, true)), "moved");
  EXPECT_EQ(rawHeaders.rfind("HTTP/1.1 302 Found\r\nLocation: /small\r\n", 0), 0u) << rawHeaders;
  EXPECT_EQ(captured, "hop=1");
}

TEST_F(WebRequestServerTest, AtMostTenRedirects) {
  EXPECT_TRUE(WebRequest(Url("/loop")).empty());
  EXPECT_NE(LastWebRequestError().find("redirect"), Text::npos) << LastWebRequestError();
}

TEST_F(WebRequestServerTest, RedirectToAnotherProtocolIsRefused) {
  const std::string url = Url("/redirect?to=" + QueryValue("ftp://" + server_->host_port() + "/x"));
  EXPECT_TRUE(WebRequest(url).empty());
  EXPECT_NE(LastWebRequestError().find("protocol"), Text::npos) << LastWebRequestError();
}

TEST_F(WebRequestServerTest, RedirectFromHttpToHttpsIsFollowed) {
  // The server speaks no TLS, so following the redirect shows as a TLS failure.
  const std::string url = Url("/redirect?to=" + QueryValue("https://" + server_->host_port() + "/small"));
  EXPECT_TRUE(WebRequest(url).empty());
  const Text error = LastWebRequestError();
  EXPECT_TRUE(error.find("SSL") != Text::npos || error.find("TLS") != Text::npos) << error;
}

TEST_F(WebRequestServerTest, HeaderBlockOverFiveThousandBytesKeepsEveryCookie) {
  Text cookies, rawHeaders;
  WebRequest(Url("/many-cookies?n=60&size=100"), kMethodGet, "", &cookies, nullptr, nullptr, &rawHeaders);
  EXPECT_GT(rawHeaders.size(), 5000u);
  const Text value(100, 'v');
  Text expected;
  for (int i = 1; i <= 60; ++i) expected += (i > 1 ? "; c" : "c") + std::to_string(i) + "=" + value;
  EXPECT_EQ(cookies, expected);
}

TEST_F(WebRequestServerTest, BodyOfExactlyTheBoundIsWhole) {
  const Bytes body = WebRequest(Url("/bytes?n=" + std::to_string(kMaxBodyBytes)));
  EXPECT_EQ(body.size(), kMaxBodyBytes);
  EXPECT_EQ(LastWebRequestError(), "");
}

TEST_F(WebRequestServerTest, BodyOverTheBoundFailsTheCall) {
  EXPECT_TRUE(WebRequest(Url("/bytes?n=" + std::to_string(kMaxBodyBytes + 1))).empty());
  EXPECT_EQ(LastWebRequestError(), "body larger than 64 MiB");
}

TEST_F(WebRequestServerTest, StalledAnswerTimesOut) {
  CurlTransport transport(CurlTimeouts{.connect = std::chrono::seconds(2), .stall = std::chrono::seconds(1)});
  Text cookies;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(WebRequest(transport, Url("/stall"), kMethodGet, "", &cookies).empty());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(cookies, "s=1");  // the headers did arrive
  EXPECT_NE(LastWebRequestError().find("timeout"), Text::npos) << LastWebRequestError();
}

// The cookie lines of a request as the server saw it.
std::vector<std::string> CookieLines(const Bytes& echo) {
  std::vector<std::string> lines;
  for (const auto& line : ParseWire(echo).headers) {
    if (line.rfind("Cookie:", 0) == 0) lines.push_back(line);
  }
  return lines;
}

TEST_F(WebRequestServerTest, TransportCookieStoreOnlyWhenCookiesAreNotSupplied) {
  // Supplied: the answer's cookie goes to the caller, not to the store.
  Text cookies;
  WebRequest(Respond({"Set-Cookie: kept=1"}), kMethodGet, "", &cookies);
  EXPECT_EQ(cookies, "kept=1");
  for (const auto& line : CookieLines(WebRequest(Url("/echo")))) EXPECT_EQ(line.find("kept"), std::string::npos);

  // Not supplied: the store keeps the cookie and sends it next time...
  WebRequest(Respond({"Set-Cookie: stored=2"}));
  const auto lines = CookieLines(WebRequest(Url("/echo")));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("stored=2"), std::string::npos);

  // ...but never on an exchange whose caller keeps cookies itself.
  Text own = "mine=3";
  EXPECT_EQ(CookieLines(WebRequest(Url("/echo"), kMethodGet, "", &own)), std::vector<std::string>{"Cookie: mine=3"});
}

TEST(WebRequestTlsTest, UntrustedCertificateIsRefused) {
  // tests/http/tls_cert.pem is self-signed, so curl's default checks fail it.
  LocalServer server("http/http_server.py",
                     {"--tls", testing::TestsPath("http/tls_cert.pem"), testing::TestsPath("http/tls_key.pem")});
  ASSERT_TRUE(server.ok());
  Text rawHeaders;
  EXPECT_TRUE(WebRequest("https://" + server.host_port() + "/small", kMethodGet, "", nullptr, nullptr, nullptr,
                         &rawHeaders)
                  .empty());
  EXPECT_EQ(rawHeaders, "");
  EXPECT_NE(LastWebRequestError().find("certificate"), Text::npos) << LastWebRequestError();
}

int ClosedLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);  // nothing listens there now
  return ntohs(address.sin_port);
}

TEST(WebRequestRefusedTest, EmptyResultCookiesNormalisedNothingLost) {
  const std::string url = "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/x";
  Text cookies = "a = 1;b=2;a=3;c=deleted";
  Text captured = "old", headers, rawHeaders = "old";
  EXPECT_TRUE(WebRequest(url, kMethodGet, "", &cookies, &captured, &headers, &rawHeaders).empty());
  EXPECT_EQ(cookies, "a=1; b=2");
  EXPECT_EQ(captured, "a=1; b=2");
  EXPECT_EQ(rawHeaders, "");
  EXPECT_EQ(headers.rfind("Accept: */*\r\nReferer: " + url, 0), 0u);
  EXPECT_NE(LastWebRequestError().find("connect"), Text::npos) << LastWebRequestError();
}

}  // namespace
}  // namespace miravel
