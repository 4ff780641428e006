#include "influence/candidate_survey.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "influence/candidate_geometry.h"
#include "influence/survey.h"
#include "rules/piece.h"

namespace vv {
namespace {

using candidate::geometry;

// The maps and the board read as one row of 100 squares numbered 10 x + y.
inline std::int16_t* cells(Map& map) { return reinterpret_cast<std::int16_t*>(&map); }
inline const std::int16_t* cells(const Map& map) { return reinterpret_cast<const std::int16_t*>(&map); }
inline const int* squares(const Board& b) { return reinterpret_cast<const int*>(&b); }

inline int sq_x(int s) { return geometry.column[s]; }
inline int sq_y(int s) { return geometry.row[s]; }

// The run direction from one square toward another on its line, by the signs of the steps.
constexpr int DIR_BY_SIGN[3][3] = {{4, 3, 6}, {1, -1, 0}, {5, 2, 7}};  // [sign x + 1][sign y + 1]

inline int direction(int dx, int dy) { return DIR_BY_SIGN[(dx > 0) - (dx < 0) + 1][(dy > 0) - (dy < 0) + 1]; }

// From a piece on `from` along its line to square `to`: the run's direction
// and how many squares out `to` lies.
inline int direction_to(int from, int to) { return direction(sq_x(to) - sq_x(from), sq_y(to) - sq_y(from)); }
inline int distance_to(int from, int to) {
  return std::max(iabs(sq_x(to) - sq_x(from)), iabs(sq_y(to) - sq_y(from)));
}

// What a code is, looked up: the tests cost more than the work around them.
enum : std::uint8_t { SLIDER = 1, GUARD_SQUARE = 2, CAPTURER = 4 };
struct CodeKinds {
  std::uint8_t of[2 * KING + 1];
  constexpr CodeKinds() : of() {
    for (const int a : {LANCE, BISHOP, ROOK}) {
      of[KING + a] |= SLIDER | GUARD_SQUARE | CAPTURER;  // writes its square as guard and as capturer
      of[KING - a] |= SLIDER;
    }
    of[KING + KNIGHT] |= GUARD_SQUARE;
    of[KING + SILVER] |= GUARD_SQUARE;
    of[KING + PAWN] |= CAPTURER;  // a COM pawn may capture, writing no square
  }
};
constexpr CodeKinds code_kinds;
// Only piece codes are asked: the reachers come from the faces' tables.
inline int kinds(int code) { return code_kinds.of[KING + code]; }

inline bool is_slider(int code) { return kinds(code) & SLIDER; }

// A COM gold and a COM tokin both record as GOLD.
inline int recorded_code(int code) { return code == TOKIN ? GOLD : code; }

// Every square a piece on s reaches, in the order the survey records them:
// a run goes on through empty squares and the other side's king. visit gets
// the square and, for a run, its direction (-1 for a step).
template <class Visit>
inline void each_reach(const int* b, int code, int s, Visit&& visit) {
  const int face = candidate::face_index(code);
  if (face < 0) return;  // not a piece code: the survey skips it
  const auto& g = geometry;
  if (g.dir_n[face] == 0) {
    for (int i = 0, n = g.step_n[face][s]; i < n; ++i) visit(g.step[face][s][i], -1);
    return;
  }
  const int enemy_king = code < 0 ? KING : -KING;
  for (int j = 0; j < g.dir_n[face]; ++j) {
    const int d = g.dirs[face][j];
    const std::uint8_t* ray = g.ray[s][d];
    for (int k = 0, n = g.ray_n[s][d]; k < n; ++k) {
      visit(ray[k], d);
      const int here = b[ray[k]];
      if (here != EMPTY && here != enemy_king) break;
    }
  }
}

// How many squares the run of `code` from s in direction d covers, the
// square of the piece that stops it included.
inline int run_length(const int* b, int code, int s, int d) {
  const int enemy_king = code < 0 ? KING : -KING;
  const std::uint8_t* ray = geometry.ray[s][d];
  const int n = geometry.ray_n[s][d];
  for (int k = 0; k < n; ++k) {
    const int here = b[ray[k]];
    if (here != EMPTY && here != enemy_king) return k + 1;
  }
  return n;
}

// The check marks one piece writes, as the survey writes them.
void mark_piece(const int* b, Influence& m, int code, int s) {
  const int enemy_king = code < 0 ? KING : -KING;
  std::int16_t* marks = cells(code < 0 ? m.man_check_map : m.com_check_map);
  const int a = iabs(code);
  if (a == KING) return;
  each_reach(b, code, s, [&](int sq, int d) {
    if (b[sq] != enemy_king) return;
    if (d >= 0) {
      for (const std::uint8_t* on = geometry.ray[s][d]; *on != sq; ++on) marks[*on] = 1;
    } else if (a == KNIGHT) {
      marks[sq] = 9;
    }
    marks[s] = 9;
  });
}

// Visits the squares of a set in scan order, one word at a time: the word's
// index and the bit in it come along.
template <class Visit>
inline void each_bit(const SquareSet& set, Visit&& visit) {
  for (std::uint64_t w = set.lo; w != 0; w &= w - 1) visit(0, __builtin_ctzll(w));
  for (std::uint64_t w = set.hi; w != 0; w &= w - 1) visit(1, __builtin_ctzll(w));
}

inline SquareSet minus(const SquareSet& a, const SquareSet& b) { return SquareSet{a.lo & ~b.lo, a.hi & ~b.hi}; }

}  // namespace

// Takes one of a square's reachers, in scan order, into its fold, with the
// same comparisons survey_influence makes.
inline void CandidateSurvey::fold_in(Fold& f, const Reacher& r, int occupant) {
  const int k = r.code;
  if (k < 0) {
    if (occupant < 0) {
      if (f.man_guard > k) f.man_guard = static_cast<std::int16_t>(k);
    } else if (occupant > 0 && f.man_capturer < k) {
      f.man_capturer = static_cast<std::int16_t>(k);
      f.man_capturer_x = static_cast<std::int16_t>(sq_x(r.sq));
      f.man_capturer_y = static_cast<std::int16_t>(sq_y(r.sq));
    }
  } else if (occupant >= 10) {
    if (f.com_guard > k) {
      f.com_guard = static_cast<std::int16_t>(k);
      if (kinds(k) & GUARD_SQUARE) {
        f.guard_square_written = true;
        f.guard_x = static_cast<std::int16_t>(sq_x(r.sq));
        f.guard_y = static_cast<std::int16_t>(sq_y(r.sq));
      }
    }
  } else if (occupant <= -10 && (kinds(k) & CAPTURER) && f.com_capturer > k) {
    f.com_capturer = static_cast<std::int16_t>(k);
    if (k != PAWN) {  // a slider
      f.capturer_square_written = true;
      f.capturer_x = static_cast<std::int16_t>(sq_x(r.sq));
      f.capturer_y = static_cast<std::int16_t>(sq_y(r.sq));
    }
  }
}

CandidateSurvey::Fold CandidateSurvey::fold(const Reacher* list, int n, int occupant) {
  Fold f = NO_FOLD;
  for (int i = 0; i < n; ++i) fold_in(f, list[i], occupant);
  return f;
}

void CandidateSurvey::start(Position& p, Influence& m) {
  const int* b = squares(p.board);
  ++starts_;
  usable_ = true;
  std::memset(list_n_, 0, sizeof list_n_);
  std::memset(target_n_, 0, sizeof target_n_);
  std::memset(run_len_, 0, sizeof run_len_);
  std::memset(list_sq_, PAST_EVERY_SQUARE, sizeof list_sq_);
  n_man_kings_ = n_com_kings_ = 0;
  king_squares_ = SquareSet{};
  // The start is surveyed the way the candidates will be: the maps reset,
  // the counts of every reach, then each occupied square's fold and the
  // check marks.
  std::memcpy(static_cast<void*>(&m), &survey_reset_maps(), RESET_BYTES);
  std::int16_t* counts[2] = {cells(m.man_reach_count), cells(m.com_reach_count)};
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      const int sq = 10 * x + y;
      const int code = b[sq];
      if (code == EMPTY) continue;
      const auto record = static_cast<std::int16_t>(recorded_code(code));
      std::int16_t* side = counts[code > 0];
      each_reach(b, code, sq, [&](int s, int d) {
        if (list_n_[s] == LIST_CAP || target_n_[sq] == TARGET_CAP) {
          usable_ = false;
          return;
        }
        ++side[s];
        list_sq_[s][list_n_[s]] = static_cast<std::int8_t>(sq);
        list_[s][list_n_[s]++] = Reacher{record, static_cast<std::uint8_t>(sq)};
        target_[sq][target_n_[sq]++] = static_cast<std::uint8_t>(s);
        if (d >= 0) ++run_len_[sq][d];
      });
      if (code == KING) com_kings_[n_com_kings_++] = sq;
      if (code == -KING) man_kings_[n_man_kings_++] = sq;
      if (code == KING || code == -KING) king_squares_.add(geometry.bit[sq]);
    }
  }
  if (!usable_) {
    // Every candidate is then surveyed in full, and so is the start.
    survey_influence(p, m);
    return;
  }
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      const int s = 10 * x + y;
      if (b[s] == EMPTY) {
        base_fold_[s] = NO_FOLD;
        continue;
      }
      base_fold_[s] = fold(list_[s], list_n_[s], b[s]);
      write_fold(m, s, base_fold_[s]);
      com_steps(s, b[s]);
    }
  ++stamp_;
  marks_ = false;
  mark_checks(b, m, man_kings_, n_man_kings_, com_kings_, n_com_kings_);
  name_kings(p, man_kings_, n_man_kings_, com_kings_, n_com_kings_);
  base_ = m;
  base_man_king_x_ = p.man_king_x;
  base_man_king_y_ = p.man_king_y;
  base_com_king_x_ = p.com_king_x;
  base_com_king_y_ = p.com_king_y;
  base_marks_ = marks_;
  marks_are_base_ = true;
  prev_touched_[0] = prev_touched_[1] = prev_folded_ = SquareSet{};
  prev_everything_ = false;
}

