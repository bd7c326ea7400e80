#ifndef MIRAVEL_TESTS_SERVICES_FAKE_GATEWAY_FIXTURE_H_
#define MIRAVEL_TESTS_SERVICES_FAKE_GATEWAY_FIXTURE_H_

// One local gateway (fake_gateway.py) per suite; every test starts with a
// reset gateway, empty SessionCookies and MIRAVEL_GATEWAY_HOST pointing at it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "http/web_request.h"
#include "services/session_cookies.h"
#include "support/local_server.h"
#include "text/code_page.h"

namespace miravel {

class FakeGatewayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<testing::LocalServer>("services/fake_gateway.py");
  }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(server_->ok()) << "the fake gateway did not start";
    setenv("MIRAVEL_GATEWAY_HOST", server_->host_port().c_str(), 1);
    Control("/_fake/reset");
    SessionCookies.clear();
  }
  void TearDown() override {
    unsetenv("MIRAVEL_GATEWAY_HOST");
    SessionCookies.clear();
  }

  // The body of a control path of the gateway (UTF-8 as sent).
  static std::string Control(const std::string& path) {
    const Bytes body = WebRequest(server_->url(path));
    return std::string(body.begin(), body.end());
  }
  // The same, as GBK text.
  static Text ControlText(const std::string& path) {
    return Utf8ToAnsi(WebRequest(server_->url(path)));
  }
  // A string field of the /_fake/last record; empty when null or absent.
  static std::string LastField(const std::string& name) {
    const std::string last = Control("/_fake/last");
    const std::string key = "\"" + name + "\": \"";
    const size_t start = last.find(key);
    if (start == std::string::npos) return {};
    const size_t end = last.find('"', start + key.size());
    return last.substr(start + key.size(), end - start - key.size());
  }

  static Text LastFieldText(const std::string& name) {
    const std::string field = LastField(name);
    return Utf8ToAnsi(Bytes(field.begin(), field.end()));
  }

  static inline std::unique_ptr<testing::LocalServer> server_;
};

}  // namespace miravel

#endif  // MIRAVEL_TESTS_SERVICES_FAKE_GATEWAY_FIXTURE_H_
