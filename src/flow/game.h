// The one game object. Every event of the window ends up in one of its
// handlers; its state lives in one plain struct per subsystem, and each
// subsystem's operations live in that subsystem's folder:
//   flow/     start-up, the start items, the person's clicks, the game's end
//   com/      the computer's turn and the level menu
//   display/  pictures, board, stands, labels, the flip and the animation
//   record/   the move-result line, stepping through the record, record files
//   options/  the settings file, the option menus, the elapsed time
//   handicap/ the handicap steps
// The world outside is reached through the port only.
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
constexpr int SELECTION_COLOUR = 12;  // light red
constexpr int LIGHT_RED = 12;
constexpr int WHITE = 15;

// Picture codes besides the piece codes.
constexpr int PICTURE_EMPTY_SQUARE = 0;
constexpr int PICTURE_TITLE = 1;
constexpr int BACKGROUND_GREEN = 2;
constexpr int BACKGROUND_TATAMI = 3;
constexpr int BACKGROUND_BAMBOO = 4;
constexpr int BACKGROUND_SPACE = 5;
constexpr int BACKGROUND_BRICK = 6;

// Code of the fixed text "手目" for 描画_文字列 (codes -10..10 are the handicap labels).
constexpr int LABEL_MOVES = 99;

// Levels 1..3 are the rule evaluator's; level 4 searches for a time.
constexpr int HIGHEST_LEVEL = 4;
constexpr int SEARCHING_LEVEL = 4;
constexpr double SEARCHING_LEVEL_SECONDS = 1.0;  // the searching level's time for one move

// Key code of Escape.
constexpr int KEY_ESCAPE = 27;

// Thrown when the game ends the program: nothing of the running handler is
// carried out after it. The dispatcher (`Game::event`) catches it.
struct ProgramEnded {};

// The person's pending move: source (a square or a hand place), target, the
// code that will be placed, and the code as it stood when picked.
struct HumanMove {
  int from_x = 0, from_y = 0;
  int to_x = 0, to_y = 0;
  int piece = 0;
  int piece_shown = 0;
};

// Who plays which side, whose move it is, and the state of the game.
struct FlowState {
  int side_to_move = 0;  // 0 while no game runs
  int first_side = 1, second_side = -1;
  int man_side = -1, com_side = 1;
  int game_mode = 0;  // 0 two people, 1 against the computer
  int winner = 0;
  int move_count = 0;
  bool record_mode = false;
  bool board_flipped = false;
  bool resume_pending = false;  // the record was stepped: the next click resumes play
  int selection_state = 0;      // 1 while a piece is picked
  HumanMove human_move;
};

// Thinking time and the timer that shows it.
struct TimeState {
  double turn_start_time = 0;
  double move_seconds = 0;
  double man_time_total = 0;
  double com_time_total = 0;
  int shown_second = 0;
  bool timer_running = false;
};

// The options as their menu marks stand.
struct Options {
  int background_code = 0;  // no picture code until the settings say one
  bool move_guidance = false;
  int guide_colour = GREEN;
  bool marks[static_cast<int>(MenuMark::COUNT)] = {};
  bool marked(MenuMark m) const { return marks[static_cast<int>(m)]; }
};

struct HandicapState {
  int handicap_level = 0;  // > 0 the top side gives pieces, < 0 the bottom side
  bool handicap_set = false;
};

class Game {
 public:
  explicit Game(Port& port) : port_(port) {}

  // Runs one event of the window. Nothing runs once the program has ended.
  template <class F>
  void event(F&& handler) {
    if (ended) return;
    try {
      handler();
    } catch (const ProgramEnded&) {
      ended = true;
    }
  }

  // --- Events of the window -------------------------------------------------
  void Form_Load();
  void Form_MouseDown(int button, int shift, double x, double y);  // twips
  void Form_KeyPress(int key);
  void Form_Unload();
  void Timer1_Timer();

