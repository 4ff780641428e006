#include "com/danger.h"

#include "com/surveys.h"
#include "rules/move_check.h"

namespace vv {

double 盤評価_COM危険座標(Engine& e, int piece, int to_x, int to_y) {
  const auto& b = e.pos.board;
  const Position& p = e.pos;
  const Influence& m = e.inf;
  const auto& MR = m.man_reach_count;
  const auto& CR = m.com_reach_count;
  const int kcx = p.com_king_x, kcy = p.com_king_y;
  // What the hands and the moved piece say holds for the whole scan. A hand
  // slot holds a pair: slot 1 歩/飛, 2 香/と, 3 桂/金, 4 銀/角.
  const bool man_holds_knight_or_bishop = p.man_hand[3] > 0 || p.man_hand[4] > 0;
  const bool man_holds_any = p.man_hand_count > 0;
  const bool man_holds_lance = p.man_hand[2] > 0;
  const bool man_holds_knight = p.man_hand[3] > 0;
  const bool man_holds_bishop = p.man_hand[4] > 0;
  const bool man_holds_pawn = p.man_hand[1] > 0;
  const bool moved_unattacked = MR[to_x][to_y] == 0;
  const int kx = p.man_king_x, ky = p.man_king_y;
  const std::uint32_t corner_mask = corner_big_pieces(b);
  double D = 0;
  int fork_count = 0;
  int fork_min = 9999;

  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      const int v = b[x][y];
      const int mr = MR[x][y];
      const int cr = CR[x][y];
      if (v == EMPTY) {
        if (mr > 0) {
          if (iabs(x - kcx) < 2 && iabs(y - kcy) < 2) {  // next to the COM king
            D -= 0.5 * mr;
            if (cr == 1 && mr > 1) D -= 10;
            if (man_holds_knight_or_bishop) D -= 10;
          }
          if (cr == 0 && y < 4) {
            D -= 0.1;
            if (調査_自守駒MAN_直進駒(e, x, y) == 1) D -= 10;
          }
          if (y < 4 && b[x][y + 1] == -歩 && mr >= cr) {
            D -= 30;
            if (調査_自守駒MAN_直進駒(e, x, y + 1) == 1) D -= 70;
          }
        }
        if (man_holds_any) {
          // A dropped lance skewering two COM pieces in this column.
          if (man_holds_lance && y > 2 && b[x][y - 1] > 香 && (mr > 0 || cr == 0)) {
            for (int r = y - 2; r > 0; --r) {
              if (b[x][r] == EMPTY) continue;
              if (b[x][r] > 香) D -= 100 + b[x][r] / 2.0;
              break;
            }
          }
          // A dropped knight forking two COM pieces.
          if (man_holds_knight && (cr == 0 || (mr > 0 && m.com_capturer_piece[x][y] > 桂)) && y > 2 && x > 1 &&
              x < 9 && b[x - 1][y - 2] > 歩 && b[x + 1][y - 2] > 歩)
            D -= 20;
          if (man_holds_knight && cr <= 1) {
            const int around = surroundings(corner_mask, x, y);
            if (around < -1) D -= 5;
            if (cr == 0 && around < 0) {
              D -= 1;
              if (y < 4) D -= 10;
            }
          }
          if (cr == 0) {
            if (y == 2 && b[x][1] == 桂) D -= 5;
            if (y < 4) D -= 0.1;
            // A dropped bishop forking two COM pieces on a diagonal.
            if (man_holds_bishop && y > 1 && y < 9 && x > 1 && x < 9) {
              if (b[x - 1][y - 1] >= 10 && b[x + 1][y + 1] >= 10 && CR[x - 1][y - 1] == 0 && CR[x + 1][y + 1] == 0)
                D -= 20;
              if (b[x - 1][y + 1] >= 10 && b[x + 1][y - 1] >= 10 && CR[x - 1][y + 1] == 0 && CR[x + 1][y - 1] == 0)
                D -= 20;
            }
          }
        }
      } else if (v >= 10) {
        const int mcp = iabs(m.man_capturer_piece[x][y]);
        if (v == 王 && y == 1 && MR[x][2] > 0) {
          D -= 50;
          if (MR[x][2] >= CR[x][2]) D -= 250;
          if (man_holds_knight_or_bishop) D -= 700;
        } else if (v == 歩 && m.man_capturer_piece[x][y] == -飛 && man_holds_pawn && mr >= cr && y < 9 &&
                   CR[x][y + 1] == 1) {
          D -= 5;
        }
        if (mr > 0) {
          const int qx = m.man_capturer_x[x][y], qy = m.man_capturer_y[x][y];
          const bool capturer_free = e.cm.man_pinned[qx][qy] == 0;
          if (m.com_guard_piece[x][y] == 王 && (mr > 1 || v > mcp)) D -= 100;
          if (capturer_free && v > mcp) D -= v - mcp;
          if (cr > 0) {
            if (capturer_free) {
              if (mr > cr && m.com_guard_piece[x][y] >= mcp) D -= v;
              if (y <= 3 && cr == mr && b[x][y + 1] != EMPTY && 調査_自守駒MAN_直進駒(e, x, y + 1) == 1)
                D -= v + iabs(m.man_capturer_piece[x][y + 1]);
            }
          } else {
            D -= v;
            if (y <= 3) D -= 1;
            const int before = e.cm.board_before[x][y];
            if (before <= -10) D += iabs(before);  // it has just captured there
            if (y < 4 && (m.man_capturer_piece[x][y] == -歩 || m.man_capturer_piece[x][y] == -香)) D -= 20;
          }
        }
      } else if (v <= -10) {
        if (cr > 0 && e.cm.com_reach_before[x][y] == 0) {  // a new attack on a MAN piece
          if (y > 2 && v == -桂 && MR[x][y - 1] == 0 && b[x][y - 1] == 銀) D += 1;
          if (iabs(x - kcx) < 3 && iabs(y - kcy) < 3) D += 15;
        }
        if (v == -桂 && y >= 9 && b[x][y - 4] >= 銀) {
          if (x > 1 && b[x - 1][y - 2] >= 0 && CR[x - 1][y - 2] == 0) D -= 1;
          if (x < 9 && b[x + 1][y - 2] >= 0 && CR[x + 1][y - 2] == 0) D -= 1;
        } else if ((v == -飛 || v == -香) && x == kcx) {
          D -= 1;
        }
        // A fork by the moved piece standing unattacked.
        if (moved_unattacked && (mr == 0 || (x == kx && y == ky)) &&
            移動チェック(b, to_x, to_y, x, y, piece) == 1) {
          D += 0.1;
          ++fork_count;
          if (iabs(v) < fork_min) fork_min = iabs(v);
        }
      }
    }
  }
  if (fork_count > 1) D += fork_min;
  return D;
}

int 盤評価_自角注意_COM(const Engine& e, int to_x, int to_y, int piece) {
  const auto& b = e.pos.board;
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      if (e.cm.man_bishop_drop_targets[x][y] != 1 || 移動チェック(b, to_x, to_y, x, y, -角) != 1) continue;
      // Only the first such square, and only MAN bishops in columns 1..5, rows 1..5.
      for (int a = 1; a <= 5; ++a)
        for (int c = 1; c <= 5; ++c)
          if (b[a][c] == -角 && 移動チェック(b, a, c, x, y, -角) == 1) return piece;
      return 0;
    }
  }
  return 0;
}

}  // namespace vv
