#ifndef MIRAVEL_TESTS_APP_LOCAL_GATEWAY_H_
#define MIRAVEL_TESTS_APP_LOCAL_GATEWAY_H_

// The local imitation of the gateway (tests/services/fake_gateway.py) with
// MIRAVEL_GATEWAY_HOST pointed at it for as long as the object lives.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "http/web_request.h"
#include "support/local_server.h"

namespace miravel::testing {

class LocalGateway {
 public:
  explicit LocalGateway(std::vector<std::string> args = {})
      : server_(std::make_unique<LocalServer>("services/fake_gateway.py", std::move(args))),
        hostPort_(server_->host_port()) {
    setenv("MIRAVEL_GATEWAY_HOST", hostPort_.c_str(), 1);
  }
  ~LocalGateway() { unsetenv("MIRAVEL_GATEWAY_HOST"); }
  LocalGateway(const LocalGateway&) = delete;
  LocalGateway& operator=(const LocalGateway&) = delete;

  bool ok() const { return server_ != nullptr && server_->ok(); }

  // Stops the server; the program keeps pointing at its port, where nothing
  // listens any more (connections are refused at once).
  void GoDown() { server_.reset(); }

  // A control path of the imitation ("/_fake/stats"), answered as UTF-8.
  std::string Control(const std::string& path) const {
    const Bytes body = WebRequest("http://" + hostPort_ + path);
    return std::string(body.begin(), body.end());
  }

 private:
  std::unique_ptr<LocalServer> server_;
  std::string hostPort_;
};

}  // namespace miravel::testing

#endif  // MIRAVEL_TESTS_APP_LOCAL_GATEWAY_H_
