// Speed of the searching player on one core: nodes per second of a fixed-depth
// search over the benchmark positions, and the board's move generation with
// make and unmake.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "com/deep/deep_board.h"
#include "com/deep/deep_search.h"
#include "influence/survey.h"
#include "bench_positions.h"

namespace {

using namespace vv;

using bench::positions;

class SteadyClock : public DeepHooks {
 public:
  double seconds() override {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  }
};

// Every 10th benchmark position searched to the given depth from a fresh
// table and history: the time per iteration is the time to that depth over
// the set, and nodes_per_iteration the search's node count signature.
void deep_search_to_depth(benchmark::State& state, int threads) {
  const auto& list = positions();
  SteadyClock clock;
  long nodes = 0;
  long iterations = 0;
  for (auto _ : state) {
    for (std::size_t i = 0; i < list.size(); i += 10) {
      Engine e{};
      e.pos = list[i];
      survey_influence(e.pos, e.influence);
      deep_new_game();
      DeepSettings s;
      s.infinite = true;
      s.threads = threads;
      s.max_depth = static_cast<int>(state.range(0));
      const SearchResult r = deep_search(e, s, clock);
      nodes += r.candidates;
      benchmark::DoNotOptimize(r.best.to_x);
    }
    ++iterations;
  }
  state.counters["nodes_per_second"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
  state.counters["nodes_per_iteration"] = static_cast<double>(nodes) / static_cast<double>(iterations);
}

void BM_DeepSearch(benchmark::State& state) { deep_search_to_depth(state, 1); }
BENCHMARK(BM_DeepSearch)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);

// The same with a helper thread sharing the table.
void BM_DeepSearchTwoThreads(benchmark::State& state) { deep_search_to_depth(state, 2); }
BENCHMARK(BM_DeepSearchTwoThreads)->Arg(6)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every move of the side to move generated, made and unmade.
void BM_GenerateMakeUnmake(benchmark::State& state) {
  std::vector<deep::DeepBoard> boards;
  for (const Position& p : positions()) {
    deep::DeepBoard b;
    b.set(p, deep::COM);
    boards.push_back(b);
  }
  static deep::Move list[deep::MAX_MOVES];
  long moves = 0;
  for (auto _ : state) {
    for (deep::DeepBoard& b : boards) {
      const int n = b.generate(list);
      for (int i = 0; i < n; ++i) {
        deep::Undo u;
        b.make(list[i], u);
        b.unmake(list[i], u);
      }
      moves += n;
    }
  }
  state.counters["moves_per_second"] = benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GenerateMakeUnmake);

}  // namespace

BENCHMARK_MAIN();
