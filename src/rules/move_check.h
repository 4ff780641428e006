// The move check: may this piece go from here to there on the current board?
//
// It looks at the geometry of one piece only: not at whose turn it is, not at
// what stands on the source, not at whether the mover's own king is left
// attacked. It reads the board and changes nothing.
#pragma once

#include "rules/piece.h"
#include "rules/position.h"

namespace vv {

// Rook geometry with an empty path between the two squares.
inline int rook_move_allowed(const Board& board, int from_x, int from_y, int to_x, int to_y) {
  if (from_x != to_x && from_y != to_y) return 0;
  if (from_y != to_y) {
    const int step = to_y > from_y ? 1 : -1;
    const int between = iabs(to_y - from_y) - 1;
    for (int k = 1; k <= between; ++k)
      if (board[to_x][from_y + k * step] != EMPTY) return 0;
  }
  if (from_x != to_x) {
    const int step = to_x > from_x ? 1 : -1;
    const int between = iabs(to_x - from_x) - 1;
    for (int k = 1; k <= between; ++k)
      if (board[from_x + k * step][to_y] != EMPTY) return 0;
  }
  return 1;
}

// Bishop geometry with an empty path between the two squares.
inline int bishop_move_allowed(const Board& board, int from_x, int from_y, int to_x, int to_y) {
  if (from_x - from_y != to_x - to_y && from_y - to_y != to_x - from_x) return 0;
  const int dx = to_x - from_x;
  if (dx == from_y - to_y) {  // the diagonal that rises to the right
    if (to_y < from_y) {
      for (int i = 1; from_x + i < to_x; ++i)
        if (board[from_x + i][from_y - i] != EMPTY) return 0;
    } else {
      for (int i = 1; from_x - i > to_x; ++i)
        if (board[from_x - i][from_y + i] != EMPTY) return 0;
    }
  } else {  // the diagonal that falls to the right
    if (to_y < from_y) {
      for (int i = 1; from_x - i > to_x; ++i)
        if (board[from_x - i][from_y - i] != EMPTY) return 0;
    } else {
      for (int i = 1; from_x + i < to_x; ++i)
        if (board[from_x + i][from_y + i] != EMPTY) return 0;
    }
  }
  return 1;
}

// 1 when the move or drop is allowed, 0 when not. For a drop from_x is a hand
// column (12, 14, -1, -3) and from_y is not looked at: a drop is allowed on
// any empty square. code is the moving piece before the move, or the face
// being dropped.
inline int move_allowed(const Board& board, int from_x, int from_y, int to_x, int to_y, int code) {
  if (to_x < 1 || to_x > 9 || to_y < 1 || to_y > 9) return 0;
  if (from_x == to_x && from_y == to_y) return 0;
  const int target = board[to_x][to_y];
  if (same_side(code, target)) return 0;
  if (is_hand_column(from_x)) return target == EMPTY ? 1 : 0;

  const int dx = to_x - from_x;
  const int dy = to_y - from_y;
  const int forward = code >= 10 ? 1 : -1;  // the row step toward the other side
  const int adx = iabs(dx);
  switch (code) {
    case PAWN: case -PAWN:
      return dx == 0 && dy == forward;
    case LANCE: case -LANCE: {
      if (dx != 0 || dy == 0 || (dy > 0) != (forward > 0)) return 0;
      for (int y = from_y + forward; y != to_y; y += forward)
        if (board[from_x][y] != EMPTY) return 0;
      return 1;
    }
    case KNIGHT: case -KNIGHT:
      return dy == 2 * forward && adx == 1;
    case SILVER: case -SILVER:
      return (adx <= 1 && dy == forward) || (adx == 1 && dy == -forward);
    case GOLD: case -GOLD: case TOKIN: case -TOKIN:
      return (adx <= 1 && dy == forward) || (adx == 1 && dy == 0) || (dx == 0 && dy == -forward);
    case BISHOP: case -BISHOP:
      return bishop_move_allowed(board, from_x, from_y, to_x, to_y);
    case ROOK: case -ROOK:
      return rook_move_allowed(board, from_x, from_y, to_x, to_y);
    case KING: case -KING:
      return adx <= 1 && iabs(dy) <= 1;
    default:  // a code that is no piece is not refused: callers ask only of pieces
      return 1;
  }
}

}  // namespace vv
