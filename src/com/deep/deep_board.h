// The board of the searching player (level 4): a padded mailbox with
// incremental make/unmake, Zobrist keys over board, hands and side to move,
// and move generation that gives exactly the moves the game's move check
// (move_allowed) allows: every board move turns the piece over, a piece in
// hand may be dropped with either face on any empty square, and a king may be
// left attacked (the game ends when a king is taken).
#pragma once

#include <cstdint>

#include "rules/position.h"

namespace vv::deep {

// The faces numbered 1..9 so that they index small tables (the game's piece
// codes are PAWN = 10 .. KING = 950). A cell holds +kind for the computer
// (top side, moving toward row 9), -kind for the person, 0 when empty and OFF
// beyond the edge.
enum Kind : int {
  NO_KIND = 0,
  PAWN_KIND = 1,
  TOKIN_KIND = 2,
  LANCE_KIND = 3,
  KNIGHT_KIND = 4,
  SILVER_KIND = 5,
  GOLD_KIND = 6,
  BISHOP_KIND = 7,
  ROOK_KIND = 8,
  KING_KIND = 9
};
constexpr int KINDS = 10;
constexpr int OFF = 64;

// The two sides, as the first index of every per-side table.
constexpr int COM = 0;
constexpr int MAN = 1;

// Squares are x * 11 + y with x, y in 1..9; rows and columns 0 and 10 are the
// edge. PAD cells on both ends let a knight's jump from any square land on a
// readable cell.
constexpr int STRIDE = 11;
constexpr int PAD = 24;
constexpr int SQUARES = STRIDE * STRIDE;

constexpr int sq_of(int x, int y) { return x * STRIDE + y; }
constexpr int sq_x(int sq) { return sq / STRIDE; }
constexpr int sq_y(int sq) { return sq % STRIDE; }

// A piece has two faces, a pair, and a board move always turns it over:
// pawn/rook, lance/tokin, knight/gold, silver/bishop; the king has one face.
// By kind: FACE_AFTER_MOVE is the face after a board move, HAND_SLOT the hand slot a captured
// piece of that pair goes to (1..4, 0 for the king), PIECE_CODE the face's
// piece code in the rest of the program. By slot: the face a drop puts down
// from the front hand column (the game's column -1 for the computer, 12 for
// the person) and from the back one (-3 and 14).
constexpr int FACE_AFTER_MOVE[KINDS] = {0, ROOK_KIND, LANCE_KIND, TOKIN_KIND, GOLD_KIND,
                                        BISHOP_KIND, KNIGHT_KIND, SILVER_KIND, PAWN_KIND, KING_KIND};
constexpr int HAND_SLOT[KINDS] = {0, 1, 2, 2, 3, 4, 3, 4, 1, 0};
constexpr int PIECE_CODE[KINDS] = {0, 10, 11, 20, 30, 100, 110, 800, 900, 950};
constexpr int FRONT_FACE[5] = {0, PAWN_KIND, LANCE_KIND, KNIGHT_KIND, SILVER_KIND};  // hand column -1 / 12
constexpr int BACK_FACE[5] = {0, ROOK_KIND, TOKIN_KIND, GOLD_KIND, BISHOP_KIND};   // hand column -3 / 14

int kind_of_piece_code(int game_code);  // the kind whatever the sign; NO_KIND for a value that is no piece code
int to_piece_code(int cell);       // the signed piece code of a cell; 0 for empty or off the board

// A move packed in 32 bits: from (a square, or the hand slot for a drop) in
// bits 0-7, to in bits 8-15, the signed face before the move (for a drop, the
// face put down) plus 16 in bits 16-23, and the drop flag in bit 24. 0 is no
// move.
using Move = std::uint32_t;
constexpr Move NO_MOVE = 0;
constexpr Move make_move(int from, int to, int piece, bool drop) {
  return static_cast<Move>(from) | (static_cast<Move>(to) << 8) | (static_cast<Move>(piece + 16) << 16) |
         (drop ? (1u << 24) : 0u);
}
constexpr int move_from(Move m) { return static_cast<int>(m & 0xff); }
constexpr int move_to(Move m) { return static_cast<int>((m >> 8) & 0xff); }
constexpr int move_piece(Move m) { return static_cast<int>((m >> 16) & 0xff) - 16; }
constexpr bool move_is_drop(Move m) { return (m >> 24) & 1; }

// What make() keeps for unmake(): a captured king may change the king
// squares and counts.
struct Undo {
  std::uint64_t key;
  int captured;  // the cell taken, 0 for none
  int king_sq[2];
  int king_count[2];
};

// Room for the moves of any position: at most 4 pairs x 2 faces x 81 squares
// of drops, plus the board moves.
constexpr int MAX_MOVES = 1024;

class DeepBoard {
 public:
  // Board and hands from a game position; side_to_move is COM or MAN.
  void set(const Position& p, int side_to_move);
  // Board and hands (with totals) written back as game codes; king squares untouched.
  void write(Position& p) const;

  int at(int sq) const { return cell_[sq + PAD]; }
  int side() const { return side_; }
  std::uint64_t key() const { return key_; }
  int hand(int side, int slot) const { return hand_[side][slot]; }
  // A position read from text may give a side no king, or several.
  int king_count(int side) const { return king_count_[side]; }

  void make(Move m, Undo& u);
  void unmake(Move m, const Undo& u);
  // Passes the turn without a move (the search's null-move test).
  void make_null(Undo& u);
  void unmake_null(const Undo& u);

  // Every move the move check allows the side to move: board moves, then drops.
  int generate(Move* out) const;
  // Board moves that take a piece (a king included).
  int generate_captures(Move* out) const;

  // Does some piece of side `by` reach sq? With xray, the runs of lances,
  // rooks and bishops go on through kings of the side attacked, as the game's
  // influence survey traces its runs (the mate rule counts reach that way).
  bool attacked_by(int by, int sq, bool xray) const;
  // A king square of `side`: the one king when there is exactly one,
  // otherwise the first (or the last) in scan order, x then y from 1; 0 when
  // it has none.
  int king_square(int side, bool last_in_scan) const;
  // Can the side to move take a king of the other side?
  bool can_take_king() const;
  // Is a king of the side to move attacked?
  bool in_check() const;

  // Recomputes the key from scratch (for tests and debug checks).
  std::uint64_t compute_key() const;
  bool operator==(const DeepBoard& o) const;

 private:
  void put(int sq, int cell);  // sets a cell and its part of the key
  void rescan_kings();         // counts each side's kings; notes the last one's square

  std::int8_t cell_[SQUARES + 2 * PAD] = {};  // square sq is cell_[sq + PAD]
  int hand_[2][5] = {};
  int side_ = COM;
  std::uint64_t key_ = 0;
  int king_sq_[2] = {};  // kept up to date while a side has exactly one king
  int king_count_[2] = {};
};

}  // namespace vv::deep
