// Where each face reaches from each square, as tables for the candidate
// survey: the squares of a stepping face's steps, and for a slider the lines
// it runs along, each from the square next to it out to the board's edge.
// Squares are numbered 10 x + y, as the maps and the board are laid out.
#pragma once

#include <cstdint>

#include "rules/piece.h"

namespace vv::candidate {

// Run directions: down, up, right, left, then the diagonals up-left,
// up-right, down-left, down-right.
inline constexpr int DIR_X[8] = {0, 0, 1, -1, -1, 1, -1, 1};
inline constexpr int DIR_Y[8] = {1, -1, 0, 0, -1, -1, 1, 1};

// The eighteen faces: the MAN faces are 0..8 in face_number order (pawn,
// tokin, lance, knight, silver, gold, bishop, rook, king), the COM ones 9..17.
inline int face_index(int code) {
  const int f = face_number(code);
  if (f < 0) return -1;
  return code < 0 ? f : f + 9;
}

struct Geometry {
  std::uint8_t ray[100][8][8];  // the squares along a line, nearest first
  std::uint8_t ray_n[100][8];
  std::uint8_t step[18][100][8];  // a stepping face's squares, in the order the survey visits them
  std::uint8_t step_n[18][100];
  std::uint8_t dirs[18][4];  // a slider's directions; none for a stepping face
  std::uint8_t dir_n[18];
  std::uint8_t bit[100];     // the square-set bit of a square
  std::uint8_t square[81];   // the square of a square-set bit
  std::uint8_t column[100], row[100];
  std::uint64_t lo[100], hi[100];  // a square's bit as the two words of a square set

  constexpr Geometry()
      : ray(), ray_n(), step(), step_n(), dirs(), dir_n(), bit(), square(), column(), row(), lo(), hi() {
    for (int s = 0; s < 100; ++s) {
      column[s] = static_cast<std::uint8_t>(s / 10);
      row[s] = static_cast<std::uint8_t>(s % 10);
    }
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) {
        const int s = 10 * x + y, b = 9 * (x - 1) + (y - 1);
        bit[s] = static_cast<std::uint8_t>(b);
        square[b] = static_cast<std::uint8_t>(s);
        if (b < 64)
          lo[s] = std::uint64_t{1} << b;
        else
          hi[s] = std::uint64_t{1} << (b - 64);
        for (int d = 0; d < 8; ++d)
          for (int sx = x + DIR_X[d], sy = y + DIR_Y[d]; sx >= 1 && sx <= 9 && sy >= 1 && sy <= 9;
               sx += DIR_X[d], sy += DIR_Y[d])
            ray[s][d][ray_n[s][d]++] = static_cast<std::uint8_t>(10 * sx + sy);
      }
    // Steps as (dx, dy) for the MAN faces; a COM face mirrors dy. A gold's
    // (and tokin's) steps are listed per side, because the survey visits
    // them in a different order for each side.
    constexpr int KING_STEPS[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
    constexpr int MAN_GOLD_STEPS[6][2] = {{0, -1}, {-1, -1}, {1, -1}, {0, 1}, {-1, 0}, {1, 0}};
    constexpr int COM_GOLD_STEPS[6][2] = {{0, -1}, {0, 1}, {-1, 1}, {1, 1}, {-1, 0}, {1, 0}};
    constexpr int SILVER_STEPS[5][2] = {{0, -1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    constexpr int KNIGHT_STEPS[2][2] = {{-1, -2}, {1, -2}};
    constexpr int PAWN_STEPS[1][2] = {{0, -1}};
    auto add_steps = [&](int face, const int (*v)[2], int n, int mirror) {
      for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
          for (int i = 0; i < n; ++i) {
            const int sx = x + v[i][0], sy = y + mirror * v[i][1];
            if (sx >= 1 && sx <= 9 && sy >= 1 && sy <= 9)
              step[face][10 * x + y][step_n[face][10 * x + y]++] = static_cast<std::uint8_t>(10 * sx + sy);
          }
    };
    for (int side = 0; side < 2; ++side) {
      const int o = 9 * side, mirror = side == 0 ? 1 : -1;
      add_steps(o + 0, PAWN_STEPS, 1, mirror);
      add_steps(o + 1, side == 0 ? MAN_GOLD_STEPS : COM_GOLD_STEPS, 6, 1);
      add_steps(o + 3, KNIGHT_STEPS, 2, mirror);
      add_steps(o + 4, SILVER_STEPS, 5, mirror);
      add_steps(o + 5, side == 0 ? MAN_GOLD_STEPS : COM_GOLD_STEPS, 6, 1);
      add_steps(o + 8, KING_STEPS, 8, 1);
      dirs[o + 2][0] = side == 0 ? 1 : 0;  // a lance runs forward
      dir_n[o + 2] = 1;
      for (int d = 0; d < 4; ++d) {
        dirs[o + 6][d] = static_cast<std::uint8_t>(4 + d);
        dirs[o + 7][d] = static_cast<std::uint8_t>(d);
      }
      dir_n[o + 6] = dir_n[o + 7] = 4;
    }
  }
};

inline constexpr Geometry geometry{};

}  // namespace vv::candidate
