#ifndef MIRAVEL_BENCH_STEADY_HEAP_MAIN_H_
#define MIRAVEL_BENCH_STEADY_HEAP_MAIN_H_

// A benchmark main() that runs every benchmark under one allocator policy,
// so that both sides of a comparison, and both sizes of a scaling pair,
// measure the code rather than glibc's policies, which change at fixed
// thresholds:
// - blocks above the mmap threshold (at most 32 MiB by default) go back to
//   the kernel on free, so each large run would fault fresh pages in again
//   (very slow on virtual machines) while small runs reuse theirs;
// - small freed blocks sit in fastbins until the next large request
//   consolidates them, a walk over a million scattered blocks after a large
//   split that stays in cache after a small one.
// Setting MIRAVEL_BENCH_FRESH_PAGES in the environment keeps glibc's
// defaults, to see the untuned figures.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (std::getenv("MIRAVEL_BENCH_FRESH_PAGES") == nullptr) {
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MXFAST, 0);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

#endif  // MIRAVEL_BENCH_STEADY_HEAP_MAIN_H_