// The COM side of an occupied square's fold, step by step: its state after
// each number of the start's reachers, and the best code still to come.
void CandidateSurvey::com_steps(int s, int occupant) {
  const bool guard = occupant >= 10;
  ComState state{NO_PIECE, false, 0};
  const int n = list_n_[s];
  for (int i = 0; i < n; ++i) {
    com_prefix_[s][i] = state;
    const int k = list_[s][i].code;
    if (k > 0 && (guard || (kinds(k) & CAPTURER)) && k < state.best) {
      state.best = static_cast<std::int16_t>(k);
      if (guard ? (kinds(k) & GUARD_SQUARE) != 0 : k != PAWN) {
        state.written = true;
        state.sq = list_[s][i].sq;
      }
    }
  }
  com_prefix_[s][n] = state;
  int best = NO_PIECE;
  com_suffix_best_[s][n] = static_cast<std::int16_t>(best);
  for (int i = n - 1; i >= 0; --i) {
    const int k = list_[s][i].code;
    if (k > 0 && (guard || (kinds(k) & CAPTURER)) && k < best) best = k;
    com_suffix_best_[s][i] = static_cast<std::int16_t>(best);
  }
}

// The survey names the last king of each side it meets, in scan order; an
// absent king keeps its square.
void CandidateSurvey::name_kings(Position& p, const int kings_man[], int n_man, const int kings_com[], int n_com) {
  if (n_man > 0) {
    const int last = *std::max_element(kings_man, kings_man + n_man);
    p.man_king_x = sq_x(last);
    p.man_king_y = sq_y(last);
  }
  if (n_com > 0) {
    const int last = *std::max_element(kings_com, kings_com + n_com);
    p.com_king_x = sq_x(last);
    p.com_king_y = sq_y(last);
  }
}

