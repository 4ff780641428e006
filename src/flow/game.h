// The one game object. Every event ends up in one of its handlers, run
// through `event`: the window turns its menus, mouse, keys, closing and timer
// into handler calls (window/main_window.cpp), and a headless play script
// does the same with its commands (cli/play.cpp).
//
// Which menu caption runs which handler is written in one place: the table
// MENU_BAR in window/main_window.cpp, caption by caption, with the English
// captions beside the Japanese ones.
//
// The record-file panel: a click in its file list calls load_record_file,
// its RETURN (Save) button save_record_file. The window's opening calls
// start_up, a mouse button mouse_down, a key key_press, closing the window
// window_closed, and the running timer timer_tick.
//
// The game's state lives in one plain struct per subsystem, and each
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

// Indices of the 16-colour palette.
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

// draw_label's code for "手目" ("moves", after the move counter); codes
// -10..10 are the handicap rank labels.
constexpr int LABEL_MOVES = 99;

// Levels 1..3 are the rule evaluator's; level 4 searches for a time.
constexpr int HIGHEST_LEVEL = 4;
constexpr int SEARCHING_LEVEL = 4;
constexpr double SEARCHING_LEVEL_SECONDS = 1.0;  // the searching level's time for one move

constexpr int KEY_ESCAPE = 27;

// Thrown when the game ends the program: nothing of the running handler is
// carried out after it. The dispatcher (`Game::event`) catches it.
struct ProgramEnded {};

// The person's move in the making, filled by the clicks: the place picked (a
// square or a stand place), the target square, the code to be placed (the
// picked face, turned over once a board move is carried out), and the face
// as it stood when picked, which the turning animation starts from.
struct HumanMove {
  int from_x = 0, from_y = 0;
  int to_x = 0, to_y = 0;
  int piece = 0;
  int piece_shown = 0;
};

// Who plays: two people at one board, or a person against the computer.
// `veverodu-cli play` prints the value (0 or 1) as game_mode.
constexpr int TWO_PEOPLE = 0;
constexpr int AGAINST_COMPUTER = 1;

// Who plays which side, whose move it is, and the state of the game.
// A side is one of the values +1 and -1, not tied to the sign of its piece
// codes: man_side is the bottom side's value (the person: negative codes,
// stand on the right), com_side the top side's (the computer, or the second
// person: positive codes, stand on the left); first_side and second_side say
// which of the two moves first.
struct FlowState {
  int side_to_move = 0;  // 0 while no game runs
  int first_side = 1, second_side = -1;
  int man_side = -1, com_side = 1;
  int game_mode = TWO_PEOPLE;  // TWO_PEOPLE or AGAINST_COMPUTER
  int winner = 0;  // the side that took the other's king; 0 while undecided
  // The move counter shown beside the board. Unlike the record's move
  // number it runs on across a flip, which starts the record over.
  int move_count = 0;
  bool record_mode = false;     // a loaded record file is being stepped through
  bool board_flipped = false;   // flipped since the last reset: no handicap, no saving
  bool resume_pending = false;  // the record was stepped: the next click resumes play
  bool piece_picked = false;    // a piece is picked and waits for its target
  HumanMove human_move;
};

// Thinking time and the timer that shows it. Times are in seconds; the
// clock reads seconds since midnight.
struct TimeState {
  double turn_start_time = 0;  // the clock when the current move began
  double move_seconds = 0;     // the current move's time so far
  double man_time_total = 0;   // each side's time before the current move
  double com_time_total = 0;
  int shown_second = 0;        // the whole second last shown, so the display changes once a second
  bool timer_running = false;
};

// The options as their menu marks stand.
struct Options {
  int background_code = 0;  // 0 draws no picture until the settings file names a background
  bool move_hints = false;  // 移動指導 (Move Hints)
  // The colour of the outlines on the squares a picked piece can reach: white
  // with hints on, the board's line colour (so, unseen) with them off.
  int hint_colour = GREEN;
  bool marks[static_cast<int>(MenuMark::COUNT)] = {};
  bool marked(MenuMark m) const { return marks[static_cast<int>(m)]; }
};

struct HandicapState {
  int handicap_level = 0;  // > 0 the top side gives pieces, < 0 the bottom side
  bool handicap_set = false;  // a step was taken since the last reset: the rank shows, saving is refused
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
  void start_up();  // once, before any other event: the settings file, then a fresh board
  // A mouse button pressed on the drawing area, at (x, y) in the twips its
  // grid is laid out in (see Port). Which button, and the shift keys, make
  // no difference.
  void mouse_down(int button, int shift, double x, double y);
  void key_press(int key);  // Escape ends the program
  void window_closed();
  void timer_tick();  // while the timer runs: the clock of the side to move

