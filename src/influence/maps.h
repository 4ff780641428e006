// The per-square influence maps that every survey rebuilds from the board.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vv {

using Map = std::int16_t[10][10];

struct Influence {
  // Reset by every survey (squares 1..9 only; index 0 stays 0).
  Map man_reach_count;     // how many MAN pieces reach the square
  Map com_reach_count;     // how many COM pieces reach the square
  Map man_guard_piece;     // on a MAN piece: smallest MAN code reaching it, else 999
  Map com_guard_piece;     // on a COM piece: smallest COM code reaching it (gold and tokin as 110), else 999
  Map man_capturer_piece;  // on a COM piece: largest MAN code reaching it, else -999
  Map man_capturer_x;      // and its square, else 0
  Map man_capturer_y;
  Map com_capturer_piece;  // on a MAN piece: smallest COM pawn, lance, rook or bishop reaching it, else 999
  Map man_check_map;       // 9 on MAN checkers of the COM king, 1 between a MAN slider and that king
  Map com_check_map;       // the same for COM pieces against the MAN king
  // Kept from survey to survey: meaningful only where the matching piece
  // entry was written by a kind that records its square.
  Map com_guard_x;
  Map com_guard_y;
  Map com_capturer_x;
  Map com_capturer_y;
};

// The maps every survey resets lie before com_guard_x.
inline constexpr std::size_t RESET_BYTES = offsetof(Influence, com_guard_x);

}  // namespace vv