void CandidateSurvey::full_survey(Position& p, Influence& m) {
  survey_influence(p, m);
  prev_everything_ = true;
  marks_ = true;
  marks_are_base_ = false;
  fell_back_ = true;
  SquareSet all;
  all.lo = ~std::uint64_t{0};
  all.hi = (std::uint64_t{1} << 17) - 1;
  man_reach_changed_ = com_reach_changed_ = entries_changed_ = all;
}

// How many of the start's reachers of square s come before a piece on
// from_sq in scan order. The list's squares are kept apart as bytes, padded
// past its end with a number above every square, so all sixteen are
// compared at once; a loop stopping at the first later square would
// mispredict where it stops, square after square.
inline int CandidateSurvey::turn_of(int s, int from_sq) const {
#if defined(__SSE2__)
  const __m128i squares = _mm_loadu_si128(reinterpret_cast<const __m128i*>(list_sq_[s]));
  const __m128i before = _mm_cmplt_epi8(squares, _mm_set1_epi8(static_cast<char>(from_sq)));
  return __builtin_ctz(~static_cast<unsigned>(_mm_movemask_epi8(before)));
#else
  int i = 0;
  while (list_sq_[s][i] < from_sq) ++i;
  return i;
#endif
}

// Whether a piece coming to or leaving square s could change what folding
// s writes. The two sides fold apart (a MAN piece writes only the MAN
// entries). A piece that does not beat the best so far when its turn comes
// leaves no trace in fold_in, so if every piece that comes or goes is like
// that, the square folds as at the start. The MAN guard and capturer are a
// plain smallest and largest code (the capturer's square is the winner's):
// they keep the start's winner when every change is strictly worse. The COM
// guard and capturer may write their squares on the way, so a COM piece
// counts unless a reacher of the start before it in scan order is already
// as good. On the target, which has a new occupant, everything counts.
inline bool CandidateSurvey::can_win(int s, int occupant, int code, int from_sq) const {
  if (s == target_sq_) return true;
  if (code < 0) {
    if (occupant < 0) return code <= base_fold_[s].man_guard;
    return code >= base_fold_[s].man_capturer;
  }
  if (occupant < 10 && !(kinds(code) & CAPTURER)) return false;
  // The start's COM fold as it stands when this piece's turn comes.
  return com_prefix_[s][turn_of(s, from_sq)].best > code;
}

