#include "influence/candidate_survey.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "influence/survey.h"
#include "rules/piece.h"

namespace vv {
namespace {

// Run directions: down, up, right, left, then the diagonals up-left,
// up-right, down-left, down-right.
constexpr int DIR_X[8] = {0, 0, 1, -1, -1, 1, -1, 1};
constexpr int DIR_Y[8] = {1, -1, 0, 0, -1, -1, 1, 1};

// The run direction from one square toward another on its line, by the signs of the steps.
constexpr int DIR_BY_SIGN[3][3] = {{4, 3, 6}, {1, -1, 0}, {5, 2, 7}};  // [sign x + 1][sign y + 1]

inline int direction(int dx, int dy) { return DIR_BY_SIGN[(dx > 0) - (dx < 0) + 1][(dy > 0) - (dy < 0) + 1]; }

// Column and row of a square numbered 10 x + y.
struct SquareCoordinates {
  std::uint8_t x[100], y[100], bit[100];
  constexpr SquareCoordinates() : x(), y(), bit() {
    for (int s = 0; s < 100; ++s) {
      x[s] = static_cast<std::uint8_t>(s / 10);
      y[s] = static_cast<std::uint8_t>(s % 10);
      bit[s] = static_cast<std::uint8_t>(s / 10 >= 1 && s % 10 >= 1 ? 9 * (s / 10 - 1) + s % 10 - 1 : 0);
    }
  }
};
constexpr SquareCoordinates at;

inline bool on_board(int x, int y) { return x >= 1 && x <= 9 && y >= 1 && y <= 9; }

inline bool is_slider(int code) {
  const int a = iabs(code);
  return a == 香 || a == 角 || a == 飛;
}

// A COM gold and a COM tokin both record 110.
inline int recorded_code(int code) { return code == と ? 金 : code; }

// A run goes through empty squares and the other side's king.
template <class Visit>
inline void run(const Board& b, int code, int x, int y, int d, Visit&& visit) {
  const int enemy_king = code < 0 ? 王 : -王;
  for (int sx = x + DIR_X[d], sy = y + DIR_Y[d]; on_board(sx, sy); sx += DIR_X[d], sy += DIR_Y[d]) {
    visit(sx, sy, d);
    const int here = b[sx][sy];
    if (here != EMPTY && here != enemy_king) return;
  }
}

inline int run_length(const Board& b, int code, int x, int y, int d) {
  int n = 0;
  run(b, code, x, y, d, [&](int, int, int) { ++n; });
  return n;
}

// Every square the piece reaches, as the survey records them; runs pass
// their direction, steps -1.
template <class Visit>
void each_reach(const Board& b, int code, int x, int y, Visit&& visit) {
  auto step = [&](int sx, int sy) {
    if (on_board(sx, sy)) visit(sx, sy, -1);
  };
  switch (code) {
    case -歩: step(x, y - 1); break;
    case 歩: step(x, y + 1); break;
    case -と: case -金:
      step(x, y - 1); step(x - 1, y - 1); step(x + 1, y - 1); step(x, y + 1); step(x - 1, y); step(x + 1, y);
      break;
    case と: case 金:
      step(x, y - 1); step(x, y + 1); step(x - 1, y + 1); step(x + 1, y + 1); step(x - 1, y); step(x + 1, y);
      break;
    case -香: run(b, code, x, y, 1, visit); break;
    case 香: run(b, code, x, y, 0, visit); break;
    case -桂: step(x - 1, y - 2); step(x + 1, y - 2); break;
    case 桂: step(x - 1, y + 2); step(x + 1, y + 2); break;
    case -銀:
      step(x, y - 1); step(x - 1, y - 1); step(x + 1, y - 1); step(x - 1, y + 1); step(x + 1, y + 1);
      break;
    case 銀:
      step(x, y + 1); step(x - 1, y + 1); step(x + 1, y + 1); step(x - 1, y - 1); step(x + 1, y - 1);
      break;
    case -角: case 角:
      for (int d = 4; d < 8; ++d) run(b, code, x, y, d, visit);
      break;
    case -飛: case 飛:
      for (int d = 0; d < 4; ++d) run(b, code, x, y, d, visit);
      break;
    case -王: case 王:
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
          if (dx != 0 || dy != 0) step(x + dx, y + dy);
      break;
    default:
      break;  // not a piece code: the survey skips it
  }
}

// The check marks one piece writes, as the survey writes them.
void mark_piece(const Board& b, Influence& m, int code, int x, int y) {
  const int enemy_king = code < 0 ? 王 : -王;
  auto& marks = code < 0 ? m.man_check_map : m.com_check_map;
  const int a = iabs(code);
  if (a == 王) return;
  each_reach(b, code, x, y, [&](int sx, int sy, int d) {
    if (b[sx][sy] != enemy_king) return;
    if (d >= 0) {
      for (int bx = x + DIR_X[d], by = y + DIR_Y[d]; bx != sx || by != sy; bx += DIR_X[d], by += DIR_Y[d])
        marks[bx][by] = 1;
    } else if (a == 桂) {
      marks[sx][sy] = 9;
    }
    marks[x][y] = 9;
  });
}

constexpr std::size_t reset_bytes = offsetof(Influence, com_guard_x);

}  // namespace

// One piece of a square's reachers, in scan order, taken into its fold.
inline void CandidateSurvey::fold_in(Fold& f, const Reacher& r, int occupant) {
  const int k = r.code;
  const int px = at.x[r.sq], py = at.y[r.sq];
  if (k < 0) {
    if (occupant < 0) {
      if (f.man_guard > k) f.man_guard = static_cast<std::int16_t>(k);
    } else if (occupant > 0 && f.man_capturer < k) {
      f.man_capturer = static_cast<std::int16_t>(k);
      f.man_capturer_x = static_cast<std::int16_t>(px);
      f.man_capturer_y = static_cast<std::int16_t>(py);
    }
  } else if (occupant >= 10) {
    if (f.com_guard > k) {
      f.com_guard = static_cast<std::int16_t>(k);
      if (k == 桂 || k == 銀 || is_slider(k)) {
        f.guard_square_written = true;
        f.guard_x = static_cast<std::int16_t>(px);
        f.guard_y = static_cast<std::int16_t>(py);
      }
    }
  } else if (occupant <= -10 && (k == 歩 || is_slider(k)) && f.com_capturer > k) {
    f.com_capturer = static_cast<std::int16_t>(k);
    if (k != 歩) {
      f.capturer_square_written = true;
      f.capturer_x = static_cast<std::int16_t>(px);
      f.capturer_y = static_cast<std::int16_t>(py);
    }
  }
}

CandidateSurvey::Fold CandidateSurvey::fold(const Reacher* list, int n, int occupant) {
  Fold f = NO_FOLD;
  for (int i = 0; i < n; ++i) fold_in(f, list[i], occupant);
  return f;
}

void CandidateSurvey::start(const Position& p, const Influence& m) {
  const Board& b = p.board;
  ++starts_;
  usable_ = true;
  base_ = m;
  base_man_king_x_ = p.man_king_x;
  base_man_king_y_ = p.man_king_y;
  base_com_king_x_ = p.com_king_x;
  base_com_king_y_ = p.com_king_y;
  std::memset(list_n_, 0, sizeof list_n_);
  std::memset(target_n_, 0, sizeof target_n_);
  std::memset(run_len_, 0, sizeof run_len_);
  n_man_kings_ = n_com_kings_ = 0;
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      const int code = b[x][y];
      if (code == EMPTY) continue;
      const int sq = 10 * x + y;
      const auto rec = static_cast<std::int16_t>(recorded_code(code));
      each_reach(b, code, x, y, [&](int sx, int sy, int d) {
        const int s = 10 * sx + sy;
        if (list_n_[s] == LIST_CAP || target_n_[sq] == TARGET_CAP) {
          usable_ = false;
          return;
        }
        list_[s][list_n_[s]++] = Reacher{rec, static_cast<std::uint8_t>(sq)};
        target_[sq][target_n_[sq]++] = static_cast<std::uint8_t>(s);
        if (d >= 0) ++run_len_[sq][d];
      });
      if (code == 王) com_kings_[n_com_kings_++] = sq;
      if (code == -王) man_kings_[n_man_kings_++] = sq;
    }
  }
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      const int s = 10 * x + y;
      base_fold_[s] = b[x][y] != EMPTY ? fold(list_[s], list_n_[s], b[x][y]) : fold(nullptr, 0, EMPTY);
    }
  base_marks_ = false;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      if (m.man_check_map[x][y] != 0 || m.com_check_map[x][y] != 0) base_marks_ = true;
  marks_ = base_marks_;
  n_prev_touched_ = n_prev_folded_ = 0;
  prev_everything_ = false;
}

