// WebRequest against answers a well-behaved server never gives
// (tests/http/hostile_server.py): every exchange ends, memory stays bounded,
// and the cookie string keeps every entry the answer did not replace or
// delete.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>

#include "http/curl_transport.h"
#include "http/web_request.h"
#include "support/local_server.h"

namespace miravel {
namespace {

using testing::LocalServer;

enum class Body { kEmpty, kAsSent };

struct HostileCase {
  const char* mode;
  Body body;
  const char* expectedBody;   // with Body::kAsSent
  const char* capturedEntry;  // an entry the merged cookies must hold; "" for none
  bool reportsError;          // LastWebRequestError names why there is no answer
};

std::ostream& operator<<(std::ostream& out, const HostileCase& c) { return out << c.mode; }

const std::string kInvalidUtf8Body =
    "\xff\xfe\xc3(\xef\xbf\xa5" "AB\xef\xbf\xa5\xed\xa0\x80\xf8\x88\x80\x80\x80 tail";
const std::string kZeroBytesBody = std::string("head\0\xef\xbf\xa5" "AB\xef\xbf\xa5\0tail", 18);

const HostileCase kCases[] = {
    // curl refuses a response header block over 300 KiB: a failed exchange.
    {"huge-headers", Body::kEmpty, "", "", true},
    {"many-cookies", Body::kAsSent, "body", "c9999=9999", false},
    {"redirect-loop", Body::kEmpty, "", "", true},
    {"endless-body", Body::kEmpty, "", "", true},
    {"silent", Body::kEmpty, "", "", true},
    {"reset-mid-body", Body::kEmpty, "", "", true},
    {"invalid-utf8", Body::kAsSent, nullptr, "fresh=1", false},
    {"zero-bytes", Body::kAsSent, nullptr, "fresh=1", false},
    {"big-cookie", Body::kAsSent, "body", "fresh=1", false},
    {"non-ascii-cookie", Body::kAsSent, "body", "fresh=1", false},
};

bool HoldsEntry(const Text& cookies, const Text& entry) {
  return ("; " + cookies + "; ").find("; " + entry + "; ") != Text::npos;
}

long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

class HostileServerTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileServerTest, EndsBoundedAndKeepsEarlierCookies) {
  const HostileCase& c = GetParam();
  LocalServer server("http/hostile_server.py", {c.mode});
  ASSERT_TRUE(server.ok());

  CurlTimeouts timeouts;
  timeouts.connect = std::chrono::milliseconds(2000);
  timeouts.stall = std::chrono::seconds(2);
  CurlTransport transport(timeouts);
  Text cookies = "keep=1; fresh=0; gone=1";
  const Bytes body = WebRequest(transport, server.url("/x"), kMethodGet, {}, &cookies);

  if (c.body == Body::kEmpty) {
    EXPECT_TRUE(body.empty()) << body.size() << " bytes came back";
  } else {
    const std::string expected = c.expectedBody != nullptr ? std::string(c.expectedBody)
                                 : std::string(c.mode) == "zero-bytes" ? kZeroBytesBody
                                                                       : kInvalidUtf8Body;
    EXPECT_EQ(std::string(body.begin(), body.end()), expected);
  }
  EXPECT_EQ(!LastWebRequestError().empty(), c.reportsError) << LastWebRequestError();

  EXPECT_TRUE(HoldsEntry(cookies, "keep=1")) << cookies.substr(0, 200);
  EXPECT_TRUE(HoldsEntry(cookies, "gone=1")) << cookies.substr(0, 200);
  if (*c.capturedEntry != '\0') {
    EXPECT_TRUE(HoldsEntry(cookies, c.capturedEntry)) << cookies.substr(0, 200);
    EXPECT_TRUE(HoldsEntry(cookies, "fresh=1"));
    EXPECT_FALSE(HoldsEntry(cookies, "fresh=0"));
  }
  // The 64 MiB bound on the body and curl's own header limit keep memory
  // far below what an endless answer would take.
  EXPECT_LT(PeakResidentKiB(), 512 * 1024);
}

INSTANTIATE_TEST_SUITE_P(Modes, HostileServerTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string name = info.param.mode;
                           for (char& ch : name) ch = ch == '-' ? '_' : ch;
                           return name;
                         });

TEST(HostileCookieTest, ManyCookiesAreAllKeptInOrder) {
  LocalServer server("http/hostile_server.py", {"many-cookies"});
  ASSERT_TRUE(server.ok());
  Text cookies = "keep=1";
  (void)WebRequest(server.url("/"), kMethodGet, {}, &cookies);
  EXPECT_EQ(cookies.rfind("c0=0; c1=1; c2=2", 0), 0U) << cookies.substr(0, 80);
  EXPECT_EQ(cookies.substr(cookies.size() - 27), "c9999=9999; fresh=1; keep=1");
}

TEST(HostileCookieTest, LongAndNonAsciiValuesArriveWhole) {
  LocalServer big("http/hostile_server.py", {"big-cookie"});
  LocalServer odd("http/hostile_server.py", {"non-ascii-cookie"});
  ASSERT_TRUE(big.ok() && odd.ok());
  Text cookies;
  (void)WebRequest(big.url("/"), kMethodGet, {}, &cookies);
  (void)WebRequest(odd.url("/"), kMethodGet, {}, &cookies);
  EXPECT_TRUE(HoldsEntry(cookies, "big=" + std::string(8192, 'v')));
  // The value ends in the lead byte FF, which takes the following ";" as its
  // second byte, so the walk keeps the attribute with the value.
  EXPECT_TRUE(HoldsEntry(cookies, "odd=\xd6\xb5\xe5\x80\xbc\x80\xff;Path=/")) << cookies.substr(0, 60);
}

}  // namespace
}  // namespace miravel