  // Menu "対局" (Game). Opening any menu but "棋譜" hides the record-file panel.
  void game_menu_opened();
  void two_person_menu_opened() {}
  void start_two_person_game();
  void start_game_person_first();
  void start_game_computer_first();
  void choose_level(int n);
  void quit_game();
  // Menu "局面" (Board), and "戻" (Back) and "進" (Forward) on the menu bar.
  void board_menu_opened();
  void back_to_start();
  void flip_board();
  void step_back();
  void step_forward();
  // "△" and "▽" on the menu bar.
  void raise_handicap();
  void lower_handicap();
  // Menu "棋譜" (Record) and the record-file panel.
  void record_menu_opened();
  void show_load_panel();
  void show_save_panel();
  void save_record_file();  // the save form's RETURN button
  void load_record_file(const std::string& folder, const std::string& file_name);  // a click in the file list
  // Menu "ｵﾌﾟｼｮﾝ" (Options).
  void options_menu_opened();
  void choose_background(int code);  // BACKGROUND_GREEN .. BACKGROUND_BRICK, picture codes 2..6
  void toggle_move_hints();
  void toggle_clock();
  void toggle_music();
  // "その他" (About) on the menu bar.
  void show_about();

  // --- Operations -----------------------------------------------------------
  // A fresh board with no game running: the starting position, no handicap,
  // the clocks at zero, the whole screen drawn anew.
  void reset_game();
  void computer_turn();
  void set_level(int n);
  void draw_level(int level);
  // Waits while the window paints; closing the window meanwhile ends the program.
  void wait_seconds(double seconds);
  void announce_winner(const std::string& name);  // "NAMEの勝ちです" (NAME wins), then offers a new game
  void announce_move_limit_draw();  // the record holds 500 moves: the game ends undecided
  void release_sounds();

  // Carries out a move that the move check allowed and redraws the squares
  // and stands it changes. The record entry must be written first: it reads
  // the captured piece from the target square.
  void carry_out_move(int from_x, int from_y, int to_x, int to_y, int placed);

  // Drawing (display/).
  void draw_picture_at(int code, double x, double y);
  void draw_square_outline(int colour, int x, int y);
  void draw_background(int code);
  void draw_board();
  void draw_board_outlines();
  void redraw_screen();
  void draw_man_stand();
  void draw_com_stand();
  void draw_text_at(double x, double y, const std::string& text, int colour, int size);
  void draw_row_numeral(double x, double y, int value, int colour, int size);
  void draw_coordinate_labels();
  void draw_move_count(int count);
  void draw_label(double x, double y, int code, int colour, int size);  // LABEL_MOVES or a handicap level
  void animate_turning_piece(int kind, int x, int y);  // kind 1..6; see turning_kind in flow/mouse.cpp
  // Puts the plain outlines back on the board; then, with move hints on,
  // outlines in `colour` every square `piece` could move to from the place given.
  void outline_reachable_squares(int from_x, int from_y, int colour, int piece);
  // Draws the coordinate labels again and paints over the rows above and
  // below the board, where a loaded record file's header lines stand.
  void clear_loaded_record_texts();
  // Record (record/).
  void draw_move_result(int side, int to_x, int to_y, int placed, int colour);
  void erase_move_result(int side);
  void show_file_lists(bool drive, bool folder, bool file);
  void show_save_form();
  void hide_save_form();  // and empties its boxes
  void hide_record_panel();  // the lists and the save form
  // Time and options (options/).
  void draw_elapsed_time(int side, double seconds);
  void erase_elapsed_time(int side);
  void read_settings_file();
  void write_settings_file();
  void mark_background(int code);
  // Handicap (handicap/).
  void draw_handicap_level(int level);
  void show_handicap_refusal(int reason);

  // --- State ----------------------------------------------------------------
  Engine engine;           // the board, hands, king squares, maps and computer state
  MoveRecord record;       // the move record
  FlowState flow;          // sides, turn and the state of the game
  TimeState time;          // thinking time
  Options options;         // the option marks
  HandicapState handicap;  // the handicap
  // Drawing the coordinate labels turns every later text bold. They are drawn
  // at start-up, so in practice every text is bold.
  bool font_bold = false;
  bool ended = false;  // the program has ended

  static constexpr int board_line_colour = GREEN;
  static constexpr int outline_colour = GREEN;

  Port& port() { return port_; }

 private:
  void set_timer(bool running);
  void set_mark(MenuMark m, bool on);
  // Paints one grid place with the background picture, covering what stood there.
  void paint_background(int x, int y) { draw_picture_at(options.background_code, x, y); }
  void offer_new_game();  // "続けますか？" (Play again?): Yes resets the board, No ends the program
  [[noreturn]] void end_program();
  // The person's move once the move check allowed it, and the handover.
  void perform_human_move();
  void click_square(int x, int y);
  void click_beside_board(int x, int y);
  bool belongs_to_side_to_move(int code) const;
  void handicap_step(int direction);  // +1 for △, -1 for ▽
  void take_sides(bool person_first);
  bool fresh_start() const;

  Port& port_;
  bool sounds_released_ = false;
};

// Seconds from `start` to `now` on a clock that starts again from 0 at midnight.
double elapsed_seconds(double start, double now);
// n with a leading zero to two characters; "" when it takes more than two.
std::string two_digits(long n);
std::string clock_text(double seconds);  // hh:mm:ss
// The record's notation for a column 1..9 (full-width digit), a row given as
// 1001..1009 (kanji numeral 一..九) or a piece code of either side (its
// kanji, e.g. 飛 for the rook); "" for anything else.
std::string notation_text(int value);

}  // namespace vv
