// The influence survey of a candidate position, worked out from the survey
// of the position the candidates are made in (the start), for the
// computer's search, which surveys every candidate it scores.
//
// A candidate changes at most two squares: its source empties and its target
// takes the moving piece. The maps can then differ from the start's only on
// the squares that the moving or the captured piece reaches, before or
// after, and on the squares a slider gains or loses because its run now goes
// on through the source or stops at the target. On those squares the reach
// counts go up or down by the pieces that come and go. An occupied square
// among them has its guard and capturer entries worked out again ("folded")
// over every piece that reaches it, taken in scan order as survey_influence
// takes them: a tie goes to the piece met first, and the guard and capturer
// squares, which no survey resets, keep what the last writer left, so only
// the same order gives the same maps. Check marks are written again, in scan
// order, by the pieces that reach a king. A position too crowded for the
// fixed arrays here is left to survey_influence.
#pragma once

#include <cstdint>

#include "influence/maps.h"
#include "influence/square_set.h"
#include "rules/position.h"

namespace vv {

class CandidateSurvey {
 public:
  // Surveys p into m and sets its king squares, as survey_influence(p, m) would;
  // p is the position the candidates are made in.
  void start(Position& p, Influence& m);

  // The candidate stands on p.board: the piece on (tx, ty) came from (fx, fy)
  // (fx outside 1..9 for a drop) and took `captured` there. Leaves m and the
  // king squares as survey_influence(p, m) would, given that m holds what the survey of
  // the previous candidate (or of the start) left.
  void survey(Position& p, Influence& m, int fx, int fy, int tx, int ty, int captured);

  // After survey(): the squares whose maps may differ from the start's.
  // Every square that differs is in, and a few that do not may be: the
  // reach sets hold the squares whose counts the candidate touched,
  // entries_changed those whose guard and capturer entries it folded again.
  // fell_back() tells that survey_influence was run instead, so that every
  // square may have changed.
  const SquareSet& man_reach_changed() const { return man_reach_changed_; }
  const SquareSet& com_reach_changed() const { return com_reach_changed_; }
  const SquareSet& entries_changed() const { return entries_changed_; }
  bool fell_back() const { return fell_back_; }

  static constexpr int LIST_CAP = 16;    // pieces reaching one square
  static constexpr int TARGET_CAP = 40;  // squares one piece reaches
  static constexpr int DELTA_CAP = 8;    // pieces coming or going on one square

 private:
  struct Reacher {
    std::int16_t code;  // the code the survey records (a COM tokin as GOLD)
    std::uint8_t sq;    // 10 x + y of the reaching piece
  };
  static constexpr std::uint8_t MAN_SIDE = 1, COM_SIDE = 2;
  // The pieces that come to or go from an occupied square, against the start.
  struct Delta {
    std::uint32_t stamp = 0;  // the candidate they belong to (see stamp_)
    std::uint8_t removed = 0, added = 0;
    std::uint8_t sides = 0;  // MAN_SIDE, COM_SIDE: the sides folded again
    std::uint8_t gone[DELTA_CAP];  // squares of pieces no longer reaching
    Reacher come[DELTA_CAP];       // pieces reaching now, not at the start
  };
  // A square's guard and capturer entries, as folding its reachers writes
  // them; the two flags tell whether the COM guard's or capturer's square
  // was written.
  struct Fold {
    std::int16_t man_guard, com_guard, man_capturer, man_capturer_x, man_capturer_y, com_capturer;
    bool guard_square_written, capturer_square_written;
    std::int16_t guard_x, guard_y, capturer_x, capturer_y;
  };
  // A square that a slider's run through an empty square no longer reaches
  // once a piece is dropped there.
  struct Cut {
    std::int16_t code;  // the slider's recorded code
    std::uint8_t sq;    // the square it no longer reaches
    std::uint8_t from;  // the slider's square
  };
  static constexpr int CUT_CAP = 32;  // squares one drop can cut off
  // What every drop on one empty square shares, whatever the face.
  struct DropSquare {
    std::uint32_t start = 0;  // the start it was worked out for (see starts_)
    Fold fold;                // its reachers folded over a COM piece standing there
    std::uint8_t cut_n = 0;
    Cut cut[CUT_CAP];
  };

