// The cookie capture of WebRequest on an arbitrary response header block,
// fed through a scripted transport: no crash, and the merged cookie string
// keeps every stored entry the answer did not name.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>

#include "http/cookies.h"
#include "http/transport.h"
#include "http/web_request.h"
#include "text/value.h"

namespace {

using miravel::Text;

class HeaderOnlyTransport final : public miravel::Transport {
 public:
  explicit HeaderOnlyTransport(Text headers) : headers_(std::move(headers)) {}
  bool Open(const Text&, const Text&) override { return true; }
  bool Connect(const Text&, int) override { return true; }
  bool OpenRequest(const Text&, const Text&, const miravel::RequestOptions&) override { return true; }
  bool Send(const Text&, const miravel::Bytes&) override { return true; }
  int Read(std::uint8_t*, int) override { return 0; }
  Text QueryRawHeaders() override { return headers_; }
  void Close(miravel::TransportHandle) override {}
  Text ErrorText() const override { return {}; }

 private:
  Text headers_;
};

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}
#define Require(condition) Check((condition), #condition)

bool Contains(const Text& cookieString, const Text& entry) {
  const Text padded = "; " + cookieString + "; ";
  return padded.find("; " + entry + "; ") != Text::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Text headers(reinterpret_cast<const char*>(data), size);
  headers = headers.substr(0, headers.find('\0'));
  const Text url = "http://127.0.0.1/";

  // Without a cookie string: the captured cookies, unmerged.
  HeaderOnlyTransport plain(headers);
  Text captured;
  (void)miravel::WebRequest(plain, url, 0, {}, nullptr, &captured);

  // With one: merged into what was stored.
  HeaderOnlyTransport merging(headers);
  Text cookies = "keep1=a; keep2=b";
  Text returned;
  Text rawHeaders;
  (void)miravel::WebRequest(merging, url, 0, {}, &cookies, &returned, nullptr, &rawHeaders);
  Require(returned == cookies);

  Text fresh = captured;
  Text stored = "keep1=a; keep2=b";
  Require(miravel::MergeCookies(stored, fresh) == cookies);
  for (const Text name : {"keep1", "keep2"}) {
    bool named = false;
    for (std::size_t from = 0; from <= fresh.size();) {
      const std::size_t end = std::min(fresh.find(';', from), fresh.size());
      named = named || miravel::CookieName(fresh.substr(from, end - from)) == name;
      from = end + 1;
    }
    if (!named) Require(Contains(cookies, name + (name == "keep1" ? "=a" : "=b")));
  }
  return 0;
}
