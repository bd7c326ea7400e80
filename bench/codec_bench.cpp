// Code-page conversion, MD5 and URL encoding against the bare libraries on
// the same 16 MiB of mixed Chinese and ASCII text, and URL encoding at two
// sizes to check that its time per byte stays flat.
// Each benchmark runs once untimed before its loop, and main() comes from
// steady_heap_main.h.

#include <benchmark/benchmark.h>
#include <iconv.h>
#include <openssl/evp.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/code_page.h"
#include "text/md5.h"
#include "text/url_encode.h"

namespace miravel {
namespace {

constexpr std::size_t kLarge = 16u << 20;
constexpr std::size_t kSmall = 256u << 10;

// Deterministic GBK text: runs of common Chinese characters (GB2312 rows B0-D6)
// and punctuation between runs of ASCII words, cut at a character boundary.
Text MixedGbk(std::size_t size) {
  Text text;
  text.reserve(size + 16);
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  while (text.size() < size) {
    const unsigned chinese = 4 + next() % 24;
    for (unsigned i = 0; i < chinese; ++i) {
      text += static_cast<char>(0xB0 + next() % 0x27);
      text += static_cast<char>(0xA1 + next() % 0x5E);
    }
    text += "\xA3\xAC";  // full-width comma
    const unsigned ascii = 8 + next() % 32;
    for (unsigned i = 0; i < ascii; ++i) text += static_cast<char>(i % 7 == 6 ? ' ' : 'a' + next() % 26);
  }
  std::size_t end = 0;
  while (end < size) end += static_cast<unsigned char>(text[end]) < 0x80 ? 1 : 2;
  text.resize(end);
  return text;
}

const Text& Gbk16MiB() {
  static const Text text = MixedGbk(kLarge);
  return text;
}

const Bytes& Utf816MiB() {
  static const Bytes bytes = [] {
    const Text utf8 = AnsiToUtf8(Gbk16MiB());
    return Bytes(utf8.begin(), utf8.end());
  }();
  return bytes;
}

// One iconv(3) call over the whole input into an output of `factor` times
// its size; the input is valid, so it never stops early.
std::string BareIconv(const char* to, const char* from, const char* data, std::size_t size, std::size_t factor) {
  iconv_t cd = iconv_open(to, from);
  std::string out(size * factor, '\0');
  char* in = const_cast<char*>(data);
  std::size_t inLeft = size;
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

void Utf8ToAnsiOurs(benchmark::State& state) {
  const Bytes& utf8 = Utf816MiB();
  benchmark::DoNotOptimize(Utf8ToAnsi(utf8));
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToAnsi(utf8));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * utf8.size()));
}

void Utf8ToAnsiReference(benchmark::State& state) {
  const Bytes& utf8 = Utf816MiB();
  const auto* data = reinterpret_cast<const char*>(utf8.data());
  benchmark::DoNotOptimize(BareIconv("CP936", "UTF-8", data, utf8.size(), 1));
  for (auto _ : state) benchmark::DoNotOptimize(BareIconv("CP936", "UTF-8", data, utf8.size(), 1));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * utf8.size()));
}

void AnsiToUtf8Ours(benchmark::State& state) {
  const Text& gbk = Gbk16MiB();
  benchmark::DoNotOptimize(AnsiToUtf8(gbk));
  for (auto _ : state) benchmark::DoNotOptimize(AnsiToUtf8(gbk));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * gbk.size()));
}

void AnsiToUtf8Reference(benchmark::State& state) {
  const Text& gbk = Gbk16MiB();
  benchmark::DoNotOptimize(BareIconv("UTF-8", "CP936", gbk.data(), gbk.size(), 2));
  for (auto _ : state) benchmark::DoNotOptimize(BareIconv("UTF-8", "CP936", gbk.data(), gbk.size(), 2));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * gbk.size()));
}

void Md5Ours(benchmark::State& state) {
  Text text = Gbk16MiB();
  for (auto _ : state) benchmark::DoNotOptimize(TextMd5(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Md5Reference(benchmark::State& state) {
  const Text& text = Gbk16MiB();
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  for (auto _ : state) {
    EVP_Digest(text.data(), text.size(), digest, &size, EVP_md5(), nullptr);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void UrlEncodeAt(benchmark::State& state, std::size_t size) {
  const Text text = Gbk16MiB().substr(0, size);
  benchmark::DoNotOptimize(UrlEncode(text, true, true));
  for (auto _ : state) benchmark::DoNotOptimize(UrlEncode(text, true, true));
  state.counters["n"] = static_cast<double>(text.size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void UrlEncodeLarge(benchmark::State& state) { UrlEncodeAt(state, kLarge); }
void UrlEncodeSmall(benchmark::State& state) { UrlEncodeAt(state, kSmall); }

void Setup(benchmark::internal::Benchmark* b) { b->UseRealTime()->Unit(benchmark::kMillisecond); }

BENCHMARK(Utf8ToAnsiOurs)->Name("utf8_to_ansi/ours")->Apply(Setup);
BENCHMARK(Utf8ToAnsiReference)->Name("utf8_to_ansi/reference")->Apply(Setup);
BENCHMARK(AnsiToUtf8Ours)->Name("ansi_to_utf8/ours")->Apply(Setup);
BENCHMARK(AnsiToUtf8Reference)->Name("ansi_to_utf8/reference")->Apply(Setup);
BENCHMARK(Md5Ours)->Name("md5/ours")->Apply(Setup);
BENCHMARK(Md5Reference)->Name("md5/reference")->Apply(Setup);
BENCHMARK(UrlEncodeLarge)->Name("urlencode_scaling/large")->Apply(Setup);
BENCHMARK(UrlEncodeSmall)->Name("urlencode_scaling/small")->Apply(Setup);

}  // namespace
}  // namespace miravel

#include "steady_heap_main.h"
