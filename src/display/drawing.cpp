// Painting on the window's grid: pictures, outlines, the background, the
// board, texts, the coordinate labels, the move counter, the whole screen.
#include <string>

#include "flow/game.h"

namespace vv {

void Game::描画_絵(int code, double x, double y) { port_.draw_picture(x, y, code); }

void Game::描画_桝輪郭(int colour, int x, int y) { port_.draw_outline(colour, x, y); }

void Game::描画_背景(int code) {
  for (int x = -4; x <= 23; ++x)
    for (int y = -2; y <= 17; ++y)
      if (x < 1 || x > 9 || y < 1 || y > 9) 描画_絵(code, x, y);
}

void Game::描画_盤() {
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      描画_絵(e.pos.board[x][y], x, y);
      描画_桝輪郭(board_line_colour, x, y);
    }
}

void Game::描画_将棋盤桝() {
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) 描画_桝輪郭(outline_colour, x, y);
}

void Game::描画_数値(double x, double y, const std::string& text, int colour, int size) {
  port_.draw_text(x, y, text, colour, size, font_bold);
}

void Game::描画_漢数字(double x, double y, int value, int colour, int size) {
  static const char* const NUMERALS[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
  if (value >= 1 && value <= 9) 描画_数値(x, y, NUMERALS[value], colour, size);
}

void Game::描画_桝_数値() {
  font_bold = true;  // from here on every text is bold
  for (int i = 1; i <= 9; ++i) {
    描画_数値(i + 0.2, 0.5, std::to_string(10 - i), BLACK, 16);
    描画_数値(i + 0.1, 0.4, std::to_string(10 - i), WHITE, 16);
  }
  for (int j = 1; j <= 9; ++j) {
    描画_漢数字(10.2, j + 0.4, j, BLACK, 12);
    描画_漢数字(10.1, j + 0.3, j, WHITE, 12);
  }
}

void Game::描画_手数(int count) {
  paint_background(11, 3);
  paint_background(12, 3);
  // One tenth of a cell further left for each further digit.
  const double shift = count < 10 ? 0 : count < 100 ? 0.1 : 0.2;
  const std::string digits = std::to_string(count);
  描画_数値(11.3 - shift, 3.4, digits, BLACK, 12);
  描画_数値(11.2 - shift, 3.3, digits, WHITE, 12);
  描画_文字列(11.9, 3.2, LABEL_MOVES, BLACK, 10);
  描画_文字列(11.8, 3.1, LABEL_MOVES, WHITE, 10);
}

void Game::描画_棋譜読込み部分消去() {
  描画_桝_数値();
  for (int x = 1; x <= 9; ++x) {
    paint_background(x, -1);
    paint_background(x, 10);
    paint_background(x, 11);
  }
}

void Game::画面_再描画() {
  描画_背景(opt.background_code);
  描画_桝_数値();
  描画_自持盤();
  描画_敵持盤();
  描画_盤();
  描画_所有時間(flow.com_side, time.com_time_total);
  描画_所有時間(flow.man_side, time.man_time_total);
  // The face headings over the stand columns.
  struct Heading {
    double x, y;
    const char* text;
  };
  static constexpr Heading HEADINGS[4] = {{12.3, 5.4, "表"}, {14.3, 5.4, "裏"}, {-0.6, 5.4, "表"}, {-2.6, 5.4, "裏"}};
  for (const Heading& h : HEADINGS) {
    描画_数値(h.x, h.y, h.text, BLACK, 15);
    描画_数値(h.x - 0.1, h.y - 0.1, h.text, WHITE, 15);
  }
  if (flow.game_mode == 1) 描画_レベル(e.com_level);
  if (hc.handicap_set) 描画_ハンデレベル(hc.handicap_level);
  描画_絵(PICTURE_TITLE, 11, -0.5);
  port_.refresh();
}

}  // namespace vv
