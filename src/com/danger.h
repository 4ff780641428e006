// Whole-board scoring terms of the computer's evaluation.
#pragma once

#include "com/engine.h"

namespace vv {

// Threats against COM and new attacks and forks against MAN, summed over the board.
double 盤評価_COM危険座標(Engine& e, int piece, int to_x, int to_y);
// The moving piece's value when it stands on an open diagonal toward a square
// from which a MAN bishop would attack the COM king, and a MAN bishop can get there.
int 盤評価_自角注意_COM(const Engine& e, int to_x, int to_y, int piece);

}  // namespace vv
