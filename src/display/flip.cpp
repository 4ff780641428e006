// The board flip (局面 → 反転, Board → Flip), and the short animation of a
// piece turning over.
#include "flow/game.h"
#include "rules/piece.h"

namespace vv {
namespace {

// Picture codes of the turning frames, by kind 1..6; each face of a piece is
// printed in black or in red.
constexpr int TURNING_FRAMES[7][5] = {
    {0, 0, 0, 0, 0},
    {210, 211, 202, 203, 204},  // top piece, red face turning to black
    {200, 201, 202, 212, 213},  // top piece, black to red
    {200, 201, 202, 203, 204},  // top piece, black to black
    {214, 215, 207, 208, 209},  // bottom piece, red to black
    {205, 206, 207, 216, 217},  // bottom piece, black to red
    {205, 206, 207, 208, 209},  // bottom piece, black to black
};

}  // namespace

// Five frames a tenth of a second apart.
void Game::animate_turning_piece(int kind, int x, int y) {
  if (kind < 1 || kind > 6) return;
  for (int frame : TURNING_FRAMES[kind]) {
    draw_picture_at(frame, x, y);
    draw_square_outline(board_line_colour, x, y);
    port_.refresh();
    wait_seconds(0.1);
  }
}

void Game::flip_board() {
  if (flow.record_mode) {
    port_.play(Sound::REFUSED);
    port_.message("反転", "棋譜ﾓｰﾄﾞではできません");
    return;
  }
  flow.board_flipped = true;
  flow.piece_picked = false;
  // Every piece goes to the square opposite it through the centre and
  // changes owner.
  Position& p = engine.pos;
  int before[10][10];
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) before[x][y] = p.board[x][y];
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      const int code = before[x][y];
      p.board[10 - x][10 - y] = is_piece_code(code) ? -code : EMPTY;
    }
  for (int slot = 1; slot <= 4; ++slot) {
    const int man = p.man_hand[slot];
    p.man_hand[slot] = p.com_hand[slot];
    p.com_hand[slot] = man;
  }
  const int man_count = p.man_hand_count;
  p.man_hand_count = p.com_hand_count;
  p.com_hand_count = man_count;
  // The person's king square follows the turned board, found as the survey
  // finds it (the last in scan order); with none on the board it stays.
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      if (p.board[x][y] == -KING) {
        p.man_king_x = x;
        p.man_king_y = y;
      }
  redraw_screen();
  draw_move_count(flow.move_count);
  // The missing pieces changed sides with the board; so does the handicap.
  if (handicap.handicap_set) {
    handicap.handicap_level = -handicap.handicap_level;
    draw_handicap_level(handicap.handicap_level);
  }
  port_.play(Sound::PIECE_PLACED);
  // The pieces to move now stand on the other half and keep the move. The
  // record starts over: its entries describe the board before the flip.
  flow.side_to_move = -flow.side_to_move;
  record.move_number = 0;
  record.record_length = 0;
}

}  // namespace vv