inline void CandidateSurvey::refold(int s) {
  folded_.lo |= geometry.lo[s];
  folded_.hi |= geometry.hi[s];
}

inline void CandidateSurvey::open_delta(int s) {
  Delta& d = delta_[s];
  d.stamp = stamp_;
  d.removed = d.added = d.sides = 0;
}

// One piece's reach of square s comes (sign 1) or goes (-1). Most squares
// are empty and keep only their counts. The piece's side is chosen once
// for all the squares one piece reaches.
template <bool COM>
[[gnu::always_inline]] inline void CandidateSurvey::note_as(int s, int sign, int from_sq, int code, const int* b) {
  SquareSet& touched = touched_[COM];
  touched.lo |= geometry.lo[s];
  touched.hi |= geometry.hi[s];
  std::int16_t* counts = counts_[COM];
  counts[s] = static_cast<std::int16_t>(counts[s] + sign);
  const int occupant = b[s];
  if (occupant != EMPTY) note_occupied(s, occupant, sign, from_sq, code);
}

[[gnu::always_inline]] inline void CandidateSurvey::note(int s, int sign, int from_sq, int code, const int* b) {
  if (code > 0)
    note_as<true>(s, sign, from_sq, code, b);
  else
    note_as<false>(s, sign, from_sq, code, b);
}

// The squares of a list, noted for one piece.
inline void CandidateSurvey::note_all(const std::uint8_t* list, int n, int sign, int from_sq, int code, const int* b) {
  if (code > 0)
    for (int i = 0; i < n; ++i) note_as<true>(list[i], sign, from_sq, code, b);
  else
    for (int i = 0; i < n; ++i) note_as<false>(list[i], sign, from_sq, code, b);
}

// Every change on an occupied square is listed, so that a square folded
// again sees them all.
inline void CandidateSurvey::note_occupied(int s, int occupant, int sign, int from_sq, int code) {
  Delta& d = delta_[s];
  if (d.stamp != stamp_) open_delta(s);
  if (can_win(s, occupant, code, from_sq)) {
    refold(s);
    d.sides |= code < 0 ? MAN_SIDE : COM_SIDE;
  }
  if (sign < 0) {
    if (d.removed == DELTA_CAP) {
      overflow_ = true;
      return;
    }
    d.gone[d.removed++] = static_cast<std::uint8_t>(from_sq);
  } else {
    if (d.added == DELTA_CAP) {
      overflow_ = true;
      return;
    }
    d.come[d.added++] = Reacher{static_cast<std::int16_t>(code), static_cast<std::uint8_t>(from_sq)};
  }
}

