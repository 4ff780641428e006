#include "com/search.h"

#include <algorithm>
#include <cstring>

#include "com/danger.h"
#include "com/escape_mate.h"
#include "com/evaluate.h"
#include "com/surveys.h"
#include "influence/candidate_survey.h"
#include "influence/square_set.h"
#include "influence/survey.h"
#include "rules/move_check.h"

namespace vv {

SearchResult com_search(Engine& e, SearchHooks& hooks) {
  Position& p = e.pos;
  auto& b = p.board;
  ComMaps& com_maps = e.com_maps;
  SearchResult result;
  Candidate& best = result.best;
  best.score = NO_SCORE;

  std::memcpy(com_maps.board_before, b, sizeof b);
  // The escape count reads the maps as the last survey left them.
  com_maps.man_king_escapes_at_start = count_man_king_escapes(e);
  // The fast path surveys the start as it sets up the candidates' surveys.
  CandidateSurvey fast;
  if (e.fast_search)
    fast.start(p, e.influence);
  else
    survey_influence(p, e.influence);
  find_man_bishop_drop_targets(e);
  find_pinned_pieces(e);
  const bool try_drops = p.com_hand_count > 0;
  std::memcpy(com_maps.man_reach_before, e.influence.man_reach_count, sizeof(Map));
  std::memcpy(com_maps.com_reach_before, e.influence.com_reach_count, sizeof(Map));
  std::memcpy(com_maps.com_capturer_x_before, e.influence.com_capturer_x, sizeof(Map));
  std::memcpy(com_maps.com_capturer_y_before, e.influence.com_capturer_y, sizeof(Map));
  hooks.before_trials();

  DangerScan danger;
  // The evaluation finds the danger terms through the engine while the search runs.
  struct Attach {
    Engine& e;
    ~Attach() { e.danger_scan = nullptr; }
  } attach{e};
  if (e.fast_search) {
    danger.start(e);
    e.danger_scan = &danger;
  }
  auto survey = [&](int fx, int fy, int tx, int ty, int captured) {
    if (e.fast_search) {
      fast.survey(p, e.influence, fx, fy, tx, ty, captured);
      danger.candidate(fast, fx, fy, tx, ty, b[tx][ty]);
    } else {
      survey_influence(p, e.influence);
    }
  };

  // A candidate is first scored without its danger term. Every step after
  // the term adds or subtracts numbers that do not depend on it, so with
  // the term the score is that plus the term, but for rounding far below
  // the margin. If the term surely cannot lift it above the best so far,
  // the candidate is given the best score and the term is never worked
  // out; otherwise it is scored in full, its random draw made again from
  // where it was.
  constexpr double ROUNDING_MARGIN = 0.01;
  const bool bounded = e.fast_search && !hooks.reads_scores();
  auto evaluate = [&](int captured, int piece, int fx, int fy, int tx, int ty) {
    if (!bounded) return evaluate_candidate(e, captured, piece, fx, fy, tx, ty);
    const Random draws = e.rng;
    danger.defer(true);
    const double rest = evaluate_candidate(e, captured, piece, fx, fy, tx, ty);
    danger.defer(false);
    if (!danger.asked() || danger.at_most(e, piece, tx, ty, best.score - rest - ROUNDING_MARGIN))
      return danger.asked() ? best.score : rest;
    e.rng = draws;
    return evaluate_candidate(e, captured, piece, fx, fy, tx, ty);
  };

  auto consider = [&](int fx, int fy, int tx, int ty, int piece, double score) {
    ++result.candidates;
    hooks.evaluated(Candidate{fx, fy, tx, ty, piece, score});
    if (score > best.score) {
      best = Candidate{fx, fy, tx, ty, piece, score};
      result.found = true;
      return true;
    }
    return false;
  };

  // The COM pieces and the empty squares of the position, which the
  // candidates leave as they found them: the loops below visit them in scan
  // order without asking every square what stands there.
  SquareSet com_pieces, empty_squares;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      if (b[x][y] >= 10) com_pieces.add(square_bit(x, y));
      if (b[x][y] == EMPTY) empty_squares.add(square_bit(x, y));
    }

  for (int fx = 1; fx <= 9; ++fx) {
    hooks.tick();
    bool king_taken = false;
    each_square(com_pieces & column_squares(fx), [&](int from_bit) {
      if (king_taken) return;
      const int fy = bit_y(from_bit);
      const int piece = b[fx][fy];
      // Targets in scan order; those the piece could not reach on an empty
      // board are left out, as the move check would refuse them.
      const SquareSet* reach = move_reach.find(piece, fx, fy);
      SquareSet targets;
      if (reach != nullptr) {
        targets = *reach;
      } else {
        targets.lo = ~std::uint64_t{0};
        targets.hi = (std::uint64_t{1} << 17) - 1;
      }
      // Inside that set a step piece needs only a target without a COM piece;
      // a slider's path is asked of the move check.
      const bool step_piece = reach != nullptr && piece != LANCE && piece != BISHOP && piece != ROOK;
      each_square(targets, [&](int bit) {
        if (king_taken) return;
        const int tx = bit_x(bit), ty = bit_y(bit);
        if (step_piece ? same_side(piece, b[tx][ty]) : move_allowed(b, fx, fy, tx, ty, piece) != 1) return;
        com_maps.moving_piece = piece;
        com_maps.origin_distance = std::max(iabs(fx - p.man_king_x), iabs(fy - p.man_king_y));
        // The piece keeps its face while it is scored: it is not turned over
        // as the move, once played, turns it.
        const int captured = b[tx][ty];
        b[fx][fy] = EMPTY;
        b[tx][ty] = piece;
        survey(fx, fy, tx, ty, captured);
        const double score = evaluate(captured, piece, fx, fy, tx, ty);
        b[tx][ty] = captured;
        b[fx][fy] = piece;
        // Taking the king ends the search at once.
        if (consider(fx, fy, tx, ty, piece, score) && captured == -KING) king_taken = true;
      });
    });
    if (king_taken) return result;
  }

  if (!try_drops) return result;
  for (int slot = 1; slot <= 4; ++slot) {
    for (const int column : {COM_FRONT_COLUMN, COM_BACK_COLUMN}) {
      hooks.tick();
      if (p.com_hand[slot] <= 0) continue;
      const int piece = hand_face(slot, column == COM_BACK_COLUMN);
      com_maps.moving_piece = piece;
      // The move check allows a drop on every empty square, and only there.
      bool mate_found = false;
      each_square(empty_squares, [&](int bit) {
        if (mate_found) return;
        const int tx = bit_x(bit), ty = bit_y(bit);
        b[tx][ty] = piece;
        survey(column, slot, tx, ty, EMPTY);
        const double score = evaluate(EMPTY, piece, column, slot, tx, ty);
        b[tx][ty] = EMPTY;
        // A drop scored as a mate (9998) or better ends the search at once.
        if (consider(column, slot, tx, ty, piece, score) && best.score >= 9998) mate_found = true;
      });
      if (mate_found) return result;
    }
  }
  return result;
}

}  // namespace vv
