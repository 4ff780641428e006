// Carrying out a move: the face change, the capture into the hand, the drop
// out of the hand, and the entry in the move record.
#pragma once

#include "rules/position.h"
#include "rules/record.h"

namespace vv {

// The face a piece shows after a board move; 0 for a value that is no piece.
int face_after_move(int code);

// Files one captured piece into the capturer's hand by its pair. A king goes
// to no hand: it is returned (KING or -KING) to tell the caller that a king
// was taken; every other code returns 0.
int capture_to_hand(Position& p, int code);

// Appends one move to the record, reading the captured code off the board,
// so it must run before the move is made. Returns false, writing nothing,
// when the record is full.
bool record_move(MoveRecord& r, const Position& p, int from_x, int from_y, int to_x, int to_y, int piece,
                 int placed, double man_time_before, double man_time_after, double com_time_before,
                 double com_time_after);

// Makes the move on the board and the hands; placed is the code that stands
// on the target afterwards. A drop from the COM hand gives the slot in
// from_y; one from the MAN hand gives the grid row (slot + 5). Only the MAN
// king's square is followed here: the COM king's square is set by the next
// influence survey. Returns the code that stood on the target (the captured
// piece, or 0).
int apply_move(Position& p, int from_x, int from_y, int to_x, int to_y, int placed);

}  // namespace vv
