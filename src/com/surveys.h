// Small surveys of the position for the computer's evaluation.
#pragma once

#include <cstdint>

#include "com/engine.h"

namespace vv {

// How many squares the piece `code` on (x, y) may move to that the other
// side does not reach.
int count_safe_destinations(const Engine& e, int x, int y, int code);
// Fills the engine's man_pinned and com_pinned maps and com_has_pinned.
void find_pinned_pieces(Engine& e);
// Fills man_bishop_drop_targets: the empty squares from which a MAN bishop
// would attack the COM king, and which COM does not reach (or reaches once,
// next to its king).
void find_man_bishop_drop_targets(Engine& e);
// 1 when the first MAN lance or rook below (x, y) in its column, no lower
// than row 5, would reach (x, y) with that square emptied; a COM piece in
// between ends the look. The square is emptied only while it is asked.
int man_slider_behind(Engine& e, int x, int y);
// For a COM pawn on (x, y) in rows 7..9 that a MAN bishop or rook attacks,
// with COM holding the square above it alone: the value of the first piece
// below it that a COM lance on (x, y) could take; else 0.
int lance_target_value(const Engine& e, int x, int y);
// Always 0: the knight's counterpart of lance_target_value keeps its place
// in the evaluation but adds nothing.
int knight_target_value(const Engine& e, int x, int y);

// The surroundings count looks only at the corner of columns 1..5 and rows
// 1..5, the program's own choice that its scores depend on: the COM
// bishops, rooks and kings there, one bit a square (bit 5 (i - 1) + j - 1).
inline std::uint32_t corner_big_pieces(const Board& b) {
  std::uint32_t mask = 0;
  for (int i = 1; i <= 5; ++i)
    for (int j = 1; j <= 5; ++j) mask |= static_cast<std::uint32_t>(b[i][j] >= 800) << (5 * (i - 1) + j - 1);
  return mask;
}

// For each square, the corner squares next to it (itself excluded).
struct CornerNeighbours {
  std::uint32_t of[10][10] = {};
  constexpr CornerNeighbours() {
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y)
        for (int i = x - 1; i <= x + 1; ++i)
          for (int j = y - 1; j <= y + 1; ++j)
            if ((i != x || j != y) && i >= 1 && i <= 5 && j >= 1 && j <= 5) of[x][y] |= 1u << (5 * (i - 1) + j - 1);
  }
};
inline constexpr CornerNeighbours corner_neighbours;

// Minus the number of COM bishops, rooks and kings of the corner mask next
// to (x, y).
inline int surroundings(std::uint32_t corner_mask, int x, int y) {
  std::uint32_t v = corner_mask & corner_neighbours.of[x][y];
  // Bit count without relying on a popcount instruction.
  v = v - ((v >> 1) & 0x55555555u);
  v = (v & 0x33333333u) + ((v >> 2) & 0x33333333u);
  v = (v + (v >> 4)) & 0x0F0F0F0Fu;
  return -static_cast<int>((v * 0x01010101u) >> 24);
}

// surroundings() read straight off the board.
inline int big_pieces_around(const Engine& e, int x, int y) {
  int n = 0;
  for (std::uint32_t v = corner_neighbours.of[x][y]; v != 0; v &= v - 1) {
    const int bit = __builtin_ctz(v);
    n += e.pos.board[bit / 5 + 1][bit % 5 + 1] >= 800;
  }
  return -n;
}

}  // namespace vv