  static constexpr Fold NO_FOLD{NO_PIECE, NO_PIECE, NO_MAN_CAPTURER, 0, 0, NO_PIECE, false, false, 0, 0, 0, 0};
  static void fold_in(Fold& f, const Reacher& r, int occupant);
  static Fold fold(const Reacher* list, int n, int occupant);
  void fold_now(int s, int occupant, Fold& f) const;
  bool fold_one_come(int s, int occupant, Fold& f) const;
  void fold_again(int s, int occupant, Fold& f) const;
  void full_survey(Position& p, Influence& m);
  void com_steps(int s, int occupant);
  int turn_of(int s, int from_sq) const;
  bool can_win(int s, int occupant, int code, int from_sq) const;
  void refold(int s);
  template <bool COM>
  void note_as(int s, int sign, int from_sq, int code, const int* b);
  void note(int s, int sign, int from_sq, int code, const int* b);
  void note_all(const std::uint8_t* list, int n, int sign, int from_sq, int code, const int* b);
  void note_occupied(int s, int occupant, int sign, int from_sq, int code);
  void open_delta(int s);
  void runs_through(int sq, int f, int t, int piece, const int* b, int* seen, int& n_seen);
  const DropSquare& drop_square(int s);
  void work_out_drop_square(int s);
  int new_list(int s, Reacher* out) const;
  void put_back_counts(Influence& m);
  void write_entries(Influence& m, int f, int t, bool drop, const int* b);
  static void write_fold(Influence& m, int s, const Fold& f);
  static void write_stale_squares(Influence& m, int s, const Fold& f);
  void mark_checks(const int* b, Influence& m, const int kings_man[], int n_man, const int kings_com[], int n_com);
  static void name_kings(Position& p, const int kings_man[], int n_man, const int kings_com[], int n_com);

  bool usable_ = false;
  Influence base_{};
  int base_man_king_x_ = 0, base_man_king_y_ = 0, base_com_king_x_ = 0, base_com_king_y_ = 0;
  bool base_marks_ = false;

  // The start's pieces: who reaches each square (in scan order), what each
  // piece reaches (a slider's runs one after another), and its run lengths.
  Reacher list_[100][LIST_CAP];
  std::uint8_t list_n_[100] = {};
  std::uint8_t target_[100][TARGET_CAP];
  std::uint8_t target_n_[100] = {};
  std::uint8_t run_len_[100][8] = {};  // by direction index
  // The squares of each list as bytes, for turn_of(), padded past the
  // list's end with a number above every square; the seventeenth entry keeps
  // that padding even for a full list.
  static constexpr std::int8_t PAST_EVERY_SQUARE = 127;
  std::int8_t list_sq_[100][LIST_CAP + 1];
  Fold base_fold_[100];  // every square's fold at the start
  // com_prefix_[s][i]: on occupied square s, the COM guard (on a MAN piece,
  // the COM capturer) as folding stands after the start's first i
  // reachers; com_suffix_best_[s][i]: the best COM code among its reachers
  // from i on.
  struct ComState {
    std::int16_t best;
    bool written;     // a guard's or capturer's square was written
    std::uint8_t sq;  // the last one written
  };
  ComState com_prefix_[100][LIST_CAP + 1];
  std::int16_t com_suffix_best_[100][LIST_CAP + 1];
  DropSquare drop_[100];
  std::uint32_t starts_ = 0;  // how many starts have been surveyed
  // The squares of each side's kings at the start: a position text may set
  // up several, or none.
  int man_kings_[81], com_kings_[81];
  int n_man_kings_ = 0, n_com_kings_ = 0;
  SquareSet king_squares_;

  // The candidate's changes against the start: the pieces coming and going
  // on occupied squares, the squares whose counts are written and those
  // whose entries are folded again.
  std::uint32_t stamp_ = 0;  // counts candidates, so a Delta of an earlier one reads as empty
  std::int16_t* counts_[2] = {};  // the reach counts being noted: MAN, COM
  Delta delta_[100];
  SquareSet touched_[2], folded_;  // touched by side: MAN, COM
  int target_sq_ = 0;
  bool overflow_ = false;

  // What the previous survey changed against the start, to put back.
  SquareSet prev_touched_[2], prev_folded_;
  bool prev_everything_ = false;
  bool marks_ = false;  // the check maps hold marks
  bool marks_are_base_ = false;  // the check maps are the start's

  SquareSet man_reach_changed_, com_reach_changed_, entries_changed_;
  bool fell_back_ = false;
};

}  // namespace vv
