// The survey of a candidate position, worked out from the survey of the
// position the candidate was made in.
//
// A candidate changes at most two squares: its source empties and its target
// takes the moving piece. The maps can then differ from those of the start
// only on the squares that the moving or the captured piece reaches, before
// or after, and on the squares a slider gains or loses because its run now
// goes on through the source or stops on the target. On those squares the
// reach counts move by the pieces that come and go; an occupied square among
// them has its guard and capturer entries folded again over the pieces that
// reach it, kept in scan order, so strict first-in-scan-order ties and the
// square maps the survey never resets come out exactly as the plain survey
// leaves them. Check marks are written again, in scan order, by the pieces
// that reach a king. Whatever the fast path cannot hold in its fixed arrays is
// left to the plain survey.
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

  // After survey(): the squares whose MAN reach count, COM reach count, or
  // guard and capturer entries may differ from the start's (every square
  // that does is in; the reach sets hold the squares the candidate touched,
  // the entries set those it folded again), and whether the plain survey had
  // to be run (everything may have changed).
  const SquareSet& man_reach_changed() const { return man_reach_changed_; }
  const SquareSet& com_reach_changed() const { return com_reach_changed_; }
  const SquareSet& entries_changed() const { return entries_changed_; }
  bool fell_back() const { return fell_back_; }

  static constexpr int LIST_CAP = 16;    // pieces reaching one square
  static constexpr int TARGET_CAP = 40;  // squares one piece reaches
  static constexpr int DELTA_CAP = 8;    // pieces coming or going on one square

 private:
  struct Reacher {
    std::int16_t code;  // the code the survey records (a COM tokin as 110)
    std::uint8_t sq;    // 10 x + y of the reaching piece
  };
  static constexpr std::uint8_t MAN_SIDE = 1, COM_SIDE = 2;
  // The pieces that come to or go from an occupied square, against the start.
  struct Delta {
    std::uint32_t stamp = 0;  // of the candidate they belong to
    std::uint8_t removed = 0, added = 0;
    std::uint8_t sides = 0;  // MAN_SIDE, COM_SIDE: the sides folded again
    std::uint8_t gone[DELTA_CAP];  // squares of pieces no longer reaching
    Reacher come[DELTA_CAP];       // pieces reaching now, not at the start
  };
  // What folding a square's pieces writes beyond the counts.
  struct Fold {
    std::int16_t man_guard, com_guard, man_capturer, man_capturer_x, man_capturer_y, com_capturer;
    bool guard_square_written, capturer_square_written;
    std::int16_t guard_x, guard_y, capturer_x, capturer_y;
  };
  // A square that a run through an empty square no longer reaches once a
  // piece is dropped there.
  struct Cut {
    std::int16_t code;
    std::uint8_t sq, from;
  };
  static constexpr int CUT_CAP = 32;  // the squares beyond it on its lines
  // What every drop on one empty square shares, whatever the face.
  struct DropSquare {
    std::uint32_t start = 0;  // of the start it was worked out for
    Fold fold;                // of a COM piece standing there
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
  // The squares of each list as bytes, and past its end a number above
  // every square; a seventeenth entry stays above every square for a full list.
  static constexpr std::int8_t PAST_EVERY_SQUARE = 127;
  std::int8_t list_sq_[100][LIST_CAP + 1];
  Fold base_fold_[100];                // of every square
  // The COM guard (or on a MAN piece the COM capturer) as the fold of an
  // occupied square stands after the first i reachers, and the best code
  // among the reachers from i on.
  struct ComState {
    std::int16_t best;
    bool written;     // a guard's or capturer's square was written
    std::uint8_t sq;  // the last one written
  };
  ComState com_prefix_[100][LIST_CAP + 1];
  std::int16_t com_suffix_best_[100][LIST_CAP + 1];
  DropSquare drop_[100];
  std::uint32_t starts_ = 0;
  int man_kings_[81], com_kings_[81];
  int n_man_kings_ = 0, n_com_kings_ = 0;
  SquareSet king_squares_;

  // The candidate's changes against the start: the pieces coming and going
  // on occupied squares, the squares whose counts are written and those
  // whose entries are folded again.
  std::uint32_t stamp_ = 0;
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
