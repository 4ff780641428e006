// Start-up, the fresh board, carrying out a move, the ways a game and the
// program end, and the about box.
#include "flow/game.h"

#include "rules/move.h"
#include "rules/piece.h"
#include "rules/start_position.h"

namespace vv {

void Game::start_up() {
  port_.open_sounds();
  flow.record_mode = false;
  options.move_hints = false;
  record.record_length = 0;
  flow.first_side = 1;
  flow.second_side = -1;
  flow.man_side = flow.second_side;
  flow.com_side = flow.first_side;
  engine.com_level = 3;
  set_mark(MenuMark::LEVEL3, true);
  // 畳 (Tatami) carries the background mark until the settings file names a
  // background, and until then no background picture is drawn (code 0 draws
  // nothing). A settings file whose first line names no background leaves
  // both so on purpose: players of such a file see 畳 marked over a window
  // without a background.
  set_mark(MenuMark::TATAMI, true);
  options.background_code = 0;
  options.hint_colour = board_line_colour;
  read_settings_file();
  reset_game();
}

void Game::reset_game() {
  handicap.handicap_level = 0;
  handicap.handicap_set = false;
  flow.game_mode = TWO_PEOPLE;
  flow.winner = 0;
  flow.side_to_move = 0;
  record.move_number = 0;
  flow.move_count = 0;
  flow.board_flipped = false;
  set_timer(false);
  time.com_time_total = 0;
  time.man_time_total = 0;
  time.shown_second = 0;
  flow.record_mode = false;
  flow.resume_pending = false;
  flow.piece_picked = false;
  record.placed[0] = PAWN;

  Position& p = engine.pos;
  for (int s = 1; s <= 4; ++s) {
    p.man_hand[s] = 0;
    p.com_hand[s] = 0;
  }
  place_start_position(p);
  p.com_hand_count = 0;
  p.man_hand_count = 0;
  for (int s = 1; s <= 4; ++s) {
    if (p.com_hand[s] > 0) p.com_hand_count += p.com_hand[s];
    if (p.man_hand[s] > 0) p.man_hand_count += p.man_hand[s];
  }
  redraw_screen();
}

void Game::set_timer(bool running) {
  time.timer_running = running;
  port_.set_timer(running);
}

void Game::set_mark(MenuMark m, bool on) {
  options.marks[static_cast<int>(m)] = on;
  port_.set_mark(m, on);
}

void Game::wait_seconds(double seconds) {
  port_.wait(seconds);
  // Closing the window during a wait ends the program as closing it otherwise does.
  if (port_.close_requested()) window_closed();
}

void Game::carry_out_move(int from_x, int from_y, int to_x, int to_y, int placed) {
  Position& p = engine.pos;
  const int taken = apply_move(p, from_x, from_y, to_x, to_y, placed);
  // Taking a king decides the game; it goes to no hand.
  if (taken == KING) flow.winner = flow.man_side;
  if (taken == -KING) flow.winner = flow.com_side;
  // A captured piece joins the capturer's stand; a dropped one leaves its own.
  if (is_man_piece(taken)) draw_com_stand();
  if (is_com_piece(taken)) draw_man_stand();
  if (is_board_column(from_x)) {
    draw_picture_at(PICTURE_EMPTY_SQUARE, from_x, from_y);
    draw_square_outline(board_line_colour, from_x, from_y);
  } else if (from_x == COM_FRONT_COLUMN || from_x == COM_BACK_COLUMN) {
    draw_com_stand();
  } else {
    draw_man_stand();
  }
  draw_picture_at(placed, to_x, to_y);
  draw_square_outline(board_line_colour, to_x, to_y);
}

void Game::announce_winner(const std::string& name) {
  port_.message("終了", name + "の勝ちです");
  offer_new_game();
}

void Game::announce_move_limit_draw() {
  set_timer(false);
  port_.message("終了", "500手に達しました。引き分けです");
  offer_new_game();
}

void Game::offer_new_game() {
  if (port_.ask("再ゲーム", "続けますか？"))
    reset_game();
  else
    end_program();
}

void Game::release_sounds() {
  if (sounds_released_) return;
  sounds_released_ = true;
  port_.close_sounds();
}

void Game::end_program() {
  release_sounds();
  ended = true;
  port_.quit();
  throw ProgramEnded{};
}

void Game::quit_game() { end_program(); }

void Game::window_closed() { end_program(); }

void Game::key_press(int key) {
  if (key == KEY_ESCAPE) end_program();
}

void Game::show_about() {
  port_.play(Sound::CHIME);
  port_.about(
      "Veverodu 1.0\n"
      "将棋の仲間の盤上ゲーム。動いた駒は必ず裏返り、取った駒は表裏一組で持ち駒になります。\n"
      "A shogi-family game: every piece that moves turns over to its other face.");
}

}  // namespace vv
