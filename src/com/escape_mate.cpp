#include "com/escape_mate.h"

#include "influence/survey.h"
#include "rules/move_check.h"

namespace vv {

int count_man_king_escapes(const Engine& e) {
  const auto& b = e.pos.board;
  const auto& cr = e.inf.com_reach_count;
  const int x = e.pos.man_king_x, y = e.pos.man_king_y;
  int count = 0;
  // The written bounds let a king square still at (0, 0) look at row and
  // column 0, which read as empty and unreached.
  auto visit = [&](int vx, int vy) {
    if (b[vx][vy] == EMPTY && cr[vx][vy] == 0) ++count;
  };
  if (y > 1) {
    visit(x, y - 1);
    if (x > 1) visit(x - 1, y - 1);
    if (x < 9) visit(x + 1, y - 1);
  }
  if (y < 9) {
    visit(x, y + 1);
    if (x > 1) visit(x - 1, y + 1);
    if (x < 9) visit(x + 1, y + 1);
  }
  if (x > 1) visit(x - 1, y);
  if (x < 9) visit(x + 1, y);
  return count;
}

int com_reaches_man_king(const Engine& e) {
  const auto& b = e.pos.board;
  const int kx = e.pos.man_king_x, ky = e.pos.man_king_y;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      if (b[x][y] >= 10 && move_allowed(b, x, y, kx, ky, b[x][y]) == 1) return 1;
  return 0;
}

namespace {

// The drop-block stage shared by both mate tests: true when a drop answers
// the check (the test then reports no mate), false when the test must go on
// to king moves and other pieces. trial_pawn is the blocking piece of the
// defending side; a hand of nothing but 歩/飛 pairs never blocks. A checker
// is marked 9 in the check map, the squares between a slider and the king 1:
// a checker next to the king cannot be blocked, and a block must leave no
// checker reaching the king. Any failure gives the same answer, so the
// checkers are gathered once and each square between is tried against them.
bool drop_blocks(Board& b, const Map& check_map, int kx, int ky, int trial_pawn, bool only_slot_one) {
  int checkers[81];
  int n_checkers = 0;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      if (check_map[x][y] == 9) {
        if (iabs(x - kx) < 2 && iabs(y - ky) < 2) return false;
        checkers[n_checkers++] = 10 * x + y;
      }
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      if (check_map[x][y] != 1) continue;
      const int saved = b[x][y];
      if (!only_slot_one) b[x][y] = trial_pawn;
      bool still_check = false;
      for (int i = 0; i < n_checkers && !still_check; ++i) {
        const int a = checkers[i] / 10, c = checkers[i] % 10;
        still_check = move_allowed(b, a, c, kx, ky, b[a][c]) == 1;
      }
      b[x][y] = saved;
      if (still_check) return false;
    }
  }
  return true;
}

// Can the king step to a neighbouring square (empty or capturable) that the
// attacking side does not reach?
bool king_escapes(const Board& b, const Map& attacker_reach, int kx, int ky, int king) {
  for (int x = kx - 1; x <= kx + 1; ++x)
    for (int y = ky - 1; y <= ky + 1; ++y)
      if (x >= 1 && x <= 9 && y >= 1 && y <= 9 && move_allowed(b, kx, ky, x, y, king) == 1 &&
          attacker_reach[x][y] == 0)
        return true;
  return false;
}

}  // namespace

int man_is_mated(Engine& e) {
  Position& p = e.pos;
  auto& b = p.board;
  const int kx = p.man_king_x, ky = p.man_king_y;
  if (e.inf.com_reach_count[kx][ky] == 0) return 0;

  if (p.man_hand_count > 0 &&
      drop_blocks(b, e.inf.com_check_map, kx, ky, -PAWN, p.man_hand_count == p.man_hand[1]))
    return 0;

  if (king_escapes(b, e.inf.com_reach_count, kx, ky, -KING)) return 0;

  for (int a = 1; a <= 9; ++a) {
    for (int c = 1; c <= 9; ++c) {
      const int code = b[a][c];
      if (code < -ROOK || code > -PAWN) continue;
      for (int tx = 1; tx <= 9; ++tx) {
        for (int ty = 1; ty <= 9; ++ty) {
          if (tx == a && ty == c) continue;
          if (e.inf.com_check_map[tx][ty] <= 0 || move_allowed(b, a, c, tx, ty, code) != 1) continue;
          const int saved = b[tx][ty];
          b[tx][ty] = code;
          b[a][c] = EMPTY;
          const int king_taken = com_reaches_man_king(e);
          b[a][c] = code;
          b[tx][ty] = saved;
          if (king_taken == 0) return 0;
        }
      }
    }
  }
  return 1;
}

int com_is_mated(Engine& e) {
  Position& p = e.pos;
  auto& b = p.board;
  const int kx = p.com_king_x, ky = p.com_king_y;
  if (e.inf.man_reach_count[kx][ky] == 0) return 0;

  if (p.com_hand_count > 0 &&
      drop_blocks(b, e.inf.man_check_map, kx, ky, PAWN, p.com_hand_count == p.com_hand[1]))
    return 0;

  if (king_escapes(b, e.inf.man_reach_count, kx, ky, KING)) return 0;

  // Each trial is judged by a fresh survey of the trial position; the targets
  // are read from the check map as it stands, which after the first trial is
  // that of the trial position.
  const auto& check_map = e.inf.man_check_map;
  for (int a = 1; a <= 9; ++a) {
    for (int c = 1; c <= 9; ++c) {
      const int code = b[a][c];
      if (code < PAWN || code > ROOK) continue;
      for (int tx = 1; tx <= 9; ++tx) {
        for (int ty = 1; ty <= 9; ++ty) {
          if (check_map[tx][ty] <= 0 || move_allowed(b, a, c, tx, ty, code) != 1) continue;
          const int saved = b[tx][ty];
          b[tx][ty] = code;
          b[a][c] = EMPTY;
          survey_influence(p, e.inf);
          b[a][c] = code;
          b[tx][ty] = saved;
          if (e.inf.man_reach_count[p.com_king_x][p.com_king_y] == 0) return 0;
        }
      }
    }
  }
  return 1;
}

}  // namespace vv