  // Menu "対局".
  void TAIKYOKU_Click();
  void MATCH_MAN_Click() {}
  void START_Click();
  void SENTE_Click();
  void GOTE_Click();
  void LEVEL_Click(int n);
  void OWARI_Click();
  // Menu "局面" and the record steps.
  void STOP_Click();
  void CANCEL_Click();
  void REVERSE_Click();
  void REPLAY_Click();
  void AFTER_Click();
  // Handicap steps.
  void LBEL_UP_Click();
  void LEBEL_DOWN_Click();
  // Menu "棋譜" and the record-file panel.
  void KIFU_Click();
  void KIFU_READ_Click();
  void KIFU_WRITE_Click();
  void Command1_Click();
  void File1_Click(const std::string& folder, const std::string& file_name);
  // Menu "ｵﾌﾟｼｮﾝ".
  void OPTION_Click();
  void BACKGROUND_Click(int code);  // 緑 畳 竹 宇宙 煉瓦: picture codes 2..6
  void SIDOU_Click();
  void KEIKA_Click();
  void BGM_Click();
  // "その他".
  void VER_Click();

  // --- Operations -----------------------------------------------------------
  void 初期設定();
  void com_ban();
  void レベル_設定(int n);
  void 描画_レベル(int level);
  void 待ち時間(double seconds);
  void 終了(const std::string& name);
  void 終了_手数上限();  // the record holds 500 moves: the game ends undecided
  void 終了処理();

  // Carrying out a move that the move check allowed (the record entry comes first).
  void 駒移動(int from_x, int from_y, int to_x, int to_y, int placed);

  // Drawing (display/).
  void 描画_絵(int code, double x, double y);
  void 描画_桝輪郭(int colour, int x, int y);
  void 描画_背景(int code);
  void 描画_盤();
  void 描画_将棋盤桝();
  void 画面_再描画();
  void 描画_自持盤();
  void 描画_敵持盤();
  void 描画_数値(double x, double y, const std::string& text, int colour, int size);
  void 描画_漢数字(double x, double y, int value, int colour, int size);
  void 描画_桝_数値();
  void 描画_手数(int count);
  void 描画_文字列(double x, double y, int code, int colour, int size);
  void 描画_回転駒(int kind, int x, int y);
  void 描画_移動可能桝色(int from_x, int from_y, int colour, int piece);
  void 描画_棋譜読込み部分消去();
  // Record (record/).
  void 描画_移動結果(int side, int to_x, int to_y, int placed, int colour);
  void 消去_移動結果(int side);
  void 描画_可視(bool drive, bool folder, bool file);
  void 描画_棋譜_IO(int mode);
  // Time and options (options/).
  void 描画_所有時間(int side, double seconds);
  void 消去_所有時間(int side);
  void 読込_環境設定ファイル();
  void 書込_環境設定ファイル();
  void チェック設定(int code);
  // Handicap (handicap/).
  void 描画_ハンデレベル(int level);
  void 描画_メッセージ(int reason);

  // --- State ----------------------------------------------------------------
  Engine e;            // the board, hands, king squares, maps and computer state
  MoveRecord rec;      // the move record
  FlowState flow;      // sides, turn and the state of the game
  TimeState time;      // thinking time
  Options opt;         // the option marks
  HandicapState hc;    // the handicap
  bool font_bold = false;  // the coordinate labels switch the font to bold for good
  bool ended = false;      // the program has ended

  static constexpr int board_line_colour = GREEN;
  static constexpr int outline_colour = GREEN;

  Port& port() { return port_; }

 private:
  void set_timer(bool running);
  void set_mark(MenuMark m, bool on);
  void paint_background(int x, int y) { 描画_絵(opt.background_code, x, y); }
  void offer_new_game();
  [[noreturn]] void end_program();
  // The person's move once the move check allowed it, and the handover.
  void perform_human_move();
  void click_square(int x, int y);
  void click_beside_board(int x, int y);
  bool own_piece(int code) const;
  void handicap_step(int direction);
  void take_sides(bool person_first);
  bool fresh_start() const;

  Port& port_;
  bool sounds_released_ = false;
};

// Elapsed time helpers.
double 調査_経過秒(double start, double now);
std::string 変換_数字から文字(long n);
std::string 調査_時間秒追加結果(double seconds);
// Notation texts of columns (1..9), rows (1001..1009) and piece codes.
std::string 文字列変換(int value);

}  // namespace vv
