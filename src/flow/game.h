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

// Code of the fixed text "手目" for draw_label (codes -10..10 are the handicap labels).
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
  void start_up();
  void mouse_down(int button, int shift, double x, double y);  // twips
  void key_press(int key);
  void window_closed();
  void timer_tick();

  // Menu "対局".
  void game_menu_opened();
  void two_person_menu_opened() {}
  void start_two_person_game();
  void start_game_person_first();
  void start_game_computer_first();
  void choose_level(int n);
  void quit_game();
  // Menu "局面" and the record steps.
  void board_menu_opened();
  void back_to_start();
  void flip_board();
  void step_back();
  void step_forward();
  // Handicap steps.
  void raise_handicap();
  void lower_handicap();
  // Menu "棋譜" and the record-file panel.
  void record_menu_opened();
  void show_load_panel();
  void show_save_panel();
  void save_record_file();
  void load_record_file(const std::string& folder, const std::string& file_name);
  // Menu "ｵﾌﾟｼｮﾝ".
  void options_menu_opened();
  void choose_background(int code);  // 緑 畳 竹 宇宙 煉瓦: picture codes 2..6
  void toggle_move_hints();
  void toggle_clock();
  void toggle_music();
  // Menu "その他".
  void show_about();

  // --- Operations -----------------------------------------------------------
  void reset_game();
  void computer_turn();
  void set_level(int n);
  void draw_level(int level);
  void wait_seconds(double seconds);
  void announce_winner(const std::string& name);
  void announce_move_limit_draw();  // the record holds 500 moves: the game ends undecided
  void release_sounds();

  // Carrying out a move that the move check allowed (the record entry comes first).
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
  void draw_label(double x, double y, int code, int colour, int size);
  void animate_turning_piece(int kind, int x, int y);
  void outline_reachable_squares(int from_x, int from_y, int colour, int piece);
  void clear_loaded_record_texts();
  // Record (record/).
  void draw_move_result(int side, int to_x, int to_y, int placed, int colour);
  void erase_move_result(int side);
  void show_file_lists(bool drive, bool folder, bool file);
  void set_save_form(int mode);
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
  void paint_background(int x, int y) { draw_picture_at(opt.background_code, x, y); }
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
double elapsed_seconds(double start, double now);
std::string two_digits(long n);
std::string clock_text(double seconds);
// Notation texts of columns (1..9), rows (1001..1009) and piece codes.
std::string notation_text(int value);

}  // namespace vv
