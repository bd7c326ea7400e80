#include "app/display.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace miravel {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Closes the descriptor it owns.
class Socket {
 public:
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() {
    if (fd_ >= 0) close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// The X server's local socket, in the abstract namespace or on the file system.
bool ConnectsLocally(const std::string& number) {
  const std::string path = "/tmp/.X11-unix/X" + number;
  for (const bool abstract : {true, false}) {
    Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.fd() < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (path.size() + offset >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size() +
                                               (abstract ? 0 : 1));
    if (connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), length) == 0) return true;
  }
  return false;
}

bool ConnectsOverTcp(const std::string& host, const std::string& number) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(6000 + std::atoi(number.c_str()));
  if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0) return false;
  bool connected = false;
  for (const addrinfo* candidate = found; candidate != nullptr && !connected; candidate = candidate->ai_next) {
    Socket socket(::socket(candidate->ai_family, candidate->ai_socktype | SOCK_CLOEXEC, candidate->ai_protocol));
    connected = socket.fd() >= 0 && connect(socket.fd(), candidate->ai_addr, candidate->ai_addrlen) == 0;
  }
  freeaddrinfo(found);
  return connected;
}

// DISPLAY is [host]:number[.screen]; a host of "" or "unix" means this machine.
bool XDisplayAnswers(std::string_view display) {
  const auto colon = display.rfind(':');
  if (colon == std::string_view::npos) return false;
  const std::string host(display.substr(0, colon));
  std::string_view rest = display.substr(colon + 1);
  rest = rest.substr(0, rest.find('.'));
  if (rest.empty() || rest.find_first_not_of("0123456789") != std::string_view::npos) return false;
  const std::string number(rest);
  if (host.empty() || host == "unix") return ConnectsLocally(number) || (host.empty() && ConnectsOverTcp("localhost", number));
  // Launchers and ssh hand out local paths as hosts, e.g. /tmp/launch-x/org.x:0.
  if (host.front() == '/') return true;
  return ConnectsOverTcp(host, number);
}

}  // namespace

std::string DisplayProblem() {
  if (IsSet("QT_QPA_PLATFORM") || IsSet("WAYLAND_DISPLAY")) return {};
  if (!IsSet("DISPLAY")) return "no display to open the window on (DISPLAY is not set)";
  const std::string display = std::getenv("DISPLAY");
  if (XDisplayAnswers(display)) return {};
  return "cannot open the window: the display " + display + " does not answer";
}

}  // namespace miravel
