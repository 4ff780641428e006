// The one game object: the position and maps the computer works on, the move
// record, the state of the game and its options. Every event of the window
// ends up in one of its operations; the world outside is reached through the
// port only.
#pragma once

#include <string>

#include "com/engine.h"
#include "com/search.h"
#include "flow/port.h"
#include "rules/record.h"

namespace vv {

// Palette indices.
constexpr int BLACK = 0;
constexpr int GREEN = 2;
constexpr int LIGHT_RED = 12;
constexpr int WHITE = 15;

// Picture codes of the background tiles.
constexpr int BACKGROUND_GREEN = 2;

class Game {
 public:
  explicit Game(Port& port) : port_(port) {}

  // Start-up of the program, then the initial setup.
  void Form_Load();
  void 初期設定();

  // The computer's whole turn: search, play, announce, hand the turn back.
  void com_ban();
  // The level menu items and the level itself.
  void LEVEL_Click(int n);
  void レベル_設定(int n);
  void 描画_レベル(int level);

  void Timer1_Timer();
  void 待ち時間(double seconds);
  void 終了(const std::string& name);
  // The record holds 500 moves: when it is full the game ends undecided.
  void 終了_手数上限();
  void 終了処理();

  // The board, hands, king squares, maps and computer state.
  Engine e;
  MoveRecord rec;

  int side_to_move = 0;
  int first_side = 1, second_side = -1;
  int man_side = -1, com_side = 1;
  int game_mode = 0;  // 0 two people, 1 against the computer
  int winner = 0;
  int move_count = 0;

  bool record_mode = false;
  bool board_flipped = false;
  bool handicap_set = false;
  int handicap_level = 0;
  bool resume_pending = false;
  int selection_state = 0;

  // Options, as their menu marks stand.
  int background_code = BACKGROUND_GREEN;
  bool move_guidance = false;
  bool keika_marked = true;
  bool bgm_marked = true;
  int board_line_colour = GREEN;
  int outline_colour = GREEN;
  int guide_colour = GREEN;

  // Thinking time.
  double turn_start_time = 0;
  double move_seconds = 0;
  double man_time_total = 0;
  double com_time_total = 0;
  int shown_second = 0;
  bool timer_running = false;

  bool ended = false;  // the program has been asked to end

  // Carrying out a move that the move check allowed (the record entry comes first).
  void 駒移動(int from_x, int from_y, int to_x, int to_y, int placed);
  void 描画_回転駒(int kind, int x, int y);
  void 描画_手数(int count);
  void 描画_移動結果(int side, int to_x, int to_y, int placed, int colour);
  void 描画_数値(double x, double y, const std::string& text, int colour, int size);
  void 描画_所有時間(int side, double seconds);
  void 消去_所有時間(int side);

 private:
  void set_timer(bool running);
  void paint_background(int x, int y) { port_.draw_picture(x, y, background_code); }
  void board_full_draw();
  void offer_new_game();

  Port& port_;
};

// Elapsed time helpers.
double 調査_経過秒(double start, double now);
std::string 変換_数字から文字(long n);
std::string 調査_時間秒追加結果(double seconds);
// Notation texts of columns (1..9), rows (1001..1009) and piece codes.
std::string 文字列変換(int value);

}  // namespace vv
