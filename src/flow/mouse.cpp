// The person's moves: one click picks a piece of the side to move on the
// board or on its stand, a second click on a square moves or drops it. Then
// the turn passes to the computer or to the other person. A click on the
// other side's piece only shows, with move hints on, where that piece can go.
#include <cmath>

#include "com/escape_mate.h"
#include "flow/game.h"
#include "influence/survey.h"
#include "rules/move.h"
#include "rules/move_check.h"
#include "rules/piece.h"

namespace vv {
namespace {

// The faces shown in the stand columns, by grid row.
int man_hand_face(int column, int row) {  // rows 6..9
  return -hand_face(row - 5, column == MAN_BACK_COLUMN);
}
int com_hand_face(int column, int row) {  // rows 1..4
  return hand_face(5 - row, column == COM_BACK_COLUMN);
}

// The turning animation for a piece that showed `face_before` when picked:
// a tokin turns from red to black, a lance from black to red, any other face
// from black to black. Kinds 1..3 are the top side's pieces, 4..6 the bottom
// side's.
int turning_kind(int face_before) {
  if (face_before > 0) return face_before == TOKIN ? 1 : face_before == LANCE ? 2 : 3;
  return face_before == -TOKIN ? 4 : face_before == -LANCE ? 5 : 6;
}

bool on_board(int x, int y) { return is_board_column(x) && y >= 1 && y <= 9; }

}  // namespace

bool Game::belongs_to_side_to_move(int code) const {
  return (is_man_piece(code) && flow.side_to_move == flow.man_side) ||
         (is_com_piece(code) && flow.side_to_move == flow.com_side);
}

void Game::outline_reachable_squares(int from_x, int from_y, int colour, int piece) {
  draw_board_outlines();
  if (!options.move_hints) return;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      if (move_allowed(engine.pos.board, from_x, from_y, x, y, piece)) draw_square_outline(colour, x, y);
}

void Game::mouse_down(int, int, double x, double y) {
  hide_record_panel();
  // While a loaded record is shown the board takes no moves. Answering No to
  // the reminder (step through the record with 進, Forward) leaves the record
  // for a fresh board.
  if (flow.record_mode) {
    if (!port_.ask("棋譜", "棋譜を '進 'で進めて下さい")) {
      port_.play(Sound::REFUSED);
      reset_game();
    }
    return;
  }
  // Grid place (x, y) covers the rectangle from (2200 + 600 x, 520 + 615 y) twips.
  const int column = static_cast<int>(std::floor((x - 2200) / 600));
  const int row = static_cast<int>(std::floor((y - 520) / 615));
  if (flow.side_to_move == 0) {  // no game yet: start one from the menu "対局" (Game)
    port_.play(Sound::REFUSED);
    port_.message("開始", "「対局」で始めて下さい");
    return;
  }

  // After the record was stepped, this click first resumes play: the clock
  // starts again and the side to move is named. Against the computer, a
  // click while the computer is to move lets it play first. Either way the
  // same click then goes on to the board or the stands.
  if (flow.game_mode == TWO_PEOPLE) {
    if (flow.resume_pending) {
      flow.resume_pending = false;
      time.turn_start_time = port_.clock();
      if (options.marked(MenuMark::CLOCK)) set_timer(true);
      if (flow.side_to_move == flow.first_side)
        port_.message("対局", "先手の番です");
      else if (flow.side_to_move == flow.second_side)
        port_.message("対局", "後手の番です");
    }
  } else if (flow.side_to_move == flow.com_side) {
    flow.resume_pending = false;
    port_.message("再開(COM)", "OKですか？");
    computer_turn();
  } else if (flow.side_to_move == flow.man_side && flow.resume_pending) {
    flow.resume_pending = false;
    time.turn_start_time = port_.clock();
    if (options.marked(MenuMark::CLOCK)) set_timer(true);
    port_.message("対局", "MANの番です");
  }

  if (on_board(column, row))
    click_square(column, row);
  else
    click_beside_board(column, row);
}

void Game::click_square(int x, int y) {
  HumanMove& m = flow.human_move;
  const int code = engine.pos.board[x][y];
  if (!flow.piece_picked) {
    if (code == EMPTY) return;
    m.from_x = x;
    m.from_y = y;
    m.piece = code;
    outline_reachable_squares(x, y, options.hint_colour, code);
    if (belongs_to_side_to_move(code)) {
      flow.piece_picked = true;
      draw_square_outline(SELECTION_COLOUR, x, y);
      m.piece_shown = code;
    } else {
      // The other side's piece is not picked, only looked at: with move hints
      // on, the squares it can reach show.
      draw_square_outline(options.hint_colour, x, y);
    }
    return;
  }
  m.to_x = x;
  m.to_y = y;
  if (belongs_to_side_to_move(code)) {
    // Another piece of the side to move is picked instead.
    draw_square_outline(outline_colour, m.from_x, m.from_y);
    m.from_x = x;
    m.from_y = y;
    m.piece = code;
    m.piece_shown = code;
    outline_reachable_squares(x, y, options.hint_colour, code);
    draw_square_outline(SELECTION_COLOUR, x, y);
    return;
  }
  if (!move_allowed(engine.pos.board, m.from_x, m.from_y, x, y, m.piece)) {
    port_.play(Sound::REFUSED);
    flow.piece_picked = false;
    draw_board_outlines();
    return;
  }
  perform_human_move();
}

void Game::click_beside_board(int x, int y) {
  HumanMove& m = flow.human_move;
  if (m.piece != EMPTY) {
    // The outlines of the piece last looked at go. Unless this click lands on
    // a stand place with pieces, a picked piece stays picked.
    outline_reachable_squares(m.from_x, m.from_y, outline_colour, m.piece);
    draw_square_outline(outline_colour, m.from_x, m.from_y);
  }
  int face;
  int stand_side;
  if ((x == MAN_FRONT_COLUMN || x == MAN_BACK_COLUMN) && y >= 6 && y <= 9) {
    if (engine.pos.man_hand[y - 5] == 0) return;
    face = man_hand_face(x, y);
    stand_side = flow.man_side;
  } else if ((x == COM_FRONT_COLUMN || x == COM_BACK_COLUMN) && y >= 1 && y <= 5) {
    if (engine.pos.com_hand[5 - y] == 0) return;  // row 5 is slot 0, always empty
    face = com_hand_face(x, y);
    stand_side = flow.com_side;
  } else {
    return;
  }
  m.from_x = x;
  m.from_y = y;
  m.piece = face;
  // The stand of the side not to move is only looked at, as on the board.
  if (flow.side_to_move == stand_side) {
    flow.piece_picked = true;
    m.piece_shown = face;
    draw_square_outline(SELECTION_COLOUR, x, y);
  } else {
    flow.piece_picked = false;
    draw_square_outline(options.hint_colour, x, y);
  }
  outline_reachable_squares(x, y, options.hint_colour, face);
}

void Game::perform_human_move() {
  HumanMove& m = flow.human_move;
  // The record holds 500 moves: a move beyond them ends the game undecided.
  if (record.full()) {
    announce_move_limit_draw();
    return;
  }
  // The entry gives the move's time to the bottom side's clock even when the
  // second person of a two-person game made it: record files and stepping
  // through the record show these times, so they stay. The placed face is
  // put right below once a board move has turned the piece over.
  record_move(record, engine.pos, m.from_x, m.from_y, m.to_x, m.to_y, m.piece, m.piece, time.man_time_total,
              time.man_time_total + time.move_seconds, time.com_time_total, time.com_time_total);
  flow.move_count += 1;
  draw_move_count(flow.move_count);
  const bool board_move = is_board_column(m.from_x);
  if (board_move) {
    m.piece = face_after_move(m.piece);
    record.placed[record.move_number] = m.piece;
  }
  flow.piece_picked = false;
  draw_square_outline(outline_colour, m.from_x, m.from_y);
  draw_square_outline(outline_colour, m.to_x, m.to_y);
  outline_reachable_squares(m.from_x, m.from_y, outline_colour, m.piece);
  // Carrying out a drop from the top side's stand takes its slot, not the
  // grid row; the record entry above keeps the grid row.
  if (m.from_x < 0) m.from_y = 5 - m.from_y;
  const int captured = engine.pos.board[m.to_x][m.to_y];
  carry_out_move(m.from_x, m.from_y, m.to_x, m.to_y, m.piece);

  // A board move shows the piece as it was picked, then turns it over. A
  // king has one face and does not turn.
  if (board_move && m.piece != KING && m.piece != -KING) {
    draw_picture_at(m.piece_shown, m.to_x, m.to_y);
    draw_square_outline(board_line_colour, m.to_x, m.to_y);
    port_.refresh();
    port_.play(Sound::PIECE_PLACED);
    wait_seconds(0.2);
    animate_turning_piece(turning_kind(m.piece_shown), m.to_x, m.to_y);
    draw_picture_at(engine.pos.board[m.to_x][m.to_y], m.to_x, m.to_y);
    draw_square_outline(board_line_colour, m.to_x, m.to_y);
  }
  port_.play(Sound::PIECE_PLACED);
  draw_move_result(is_com_piece(m.piece) ? flow.com_side : flow.man_side, m.to_x, m.to_y, m.piece, WHITE);

  // Against the computer: the person's clock stops, and unless the game is
  // over the computer replies at once.
  if (flow.game_mode == AGAINST_COMPUTER) {
    set_timer(false);
    time.man_time_total += time.move_seconds;
    survey_influence(engine.pos, engine.influence);
    if (com_is_mated(engine) || captured == KING) {
      announce_winner("あなた");
    } else if (flow.winner == 0) {
      if (record.full()) {
        announce_move_limit_draw();
        return;
      }
      flow.side_to_move = flow.com_side;
      computer_turn();
    }
    return;
  }

  // Two people: a fresh start gives the bottom side the first move, so its
  // win is announced as the first player's (先手) and the top side's as the
  // second player's (後手). Then the turn passes; the first player's time is
  // added to the bottom side's total, the second player's to the top side's.
  if (flow.winner == flow.man_side)
    announce_winner("先手");
  else if (flow.winner == flow.com_side)
    announce_winner("後手");
  if (flow.side_to_move == flow.first_side) {
    flow.side_to_move = flow.second_side;
    time.man_time_total += time.move_seconds;
  } else if (flow.side_to_move == flow.second_side) {
    flow.side_to_move = flow.first_side;
    time.com_time_total += time.move_seconds;
  }
  time.turn_start_time = port_.clock();
  if (flow.winner == 0 && flow.side_to_move != 0 && record.full()) announce_move_limit_draw();
}

}  // namespace vv