void CandidateSurvey::full_survey(Position& p, Influence& m) {
  勢力調査(p, m);
  prev_everything_ = true;
  marks_ = true;
  fell_back_ = true;
  SquareSet all;
  all.lo = ~std::uint64_t{0};
  all.hi = (std::uint64_t{1} << 17) - 1;
  man_reach_changed_ = com_reach_changed_ = entries_changed_ = all;
}

// Whether a piece coming to or leaving square s could change what folding
// s writes. The others pass through fold_in without a trace, so a square
// whose every change is of that kind folds as at the start. A plain minimum
// or maximum (the MAN guard, the MAN capturer) keeps its winner when every
// piece that comes or goes is strictly on the losing side of the start's
// winner; once one is not, the square is folded over all its changes. The
// COM guard and capturer are won in steps that write their squares on the
// way, so every piece that can take them part counts. The target takes a
// new occupant: everything counts there.
inline bool CandidateSurvey::can_win(int s, int occupant, int code) const {
  if (s == target_sq_) return true;
  if (code < 0) {
    if (occupant < 0) return code <= base_fold_[s].man_guard;
    return code >= base_fold_[s].man_capturer;
  }
  if (occupant >= 10) return true;
  return occupant <= -10 && (code == 歩 || is_slider(code));
}

inline void CandidateSurvey::refold(int s) {
  if (fold_stamp_[s] == stamp_) return;
  fold_stamp_[s] = stamp_;
  folded_[n_folded_++] = s;
  cur_stale_.add(at.bit[s]);
}

