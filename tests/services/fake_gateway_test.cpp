// The local gateway must refuse what the real one refuses, or the end-to-end
// tests would pass against requests the real gateway rejects.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "fake_gateway_fixture.h"
#include "services/gateway_protocol.h"
#include "text/unix_timestamp.h"
#include "text/url_encode.h"

namespace miravel {
namespace {

using Query = std::vector<std::pair<std::string, std::string>>;

constexpr char kPath[] = "/h5/mtop.taobao.wireless.share.password.getpasswordshareinfo/1.0/";
constexpr char kParamInvalid[] = "FAIL_SYS_PARAMINVALID_ERROR::参数错误";

Query SignedQuery() {
  return {{"v", "1.0"},
          {"api", "mtop.taobao.wireless.share.password.getpasswordshareinfo"},
          {"appKey", "30916652"},
          {"t", UnixTimestamp()},
          {"callback", "mtopjsonp1"},
          {"type", "jsonp"},
          {"sign", "00000000000000000000000000000000"},
          {"data", UrlEncode(ShareDataText("x", "y"), true, true)}};
}

std::string& Value(Query& query, const std::string& key) {
  for (auto& [name, value] : query) {
    if (name == key) return value;
  }
  static std::string none;
  return none;
}

struct MalformedCase {
  std::string name;
  std::function<void(Query&)> spoil;
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class MalformedRequest : public FakeGatewayTest,
                         public ::testing::WithParamInterface<MalformedCase> {};

TEST_P(MalformedRequest, IsRefusedAsInvalid) {
  Query query = SignedQuery();
  GetParam().spoil(query);
  std::string url = server_->url(kPath) + "?";
  for (const auto& [key, value] : query) url += key + "=" + value + "&";
  url.pop_back();
  WebRequest(url);
  EXPECT_EQ(LastField("ret"), kParamInvalid);
  EXPECT_NE(LastField("reject"), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, MalformedRequest,
    ::testing::Values(
        MalformedCase{"KeysOutOfOrder", [](Query& q) { std::swap(q[2], q[3]); }},
        MalformedCase{"KeyMissing", [](Query& q) { q.erase(q.begin() + 4); }},
        MalformedCase{"WrongAppKey", [](Query& q) { Value(q, "appKey") = "12574478"; }},
        MalformedCase{"StaleTime",
                      [](Query& q) {
                        Value(q, "t") = std::to_string(std::stoll(Value(q, "t")) - 6 * 60 * 1000);
                      }},
        MalformedCase{"TenDigitTime", [](Query& q) { Value(q, "t").resize(10); }},
        MalformedCase{"LowerCaseHex", [](Query& q) { Value(q, "data").replace(0, 3, "%7b"); }},
        MalformedCase{"EncodedLetter",
                      [](Query& q) { Value(q, "data") = UrlEncode(ShareDataText("x", "y"), false, true); }},
        MalformedCase{"RawUnderscore",
                      [](Query& q) {
                        Value(q, "data") = UrlEncode(ShareDataText("a", "y"), true, true) + "_";
                      }},
        MalformedCase{"NotUtf8",
                      [](Query& q) {
                        Value(q, "data") = UrlEncode(ShareDataText("\xD6\xD0", "y"), true, false);
                      }},
        MalformedCase{"UnescapedQuote",
                      [](Query& q) {
                        Value(q, "data") = UrlEncode(
                            "{\"url\":\"x\",\"passwordType\":\"tao\",\"sourceType\":\"other\","
                            "\"title\":\"a\"b\",\"bizId\":\"mama-taobaolianmeng\"}",
                            true, true);
                      }},
        MalformedCase{"JsonKeysReordered",
                      [](Query& q) {
                        Value(q, "data") = UrlEncode(
                            "{\"title\":\"y\",\"url\":\"x\",\"passwordType\":\"tao\","
                            "\"sourceType\":\"other\",\"bizId\":\"mama-taobaolianmeng\"}",
                            true, true);
                      }}),
    [](const auto& info) { return info.param.name; });

using FakeGatewayPaths = FakeGatewayTest;

TEST_F(FakeGatewayPaths, UnknownPathIsNotFound) {
  WebRequest(server_->url("/h5/other/1.0/?v=1.0"));
  EXPECT_EQ(LastField("ret"), "FAIL_SYS_API_NOT_FOUNDED::请求API不存在");
}

}  // namespace
}  // namespace miravel
