// The piece stands: every hand slot shown with both faces of its pair, and
// how many pieces it holds. Each place drawn also paints over the place to
// its right, where a count may stand.
#include <string>

#include "flow/game.h"
#include "rules/piece.h"

namespace vv {

// Bottom side, right of the board: slot s on row s + 5, front faces in
// column 12, back faces in 14, the count in 13.
void Game::draw_man_stand() {
  const Position& p = engine.pos;
  for (int back = 0; back <= 1; ++back) {
    const int column = back ? MAN_BACK_COLUMN : MAN_FRONT_COLUMN;
    for (int slot = 1; slot <= 4; ++slot) {
      const int row = slot + 5;
      draw_picture_at(PICTURE_EMPTY_SQUARE, column, row);
      paint_background(back ? 15 : 13, row);
      draw_square_outline(board_line_colour, column, row);
      if (p.man_hand[slot] > 0) {
        draw_picture_at(-hand_face(slot, back), column, row);
        draw_square_outline(board_line_colour, column, row);
        if (!back) {
          const std::string count = std::to_string(p.man_hand[slot]);
          draw_text_at(13.2, slot + 5.3, count, BLACK, 14);
          draw_text_at(13.1, slot + 5.2, count, LIGHT_RED, 14);
        }
      }
    }
  }
}

// Top side, left of the board, turned by half a turn: slot s on row 5 - s,
// front faces in column -1, back faces in -3, the count in -2.
void Game::draw_com_stand() {
  const Position& p = engine.pos;
  for (int back = 0; back <= 1; ++back) {
    const int column = back ? COM_BACK_COLUMN : COM_FRONT_COLUMN;
    for (int row = 1; row <= 4; ++row) {
      const int slot = 5 - row;
      draw_picture_at(PICTURE_EMPTY_SQUARE, column, row);
      paint_background(back ? -2 : 0, row);
      draw_square_outline(board_line_colour, column, row);
      if (p.com_hand[slot] > 0) {
        draw_picture_at(hand_face(slot, back), column, row);
        draw_square_outline(board_line_colour, column, row);
        if (back) {
          const std::string count = std::to_string(p.com_hand[slot]);
          draw_text_at(-1.8, 5.3 - slot, count, BLACK, 14);
          draw_text_at(-1.9, 5.2 - slot, count, LIGHT_RED, 14);
        }
      }
    }
  }
}

}  // namespace vv