// Inlined: most calls pass a fixed sign, and the call itself cost as much as the work.
[[gnu::always_inline]] inline bool CandidateSurvey::note(int s, int sign, int from_sq, int code, const Board& b) {
  const int occupant = b[at.x[s]][at.y[s]];
  if (delta_stamp_[s] != stamp_) {
    delta_stamp_[s] = stamp_;
    man_delta_[s] = com_delta_[s] = 0;
    delta_[s].removed = delta_[s].added = 0;
    touched_[n_touched_++] = s;
  }
  // The source has its entries reset, the target folded over its new occupant.
  if (sign == 0) {
    refold(s);
    return true;
  }
  if (code < 0)
    man_delta_[s] = static_cast<std::int8_t>(man_delta_[s] + sign);
  else
    com_delta_[s] = static_cast<std::int8_t>(com_delta_[s] + sign);
  if (occupant == EMPTY) return true;  // an empty square keeps only its counts
  // Every change is listed, so that a square folded again sees them all.
  if (can_win(s, occupant, code)) refold(s);
  Delta& d = delta_[s];
  if (sign < 0) {
    if (d.removed == DELTA_CAP) return !(overflow_ = true);
    d.gone[d.removed++] = static_cast<std::uint8_t>(from_sq);
  } else {
    if (d.added == DELTA_CAP) return !(overflow_ = true);
    d.come[d.added++] = Reacher{static_cast<std::int16_t>(code), static_cast<std::uint8_t>(from_sq)};
  }
  return true;
}

