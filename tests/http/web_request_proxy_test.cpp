// The proxy rule against a real forward proxy on loopback
// (tests/http/forward_proxy.py): a given proxy carries the request, an empty
// one means a direct connection, and the environment is never consulted.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "http/web_request.h"
#include "support/local_server.h"
#include "wire.h"

namespace miravel {
namespace {

using testing::LocalServer;
using testing::ParseWire;

class WebRequestProxyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log_ = std::string(MIRAVEL_BINARY_DIR) + "/proxy_log_" + std::to_string(getpid()) + ".txt";
    std::ofstream(log_, std::ios::trunc).close();
    origin_ = std::make_unique<LocalServer>("http/http_server.py");
    proxy_ = std::make_unique<LocalServer>("http/forward_proxy.py", std::vector<std::string>{log_});
    ASSERT_TRUE(origin_->ok());
    ASSERT_TRUE(proxy_->ok());
  }
  void TearDown() override {
    for (const char* name : kProxyVariables) unsetenv(name);
    proxy_.reset();
    origin_.reset();
    std::remove(log_.c_str());
  }

  std::string ProxyLog() const {
    std::ifstream in(log_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // Points every proxy variable curl knows at the proxy, and exempts nothing.
  void ProxyInEnvironment() const {
    const std::string proxy = "http://" + proxy_->host_port();
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
      setenv(name, proxy.c_str(), 1);
    }
  }

  static constexpr const char* kProxyVariables[] = {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",
                                                    "all_proxy",  "ALL_PROXY",  "no_proxy",    "NO_PROXY"};
  std::string log_;
  std::unique_ptr<LocalServer> origin_;
  std::unique_ptr<LocalServer> proxy_;
};

TEST_F(WebRequestProxyTest, HttpRequestGoesThroughTheGivenProxy) {
  setenv("no_proxy", "127.0.0.1,localhost", 1);  // ignored: the caller named a proxy
  const auto wire = ParseWire(WebRequest(origin_->url("/echo?via=proxy"), kMethodGet, "", nullptr, nullptr,
                                         nullptr, nullptr, false, nullptr, proxy_->host_port()));
  EXPECT_EQ(wire.requestLine, "GET /echo?via=proxy HTTP/1.1");
  EXPECT_EQ(ProxyLog(), "GET " + origin_->url("/echo?via=proxy") + " HTTP/1.1\r\n");
}

TEST_F(WebRequestProxyTest, HttpsRequestAsksTheProxyForATunnel) {
  const std::string url = "https://" + origin_->host_port() + "/small";
  EXPECT_TRUE(WebRequest(url, kMethodGet, "", nullptr, nullptr, nullptr, nullptr, false, nullptr,
                         proxy_->host_port())
                  .empty());
  EXPECT_EQ(ProxyLog(), "CONNECT " + origin_->host_port() + " HTTP/1.1\r\n");
}

TEST_F(WebRequestProxyTest, EmptyProxyConnectsDirectlyWhateverTheEnvironmentSays) {
  ProxyInEnvironment();
  const auto wire = ParseWire(WebRequest(origin_->url("/echo")));
  EXPECT_EQ(wire.requestLine, "GET /echo HTTP/1.1");
  EXPECT_EQ(ProxyLog(), "");
}

}  // namespace
}  // namespace miravel
