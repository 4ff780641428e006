#include "flow/game.h"

#include <cmath>
#include <cstring>

#include "rules/move.h"
#include "rules/piece.h"

namespace vv {
namespace {

// The starting position, rows 1..9 top to bottom, columns 1..9 left to right.
constexpr int START_ROWS[9][9] = {
    {香, 桂, 銀, 金, 王, 金, 銀, 桂, 香},
    {0, 飛, 0, 0, 0, 0, 0, 角, 0},
    {歩, 歩, 歩, 歩, 歩, 歩, 歩, 歩, 歩},
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {-歩, -歩, -歩, -歩, -歩, -歩, -歩, -歩, -歩},
    {0, -角, 0, 0, 0, 0, 0, -飛, 0},
    {-香, -桂, -銀, -金, -王, -金, -銀, -桂, -香},
};

}  // namespace

void Game::Form_Load() {
  port_.open_sounds();
  record_mode = false;
  move_guidance = false;
  rec.record_length = 0;
  first_side = 1;
  second_side = -1;
  man_side = -1;
  com_side = 1;
  e.com_level = 3;
  port_.set_mark(MenuMark::LEVEL3, true);
  // The options as they stand until a settings file says otherwise.
  background_code = BACKGROUND_GREEN;
  port_.set_mark(MenuMark::MIDORI, true);
  move_guidance = false;
  guide_colour = outline_colour;
  keika_marked = true;
  port_.set_mark(MenuMark::KEIKA, true);
  bgm_marked = true;
  port_.set_mark(MenuMark::BGM, true);
  初期設定();
}

void Game::初期設定() {
  handicap_level = 0;
  handicap_set = false;
  game_mode = 0;
  winner = 0;
  side_to_move = 0;
  rec.move_number = 0;
  move_count = 0;
  board_flipped = false;
  set_timer(false);
  com_time_total = 0;
  man_time_total = 0;
  shown_second = 0;
  record_mode = false;
  resume_pending = false;
  selection_state = 0;
  rec.record_placed[0] = 歩;

  Position& p = e.pos;
  for (int s = 1; s <= 4; ++s) {
    p.man_hand[s] = 0;
    p.com_hand[s] = 0;
  }
  p.clear_board();
  for (int y = 1; y <= 9; ++y)
    for (int x = 1; x <= 9; ++x) p.board[x][y] = START_ROWS[y - 1][x - 1];
  p.com_hand_count = 0;
  p.man_hand_count = 0;
  for (int s = 1; s <= 4; ++s) {
    if (p.com_hand[s] > 0) p.com_hand_count += p.com_hand[s];
    if (p.man_hand[s] > 0) p.man_hand_count += p.man_hand[s];
  }
  board_full_draw();
}

void Game::board_full_draw() {
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      port_.draw_picture(x, y, e.pos.board[x][y]);
      port_.draw_outline(board_line_colour, x, y);
    }
  port_.refresh();
}

void Game::set_timer(bool running) {
  timer_running = running;
  port_.set_timer(running);
}

void Game::待ち時間(double seconds) { port_.wait(seconds); }

void Game::駒移動(int from_x, int from_y, int to_x, int to_y, int placed) {
  Position& p = e.pos;
  const int taken = p.board[to_x][to_y];
  apply_move(p, from_x, from_y, to_x, to_y, placed);
  // Taking a king decides the game; it goes to no hand.
  if (taken == 王) winner = man_side;
  if (taken == -王) winner = com_side;
  if (!is_hand_column(from_x)) {
    port_.draw_picture(from_x, from_y, EMPTY);
    port_.draw_outline(board_line_colour, from_x, from_y);
  }
  port_.draw_picture(to_x, to_y, placed);
  port_.draw_outline(board_line_colour, to_x, to_y);
}

void Game::描画_回転駒(int kind, int x, int y) {
  static constexpr int FRAMES[7][5] = {
      {0, 0, 0, 0, 0},
      {210, 211, 202, 203, 204}, {200, 201, 202, 212, 213}, {200, 201, 202, 203, 204},
      {214, 215, 207, 208, 209}, {205, 206, 207, 216, 217}, {205, 206, 207, 208, 209},
  };
  if (kind < 1 || kind > 6) return;
  for (int frame : FRAMES[kind]) {
    port_.draw_picture(x, y, frame);
    port_.draw_outline(board_line_colour, x, y);
    port_.refresh();
    待ち時間(0.1);
  }
}

void Game::描画_数値(double x, double y, const std::string& text, int colour, int size) {
  port_.draw_text(x, y, text, colour, size);
}