// The pieces reaching an occupied square in the candidate position, in scan order.
int CandidateSurvey::new_list(int s, Reacher* out) const {
  const bool changed = delta_stamp_[s] == stamp_;
  if (!changed) {
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
// taken in scan order as new_list lists them, without listing them.
inline void CandidateSurvey::fold_now(int s, int occupant, Fold& f) const {
  if (delta_stamp_[s] != stamp_) {
    f = base_fold_[s];
    return;
  }
  f = NO_FOLD;
  const Delta& d = delta_[s];
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
    while (c < d.added && come[c].sq < r.sq) fold_in(f, come[c++], occupant);
    fold_in(f, r, occupant);
  }
  while (c < d.added) fold_in(f, come[c++], occupant);
}

// A drop changes no reach of its own square: its reachers are the start's,
// and every COM piece standing there folds them alike. So the fold is worked
// out by the first drop on the square and kept for the other faces.
const CandidateSurvey::Fold& CandidateSurvey::drop_fold(int s) {
  if (drop_fold_start_[s] != starts_) {
    drop_fold_start_[s] = starts_;
    drop_fold_[s] = fold(list_[s], list_n_[s], 歩);
  }
  return drop_fold_[s];
}

// The guard's and capturer's squares, which the survey writes only where it
// records a piece: elsewhere they keep whatever stood there before.
inline void CandidateSurvey::write_stale_squares(Influence& m, int x, int y, const Fold& f) {
  if (f.guard_square_written) {
    m.com_guard_x[x][y] = f.guard_x;
    m.com_guard_y[x][y] = f.guard_y;
  }
  if (f.capturer_square_written) {
    m.com_capturer_x[x][y] = f.capturer_x;
    m.com_capturer_y[x][y] = f.capturer_y;
  }
}

inline void CandidateSurvey::write_fold(Influence& m, int s, const Fold& f) {
  const int x = at.x[s], y = at.y[s];
  m.man_guard_piece[x][y] = f.man_guard;
  m.com_guard_piece[x][y] = f.com_guard;
  m.man_capturer_piece[x][y] = f.man_capturer;
  m.man_capturer_x[x][y] = f.man_capturer_x;
  m.man_capturer_y[x][y] = f.man_capturer_y;
  m.com_capturer_piece[x][y] = f.com_capturer;
  write_stale_squares(m, x, y, f);
}

// Puts back what the previous survey changed against the start. The square
// maps the survey never resets are put back only where this candidate does
// not fold again: where it does, a square it leaves unwritten must keep what
// the previous survey left.
// A square this candidate touches or folds again is written whole after
// it, so it is left alone here.
void CandidateSurvey::restore_previous(Influence& m) {
  auto restore_stale = [&](int x, int y) {
    const int s = 10 * x + y;
    if (cur_stale_.has(square_bit(x, y))) return;
    write_stale_squares(m, x, y, base_fold_[s]);
  };
  if (prev_everything_) {
    std::memcpy(static_cast<void*>(&m), &base_, reset_bytes);
    marks_ = base_marks_;
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) restore_stale(x, y);
    return;
  }
  for (int i = 0; i < n_prev_touched_; ++i) {
    if (delta_stamp_[prev_touched_[i]] == stamp_) continue;
    const int x = at.x[prev_touched_[i]], y = at.y[prev_touched_[i]];
    m.man_reach_count[x][y] = base_.man_reach_count[x][y];
    m.com_reach_count[x][y] = base_.com_reach_count[x][y];
  }
  for (int i = 0; i < n_prev_folded_; ++i) {
    if (fold_stamp_[prev_folded_[i]] == stamp_) continue;
    const int x = at.x[prev_folded_[i]], y = at.y[prev_folded_[i]];
    m.man_guard_piece[x][y] = base_.man_guard_piece[x][y];
    m.com_guard_piece[x][y] = base_.com_guard_piece[x][y];
    m.man_capturer_piece[x][y] = base_.man_capturer_piece[x][y];
    m.man_capturer_x[x][y] = base_.man_capturer_x[x][y];
    m.man_capturer_y[x][y] = base_.man_capturer_y[x][y];
    m.com_capturer_piece[x][y] = base_.com_capturer_piece[x][y];
    restore_stale(x, y);
  }
}