// Runs that reached the source or the target at the start are the only ones
// that can grow or shrink: each is walked once, from its old end to its new.
[[gnu::always_inline]] inline void CandidateSurvey::runs_through(int sq, int f, int t, int piece, const int* b, int* seen, int& n_seen) {
  for (int i = 0; i < list_n_[sq]; ++i) {
    const Reacher r = list_[sq][i];
    if (r.sq == f || r.sq == t || !is_slider(r.code)) continue;
    const int d = direction_to(r.sq, sq);
    const int key = r.sq * 8 + d;
    bool known = false;
    for (int j = 0; j < n_seen; ++j) known |= seen[j] == key;
    if (known) continue;
    seen[n_seen++] = key;
    const int before = run_len_[r.sq][d];
    // A run that reached the target at the start still passes every square
    // up to it (only the source, now empty, changed on the way) and stops
    // there, unless the new piece is a king it runs through.
    const int enemy_king = r.code < 0 ? KING : -KING;
    const int now = sq == t && piece != enemy_king
                        ? distance_to(r.sq, sq)
                        : run_length(b, r.code, r.sq, d);
    const std::uint8_t* ray = geometry.ray[r.sq][d];
    if (now > before)
      note_all(ray + before, now - before, 1, r.sq, r.code, b);
    else
      note_all(ray + now, before - now, -1, r.sq, r.code, b);
  }
}

// A drop on an empty square changes no reach of the square itself, and
// every run that passed through it now stops there, whatever the face (a
// king, which some runs go through, is never dropped this way). Both are
// worked out by the first drop on the square and kept for the other faces:
// the fold of its reachers under a COM piece, and the squares the runs lose.
inline const CandidateSurvey::DropSquare& CandidateSurvey::drop_square(int s) {
  DropSquare& q = drop_[s];
  if (q.start != starts_) work_out_drop_square(s);
  return q;
}

void CandidateSurvey::work_out_drop_square(int s) {
  DropSquare& q = drop_[s];
  q.start = starts_;
  q.fold = fold(list_[s], list_n_[s], PAWN);
  q.cut_n = 0;
  for (int i = 0; i < list_n_[s]; ++i) {
    const Reacher r = list_[s][i];
    if (!is_slider(r.code)) continue;
    const int d = direction_to(r.sq, s);
    const int now = distance_to(r.sq, s);
    const std::uint8_t* ray = geometry.ray[r.sq][d];
    for (int k = now; k < run_len_[r.sq][d]; ++k) q.cut[q.cut_n++] = Cut{r.code, ray[k], r.sq};
  }
}

// The pieces reaching an occupied square in the candidate position, in scan order.
int CandidateSurvey::new_list(int s, Reacher* out) const {
  if (delta_[s].stamp != stamp_) {
    std::memcpy(out, list_[s], sizeof(Reacher) * list_n_[s]);
    return list_n_[s];
  }
  const Delta& d = delta_[s];
  Reacher come[DELTA_CAP];
  for (int i = 0; i < d.added; ++i) {
    int j = i;
    for (; j > 0 && come[j - 1].sq > d.come[i].sq; --j) come[j] = come[j - 1];
    come[j] = d.come[i];
  }
  int n = 0, c = 0;
  for (int i = 0; i < list_n_[s]; ++i) {
    const Reacher r = list_[s][i];
    bool gone = false;
    for (int g = 0; g < d.removed; ++g) gone |= d.gone[g] == r.sq;
    if (gone) continue;
    while (c < d.added && come[c].sq < r.sq) out[n++] = come[c++];
    out[n++] = r;
  }
  while (c < d.added) out[n++] = come[c++];
  return n;
}

// The fold of an occupied square in the candidate position: its reachers
// taken in scan order as new_list lists them, without listing them. The
// sides fold apart, so only a side that has a piece which could win is
// folded again; the other keeps the start's entries. The target, with its
// new occupant, is folded whole.
inline void CandidateSurvey::fold_now(int s, int occupant, Fold& f) const {
  if (!fold_one_come(s, occupant, f)) fold_again(s, occupant, f);
}

// The commonest case, one COM piece that comes and wins: the fold runs as
// at the start up to its turn, and if no later reacher betters it, it ends
// there. Kept small so that it is inlined.
inline bool CandidateSurvey::fold_one_come(int s, int occupant, Fold& f) const {
  const Delta& d = delta_[s];
  if (d.sides == COM_SIDE && d.added == 1 && d.removed == 0 && d.come[0].code > 0) {
    const Reacher a = d.come[0];
    const int i = turn_of(s, a.sq);
    const ComState& state = com_prefix_[s][i];
    if (a.code < state.best && com_suffix_best_[s][i] >= a.code) {
      const bool guard = occupant >= 10;
      const bool writes = guard ? (kinds(a.code) & GUARD_SQUARE) != 0 : a.code != PAWN;
      const int sq = writes ? a.sq : state.sq;
      f = base_fold_[s];
      if (guard) {
        f.com_guard = a.code;
        f.guard_square_written = writes || state.written;
        f.guard_x = static_cast<std::int16_t>(sq_x(sq));
        f.guard_y = static_cast<std::int16_t>(sq_y(sq));
      } else {
        f.com_capturer = a.code;
        f.capturer_square_written = writes || state.written;
        f.capturer_x = static_cast<std::int16_t>(sq_x(sq));
        f.capturer_y = static_cast<std::int16_t>(sq_y(sq));
      }
      return true;
    }
  }
  return false;
}

