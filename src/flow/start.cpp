// The start items of the menu "対局" (Game): 対局(人間) → スタート, a game
// between two people, and 対局(COM) → 先手 or 後手, a game against the
// computer with the person moving first or second. A start with no move
// played is fresh; otherwise the game goes on from the position on the board,
// whoever is to move there.
#include <algorithm>

#include "flow/game.h"

namespace vv {
namespace {

constexpr const char* FIRST_TO_MOVE = "先手の番です";   // the first player to move
constexpr const char* SECOND_TO_MOVE = "後手の番です";  // the second player to move
constexpr const char* MAN_TO_MOVE = "MANの番です";      // the person to move

}  // namespace

// Opening a menu hides the record-file panel and empties its save form.
void Game::game_menu_opened() {
  hide_record_panel();
}

void Game::board_menu_opened() {
  hide_record_panel();
}

// A fresh game: the person takes the first or the second side, and the first
// side moves.
void Game::take_sides(bool person_first) {
  flow.man_side = person_first ? flow.first_side : flow.second_side;
  flow.com_side = person_first ? flow.second_side : flow.first_side;
  flow.side_to_move = flow.first_side;
}

// No game running, or no move played yet.
bool Game::fresh_start() const { return flow.side_to_move == 0 || flow.move_count == 0; }

void Game::start_two_person_game() {
  clear_loaded_record_texts();
  for (int x = -2; x <= 0; ++x) paint_background(x, 0);  // the computer's level label goes
  draw_board_outlines();
  time.turn_start_time = port_.clock();
  if (options.marked(MenuMark::CLOCK)) set_timer(true);
  flow.record_mode = false;
  flow.game_mode = TWO_PEOPLE;
  if (fresh_start()) {
    take_sides(true);
    port_.message(" ", FIRST_TO_MOVE);
  } else if (flow.side_to_move == flow.first_side) {
    port_.message(" ", FIRST_TO_MOVE);
  } else if (flow.side_to_move == flow.second_side) {
    port_.message(" ", SECOND_TO_MOVE);
  }
  flow.resume_pending = false;
}

void Game::start_game_person_first() {
  clear_loaded_record_texts();
  draw_level(engine.com_level);
  draw_board_outlines();
  flow.piece_picked = false;
  flow.game_mode = AGAINST_COMPUTER;
  flow.record_mode = false;
  // Record entries after the moves played can no longer be stepped to. The
  // move counter runs on across a flip while the record starts over, so it
  // can pass the record's 500 entries.
  record.record_length = std::min(flow.move_count, RECORD_CAPACITY);
  time.turn_start_time = port_.clock();
  set_timer(true);
  if (fresh_start()) {
    take_sides(true);
    port_.message(" ", MAN_TO_MOVE);
  } else if (flow.side_to_move == flow.man_side) {
    // The person keeps the move and becomes the first player.
    flow.man_side = flow.first_side;
    flow.com_side = flow.second_side;
    flow.side_to_move = flow.first_side;
    port_.message("対局", MAN_TO_MOVE);
  } else {
    computer_turn();  // the computer is to move on the board: it plays first
    return;
  }
  flow.resume_pending = false;
}

void Game::start_game_computer_first() {
  clear_loaded_record_texts();
  draw_level(engine.com_level);
  draw_board_outlines();
  set_timer(true);
  flow.piece_picked = false;
  flow.game_mode = AGAINST_COMPUTER;
  flow.record_mode = false;
  record.record_length = std::min(flow.move_count, RECORD_CAPACITY);
  if (fresh_start()) {
    take_sides(false);
    computer_turn();
  } else if (flow.side_to_move == flow.man_side) {
    port_.message("対局", MAN_TO_MOVE);
    flow.resume_pending = false;
  } else {
    computer_turn();
  }
}

}  // namespace vv
