// The matcher's cost against the name's length: on pathological patterns it
// must grow linearly, never exponentially.
#include <benchmark/benchmark.h>

#include <string>

#include "wildcard.h"

namespace {

void match_against(benchmark::State& state, const char* pattern) {
  const std::string name(static_cast<size_t>(state.range(0)), 'a');
  for (auto _ : state) benchmark::DoNotOptimize(wildcard_match(pattern, name));
  state.SetComplexityN(state.range(0));
}

void many_stars(benchmark::State& state) { match_against(state, "*a*a*a*a*a*a*a*a*b"); }
void long_segment(benchmark::State& state) { match_against(state, "*aaaaaaaaaaaaaaab"); }
void usual(benchmark::State& state) { match_against(state, "*.wal"); }

}  // namespace

BENCHMARK(many_stars)->RangeMultiplier(4)->Range(64, 64 << 10)->Complexity();
BENCHMARK(long_segment)->RangeMultiplier(4)->Range(64, 64 << 10)->Complexity();
BENCHMARK(usual)->RangeMultiplier(4)->Range(64, 64 << 10)->Complexity();

BENCHMARK_MAIN();
