// Stepping through the move record: "進" (Forward) one move forward and "戻"
// (Back) one move back, both on the menu bar, and 局面 → 最初 (Board → Reset)
// back to the start. Board and hands are rebuilt from the record entries
// alone; the next click on the board resumes play from there.
#include "flow/game.h"
#include "rules/piece.h"

namespace vv {
namespace {

// One piece of a code's pair into (+1) or out of (-1) its owner's hand. A
// king has no pair and goes to no hand.
void change_hand(Position& p, int code, int by) {
  const int slot = hand_slot(code);
  if (slot == 0) return;
  if (is_man_piece(code)) {
    p.man_hand[slot] += by;
    p.man_hand_count += by;
  } else if (is_com_piece(code)) {
    p.com_hand[slot] += by;
    p.com_hand_count += by;
  }
}

// Does entry n fit the board and hands as they stand: the moving face on its
// source (a drop: its pair in its owner's hand) and the captured code on the
// target? A game's own record always fits, except for entries left over from
// before a flip, or made on a handicap board, when a new start replays them
// onto a board they were not made on: there they would overwrite pieces that
// are not theirs and conjure others into a hand.
bool entry_fits(const Position& p, const MoveRecord& r, int n) {
  if (n < 1 || n > RECORD_CAPACITY) return false;
  const int from_x = r.from_x[n], from_y = r.from_y[n];
  const int to_x = r.to_x[n], to_y = r.to_y[n];
  if (!is_board_column(to_x) || to_y < 1 || to_y > 9) return false;
  if (p.board[to_x][to_y] != r.captured[n]) return false;
  if (is_board_column(from_x)) return from_y >= 1 && from_y <= 9 && p.board[from_x][from_y] == r.piece[n];
  const int placed = r.placed[n], slot = hand_slot(placed);
  if (slot == 0) return false;
  return is_man_piece(placed) ? p.man_hand[slot] > 0 : p.com_hand[slot] > 0;
}

}  // namespace

void Game::step_forward() {
  hide_record_panel();
  if (flow.side_to_move == 0) {  // no game yet: start one from the menu "対局" (Game)
    port_.play(Sound::REFUSED);
    port_.message("開始", "「対局」で始めて下さい");
    return;
  }
  flow.resume_pending = true;
  // A loaded record file was replayed in full when it was read, so its
  // entries are taken without a check; the game's own record stops at an
  // entry that does not fit the board. At the end a loaded record says
  // "終わり" (that was the last move), the game's own "できません" (not possible).
  if (record.move_number >= record.record_length ||
      (!flow.record_mode && !entry_fits(engine.pos, record, record.move_number + 1))) {
    if (flow.record_mode) {
      port_.message("進む", "終わり");
    } else {
      port_.play(Sound::REFUSED);
      port_.message("進む", "できません");
    }
    return;
  }
  flow.piece_picked = false;
  set_timer(false);
  draw_board_outlines();
  const int n = ++record.move_number;
  flow.move_count += 1;
  draw_move_count(flow.move_count);

  Position& p = engine.pos;
  const int from_x = record.from_x[n], from_y = record.from_y[n];
  const int to_x = record.to_x[n], to_y = record.to_y[n];
  const int placed = record.placed[n], captured = record.captured[n];
  const bool board_move = is_board_column(from_x);
  if (board_move)
    p.board[from_x][from_y] = EMPTY;
  else
    change_hand(p, placed, -1);
  p.board[to_x][to_y] = placed;
  change_hand(p, -captured, +1);  // a capture sits in the other side's hand
  time.com_time_total = record.com_time_after[n];
  time.man_time_total = record.man_time_after[n];
  draw_elapsed_time(flow.com_side, time.com_time_total);
  draw_elapsed_time(flow.man_side, time.man_time_total);

  if (board_move) {
    draw_picture_at(PICTURE_EMPTY_SQUARE, from_x, from_y);
    draw_square_outline(board_line_colour, from_x, from_y);
  }
  draw_picture_at(placed, to_x, to_y);
  draw_square_outline(board_line_colour, to_x, to_y);
  draw_man_stand();
  draw_com_stand();
  port_.play(Sound::PIECE_PLACED);
  draw_move_result(placed > 0 ? flow.com_side : flow.man_side, to_x, to_y, placed, WHITE);
  flow.side_to_move = -flow.side_to_move;
  draw_move_count(flow.move_count);
}

void Game::step_back() {
  hide_record_panel();
  flow.resume_pending = true;
  if (record.move_number < 1) {
    port_.play(Sound::REFUSED);
    port_.message("戻る", "できません");
    return;
  }
  flow.piece_picked = false;
  set_timer(false);
  draw_board_outlines();

  Position& p = engine.pos;
  const int n = record.move_number;
  const int from_x = record.from_x[n], from_y = record.from_y[n];
  const int to_x = record.to_x[n], to_y = record.to_y[n];
  const int piece = record.piece[n], placed = record.placed[n], captured = record.captured[n];
  if (is_board_column(from_x)) {
    p.board[from_x][from_y] = piece;
    draw_picture_at(piece, from_x, from_y);
    draw_square_outline(board_line_colour, from_x, from_y);
  } else {
    change_hand(p, placed, +1);
  }
  change_hand(p, -captured, -1);
  time.com_time_total = record.com_time_before[n];
  time.man_time_total = record.man_time_before[n];
  draw_elapsed_time(flow.com_side, time.com_time_total);
  draw_elapsed_time(flow.man_side, time.man_time_total);
  p.board[to_x][to_y] = captured;

  draw_man_stand();
  draw_com_stand();
  draw_picture_at(PICTURE_EMPTY_SQUARE, to_x, to_y);
  draw_square_outline(board_line_colour, to_x, to_y);
  if (captured != EMPTY) {
    draw_picture_at(captured, to_x, to_y);
    draw_square_outline(board_line_colour, to_x, to_y);
  }
  port_.play(Sound::PIECE_PLACED);
  erase_move_result(piece > 0 ? flow.com_side : flow.man_side);
  record.move_number -= 1;
  flow.move_count -= 1;
  flow.side_to_move = -flow.side_to_move;
  draw_move_count(flow.move_count);
}

// 局面 → 最初 (Board → Reset): a fresh board, whatever was on it.
void Game::back_to_start() {
  reset_game();
  port_.play(Sound::PIECE_PLACED);
}

}  // namespace vv
