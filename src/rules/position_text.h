// The one-line text of a position: `BOARD COMHAND MANHAND`.
//
// BOARD is nine rows, top row first, separated by '/'; within a row the
// squares x = 1..9 left to right, a digit standing for that many empty
// squares. Upper-case letters are the person's pieces, lower-case the
// computer's: P pawn 歩, T tokin と, L lance 香, N knight 桂, S silver 銀,
// G gold 金, B bishop 角, R rook 飛, K king 王.
// The hands are four slot counts `s1,s2,s3,s4`, each 0..99.
#pragma once

#include <string>

#include "rules/position.h"

namespace vv {

// Reads a position into the board and hands of p (and their totals); on bad
// input returns false with a one-line reason in error and leaves p as it was.
bool parse_position(const std::string& text, Position& p, std::string& error);

std::string format_position(const Position& p);

}  // namespace vv
