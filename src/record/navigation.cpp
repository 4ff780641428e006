// Stepping through the move record: "進" one move forward, "戻" one move
// back, "最初" back to the start. Board and hands are rebuilt from the record
// entries alone; the next click on the board resumes play from there.
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
  const int from_x = r.record_from_x[n], from_y = r.record_from_y[n];
  const int to_x = r.record_to_x[n], to_y = r.record_to_y[n];
  if (!is_board_column(to_x) || to_y < 1 || to_y > 9) return false;
  if (p.board[to_x][to_y] != r.record_captured[n]) return false;
  if (is_board_column(from_x)) return from_y >= 1 && from_y <= 9 && p.board[from_x][from_y] == r.record_piece[n];
  const int placed = r.record_placed[n], slot = hand_slot(placed);
  if (slot == 0) return false;
  return is_man_piece(placed) ? p.man_hand[slot] > 0 : p.com_hand[slot] > 0;
}

}  // namespace

void Game::AFTER_Click() {
  描画_可視(false, false, false);
  描画_棋譜_IO(1);
  if (flow.side_to_move == 0) {
    port_.play(Sound::禁止);
    port_.message("開始", "「対局」で始めて下さい");
    return;
  }
  flow.resume_pending = true;
  // A loaded record is replayed as written; the game's own stops at an entry
  // that does not fit the board.
  if (rec.move_number >= rec.record_length ||
      (!flow.record_mode && !entry_fits(e.pos, rec, rec.move_number + 1))) {
    if (flow.record_mode) {
      port_.message("進む", "終わり");
    } else {
      port_.play(Sound::禁止);
      port_.message("進む", "できません");
    }
    return;
  }
  flow.selection_state = 0;
  set_timer(false);
  描画_将棋盤桝();
  const int n = ++rec.move_number;
  flow.move_count += 1;
  描画_手数(flow.move_count);

  Position& p = e.pos;
  const int from_x = rec.record_from_x[n], from_y = rec.record_from_y[n];
  const int to_x = rec.record_to_x[n], to_y = rec.record_to_y[n];
  const int placed = rec.record_placed[n], captured = rec.record_captured[n];
  const bool board_move = is_board_column(from_x);
  if (board_move)
    p.board[from_x][from_y] = EMPTY;
  else
    change_hand(p, placed, -1);
  p.board[to_x][to_y] = placed;
  change_hand(p, -captured, +1);  // a capture sits in the other side's hand
  time.com_time_total = rec.record_com_time_after[n];
  time.man_time_total = rec.record_man_time_after[n];
  描画_所有時間(flow.com_side, time.com_time_total);
  描画_所有時間(flow.man_side, time.man_time_total);

  if (board_move) {
    描画_絵(PICTURE_EMPTY_SQUARE, from_x, from_y);
    描画_桝輪郭(board_line_colour, from_x, from_y);
  }
  描画_絵(placed, to_x, to_y);
  描画_桝輪郭(board_line_colour, to_x, to_y);
  描画_自持盤();
  描画_敵持盤();
  port_.play(Sound::駒打音);
  描画_移動結果(placed > 0 ? flow.com_side : flow.man_side, to_x, to_y, placed, WHITE);
  flow.side_to_move = -flow.side_to_move;
  描画_手数(flow.move_count);
}

void Game::REPLAY_Click() {
  描画_可視(false, false, false);
  描画_棋譜_IO(1);
  flow.resume_pending = true;
  if (rec.move_number < 1) {
    port_.play(Sound::禁止);
    port_.message("戻る", "できません");
    return;
  }
  flow.selection_state = 0;
  set_timer(false);
  描画_将棋盤桝();

  Position& p = e.pos;
  const int n = rec.move_number;
  const int from_x = rec.record_from_x[n], from_y = rec.record_from_y[n];
  const int to_x = rec.record_to_x[n], to_y = rec.record_to_y[n];
  const int piece = rec.record_piece[n], placed = rec.record_placed[n], captured = rec.record_captured[n];
  if (is_board_column(from_x)) {
    p.board[from_x][from_y] = piece;
    描画_絵(piece, from_x, from_y);
    描画_桝輪郭(board_line_colour, from_x, from_y);
  } else {
    change_hand(p, placed, +1);
  }
  change_hand(p, -captured, -1);
  time.com_time_total = rec.record_com_time_before[n];
  time.man_time_total = rec.record_man_time_before[n];
  描画_所有時間(flow.com_side, time.com_time_total);
  描画_所有時間(flow.man_side, time.man_time_total);
  p.board[to_x][to_y] = captured;

  描画_自持盤();
  描画_敵持盤();
  描画_絵(PICTURE_EMPTY_SQUARE, to_x, to_y);
  描画_桝輪郭(board_line_colour, to_x, to_y);
  if (captured != EMPTY) {
    描画_絵(captured, to_x, to_y);
    描画_桝輪郭(board_line_colour, to_x, to_y);
  }
  port_.play(Sound::駒打音);
  消去_移動結果(piece > 0 ? flow.com_side : flow.man_side);
  rec.move_number -= 1;
  flow.move_count -= 1;
  flow.side_to_move = -flow.side_to_move;
  描画_手数(flow.move_count);
}

void Game::CANCEL_Click() {
  初期設定();
  port_.play(Sound::駒打音);
}

}  // namespace vv
