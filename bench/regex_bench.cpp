// Speed of RegexObject on large subjects.
//
//   regex_global_scaling  every "\w+" match of mixed GBK/ASCII text, with its
//                         byte position: time per byte at 4 MiB against 256 KiB
//   regex_search_scaling  one item-id pattern found only at the end of the
//                         text: time per byte at 4 MiB against 256 KiB

#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>

#include "regex/regex_object.h"

namespace miravel {
namespace {

constexpr std::size_t kLarge = std::size_t{4} << 20;
constexpr std::size_t kSmall = std::size_t{256} << 10;

// Words of ASCII letters and digits between runs of GBK characters.
Text MixedText(std::size_t size) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> lead(0xB0, 0xF7);
  std::uniform_int_distribution<int> trail(0xA1, 0xFE);
  Text text;
  text.reserve(size + 16);
  while (text.size() < size) {
    for (int i = 0; i < 4; ++i) text.push_back(static_cast<char>('a' + rng() % 26));
    text.push_back(' ');
    text.push_back(static_cast<char>(lead(rng)));
    text.push_back(static_cast<char>(trail(rng)));
  }
  text.resize(size);
  return text;
}

void GlobalMatches(benchmark::State& state, std::size_t size) {
  const Text subject = MixedText(size);
  for (auto _ : state) {
    RegexObject regex;
    regex.Compile("\\w+", subject);
    int position = 0;
    benchmark::DoNotOptimize(regex.MatchText(regex.MatchCount(), &position));
    benchmark::DoNotOptimize(position);
  }
  state.counters["n"] = static_cast<double>(size);
}

void SearchToTheEnd(benchmark::State& state, std::size_t size) {
  Text subject = MixedText(size);
  subject += "?id=612345678901";
  for (auto _ : state) {
    RegexObject regex;
    regex.Compile("\\?id=(\\d{11,15})", subject, false, false, true, true);
    benchmark::DoNotOptimize(regex.SubmatchText(1, 1));
  }
  state.counters["n"] = static_cast<double>(size);
}

BENCHMARK_CAPTURE(GlobalMatches, large, kLarge)->Name("regex_global_scaling/large")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GlobalMatches, small, kSmall)->Name("regex_global_scaling/small")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchToTheEnd, large, kLarge)->Name("regex_search_scaling/large")->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchToTheEnd, small, kSmall)->Name("regex_search_scaling/small")->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace miravel

#include "steady_heap_main.h"
