// Speed of the hot paths over the benchmark positions: the move check, the
// influence survey, and the computer's whole search.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "com/search.h"
#include "influence/survey.h"
#include "rules/move_check.h"
#include "rules/position_text.h"

namespace {

using namespace vv;

const std::vector<Position>& positions() {
  static const std::vector<Position> all = [] {
    std::vector<Position> list;
    std::ifstream in(POSITIONS_FILE);
    std::string line;
    while (std::getline(in, line)) {
      Position p{};
      std::string error;
      if (parse_position(line, p, error)) list.push_back(p);
    }
    return list;
  }();
  return all;
}

// Every piece of both sides against every target square.
void BM_MoveCheck(benchmark::State& state) {
  const auto& list = positions();
  long checks = 0;
  for (auto _ : state) {
    int legal = 0;
    for (const Position& p : list)
      for (int fx = 1; fx <= 9; ++fx)
        for (int fy = 1; fy <= 9; ++fy) {
          const int code = p.board[fx][fy];
          if (code == 0) continue;
          for (int tx = 1; tx <= 9; ++tx)
            for (int ty = 1; ty <= 9; ++ty) legal += 移動チェック(p.board, fx, fy, tx, ty, code);
          checks += 81;
        }
    benchmark::DoNotOptimize(legal);
  }
  state.SetItemsProcessed(checks);
}
BENCHMARK(BM_MoveCheck);

void BM_Survey(benchmark::State& state) {
  std::vector<Position> list = positions();
  Influence maps{};
  for (auto _ : state) {
    for (Position& p : list) {
      勢力調査(p, maps);
      benchmark::DoNotOptimize(maps.man_reach_count[5][5]);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(list.size()));
}
BENCHMARK(BM_Survey);

void BM_ComSearch(benchmark::State& state) {
  const auto& list = positions();
  SearchHooks quiet;
  long candidates = 0;
  for (auto _ : state) {
    for (const Position& p : list) {
      Engine e;
      e.pos = p;
      e.com_level = static_cast<int>(state.range(0));
      e.random_term = false;
      勢力調査(e.pos, e.inf);
      candidates += com_search(e, quiet).candidates;
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(list.size()));
  state.counters["candidates"] = static_cast<double>(candidates) / state.iterations();
}
BENCHMARK(BM_ComSearch)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