[[gnu::noinline]] void CandidateSurvey::fold_again(int s, int occupant, Fold& f) const {
  const Delta& d = delta_[s];
  const int sides = d.sides;
  if (sides == (MAN_SIDE | COM_SIDE)) {
    f = NO_FOLD;
  } else {
    f = base_fold_[s];
    if (sides & MAN_SIDE) {
      f.man_guard = NO_FOLD.man_guard;
      f.man_capturer = NO_FOLD.man_capturer;
      f.man_capturer_x = f.man_capturer_y = 0;
    } else {
      f.com_guard = NO_FOLD.com_guard;
      f.com_capturer = NO_FOLD.com_capturer;
      f.guard_square_written = f.capturer_square_written = false;
    }
  }
  auto take = [&](const Reacher& r) {
    if (sides & (r.code < 0 ? MAN_SIDE : COM_SIDE)) fold_in(f, r, occupant);
  };
  // Most squares see one piece come at most: it needs no sorting.
  Reacher sorted[DELTA_CAP];
  const Reacher* come = d.come;
  if (d.added > 1) {
    for (int i = 0; i < d.added; ++i) {
      int j = i;
      for (; j > 0 && sorted[j - 1].sq > d.come[i].sq; --j) sorted[j] = sorted[j - 1];
      sorted[j] = d.come[i];
    }
    come = sorted;
  }
  std::uint64_t gone[2] = {0, 0};  // by square number 10 x + y
  for (int g = 0; g < d.removed; ++g) gone[d.gone[g] >> 6] |= std::uint64_t{1} << (d.gone[g] & 63);
  int c = 0;
  for (int i = 0; i < list_n_[s]; ++i) {
    const Reacher r = list_[s][i];
    if ((gone[r.sq >> 6] >> (r.sq & 63)) & 1) continue;
    while (c < d.added && come[c].sq < r.sq) take(come[c++]);
    take(r);
  }
  while (c < d.added) take(come[c++]);
}

// The COM guard's and capturer's squares, written only where the fold wrote
// them: elsewhere they keep what stood there before, as survey_influence
// leaves them.
inline void CandidateSurvey::write_stale_squares(Influence& m, int s, const Fold& f) {
  if (f.guard_square_written) {
    cells(m.com_guard_x)[s] = f.guard_x;
    cells(m.com_guard_y)[s] = f.guard_y;
  }
  if (f.capturer_square_written) {
    cells(m.com_capturer_x)[s] = f.capturer_x;
    cells(m.com_capturer_y)[s] = f.capturer_y;
  }
}

inline void CandidateSurvey::write_fold(Influence& m, int s, const Fold& f) {
  cells(m.man_guard_piece)[s] = f.man_guard;
  cells(m.com_guard_piece)[s] = f.com_guard;
  cells(m.man_capturer_piece)[s] = f.man_capturer;
  cells(m.man_capturer_x)[s] = f.man_capturer_x;
  cells(m.man_capturer_y)[s] = f.man_capturer_y;
  cells(m.com_capturer_piece)[s] = f.com_capturer;
  write_stale_squares(m, s, f);
}

// The counts are noted straight into the maps, once the squares the
// previous candidate touched, on either side, hold the start's counts again
// (all of the maps when the previous one was surveyed in full).
inline void CandidateSurvey::put_back_counts(Influence& m) {
  counts_[0] = cells(m.man_reach_count);
  counts_[1] = cells(m.com_reach_count);
  if (prev_everything_) {
    std::memcpy(static_cast<void*>(&m), &base_, RESET_BYTES);
    marks_ = base_marks_;
    marks_are_base_ = true;
    return;
  }
  const std::int16_t* man_base = cells(base_.man_reach_count);
  const std::int16_t* com_base = cells(base_.com_reach_count);
  SquareSet written = prev_touched_[0];
  written |= prev_touched_[1];
  each_bit(written, [&](int word, int bit) {
    const int s = geometry.square[64 * word + bit];
    counts_[0][s] = man_base[s];
    counts_[1][s] = com_base[s];
  });
}

