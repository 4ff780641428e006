// The searching player's static evaluation, in hundredths of a pawn-ish unit,
// from the side to move's point of view.
#pragma once

#include "com/deep/deep_board.h"

namespace vv::deep {

// What one face does for its owner while it stands still: how far it reaches.
constexpr int FACE_POWER[KINDS] = {0, 100, 500, 350, 350, 500, 550, 850, 1000, 0};

// A piece on the board is worth its present face and, since its next move
// turns it over, part of the other one; a piece stuck where it can never move
// again (a 歩 or 香 on the far row, a 桂 on the last two) is mostly a gift to
// whoever takes it.
int board_value(int kind);
// A pair in hand can come down with either face, on any empty square.
int hand_value(int slot);

int evaluate(const DeepBoard& b);

}  // namespace vv::deep
