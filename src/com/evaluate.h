// The computer's score of one candidate, read off the position after it.
#pragma once

#include "com/engine.h"

namespace vv {

// Scores the candidate standing on the board, just surveyed. captured is what
// stood on the target (0 for drops), piece the mover's face before the move;
// a drop comes from column -1 or -3 with the slot as from_y. Higher is better
// for COM. Three layers, switched on by the computer level.
double evaluate_candidate(Engine& e, int captured, int piece, int from_x, int from_y, int to_x, int to_y);

}  // namespace vv
