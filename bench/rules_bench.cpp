// Speed of the hot paths over the benchmark positions: the move check, the
// influence survey (whole, and for the search's candidates), the evaluation
// of the candidates, and the computer's whole search with and without its
// fast paths.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "com/evaluate.h"
#include "com/search.h"
#include "com/surveys.h"
#include "influence/candidate_survey.h"
#include "influence/survey.h"
#include "rules/move_check.h"
#include "bench_positions.h"

namespace {

using namespace vv;

using bench::positions;

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
            for (int ty = 1; ty <= 9; ++ty) legal += move_allowed(p.board, fx, fy, tx, ty, code);
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
      survey_influence(p, maps);
      benchmark::DoNotOptimize(maps.man_reach_count[5][5]);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(list.size()));
}
BENCHMARK(BM_Survey);

struct Trial {
  int fx, fy, tx, ty, piece;
};

// The computer's candidates the search tries, in its order (board moves,
// then drops from the front and the back hand column).
std::vector<Trial> trials(const Position& p) {
  std::vector<Trial> list;
  for (int fx = 1; fx <= 9; ++fx)
    for (int fy = 1; fy <= 9; ++fy) {
      const int piece = p.board[fx][fy];
      if (piece < 10) continue;
      for (int tx = 1; tx <= 9; ++tx)
        for (int ty = 1; ty <= 9; ++ty)
          if (move_allowed(p.board, fx, fy, tx, ty, piece) == 1) list.push_back({fx, fy, tx, ty, piece});
    }
  for (int slot = 1; slot <= 4; ++slot)
    for (const int column : {COM_FRONT_COLUMN, COM_BACK_COLUMN}) {
      if (p.com_hand[slot] <= 0) continue;
      const int piece = hand_face(slot, column == COM_BACK_COLUMN);
      for (int tx = 1; tx <= 9; ++tx)
        for (int ty = 1; ty <= 9; ++ty)
          if (p.board[tx][ty] == EMPTY) list.push_back({column, slot, tx, ty, piece});
    }
  return list;
}

// Every candidate of every position surveyed: Arg 1 from the start's survey
// (as the search does), Arg 0 by the whole survey.
void BM_CandidateSurvey(benchmark::State& state) {
  std::vector<Position> list = positions();
  std::vector<std::vector<Trial>> all;
  for (const Position& p : list) all.push_back(trials(p));
  const bool fast = state.range(0) == 1;
  Influence maps{};
  CandidateSurvey cs;
  long surveyed = 0;
  for (auto _ : state) {
    for (std::size_t i = 0; i < list.size(); ++i) {
      Position& p = list[i];
      survey_influence(p, maps);
      if (fast) cs.start(p, maps);
      for (const Trial& c : all[i]) {
        auto& b = p.board;
        if (is_board_column(c.fx)) b[c.fx][c.fy] = EMPTY;
        const int captured = b[c.tx][c.ty];
        b[c.tx][c.ty] = c.piece;
        if (fast)
          cs.survey(p, maps, c.fx, c.fy, c.tx, c.ty, captured);
        else
          survey_influence(p, maps);
        benchmark::DoNotOptimize(maps.man_reach_count[5][5]);
        b[c.tx][c.ty] = captured;
        if (is_board_column(c.fx)) b[c.fx][c.fy] = c.piece;
      }
      surveyed += static_cast<long>(all[i].size());
    }
  }
  state.SetItemsProcessed(surveyed);
}
BENCHMARK(BM_CandidateSurvey)->Arg(0)->Arg(1);

// The plain survey and the level-3 evaluation of every candidate, prepared
// as the search prepares its start; take away the time of
// BM_CandidateSurvey/0 for the evaluation alone.
void BM_Evaluation(benchmark::State& state) {
  const auto& list = positions();
  std::vector<std::vector<Trial>> all;
  for (const Position& p : list) all.push_back(trials(p));
  long evaluated = 0;
  double sum = 0;
  for (auto _ : state) {
    for (std::size_t i = 0; i < list.size(); ++i) {
      Engine e;
      e.pos = list[i];
      e.random_term = false;
      std::memcpy(e.com_maps.board_before, e.pos.board, sizeof e.pos.board);
      survey_influence(e.pos, e.influence);
      find_man_bishop_drop_targets(e);
      find_pinned_pieces(e);
      std::memcpy(e.com_maps.man_reach_before, e.influence.man_reach_count, sizeof(Map));
      std::memcpy(e.com_maps.com_reach_before, e.influence.com_reach_count, sizeof(Map));
      std::memcpy(e.com_maps.com_capturer_x_before, e.influence.com_capturer_x, sizeof(Map));
      std::memcpy(e.com_maps.com_capturer_y_before, e.influence.com_capturer_y, sizeof(Map));
      auto& b = e.pos.board;
      for (const Trial& c : all[i]) {
        if (is_board_column(c.fx)) b[c.fx][c.fy] = EMPTY;
        const int captured = b[c.tx][c.ty];
        b[c.tx][c.ty] = c.piece;
        survey_influence(e.pos, e.influence);
        sum += evaluate_candidate(e, captured, c.piece, c.fx, c.fy, c.tx, c.ty);
        b[c.tx][c.ty] = captured;
        if (is_board_column(c.fx)) b[c.fx][c.fy] = c.piece;
      }
      evaluated += static_cast<long>(all[i].size());
    }
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(evaluated);
}
BENCHMARK(BM_Evaluation)->Unit(benchmark::kMillisecond);

// The whole search: Args level, fast paths (1) or the plain survey and
// danger scan for every candidate (0), and whether the caller reads every
// candidate's score (1, as `com` does) or only the choice (0).
void BM_ComSearch(benchmark::State& state) {
  const auto& list = positions();
  QuietHooks quiet;
  SearchHooks reading;
  SearchHooks& hooks = state.range(2) == 1 ? reading : quiet;
  long candidates = 0;
  for (auto _ : state) {
    for (const Position& p : list) {
      Engine e;
      e.pos = p;
      e.com_level = static_cast<int>(state.range(0));
      e.random_term = false;
      e.fast_search = state.range(1) == 1;
      survey_influence(e.pos, e.influence);
      candidates += com_search(e, hooks).candidates;
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(list.size()));
  state.counters["candidates"] = static_cast<double>(candidates) / state.iterations();
}
BENCHMARK(BM_ComSearch)
    ->Args({1, 1, 0})
    ->Args({3, 1, 0})
    ->Args({3, 1, 1})
    ->Args({3, 0, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
