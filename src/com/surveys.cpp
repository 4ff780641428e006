#include "com/surveys.h"

#include "influence/square_set.h"
#include "rules/move_check.h"

namespace vv {

int count_safe_destinations(const Engine& e, int x, int y, int code) {
  const auto& b = e.pos.board;
  const auto& opponent_reach = code >= 10 ? e.influence.man_reach_count : e.influence.com_reach_count;
  int count = 0;
  // A slider goes along its lines up to the first piece, which it may take
  // unless it is its own: the squares the move check allows, walked once.
  const int kind = iabs(code);
  if ((kind == LANCE || kind == BISHOP || kind == ROOK) && x >= 1 && x <= 9 && y >= 1 && y <= 9) {
    static constexpr int DX[8] = {0, 0, 1, -1, 1, 1, -1, -1}, DY[8] = {1, -1, 0, 0, 1, -1, 1, -1};
    const int first = kind == BISHOP ? 4 : 0, last = kind == LANCE ? 1 : kind == ROOK ? 4 : 8;
    for (int d = first; d < last; ++d) {
      const int dy = kind == LANCE ? (code >= 10 ? 1 : -1) : DY[d];
      for (int i = x + DX[d], j = y + dy; i >= 1 && i <= 9 && j >= 1 && j <= 9; i += DX[d], j += dy) {
        const int target = b[i][j];
        if (same_side(code, target)) break;
        if (opponent_reach[i][j] == 0) ++count;
        if (target != EMPTY) break;
      }
    }
    return count;
  }
  if (const SquareSet* reach = move_reach.find(code, x, y)) {
    // Only where the piece could go on an empty board can the move check say
    // yes, and there it asks a stepping piece only for a square without a
    // piece of its own side.
    each_square(*reach, [&](int bit) {
      const int i = bit_x(bit), j = bit_y(bit);
      if (opponent_reach[i][j] == 0 && !same_side(code, b[i][j])) ++count;
    });
    return count;
  }
  for (int i = 1; i <= 9; ++i)
    for (int j = 1; j <= 9; ++j)
      if (opponent_reach[i][j] == 0 && move_allowed(b, x, y, i, j, code) == 1) ++count;
  return count;
}

// A piece is pinned when the board without it lets an enemy slider reach
// its king. Only lances, bishops and rooks in the corner of columns 1..5 and
// rows 1..5 are looked at: the program's own choice, which its scores
// depend on. Emptying a square changes that only on the line between the
// slider and the king (the king's own square is a capture either way): so a
// slider that reaches the king already pins every piece of that side, and
// one that does not pins at most the one piece that alone stands between,
// the move check deciding.
void find_pinned_pieces(Engine& e) {
  auto& b = e.pos.board;
  auto& com_maps = e.com_maps;
  com_maps.com_has_pinned = 0;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) com_maps.man_pinned[x][y] = com_maps.com_pinned[x][y] = 0;
  auto pins = [&](int sx, int sy, int kx, int ky, bool man_pieces, Map& pinned) {
    const int slider = b[sx][sy];
    auto side = [&](int v) { return man_pieces ? v <= -10 : v >= 10; };
    if (move_allowed(b, sx, sy, kx, ky, slider) == 1) {
      for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
          if (side(b[x][y])) pinned[x][y] = 1;
      return;
    }
    const SquareSet* line = move_reach.find(slider, sx, sy);
    if (kx < 1 || kx > 9 || ky < 1 || ky > 9 || !line->has(square_bit(kx, ky))) return;
    const int dx = (kx > sx) - (kx < sx), dy = (ky > sy) - (ky < sy);
    int bx = 0, by = 0, blockers = 0;
    for (int x = sx + dx, y = sy + dy; x != kx || y != ky; x += dx, y += dy)
      if (b[x][y] != EMPTY) {
        ++blockers;
        bx = x;
        by = y;
      }
    if (blockers != 1 || !side(b[bx][by])) return;
    const int v = b[bx][by];
    b[bx][by] = EMPTY;
    if (move_allowed(b, sx, sy, kx, ky, slider) == 1) pinned[bx][by] = 1;
    b[bx][by] = v;
  };
  for (int sx = 1; sx <= 5; ++sx)
    for (int sy = 1; sy <= 5; ++sy) {
      const int code = b[sx][sy];
      if (code == LANCE || code == BISHOP || code == ROOK)
        pins(sx, sy, e.pos.man_king_x, e.pos.man_king_y, true, com_maps.man_pinned);
      if (code == -LANCE || code == -BISHOP || code == -ROOK)
        pins(sx, sy, e.pos.com_king_x, e.pos.com_king_y, false, com_maps.com_pinned);
    }
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      if (com_maps.com_pinned[x][y] == 1) com_maps.com_has_pinned = 1;
}

void find_man_bishop_drop_targets(Engine& e) {
  const auto& b = e.pos.board;
  const auto& cr = e.influence.com_reach_count;
  const int kcx = e.pos.com_king_x, kcy = e.pos.com_king_y;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      e.com_maps.man_bishop_drop_targets[x][y] = 0;
      if (b[x][y] == EMPTY &&
          (cr[x][y] == 0 || (cr[x][y] == 1 && iabs(x - kcx) < 2 && iabs(y - kcy) < 2)) &&
          move_allowed(b, x, y, kcx, kcy, -BISHOP) == 1)
        e.com_maps.man_bishop_drop_targets[x][y] = 1;
    }
}

int man_slider_behind(Engine& e, int x, int y) {
  auto& b = e.pos.board;
  const int saved = b[x][y];
  b[x][y] = EMPTY;
  int result = 0;
  // Only the rows below the square down to row 5 are looked at.
  for (int r = y + 1; r <= 5; ++r) {
    const int v = b[x][r];
    if (v >= 10) break;
    if (v == -LANCE || v == -ROOK) {
      result = move_allowed(b, x, r, x, y, v);
      break;
    }
  }
  b[x][y] = saved;
  return result;
}

int lance_target_value(const Engine& e, int x, int y) {
  const auto& b = e.pos.board;
  const auto& m = e.influence;
  int result = 0;
  if (y > 6 && m.com_reach_count[x][y - 1] > 0 && m.man_reach_count[x][y - 1] == 0 &&
      m.man_capturer_piece[x][y] >= -ROOK && m.man_capturer_piece[x][y] <= -BISHOP) {
    for (int r = y + 1; r <= 9; ++r) {
      if (b[x][r] == EMPTY) continue;
      if (move_allowed(b, x, y, x, r, LANCE) == 1) result += iabs(b[x][r]);
      break;
    }
  }
  return result;
}

int knight_target_value(const Engine&, int, int) { return 0; }

}  // namespace vv
