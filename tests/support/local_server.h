#ifndef MIRAVEL_TESTS_SUPPORT_LOCAL_SERVER_H_
#define MIRAVEL_TESTS_SUPPORT_LOCAL_SERVER_H_

// Runs one of the test servers (a Python script under tests/) as a child
// process on 127.0.0.1. The script binds port 0 and prints "PORT <n>" as its
// first line on standard output; the server is stopped (SIGTERM, then
// SIGKILL) when the object goes away.

#include <string>
#include <vector>

namespace miravel::testing {

class LocalServer {
 public:
  // `script` is relative to the tests folder, e.g. "http/echo_server.py".
  explicit LocalServer(const std::string& script, std::vector<std::string> args = {});
  ~LocalServer();
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  bool ok() const { return port_ > 0; }
  int port() const { return port_; }
  std::string host_port() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string url(const std::string& path = "/") const { return "http://" + host_port() + path; }
  int pid() const { return pid_; }

 private:
  int pid_ = -1;
  int port_ = 0;
};

// Absolute path of a file under tests/.
std::string TestsPath(const std::string& relative);

}  // namespace miravel::testing

#endif  // MIRAVEL_TESTS_SUPPORT_LOCAL_SERVER_H_