void CandidateSurvey::mark_checks(const Board& b, Influence& m, int kings_man[], int n_man, int kings_com[],
                                  int n_com) {
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
  for (int i = 0; i < n_com; ++i)
    if (m.man_reach_count[at.x[kings_com[i]]][at.y[kings_com[i]]] > 0) gather(kings_com[i], true);
  for (int i = 0; i < n_man; ++i)
    if (m.com_reach_count[at.x[kings_man[i]]][at.y[kings_man[i]]] > 0) gather(kings_man[i], false);
  if (marks_) {
    std::memset(m.man_check_map, 0, sizeof m.man_check_map);
    std::memset(m.com_check_map, 0, sizeof m.com_check_map);
  }
  marks_ = n > 0;
  // The survey writes the marks piece by piece in scan order.
  for (int i = 1; i < n; ++i)
    for (int j = i; j > 0 && pieces[j - 1] > pieces[j]; --j) {
      const int swap = pieces[j];
      pieces[j] = pieces[j - 1];
      pieces[j - 1] = swap;
    }
  for (int i = 0; i < n; ++i) {
    const int x = at.x[pieces[i]], y = at.y[pieces[i]];
    mark_piece(b, m, b[x][y], x, y);
  }
}

void CandidateSurvey::survey(Position& p, Influence& m, int fx, int fy, int tx, int ty, int captured) {
  const Board& b = p.board;
  fell_back_ = false;
  if (!usable_) {
    full_survey(p, m);
    return;
  }
  const int f = is_board_column(fx) ? 10 * fx + fy : 0;
  const int t = 10 * tx + ty;
  const int piece = b[tx][ty];
  const int piece_code = recorded_code(piece);
  ++stamp_;
  n_touched_ = n_folded_ = 0;
  source_ = f;
  target_sq_ = t;
  cur_stale_ = SquareSet{};
  overflow_ = false;

  // The moving piece and the captured one leave what they reached; the
  // moving piece reaches anew from its target.
  if (f != 0) {
    note(f, 0, 0, 0, b);
    for (int i = 0; i < target_n_[f]; ++i) note(target_[f][i], -1, f, piece_code, b);
  }
  note(t, 0, 0, 0, b);
  if (captured != EMPTY)
    for (int i = 0; i < target_n_[t]; ++i) note(target_[t][i], -1, t, captured, b);
  each_reach(b, piece, tx, ty, [&](int sx, int sy, int) { note(10 * sx + sy, 1, t, piece_code, b); });

  // Runs that reached the source or the target at the start are the only
  // ones that can grow or shrink.
  int seen[2 * LIST_CAP];
  int n_seen = 0;
  auto runs_through = [&](int sq) {
    for (int i = 0; i < list_n_[sq]; ++i) {
      const Reacher r = list_[sq][i];
      if (r.sq == f || r.sq == t || !is_slider(r.code)) continue;
      const int qx = at.x[r.sq], qy = at.y[r.sq];
      const int d = direction(at.x[sq] - qx, at.y[sq] - qy);
      const int key = r.sq * 8 + d;
      bool known = false;
      for (int j = 0; j < n_seen; ++j) known |= seen[j] == key;
      if (known) continue;
      seen[n_seen++] = key;
      const int before = run_len_[r.sq][d];
      // A run that reached the target at the start still passes every square
      // up to it (only the source, now empty, changed on the way) and stops
      // there, unless the new piece is a king it runs through.
      const int enemy_king = r.code < 0 ? 王 : -王;
      const int now = sq == t && piece != enemy_king ? std::max(iabs(at.x[sq] - qx), iabs(at.y[sq] - qy))
                                                     : run_length(b, r.code, qx, qy, d);
      const int sign = now > before ? 1 : -1;
      for (int k = now > before ? before : now; k < (now > before ? now : before); ++k)
        note(10 * (qx + (k + 1) * DIR_X[d]) + qy + (k + 1) * DIR_Y[d], sign, r.sq, r.code, b);
    }
  };
  if (f != 0) runs_through(f);
  runs_through(t);
  if (overflow_) {
    full_survey(p, m);
    return;
  }

  restore_previous(m);

  man_reach_changed_ = com_reach_changed_ = entries_changed_ = SquareSet{};
  for (int i = 0; i < n_touched_; ++i) {
    const int s = touched_[i];
    const int x = at.x[s], y = at.y[s];
    m.man_reach_count[x][y] = static_cast<std::int16_t>(base_.man_reach_count[x][y] + man_delta_[s]);
    m.com_reach_count[x][y] = static_cast<std::int16_t>(base_.com_reach_count[x][y] + com_delta_[s]);
    if (man_delta_[s] != 0) man_reach_changed_.add(at.bit[s]);
    if (com_delta_[s] != 0) com_reach_changed_.add(at.bit[s]);
  }
  for (int i = 0; i < n_folded_; ++i) {
    const int s = folded_[i];
    const int x = at.x[s], y = at.y[s];
    Fold now = NO_FOLD;
    if (s == t && f == 0 && b[x][y] >= 10 && delta_[s].removed == 0 && delta_[s].added == 0)
      now = drop_fold(s);
    else if (b[x][y] != EMPTY)
      fold_now(s, b[x][y], now);
    write_fold(m, s, now);
    if (now.man_guard != base_.man_guard_piece[x][y] || now.com_guard != base_.com_guard_piece[x][y] ||
        now.man_capturer != base_.man_capturer_piece[x][y] || now.man_capturer_x != base_.man_capturer_x[x][y] ||
        now.man_capturer_y != base_.man_capturer_y[x][y] || now.com_capturer != base_.com_capturer_piece[x][y])
      entries_changed_.add(at.bit[s]);
  }

  // The kings of the candidate position, and the marks of the pieces that reach them.
  int kings_man[81], kings_com[81];
  int n_man = 0, n_com = 0;
  for (int i = 0; i < n_man_kings_; ++i)
    if (man_kings_[i] != t) kings_man[n_man++] = man_kings_[i];
  for (int i = 0; i < n_com_kings_; ++i) kings_com[n_com++] = com_kings_[i];
  if (piece == 王)
    for (int i = 0; i < n_com; ++i)
      if (kings_com[i] == f) kings_com[i] = t;
  bool checks = false;
  for (int i = 0; i < n_com; ++i) checks |= m.man_reach_count[at.x[kings_com[i]]][at.y[kings_com[i]]] > 0;
  for (int i = 0; i < n_man; ++i) checks |= m.com_reach_count[at.x[kings_man[i]]][at.y[kings_man[i]]] > 0;
  if (checks) {
    mark_checks(b, m, kings_man, n_man, kings_com, n_com);
  } else if (marks_) {
    std::memset(m.man_check_map, 0, sizeof m.man_check_map);
    std::memset(m.com_check_map, 0, sizeof m.com_check_map);
    marks_ = false;
  }

  // The survey names the last king of each side it meets; an absent king
  // keeps its square, which only a king move or a king capture can touch.
  p.man_king_x = base_man_king_x_;
  p.man_king_y = base_man_king_y_;
  p.com_king_x = base_com_king_x_;
  p.com_king_y = base_com_king_y_;
  if (piece == 王 || captured == -王) {
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) {
        if (b[x][y] == 王) {
          p.com_king_x = x;
          p.com_king_y = y;
        } else if (b[x][y] == -王) {
          p.man_king_x = x;
          p.man_king_y = y;
        }
      }
  }

  n_prev_touched_ = n_touched_;
  std::memcpy(prev_touched_, touched_, sizeof(int) * n_touched_);
  n_prev_folded_ = n_folded_;
  std::memcpy(prev_folded_, folded_, sizeof(int) * n_folded_);
  prev_everything_ = false;
}

}  // namespace vv
