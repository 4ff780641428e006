// Small surveys of the position for the computer's evaluation.
#pragma once

#include <cstdint>

#include "com/engine.h"

namespace vv {

int count_safe_destinations(const Engine& e, int x, int y, int code);
void find_pinned_pieces(Engine& e);
void find_man_bishop_drop_targets(Engine& e);
int man_runner_behind(Engine& e, int x, int y);
int lance_target_value(const Engine& e, int x, int y);
int knight_target_value(const Engine& e, int x, int y);

// The surroundings count looks only at columns 1..5 and rows 1..5: the COM
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

inline int surroundings(std::uint32_t corner_mask, int x, int y) {
  std::uint32_t v = corner_mask & corner_neighbours.of[x][y];
  // Bit count without relying on a popcount instruction.
  v = v - ((v >> 1) & 0x55555555u);
  v = (v & 0x33333333u) + ((v >> 2) & 0x33333333u);
  v = (v + (v >> 4)) & 0x0F0F0F0Fu;
  return -static_cast<int>((v * 0x01010101u) >> 24);
}

// Minus the number of COM bishops, rooks and kings next to (x, y) inside
// columns 1..5 and rows 1..5, looking only at the corner squares next to it.
inline int big_pieces_around(const Engine& e, int x, int y) {
  int n = 0;
  for (std::uint32_t v = corner_neighbours.of[x][y]; v != 0; v &= v - 1) {
    const int bit = __builtin_ctz(v);
    n += e.pos.board[bit / 5 + 1][bit % 5 + 1] >= 800;
  }
  return -n;
}

}  // namespace vv
