#include "support/local_server.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace miravel::testing {

std::string TestsPath(const std::string& relative) {
  return std::string(MIRAVEL_TESTS_DIR) + "/" + relative;
}

LocalServer::LocalServer(const std::string& script, std::vector<std::string> args) {
  int out[2];
  if (pipe(out) != 0) return;
  const std::string path = TestsPath(script);
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>("python3"));
    argv.push_back(const_cast<char*>("-u"));
    argv.push_back(const_cast<char*>(path.c_str()));
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execvp("python3", argv.data());
    _exit(127);
  }
  close(out[1]);
  if (pid_ < 0) {
    close(out[0]);
    return;
  }
  // The first line names the port; the server keeps writing nothing else.
  std::string line;
  char c;
  while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
  close(out[0]);
  if (line.rfind("PORT ", 0) == 0) port_ = std::atoi(line.c_str() + 5);
}

LocalServer::~LocalServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  for (int i = 0; i < 50; ++i) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

}  // namespace miravel::testing
