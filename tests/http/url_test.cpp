#include "http/url.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace miravel {
namespace {

struct HostCase {
  const char* name;
  const char* url;
  bool rootDomain;
  bool keepPort;
  std::optional<int> levels;
  const char* host;
};

void PrintTo(const HostCase& c, std::ostream* os) { *os << c.name; }

const HostCase kHostCases[] = {
    {"UpperCaseHttpsWithPort", "HTTPS://Host:8443/P?q", false, false, std::nullopt, "host"},
    {"KeepPort", "HTTPS://Host:8443/P?q", false, true, std::nullopt, "host:8443"},
    {"NoPath", "http://www.Example.com", false, false, std::nullopt, "www.example.com"},
    {"NoScheme", "www.example.com/a/b", false, false, std::nullopt, "www.example.com"},
    {"SchemelessWithLaterHttp", "example.com/go?u=http://other.org/x", false, false, std::nullopt,
     "other.org"},
    {"QueryRightAfterHost", "http://host?x=1", false, false, std::nullopt, "host?x=1"},
    {"FirstColonCutsPort", "http://h:1:2/", false, false, std::nullopt, "h"},
    {"KeepsEveryColon", "http://h:1:2/", false, true, std::nullopt, "h:1:2"},
    {"Empty", "", false, false, std::nullopt, ""},
    {"RootDomain", "http://a.b.Example.com/", true, false, std::nullopt, "example.com"},
    {"RootDomainOneLabel", "http://localhost/", true, false, std::nullopt, "localhost"},
    {"LevelsZeroRoot", "http://a.b.c/", true, false, 0, "c"},
    {"LevelsZero", "http://a.b.c/", false, false, 0, "b.c"},
    {"LevelsOneRoot", "http://w.a.b.c/", true, false, 1, "b.c"},
    {"LevelsOne", "http://w.a.b.c/", false, false, 1, "a.b.c"},
    {"LevelsTooFewDots", "http://b.c/x", false, false, 1, "b.c"},
    {"LevelsNegativeActsAsZero", "https://a.b.c/", false, false, -3, "b.c"},
    {"LevelsWithPort", "https://www.Example.com:8080/x", false, false, 0, "example.com"},
    {"LevelsKeepPort", "https://www.example.com:8080/x", false, true, 0, "example.com:8080"},
};

class UrlHostTest : public ::testing::TestWithParam<HostCase> {};

TEST_P(UrlHostTest, Host) {
  const HostCase& c = GetParam();
  EXPECT_EQ(UrlHost(c.url, c.rootDomain, c.keepPort, c.levels), c.host);
}

INSTANTIATE_TEST_SUITE_P(Cases, UrlHostTest, ::testing::ValuesIn(kHostCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct PortCase {
  const char* name;
  const char* url;
  int port;
};

void PrintTo(const PortCase& c, std::ostream* os) { *os << c.name; }

const PortCase kPortCases[] = {
    {"Explicit", "HTTPS://Host:8443/P?q", 8443},
    {"HttpDefault", "http://host", 80},
    {"HttpsDefault", "https://host/", 443},
    {"HttpsAnyCase", "HtTpS://host/", 443},
    {"FirstFiveLettersOnly", "httpsfoo.com/x", 443},
    {"NoScheme", "www.example.com:8080/a", 8080},
    {"EmptyPort", "http://host:/x", 0},
    {"LastColon", "http://h:1:2/", 2},
};

class UrlPortTest : public ::testing::TestWithParam<PortCase> {};

TEST_P(UrlPortTest, Port) { EXPECT_EQ(UrlPort(GetParam().url), GetParam().port); }

INSTANTIATE_TEST_SUITE_P(Cases, UrlPortTest, ::testing::ValuesIn(kPortCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct PathCase {
  const char* name;
  const char* url;
  const char* path;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

const PathCase kPathCases[] = {
    {"KeepsCase", "HTTPS://Host:8443/P?q", "/P?q"},
    {"NoPath", "http://host", "/"},
    {"QueryRightAfterHost", "http://host?x=1", "/"},
    {"NoScheme", "www.Example.com/A/b?c#d", "/A/b?c#d"},
    {"UrlInQuery", "http://host/a?u=http://x/y", "/a?u=http://x/y"},
    {"Empty", "", "/"},
};

class UrlPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(UrlPathTest, Path) { EXPECT_EQ(UrlPath(GetParam().url), GetParam().path); }

INSTANTIATE_TEST_SUITE_P(Cases, UrlPathTest, ::testing::ValuesIn(kPathCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace miravel
