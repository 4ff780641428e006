// The searching player's own board: a padded mailbox with incremental
// make/unmake, Zobrist keys over board, hands and side to move, and move
// generation that follows the move check exactly (every board move turns the
// piece over, a drop may use either face on any empty square, a king may be
// left attacked).
#pragma once

#include <cstdint>

#include "rules/position.h"

namespace vv::deep {

// Kinds. A cell holds +kind for the computer (top side, moving toward row 9),
// -kind for the person, 0 when empty and OFF beyond the edge.
enum Kind : int { NO_KIND = 0, PAWN_KIND = 1, TOKIN_KIND = 2, LANCE_KIND = 3, KNIGHT_KIND = 4, SILVER_KIND = 5, GOLD_KIND = 6, BISHOP_KIND = 7, ROOK_KIND = 8, KING_KIND = 9 };
constexpr int KINDS = 10;
constexpr int OFF = 64;

// Sides: the computer moves first in the tables below.
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

// Tables of the pairs: the face after a board move, the hand slot, the code
// the rest of the program uses.
constexpr int FLIP[KINDS] = {0, ROOK_KIND, LANCE_KIND, TOKIN_KIND, GOLD_KIND, BISHOP_KIND, KNIGHT_KIND, SILVER_KIND, PAWN_KIND, KING_KIND};
constexpr int SLOT[KINDS] = {0, 1, 2, 2, 3, 4, 3, 4, 1, 0};
constexpr int GAME_CODE[KINDS] = {0, 10, 11, 20, 30, 100, 110, 800, 900, 950};
constexpr int FRONT_FACE[5] = {0, PAWN_KIND, LANCE_KIND, KNIGHT_KIND, SILVER_KIND};  // hand column -1 / 12
constexpr int BACK_FACE[5] = {0, ROOK_KIND, TOKIN_KIND, GOLD_KIND, BISHOP_KIND};   // hand column -3 / 14

int kind_of_code(int game_code);  // 0 for a value that is no piece
int to_game_code(int cell);       // signed game code of a cell

// A move packed in 32 bits: from (a square, or the slot for a drop), to, the
// signed face before the move, and the drop flag. 0 is no move.
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

struct Undo {
  std::uint64_t key;
  int captured;
  int king_sq[2];
  int king_count[2];
};

constexpr int MAX_MOVES = 1024;

class DeepBoard {
 public:
  // Board and hands from a game position; side is COM or MAN.
  void set(const Position& p, int side_to_move);
  // Board and hands (with totals) written back as game codes; king squares untouched.
  void write(Position& p) const;

  int at(int sq) const { return cell_[sq + PAD]; }
  int side() const { return side_; }
  std::uint64_t key() const { return key_; }
  int hand(int side, int slot) const { return hand_[side][slot]; }
  int king_count(int side) const { return king_count_[side]; }

  void make(Move m, Undo& u);
  void unmake(Move m, const Undo& u);
  void make_null(Undo& u);
  void unmake_null(const Undo& u);

  // Every move the move check allows the side to move: board moves, then drops.
  int generate(Move* out) const;
  // Board moves that take a piece (a king included).
  int generate_captures(Move* out) const;

  // Does some piece of side `by` reach sq? With xray, runs of lances, rooks
  // and bishops go on through the other side's kings, as the influence
  // survey traces them.
  bool attacked_by(int by, int sq, bool xray) const;
  // A king square of `side`: the one king when there is exactly one,
  // otherwise the first (or the last) in scan order; 0 when it has none.
  int king_square(int side, bool last_in_scan) const;
  // Can the side to move take a king of the other side?
  bool can_take_king() const;
  // Is a king of the side to move attacked?
  bool in_check() const;

  // Recomputes the key from scratch (for tests and debug checks).
  std::uint64_t compute_key() const;
  bool operator==(const DeepBoard& o) const;

 private:
  void put(int sq, int cell);
  void rescan_kings();

  std::int8_t cell_[SQUARES + 2 * PAD] = {};
  int hand_[2][5] = {};
  int side_ = COM;
  std::uint64_t key_ = 0;
  int king_sq_[2] = {};
  int king_count_[2] = {};
};

}  // namespace vv::deep
