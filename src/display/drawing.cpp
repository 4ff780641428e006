// Painting on the window's grid: pictures, outlines, the background, the
// board, texts, the coordinate labels, the move counter, the whole screen.
// Most texts are drawn twice: a black shadow a tenth of a place down and to
// the right, then the text in its colour.
#include <string>

#include "flow/game.h"

namespace vv {

void Game::draw_picture_at(int code, double x, double y) { port_.draw_picture(x, y, code); }

void Game::draw_square_outline(int colour, int x, int y) { port_.draw_outline(colour, x, y); }

// Every place of the window but the board's 81 squares, reaching well past
// the window's edges.
void Game::draw_background(int code) {
  for (int x = -4; x <= 23; ++x)
    for (int y = -2; y <= 17; ++y)
      if (x < 1 || x > 9 || y < 1 || y > 9) draw_picture_at(code, x, y);
}

void Game::draw_board() {
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      draw_picture_at(engine.pos.board[x][y], x, y);
      draw_square_outline(board_line_colour, x, y);
    }
}

void Game::draw_board_outlines() {
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) draw_square_outline(outline_colour, x, y);
}

void Game::draw_text_at(double x, double y, const std::string& text, int colour, int size) {
  port_.draw_text(x, y, text, colour, size, font_bold);
}

void Game::draw_row_numeral(double x, double y, int value, int colour, int size) {
  static const char* const NUMERALS[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
  if (value >= 1 && value <= 9) draw_text_at(x, y, NUMERALS[value], colour, size);
}

// The column numbers over the board count from the right, 9 to 1; the row
// numerals 一..九 stand to its right.
void Game::draw_coordinate_labels() {
  font_bold = true;  // from here on every text is bold
  for (int i = 1; i <= 9; ++i) {
    draw_text_at(i + 0.2, 0.5, std::to_string(10 - i), BLACK, 16);
    draw_text_at(i + 0.1, 0.4, std::to_string(10 - i), WHITE, 16);
  }
  for (int j = 1; j <= 9; ++j) {
    draw_row_numeral(10.2, j + 0.4, j, BLACK, 12);
    draw_row_numeral(10.1, j + 0.3, j, WHITE, 12);
  }
}

// The count of moves played and "手目" ("moves"), to the right of the board.
void Game::draw_move_count(int count) {
  paint_background(11, 3);
  paint_background(12, 3);
  // One tenth of a place further left for each further digit.
  const double shift = count < 10 ? 0 : count < 100 ? 0.1 : 0.2;
  const std::string digits = std::to_string(count);
  draw_text_at(11.3 - shift, 3.4, digits, BLACK, 12);
  draw_text_at(11.2 - shift, 3.3, digits, WHITE, 12);
  draw_label(11.9, 3.2, LABEL_MOVES, BLACK, 10);
  draw_label(11.8, 3.1, LABEL_MOVES, WHITE, 10);
}

void Game::clear_loaded_record_texts() {
  draw_coordinate_labels();
  for (int x = 1; x <= 9; ++x) {
    paint_background(x, -1);
    paint_background(x, 10);
    paint_background(x, 11);
  }
}

void Game::redraw_screen() {
  draw_background(options.background_code);
  draw_coordinate_labels();
  draw_man_stand();
  draw_com_stand();
  draw_board();
  draw_elapsed_time(flow.com_side, time.com_time_total);
  draw_elapsed_time(flow.man_side, time.man_time_total);
  // The headings 表 (front) and 裏 (back) over the stands' face columns.
  struct Heading {
    double x, y;
    const char* text;
  };
  static constexpr Heading HEADINGS[4] = {{12.3, 5.4, "表"}, {14.3, 5.4, "裏"}, {-0.6, 5.4, "表"}, {-2.6, 5.4, "裏"}};
  for (const Heading& h : HEADINGS) {
    draw_text_at(h.x, h.y, h.text, BLACK, 15);
    draw_text_at(h.x - 0.1, h.y - 0.1, h.text, WHITE, 15);
  }
  if (flow.game_mode == AGAINST_COMPUTER) draw_level(engine.com_level);
  if (handicap.handicap_set) draw_handicap_level(handicap.handicap_level);
  draw_picture_at(PICTURE_TITLE, 11, -0.5);
  port_.refresh();
}

}  // namespace vv
