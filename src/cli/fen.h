// The engine protocol's text for positions and moves, as variant engines
// write this game: a FEN with the hands in brackets and the side to move, and
// coordinate moves with a `+` or `-` saying which face the piece shows when it
// lands.
//
// Squares are a file letter a..i (our x = 1..9, left to right) and a rank
// 1..9 counted from the bottom (rank = 10 - y). The bottom side is "white"
// (upper-case letters, `w`, moves first), the top side "black". Front faces
// are the plain letters P (歩) L (香) N (桂) S (銀) K (王); a back face is the
// letter of its front face with a `+`: +P 飛, +L と, +N 金, +S 角. Hands hold
// pairs, written by the front letter: `[PPnl]`. A board move is `e3e4+`
// (`+` lands on the back face, `-` on the front face, the king has neither);
// a drop is `P@e5` (front face) or `+P@e5` (back face), the letter upper case
// for either side.
#pragma once

#include <string>

#include "com/search.h"
#include "rules/position.h"

namespace vv::cli {

// A position for the protocol: the board and hands, whose turn it is, and the
// FEN's move number (1 at the start; it grows after each top-side move).
struct FenPosition {
  Position pos;
  bool top_to_move = false;
  int fullmove = 1;

  // Moves already played in the game: 0 at the start, the bottom side first.
  int plies() const { return 2 * (fullmove - 1) + (top_to_move ? 1 : 0); }
};

std::string format_fen(const FenPosition& f);

// Reads `BOARD[HAND] w|b [-] [-] [HALFMOVE] [FULLMOVE]`; the fields after the
// side are optional. False with a one-line reason, f unchanged, on bad input.
bool parse_fen(const std::string& text, FenPosition& f, std::string& error);

// A move in game coordinates for the side that plays it: a board move from
// its square, or a drop from that side's hand column (bottom: 12 front face,
// 14 back face, row slot + 5; top: -1 front, -3 back, row = slot). piece is
// the face before the move (the dropped face).
std::string format_move(const Candidate& c);

// Reads a move for the side to move of f and checks it by the game's rules:
// a board move needs a piece of that side on the source square that the
// move check lets reach the target, written with the face it turns to (no
// face for the king); a drop needs a pair that side holds and an empty
// square. False with a reason otherwise.
bool parse_move(const std::string& text, const FenPosition& f, Candidate& out, std::string& error);

// Plays a checked move: board, hands, side to move and move number. Returns
// the code captured (950 or -950 for a king).
int play_move(FenPosition& f, const Candidate& c);

// The face a piece shows once the move is made.
int placed_code(const Candidate& c);

// Every move the game's rules allow the side to move, in the protocol's text,
// one a line in the order of the move check's scan.
std::string list_moves(const FenPosition& f);

// The board turned half a turn with the owners exchanged, and a move found
// on such a board (or a move to be played on it) turned back the other way.
void turn_over(const Position& from, Position& to);
Candidate turn_move(const Candidate& c);

}  // namespace vv::cli
