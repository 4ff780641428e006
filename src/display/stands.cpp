// The piece stands: every hand slot shown with both faces, the count between.
#include <string>

#include "flow/game.h"
#include "rules/piece.h"

namespace vv {

// Bottom side, right of the board: slot s on row s + 5, front faces in
// column 12, back faces in 14, the count in 13.
void Game::draw_man_stand() {
  const Position& p = e.pos;
  for (int back = 0; back <= 1; ++back) {
    const int column = back ? MAN_BACK_COLUMN : MAN_FRONT_COLUMN;
    for (int s = 1; s <= 4; ++s) {
      const int row = s + 5;
      draw_picture_at(PICTURE_EMPTY_SQUARE, column, row);
      paint_background(back ? 15 : 13, row);
      draw_square_outline(board_line_colour, column, row);
      if (p.man_hand[s] > 0) {
        draw_picture_at(-hand_face(s, back), column, row);
        draw_square_outline(board_line_colour, column, row);
        if (!back) {
          const std::string count = std::to_string(p.man_hand[s]);
          draw_text_at(13.2, s + 5.3, count, BLACK, 14);
          draw_text_at(13.1, s + 5.2, count, LIGHT_RED, 14);
        }
      }
    }
  }
}

// Top side, left of the board, turned by half a turn: slot s on row 5 - s,
// front faces in column -1, back faces in -3, the count in -2.
void Game::draw_com_stand() {
  const Position& p = e.pos;
  for (int back = 0; back <= 1; ++back) {
    const int column = back ? COM_BACK_COLUMN : COM_FRONT_COLUMN;
    for (int row = 1; row <= 4; ++row) {
      const int s = 5 - row;
      draw_picture_at(PICTURE_EMPTY_SQUARE, column, row);
      paint_background(back ? -2 : 0, row);
      draw_square_outline(board_line_colour, column, row);
      if (p.com_hand[s] > 0) {
        draw_picture_at(hand_face(s, back), column, row);
        draw_square_outline(board_line_colour, column, row);
        if (back) {
          const std::string count = std::to_string(p.com_hand[s]);
          draw_text_at(-1.8, 5.3 - s, count, BLACK, 14);
          draw_text_at(-1.9, 5.2 - s, count, LIGHT_RED, 14);
        }
      }
    }
  }
}

}  // namespace vv
