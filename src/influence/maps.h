// The per-square influence maps that every survey rebuilds from the board.
//
// The two sides are not recorded alike: the MAN guard is its most valuable
// guard, the COM guard its least valuable one; a COM capturer is only a pawn
// or a slider; only some kinds write the square they stand on. The
// computer's evaluation reads exactly these entries, so its choices depend on
// every one of these differences.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vv {

using Map = std::int16_t[10][10];

struct Influence {
  // Reset by every survey (squares 1..9 only; index 0 stays 0).
  Map man_reach_count;     // how many MAN pieces reach the square
  Map com_reach_count;     // how many COM pieces reach the square
  // On a MAN piece: the smallest MAN code reaching it (the most valuable
  // guard), else NO_PIECE.
  Map man_guard_piece;
  // On a COM piece: the smallest COM code reaching it (the least valuable
  // guard; gold and tokin both as GOLD), else NO_PIECE.
  Map com_guard_piece;
  // On a COM piece: the largest MAN code reaching it (the least valuable
  // attacker), else NO_MAN_CAPTURER; and that piece's square, else 0.
  Map man_capturer_piece;
  Map man_capturer_x;
  Map man_capturer_y;
  // On a MAN piece: the smallest COM pawn, lance, bishop or rook reaching
  // it, else NO_PIECE.
  Map com_capturer_piece;
  // 9 on MAN pieces giving check to the COM king (a knight also marks the
  // king's square), 1 on the squares between a MAN slider and that king.
  Map man_check_map;
  Map com_check_map;  // the same for COM pieces against the MAN king
  // The squares of the COM guard and capturer. No survey resets them: a
  // survey writes them only where the piece it records is a knight, silver
  // or slider (a guard) or a slider (a capturer), and everywhere else they
  // keep what an earlier survey left.
  Map com_guard_x;
  Map com_guard_y;
  Map com_capturer_x;
  Map com_capturer_y;
};

// The maps every survey resets lie before com_guard_x: one copy resets them.
inline constexpr std::size_t RESET_BYTES = offsetof(Influence, com_guard_x);

}  // namespace vv