// The guard and capturer entries: where the previous candidate changed them
// and this one does not, they are put back to the start's; where this one
// changes them, they are folded again. The COM guard and capturer squares,
// which no survey resets, are put back only on squares not folded again: on
// those, a square the fold leaves unwritten must keep what the previous
// survey left, as survey_influence would.
[[gnu::always_inline]] inline void CandidateSurvey::write_entries(Influence& m, int f, int t, bool drop, const int* b) {
  if (prev_everything_) {
    for (int bit = 0; bit < 81; ++bit)
      if (!folded_.has(bit)) write_stale_squares(m, geometry.square[bit], base_fold_[geometry.square[bit]]);
  } else {
    each_bit(minus(prev_folded_, folded_), [&](int word, int bit) {
      const int s = geometry.square[64 * word + bit];
      write_fold(m, s, base_fold_[s]);
    });
  }
  // Every square folded again counts as changed: most of them are.
  entries_changed_ = folded_;
  // The target and the source first: their occupants are new.
  if (f != 0) write_fold(m, f, NO_FOLD);
  const Delta& at_target = delta_[t];
  if (drop && b[t] >= 10 && at_target.removed == 0 && at_target.added == 0) {
    write_fold(m, t, drop_[t].fold);
  } else {
    Fold now = NO_FOLD;
    if (b[t] != EMPTY) fold_now(t, b[t], now);
    write_fold(m, t, now);
  }
  // The others are occupied as at the start.
  SquareSet others = folded_;
  others.remove(geometry.bit[t]);
  if (f != 0) others.remove(geometry.bit[f]);
  each_bit(others, [&](int word, int bit) {
    const int s = geometry.square[64 * word + bit];
    Fold now;
    fold_now(s, b[s], now);
    write_fold(m, s, now);
  });
}

void CandidateSurvey::mark_checks(const int* b, Influence& m, const int kings_man[], int n_man,
                                  const int kings_com[], int n_com) {
  int pieces[81];
  int n = 0;
  Reacher list[LIST_CAP + DELTA_CAP];
  auto gather = [&](int k, bool man_side) {
    const int count = new_list(k, list);
    for (int i = 0; i < count; ++i)
      if ((list[i].code < 0) == man_side) {
        bool known = false;
        for (int j = 0; j < n; ++j) known |= pieces[j] == list[i].sq;
        if (!known) pieces[n++] = list[i].sq;
      }
  };
  const std::int16_t* man = cells(m.man_reach_count);
  const std::int16_t* com = cells(m.com_reach_count);
  for (int i = 0; i < n_com; ++i)
    if (man[kings_com[i]] > 0) gather(kings_com[i], true);
  for (int i = 0; i < n_man; ++i)
    if (com[kings_man[i]] > 0) gather(kings_man[i], false);
  if (marks_) {
    std::memset(m.man_check_map, 0, sizeof m.man_check_map);
    std::memset(m.com_check_map, 0, sizeof m.com_check_map);
  }
  marks_ = n > 0;
  // The survey writes the marks piece by piece in scan order.
  std::sort(pieces, pieces + n);
  for (int i = 0; i < n; ++i) mark_piece(b, m, b[pieces[i]], pieces[i]);
}

