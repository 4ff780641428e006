#include "com/escape_mate.h"

#include "influence/survey.h"
#include "rules/move_check.h"

namespace vv {

int count_man_king_escapes(const Engine& e) {
  const auto& b = e.pos.board;
  const auto& cr = e.influence.com_reach_count;
  const int x = e.pos.man_king_x, y = e.pos.man_king_y;
  int count = 0;
  // Each neighbour is kept on the board by testing only the king's own row
  // and column against the edges. A MAN king square never set (no MAN king
  // has been surveyed) stays at (0, 0); the count then looks at (1, 1) and
  // at two squares of row and column 0, which are never written and read as
  // empty and unreached. Nothing is read outside the arrays, and the
  // computer's scores keep this count as it comes out.
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
// to king moves and other pieces. The check map marks each checker 9 and
// the squares between a slider and the king 1. A checker next to the king
// cannot be blocked. Otherwise a pawn of the defending side (trial_pawn) is
// put on each square marked 1 in turn, and the drop answers only if on
// every one of them no checker reaches the king any more; the first square
// that fails settles it, so the checkers are gathered once. When the
// defender's hand holds nothing but pawn/rook pairs (slot 1) the squares
// are tried empty, so such a hand never blocks. The game's mate verdicts
// and the computer's scores depend on this stage exactly as it is.
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
        const int cx = checkers[i] / 10, cy = checkers[i] % 10;
        still_check = move_allowed(b, cx, cy, kx, ky, b[cx][cy]) == 1;
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
  if (e.influence.com_reach_count[kx][ky] == 0) return 0;

  if (p.man_hand_count > 0 &&
      drop_blocks(b, e.influence.com_check_map, kx, ky, -PAWN, p.man_hand_count == p.man_hand[1]))
    return 0;

  if (king_escapes(b, e.influence.com_reach_count, kx, ky, -KING)) return 0;

  // A MAN piece other than the king that captures a checker or steps
  // between: judged by the move check alone, without a survey.
  for (int fx = 1; fx <= 9; ++fx) {
    for (int fy = 1; fy <= 9; ++fy) {
      const int code = b[fx][fy];
      if (code < -ROOK || code > -PAWN) continue;
      for (int tx = 1; tx <= 9; ++tx) {
        for (int ty = 1; ty <= 9; ++ty) {
          if (tx == fx && ty == fy) continue;
          if (e.influence.com_check_map[tx][ty] <= 0 || move_allowed(b, fx, fy, tx, ty, code) != 1) continue;
          const int saved = b[tx][ty];
          b[tx][ty] = code;
          b[fx][fy] = EMPTY;
          const int king_taken = com_reaches_man_king(e);
          b[fx][fy] = code;
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
  if (e.influence.man_reach_count[kx][ky] == 0) return 0;

  if (p.com_hand_count > 0 &&
      drop_blocks(b, e.influence.man_check_map, kx, ky, PAWN, p.com_hand_count == p.com_hand[1]))
    return 0;

  if (king_escapes(b, e.influence.man_reach_count, kx, ky, KING)) return 0;

  // A COM piece other than the king that captures a checker or steps
  // between. Each trial is judged by a fresh survey of the trial position.
  // The targets are read from the check map as it stands, which after the
  // first trial is that of the last trial position, not of the position
  // tested. The game's mate verdicts depend on this, so it stays.
  const auto& check_map = e.influence.man_check_map;
  for (int fx = 1; fx <= 9; ++fx) {
    for (int fy = 1; fy <= 9; ++fy) {
      const int code = b[fx][fy];
      if (code < PAWN || code > ROOK) continue;
      for (int tx = 1; tx <= 9; ++tx) {
        for (int ty = 1; ty <= 9; ++ty) {
          if (check_map[tx][ty] <= 0 || move_allowed(b, fx, fy, tx, ty, code) != 1) continue;
          const int saved = b[tx][ty];
          b[tx][ty] = code;
          b[fx][fy] = EMPTY;
          survey_influence(p, e.influence);
          b[fx][fy] = code;
          b[tx][ty] = saved;
          if (e.influence.man_reach_count[p.com_king_x][p.com_king_y] == 0) return 0;
        }
      }
    }
  }
  return 1;
}

}  // namespace vv
