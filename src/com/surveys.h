// Small surveys of the position for the computer's evaluation.
#pragma once

#include "com/engine.h"

namespace vv {

int 調査_移動可場所数(const Engine& e, int x, int y, int code);
void 調査_移動不可駒(Engine& e);
void 調査_持角狙座標(Engine& e);
int 調査_自守駒MAN_直進駒(Engine& e, int x, int y);
int 調査_香狙い(const Engine& e, int x, int y);
int 調査_桂狙い(const Engine& e, int x, int y);

// Minus the number of COM bishops, rooks and kings next to (x, y); only
// neighbours inside columns 1..5 and rows 1..5 count.
inline int 調査_周辺状況(const Engine& e, int x, int y) {
  if (x > 6 || y > 6) return 0;
  const auto& b = e.pos.board;
  int result = 0;
  const int i_end = x + 1 < 5 ? x + 1 : 5, j_end = y + 1 < 5 ? y + 1 : 5;
  for (int i = x - 1 > 1 ? x - 1 : 1; i <= i_end; ++i)
    for (int j = y - 1 > 1 ? y - 1 : 1; j <= j_end; ++j)
      if ((i != x || j != y) && b[i][j] >= 800) result -= 1;
  return result;
}

}  // namespace vv