void CandidateSurvey::survey(Position& p, Influence& m, int fx, int fy, int tx, int ty, int captured) {
  const int* b = squares(p.board);
  fell_back_ = false;
  if (!usable_) {
    touched_[0] = touched_[1] = SquareSet{};
    full_survey(p, m);
    return;
  }
  const int f = is_board_column(fx) ? 10 * fx + fy : 0;
  const int t = 10 * tx + ty;
  const int piece = b[t];
  const int piece_code = recorded_code(piece);
  ++stamp_;
  touched_[0] = touched_[1] = folded_ = SquareSet{};
  target_sq_ = t;
  overflow_ = false;
  put_back_counts(m);

  // The moving piece and the captured one leave what they reached; the
  // moving piece reaches anew from its target. The source has its entries
  // reset, the target folded over its new occupant.
  open_delta(t);
  delta_[t].sides = MAN_SIDE | COM_SIDE;
  refold(t);
  if (f != 0) {
    refold(f);
    note_all(target_[f], target_n_[f], -1, f, piece_code, b);
  }
  if (captured != EMPTY)
    note_all(target_[t], target_n_[t], -1, t, captured, b);
  if (piece > 0)
    each_reach(b, piece, t, [&](int s, int) { note_as<true>(s, 1, t, piece_code, b); });
  else
    each_reach(b, piece, t, [&](int s, int) { note_as<false>(s, 1, t, piece_code, b); });

  const bool drop = f == 0 && iabs(piece) != KING;
  if (drop) {
    const DropSquare& q = drop_square(t);
    for (int i = 0; i < q.cut_n; ++i) note(q.cut[i].sq, -1, q.cut[i].from, q.cut[i].code, b);
  } else {
    int seen[2 * LIST_CAP];
    int n_seen = 0;
    if (f != 0) runs_through(f, f, t, piece, b, seen, n_seen);
    runs_through(t, f, t, piece, b, seen, n_seen);
  }
  if (overflow_) {
    full_survey(p, m);
    return;
  }

  // The few touched squares whose changes cancel out are left in.
  man_reach_changed_ = touched_[0];
  com_reach_changed_ = touched_[1];
  write_entries(m, f, t, drop, b);

  // The kings of the candidate position, and the marks of the pieces that
  // reach them. Unless a king moves or is taken they are the start's.
  const bool kings_change = iabs(piece) == KING || iabs(captured) == KING;
  int moved_man[82], moved_com[82];
  const int* kings_man = man_kings_;
  const int* kings_com = com_kings_;
  int n_man = n_man_kings_, n_com = n_com_kings_;
  if (kings_change) {
    n_man = n_com = 0;
    for (int i = 0; i < n_man_kings_; ++i)
      if (man_kings_[i] != t && man_kings_[i] != f) moved_man[n_man++] = man_kings_[i];
    for (int i = 0; i < n_com_kings_; ++i)
      if (com_kings_[i] != t && com_kings_[i] != f) moved_com[n_com++] = com_kings_[i];
    if (piece == KING) moved_com[n_com++] = t;
    if (piece == -KING) moved_man[n_man++] = t;
    kings_man = moved_man;
    kings_com = moved_com;
  }
  // The marks are the start's when the kings stand where they stood and no
  // reach of a king square comes or goes (every change of a reach touches
  // its square): the same pieces then reach the same kings along the same
  // squares, and write the same marks in the same order.
  const SquareSet touched{touched_[0].lo | touched_[1].lo, touched_[0].hi | touched_[1].hi};
  const bool king_reached = ((touched.lo & king_squares_.lo) | (touched.hi & king_squares_.hi)) != 0;
  if (!kings_change && !king_reached) {
    if (!marks_are_base_) {
      std::memcpy(m.man_check_map, base_.man_check_map, sizeof m.man_check_map);
      std::memcpy(m.com_check_map, base_.com_check_map, sizeof m.com_check_map);
      marks_ = base_marks_;
      marks_are_base_ = true;
    }
  } else {
    const std::int16_t* man = cells(m.man_reach_count);
    const std::int16_t* com = cells(m.com_reach_count);
    bool checks = false;
    for (int i = 0; i < n_com; ++i) checks |= man[kings_com[i]] > 0;
    for (int i = 0; i < n_man; ++i) checks |= com[kings_man[i]] > 0;
    if (checks) {
      mark_checks(b, m, kings_man, n_man, kings_com, n_com);
    } else if (marks_) {
      std::memset(m.man_check_map, 0, sizeof m.man_check_map);
      std::memset(m.com_check_map, 0, sizeof m.com_check_map);
      marks_ = false;
    }
    marks_are_base_ = !marks_ && !base_marks_;
  }

  // The kings stand where they stood unless a king moves or is taken.
  p.man_king_x = base_man_king_x_;
  p.man_king_y = base_man_king_y_;
  p.com_king_x = base_com_king_x_;
  p.com_king_y = base_com_king_y_;
  if (kings_change) {
    name_kings(p, kings_man, n_man, kings_com, n_com);
  }

  prev_touched_[0] = touched_[0];
  prev_touched_[1] = touched_[1];
  prev_folded_ = folded_;
  prev_everything_ = false;
}

}  // namespace vv
