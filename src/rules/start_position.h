// The starting position: the one table every part of the program sets up from.
#pragma once

#include "rules/piece.h"
#include "rules/position.h"

namespace vv {

// Rows 1..9 top to bottom, columns 1..9 left to right. Each side's rook stands
// on its own right-hand side seen from its back row, its bishop on its left.
constexpr int START_ROWS[9][9] = {
    {LANCE, KNIGHT, SILVER, GOLD, KING, GOLD, SILVER, KNIGHT, LANCE},
    {0, ROOK, 0, 0, 0, 0, 0, BISHOP, 0},
    {PAWN, PAWN, PAWN, PAWN, PAWN, PAWN, PAWN, PAWN, PAWN},
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {-PAWN, -PAWN, -PAWN, -PAWN, -PAWN, -PAWN, -PAWN, -PAWN, -PAWN},
    {0, -BISHOP, 0, 0, 0, 0, 0, -ROOK, 0},
    {-LANCE, -KNIGHT, -SILVER, -GOLD, -KING, -GOLD, -SILVER, -KNIGHT, -LANCE},
};

// The same position as position text.
constexpr const char* START_POSITION_TEXT =
    "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0";

inline void place_start_position(Position& p) {
  p.clear_board();
  for (int y = 1; y <= 9; ++y)
    for (int x = 1; x <= 9; ++x) p.board[x][y] = START_ROWS[y - 1][x - 1];
}

}  // namespace vv