void Game::描画_手数(int count) {
  paint_background(11, 3);
  paint_background(12, 3);
  // One tenth of a cell further left for each further digit.
  const double shift = count < 10 ? 0 : count < 100 ? 0.1 : 0.2;
  const std::string digits = std::to_string(count);
  描画_数値(11.3 - shift, 3.4, digits, BLACK, 12);
  描画_数値(11.2 - shift, 3.3, digits, WHITE, 12);
  描画_数値(11.9, 3.2, "手目", BLACK, 10);
  描画_数値(11.8, 3.1, "手目", WHITE, 10);
}

std::string 文字列変換(int value) {
  static const char* const COLUMNS[10] = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  static const char* const ROWS[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
  if (value >= 1 && value <= 9) return COLUMNS[value];
  if (value >= 1001 && value <= 1009) return ROWS[value - 1000];
  switch (iabs(value)) {
    case 歩: return "歩";
    case と: return "と";
    case 香: return "香";
    case 桂: return "桂";
    case 銀: return "銀";
    case 金: return "金";
    case 角: return "角";
    case 飛: return "飛";
    case 王: return "王";
    default: return "";
  }
}

void Game::描画_移動結果(int side, int to_x, int to_y, int placed, int colour) {
  double x0;
  double y0;
  int erase_x;
  int erase_y;
  if (side == com_side) {
    x0 = -1.6, y0 = 6.4, erase_x = -2, erase_y = 6;
  } else if (side == man_side) {
    x0 = 11.4, y0 = 2.4, erase_x = 11, erase_y = 2;
  } else {
    return;
  }
  for (int i = 0; i < 3; ++i) paint_background(erase_x + i, erase_y);
  const std::string texts[3] = {文字列変換(10 - to_x), 文字列変換(1000 + to_y), 文字列変換(placed)};
  const double offsets[3] = {0, 0.4, 1.0};
  for (int i = 0; i < 3; ++i) {
    描画_数値(x0 + offsets[i] + 0.1, y0 + 0.1, texts[i], BLACK, 12);
    描画_数値(x0 + offsets[i], y0, texts[i], colour, 12);
  }
}

double 調査_経過秒(double start, double now) { return start <= now ? now - start : now + 86400 - start; }

std::string 変換_数字から文字(long n) {
  const std::string digits = std::to_string(n);
  if (digits.size() == 1) return "0" + digits;
  if (digits.size() == 2) return digits;
  return "";
}

std::string 調査_時間秒追加結果(double seconds) {
  const long h = seconds >= 3600 ? static_cast<long>(seconds / 3600) : 0;
  const long m = static_cast<long>((seconds - 3600.0 * h) / 60);
  const long s = static_cast<long>(seconds - 3600.0 * h - 60.0 * m);
  return 変換_数字から文字(h) + ":" + 変換_数字から文字(m) + ":" + 変換_数字から文字(s);
}

void Game::消去_所有時間(int side) {
  if (side == man_side) {
    for (int x = 12; x <= 14; ++x) paint_background(x, 11);
  } else if (side == com_side) {
    for (int x = -2; x <= 0; ++x) paint_background(x, 7);
  }
}

void Game::描画_所有時間(int side, double seconds) {
  if (!keika_marked) return;
  if (side != man_side && side != com_side) return;
  const std::string text = 調査_時間秒追加結果(seconds);
  消去_所有時間(side);
  if (side == man_side) {
    描画_数値(12.1, 11.1, text, BLACK, 12);
    描画_数値(12, 11, text, WHITE, 12);
  } else {
    描画_数値(-1.5, 7.3, text, BLACK, 12);
    描画_数値(-1.6, 7.2, text, WHITE, 12);
  }
}

void Game::Timer1_Timer() {
  const double now = port_.clock();
  move_seconds = 調査_経過秒(turn_start_time, now);
  const int whole = static_cast<int>(move_seconds);
  if (whole == shown_second) return;
  shown_second = whole;
  if (side_to_move == com_side)
    描画_所有時間(com_side, move_seconds + com_time_total);
  else if (side_to_move == man_side)
    描画_所有時間(man_side, move_seconds + man_time_total);
  port_.refresh();
  待ち時間(0.3);
}

void Game::終了(const std::string& name) {
  port_.message("終了", name + "の勝ちです");
  offer_new_game();
}

void Game::終了_手数上限() {
  set_timer(false);
  port_.message("終了", "500手に達しました。引き分けです");
  offer_new_game();
}

void Game::offer_new_game() {
  if (port_.ask("再ゲーム", "続けますか？")) {
    初期設定();
  } else {
    終了処理();
    ended = true;
    port_.quit();
  }
}

void Game::終了処理() { port_.close_sounds(); }

}  // namespace vv
