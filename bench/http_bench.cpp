// The HTTP client against bare libcurl, both talking to the same loopback
// server (tests/http/http_server.py) in the same run, and the cost per cookie
// of MergeCookies at two sizes.

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "http/cookies.h"
#include "http/transport.h"
#include "http/web_request.h"

namespace {

using miravel::Bytes;
using miravel::Text;

// The loopback server, started once for the whole program.
class ServerProcess {
 public:
  ServerProcess() {
    int out[2];
    if (pipe(out) != 0) return;
    const std::string script = std::string(MIRAVEL_TESTS_DIR) + "/http/http_server.py";
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      execlp("python3", "python3", "-u", script.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    std::string line;
    char c;
    while (pid_ > 0 && read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    if (line.rfind("PORT ", 0) == 0) port_ = std::atoi(line.c_str() + 5);
  }
  ~ServerProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  bool ok() const { return port_ > 0; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

ServerProcess* g_server = nullptr;

const std::string& BigBodyPath() {
  static const std::string path = "/bytes?n=" + std::to_string(miravel::kMaxBodyBytes);
  return path;
}

std::size_t AppendToBytes(char* data, std::size_t size, std::size_t count, void* body) {
  auto* bytes = static_cast<Bytes*>(body);
  bytes->insert(bytes->end(), data, data + size * count);
  return size * count;
}

// What a caller of libcurl would write without our layer.
Bytes BareCurlGet(const std::string& url) {
  Bytes body;
  CURL* easy = curl_easy_init();
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &AppendToBytes);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
  curl_easy_perform(easy);
  curl_easy_cleanup(easy);
  return body;
}

void CheckSize(benchmark::State& state, const Bytes& body, std::size_t expected) {
  if (body.size() != expected) state.SkipWithError("unexpected body size");
}

void BM_WebRequest64MiBOurs(benchmark::State& state) {
  const std::string url = g_server->Url(BigBodyPath());
  for (auto _ : state) {
    Bytes body = miravel::WebRequest(url);
    CheckSize(state, body, miravel::kMaxBodyBytes);
    benchmark::DoNotOptimize(body.data());
  }
}

void BM_WebRequest64MiBReference(benchmark::State& state) {
  const std::string url = g_server->Url(BigBodyPath());
  for (auto _ : state) {
    Bytes body = BareCurlGet(url);
    CheckSize(state, body, miravel::kMaxBodyBytes);
    benchmark::DoNotOptimize(body.data());
  }
}

constexpr int kSmallRequests = 1000;
constexpr std::size_t kSmallBodyBytes = 13;

void BM_WebRequestSmallOurs(benchmark::State& state) {
  const std::string url = g_server->Url("/small");
  for (auto _ : state) {
    for (int i = 0; i < kSmallRequests; ++i) {
      Bytes body = miravel::WebRequest(url);
      CheckSize(state, body, kSmallBodyBytes);
      benchmark::DoNotOptimize(body.data());
    }
  }
}

void BM_WebRequestSmallReference(benchmark::State& state) {
  const std::string url = g_server->Url("/small");
  for (auto _ : state) {
    for (int i = 0; i < kSmallRequests; ++i) {
      Bytes body = BareCurlGet(url);
      CheckSize(state, body, kSmallBodyBytes);
      benchmark::DoNotOptimize(body.data());
    }
  }
}

// Stored: n cookies; fresh: n/2 of them with new values, in reverse order,
// plus n/2 new ones, so that names both collide and not.
void MergeCookiesAt(benchmark::State& state, int n) {
  Text stored, fresh;
  for (int i = 0; i < n; ++i) {
    stored += (i ? "; name" : "name") + std::to_string(i) + "=value" + std::to_string(i);
  }
  for (int i = n - 1; i >= 0; i -= 2) {
    fresh += (fresh.empty() ? "name" : "; name") + std::to_string(i) + "=new" + std::to_string(i);
    fresh += "; extra" + std::to_string(i) + "=x";
  }
  for (auto _ : state) {
    Text storedCopy = stored, freshCopy = fresh;
    benchmark::DoNotOptimize(miravel::MergeCookies(storedCopy, freshCopy));
  }
  state.counters["n"] = n;
}

void BM_MergeCookiesLarge(benchmark::State& state) { MergeCookiesAt(state, 10'000); }
void BM_MergeCookiesSmall(benchmark::State& state) { MergeCookiesAt(state, 100); }

BENCHMARK(BM_MergeCookiesLarge)->Name("merge_cookies_scaling/large")->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MergeCookiesSmall)->Name("merge_cookies_scaling/small")->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WebRequest64MiBOurs)->Name("webrequest_64mib/ours")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WebRequest64MiBReference)
    ->Name("webrequest_64mib/reference")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WebRequestSmallOurs)->Name("webrequest_small/ours")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WebRequestSmallReference)->Name("webrequest_small/reference")->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  ServerProcess server;
  if (!server.ok()) {
    std::fprintf(stderr, "http_bench: the loopback server did not start\n");
    return 1;
  }
  g_server = &server;
  // Longer runs than the default steady the network figures on a busy
  // machine; a --benchmark_min_time given on the command line still wins.
  // (Set here rather than per benchmark so that the names stay bare.)
  std::vector<char*> args(argv, argv + argc);
  static char minTime[] = "--benchmark_min_time=2";
  args.insert(args.begin() + 1, minTime);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_server = nullptr;
  return 0;
}
