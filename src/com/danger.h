// Whole-board scoring terms of the computer's evaluation.
#pragma once

#include <cstdint>

#include "com/engine.h"
#include "influence/candidate_survey.h"

namespace vv {

// Threats against COM and new attacks and forks against MAN, summed over the board.
double danger_score(Engine& e, int piece, int to_x, int to_y);
// The moving piece's value when it stands on an open diagonal toward a square
// from which a MAN bishop would attack the COM king, and a MAN bishop can get there.
int bishop_drop_exposure(const Engine& e, int to_x, int to_y, int piece);

// The danger term of the search's candidates, from the terms of the start
// position. A square's terms read only its own neighbourhood: the maps on it,
// beside it and diagonally next to it, and the board in its column and two
// squares around it. So a candidate can change only the terms of squares that
// read a square whose board or maps it changed; every other square adds the
// terms it added at the start. All terms, kept or new, are added in scan
// order exactly as the plain scan adds them, and the fork of the moved piece
// is added after its square's terms, so the sum rounds as the plain one.
class DangerScan {
 public:
  // What holds for the whole scan of one position: the MAN hand, the COM
  // king's square and the corner mask of the surroundings count. A hand slot
  // holds a pair, and each flag is named after the pair it looks at.
  struct Constants {
    bool man_holds_knight_gold_or_silver_bishop, man_holds_any, man_holds_lance_tokin, man_holds_knight_gold,
        man_holds_silver_bishop, man_holds_pawn_rook;
    int com_king_x, com_king_y;  // the COM king's square
    std::uint32_t corner_mask;
    Constants() = default;
    explicit Constants(const Engine& e);
  };

  static constexpr int MAX_TERMS = 16;

  // The start position, surveyed, with the maps the search prepares for it.
  void start(Engine& e);
  // The candidate on the board, surveyed by `survey`. Which squares it
  // leaves to be looked at again is worked out only when its danger is
  // asked for: many candidates end before that.
  void candidate(const CandidateSurvey& survey, int fx, int fy, int tx, int ty, int piece) {
    pending_ = Pending{&survey, fx, fy, tx, ty, piece};
    prepared_ = false;
  }
  // danger_score of that candidate; 0 while deferred.
  double score(Engine& e, int piece, int to_x, int to_y);
  // While on, score() gives 0 and notes that it was asked: the caller can
  // score the rest of the candidate first, then ask at_most().
  void defer(bool on) {
    deferring_ = on;
    if (on) asked_ = false;
  }
  bool asked() const { return asked_; }
  // Whether score() of the candidate is surely no more than `limit`, for
  // much less work than the score: from the start's sum, scoring again
  // only the few squares that could add more than at the start, and only
  // until the limit is safe. False where it cannot tell (a candidate
  // surveyed in full, a piece off the move tables).
  bool at_most(Engine& e, int piece, int to_x, int to_y, double limit) const;
  // bishop_drop_exposure of that candidate, from the bishop-drop squares of the start.
  int bishop_caution(const Engine& e, int to_x, int to_y, int piece) const;

 private:
  Constants start_constants_{};
  std::uint32_t corner_mask_ = 0;
  // The start's terms, square after square in scan order: those of square s
  // are terms_[first_term_[s]] up to terms_[first_term_[s + 1]].
  double terms_[81 * MAX_TERMS];
  int first_term_[82] = {};
  double prefix_[82] = {};  // the start's sum of the terms of the squares before each
  SquareSet man_pieces_, dirty_;
  // At the start: the COM pieces, the MAN knights and the empty squares,
  // which are the squares that read their neighbours' maps.
  SquareSet com_pieces_, man_knights_, empties_;
  SquareSet count_readers_;  // squares whose terms may read their own COM count
  SquareSet man_reached_;    // squares MAN reaches at the start
  // may_add_table of each square at the start, the squares it leaves to be
  // asked in full, and for the candidate those whose board neighbourhood it
  // changed, and whether the table holds at all.
  std::uint16_t may_add_[81] = {};
  SquareSet ask_again_, ask_in_full_;
  bool table_holds_ = false;
  int drop_targets_[81];
  int n_drop_targets_ = 0;
  bool everything_ = true;
  const Engine* engine_ = nullptr;  // the engine of the start: the candidates stand on its board
  // For each square, the squares whose terms read its board value: its
  // neighbours, and with them the drop squares that read it on the start's board.
  SquareSet board_readers_[81];
  std::uint32_t readers_start_[81] = {};  // the start board_readers_[s] was drawn for
  std::uint32_t starts_ = 0;
  Board start_board_{};
  SquareSet board_readers(const Board& b, int x, int y, int fx, int fy) const;
  SquareSet fork_and_lance_readers(const Board& b, int x, int y, int fx, int fy) const;
  // The candidate last given, worked out when its danger is first asked for.
  struct Pending {
    const CandidateSurvey* survey = nullptr;
    int fx = 0, fy = 0, tx = 0, ty = 0, piece = 0;
  };
  Pending pending_;
  bool prepared_ = true;
  void prepare();
  SquareSet forks_of(const Engine& e, int piece, int to_x, int to_y) const;
  // For at_most(): each square's share of the start's sum, the squares
  // where it is below 0, the MAN pieces COM does not attack at the start,
  // and those of them whose terms can then go above 0 (near the COM king,
  // or knights) with how far.
  double own_sum_[81] = {};
  double attack_most_[81] = {};
  double attacks_most_ = 0;  // their sum
  int man_unattacked_count_ = 0;
  SquareSet losing_, man_unattacked_, man_attackable_;
  bool deferring_ = false, asked_ = false;
};

}  // namespace vv
