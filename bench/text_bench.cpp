// Speed of the text primitives that walk large texts.
//
//   findtext_ascii, findtext_gbk  FindText against memmem on 64 MiB with the
//                                 sought text only at the end
//   replace_scaling, split_scaling time per byte at 64 MiB against 1 MiB

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstring>
#include <map>
#include <random>

#include "text/primitives.h"

namespace miravel {
namespace {

constexpr std::size_t kLarge = std::size_t{64} << 20;
constexpr std::size_t kSmall = std::size_t{1} << 20;

const Text kAsciiSought = "needle-at-the-END:42";
const Text kGbkSought = "\xD6\xD0\xCE\xC4\xBD\xE1\xCA\xF8";  // four GBK characters

// Printable ASCII: words, spaces, punctuation and line ends.
Text AsciiText(std::size_t size, std::uint32_t seed) {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789     .,;:-\n";
  std::mt19937 rng(seed);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  Text text(size, ' ');
  for (char& c : text) c = kAlphabet[pick(rng)];
  return text;
}

// Mostly double-byte GBK characters (lead B0-F7, trail A1-FE) with one
// ASCII byte in about sixteen characters.
Text GbkText(std::size_t size, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> lead(0xB0, 0xF7);
  std::uniform_int_distribution<int> trail(0xA1, 0xFE);
  std::uniform_int_distribution<int> ascii(0, 15);
  Text text;
  text.reserve(size + 1);
  while (text.size() + 1 < size) {
    if (ascii(rng) == 0) {
      text.push_back(static_cast<char>(" ,.0123456789\n"[rng() % 14]));
    } else {
      text.push_back(static_cast<char>(lead(rng)));
      text.push_back(static_cast<char>(trail(rng)));
    }
  }
  text.resize(size, ' ');
  return text;
}

// `filler` with `sought` as its last bytes; the sought text occurs nowhere
// else, so both searches run to the end.
Text WithSoughtAtEnd(Text filler, const Text& sought) {
  filler.replace(filler.size() - sought.size(), sought.size(), sought);
  return filler;
}

const Text& AsciiHaystack() {
  static const Text text = WithSoughtAtEnd(AsciiText(kLarge, 1), kAsciiSought);
  return text;
}

const Text& GbkHaystack() {
  static const Text text = WithSoughtAtEnd(GbkText(kLarge, 2), kGbkSought);
  return text;
}

void CheckOnlyAtEnd(benchmark::State& state, const Text& text, const Text& sought) {
  const void* hit = memmem(text.data(), text.size(), sought.data(), sought.size());
  if (hit != text.data() + text.size() - sought.size()) state.SkipWithError("sought text occurs early");
}

void FindOurs(benchmark::State& state, const Text& text, const Text& sought) {
  CheckOnlyAtEnd(state, text, sought);
  const int expected = static_cast<int>(text.size() - sought.size()) + 1;
  for (auto _ : state) {
    const int position = FindText(text, sought);
    benchmark::DoNotOptimize(position);
    if (position != expected) state.SkipWithError("wrong position");
  }
}

void FindReference(benchmark::State& state, const Text& text, const Text& sought) {
  CheckOnlyAtEnd(state, text, sought);
  for (auto _ : state) {
    const void* hit = memmem(text.data(), text.size(), sought.data(), sought.size());
    benchmark::DoNotOptimize(hit);
  }
}

void BM_FindTextAsciiOurs(benchmark::State& state) { FindOurs(state, AsciiHaystack(), kAsciiSought); }
void BM_FindTextAsciiReference(benchmark::State& state) { FindReference(state, AsciiHaystack(), kAsciiSought); }
void BM_FindTextGbkOurs(benchmark::State& state) { FindOurs(state, GbkHaystack(), kGbkSought); }
void BM_FindTextGbkReference(benchmark::State& state) { FindReference(state, GbkHaystack(), kGbkSought); }

// A mixed text with a word to replace and a comma about every 40 bytes.
const Text& MixedText(std::size_t size) {
  static std::map<std::size_t, Text> cache;
  Text& text = cache[size];
  if (text.empty()) {
    const Text ascii = AsciiText(size, 3);
    const Text gbk = GbkText(size, 4);
    text.reserve(size);
    std::mt19937 rng(5);
    while (text.size() < size) {
      const std::size_t from = text.size();
      text.append(rng() % 2 ? ascii : gbk, from, 16 + rng() % 48);
      text.append(rng() % 3 ? "," : "Needle");
    }
    text.resize(size);
  }
  return text;
}

void ReplaceScaling(benchmark::State& state, std::size_t size) {
  const Text& text = MixedText(size);
  for (auto _ : state) {
    Text result = ReplaceText(text, "needle", "pin");
    benchmark::DoNotOptimize(result.data());
  }
  state.counters["n"] = static_cast<double>(size);
}

void SplitScaling(benchmark::State& state, std::size_t size) {
  const Text& text = MixedText(size);
  for (auto _ : state) {
    TextArray pieces = SplitText(text, ",");
    benchmark::DoNotOptimize(pieces.Members().data());
  }
  state.counters["n"] = static_cast<double>(size);
}

void BM_ReplaceLarge(benchmark::State& state) { ReplaceScaling(state, kLarge); }
void BM_ReplaceSmall(benchmark::State& state) { ReplaceScaling(state, kSmall); }
void BM_SplitLarge(benchmark::State& state) { SplitScaling(state, kLarge); }
void BM_SplitSmall(benchmark::State& state) { SplitScaling(state, kSmall); }

}  // namespace
}  // namespace miravel

BENCHMARK(miravel::BM_FindTextAsciiOurs)->Name("findtext_ascii/ours")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(miravel::BM_FindTextAsciiReference)->Name("findtext_ascii/reference")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(miravel::BM_FindTextGbkOurs)->Name("findtext_gbk/ours")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(miravel::BM_FindTextGbkReference)->Name("findtext_gbk/reference")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(miravel::BM_ReplaceLarge)->Name("replace_scaling/large")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(miravel::BM_ReplaceSmall)->Name("replace_scaling/small")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(miravel::BM_SplitLarge)->Name("split_scaling/large")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(miravel::BM_SplitSmall)->Name("split_scaling/small")->Unit(benchmark::kMillisecond)->UseRealTime();

#include "steady_heap_main.h"
