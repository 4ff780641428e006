// The board, the hands and the king squares: the state the rules read.
#pragma once

#include <cstring>

namespace vv {

constexpr int BOARD_SIZE = 9;

using Board = int[10][10];

// Arrays are 10 x 10 indexed [x][y]; 1..9 is the play area. Row and column 0
// are never written and read as 0.
struct Position {
  int board[10][10] = {};
  int man_hand[5] = {};  // pieces the person has captured, by slot 1..4
  int com_hand[5] = {};  // pieces the computer has captured
  int man_hand_count = 0;
  int com_hand_count = 0;
  int man_king_x = 0, man_king_y = 0;
  int com_king_x = 0, com_king_y = 0;

  void clear_board() { std::memset(board, 0, sizeof board); }

  // The hand totals are the sums of their slots (checked in debug builds).
  bool hands_consistent() const {
    return man_hand_count == man_hand[1] + man_hand[2] + man_hand[3] + man_hand[4] &&
           com_hand_count == com_hand[1] + com_hand[2] + com_hand[3] + com_hand[4];
  }
};

}  // namespace vv
