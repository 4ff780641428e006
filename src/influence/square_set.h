// Sets of board squares as bits, and where each face could move on an empty board.
#pragma once

#include <cstdint>

#include "rules/move_check.h"

namespace vv {

// One bit a square, bit 9 (x - 1) + (y - 1), so that scan order (column by
// column, each from row 1 down) is bit order.
struct SquareSet {
  std::uint64_t lo = 0, hi = 0;
  void add(int bit) {
    if (bit < 64)
      lo |= std::uint64_t{1} << bit;
    else
      hi |= std::uint64_t{1} << (bit - 64);
  }
  void remove(int bit) {
    if (bit < 64)
      lo &= ~(std::uint64_t{1} << bit);
    else
      hi &= ~(std::uint64_t{1} << (bit - 64));
  }
  bool has(int bit) const { return bit < 64 ? (lo >> bit) & 1 : (hi >> (bit - 64)) & 1; }
  SquareSet& operator|=(const SquareSet& o) {
    lo |= o.lo;
    hi |= o.hi;
    return *this;
  }
  SquareSet operator&(const SquareSet& o) const { return SquareSet{lo & o.lo, hi & o.hi}; }
  bool empty() const { return (lo | hi) == 0; }
  // Leaves only the squares from bit `first` on (0..81).
  void drop_below(int first) {
    if (first >= 64) {
      lo = 0;
      hi = first >= 81 ? 0 : hi & (~std::uint64_t{0} << (first - 64));
    } else {
      lo &= ~std::uint64_t{0} << first;
    }
  }
};

inline int square_bit(int x, int y) { return 9 * (x - 1) + (y - 1); }
// The nine squares of column x.
inline SquareSet column_squares(int x) {
  const unsigned __int128 column = static_cast<unsigned __int128>(0x1ff) << (9 * (x - 1));
  return SquareSet{static_cast<std::uint64_t>(column), static_cast<std::uint64_t>(column >> 64)};
}

// Column and row of each bit, looked up: dividing by 9 cost more than the
// work done on many of the squares visited.
struct BitCoordinates {
  std::uint8_t x[81], y[81];
  constexpr BitCoordinates() : x(), y() {
    for (int bit = 0; bit < 81; ++bit) {
      x[bit] = static_cast<std::uint8_t>(bit / 9 + 1);
      y[bit] = static_cast<std::uint8_t>(bit % 9 + 1);
    }
  }
};
inline constexpr BitCoordinates bit_coordinates{};
constexpr int bit_x(int bit) { return bit_coordinates.x[bit]; }
constexpr int bit_y(int bit) { return bit_coordinates.y[bit]; }

// Visits the squares of a set in scan order.
template <class Visit>
inline void each_square(const SquareSet& set, Visit&& visit) {
  for (std::uint64_t w = set.lo; w != 0; w &= w - 1) visit(__builtin_ctzll(w));
  for (std::uint64_t w = set.hi; w != 0; w &= w - 1) visit(64 + __builtin_ctzll(w));
}

// Where each of the eighteen faces could go from each square with the board
// empty. The move check says yes only inside this set, so a scan of targets
// may skip every other square.
class MoveReach {
 public:
  // Built once when the program starts. Every face moves along a line or
  // jumps like a knight, so only those squares are put to the move check.
  MoveReach() {
    static constexpr int FACES[9] = {PAWN, TOKIN, LANCE, KNIGHT, SILVER, GOLD, BISHOP, ROOK, KING};
    const Board empty{};
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) {
        int targets[81];
        int n = 0;
        for (int tx = 1; tx <= 9; ++tx)
          for (int ty = 1; ty <= 9; ++ty) {
            const int dx = iabs(tx - x), dy = iabs(ty - y);
            if (dx == 0 || dy == 0 || dx == dy || (dx == 1 && dy == 2)) targets[n++] = square_bit(tx, ty);
          }
        for (int side = 0; side < 2; ++side)
          for (int f = 0; f < 9; ++f)
            for (int i = 0; i < n; ++i)
              if (move_allowed(empty, x, y, bit_x(targets[i]), bit_y(targets[i]), side == 0 ? FACES[f] : -FACES[f]) == 1)
                of_[side][f][square_bit(x, y)].add(targets[i]);
      }
  }
  // nullptr for a code that is not a piece or a square off the board.
  const SquareSet* find(int code, int x, int y) const {
    if (x < 1 || x > 9 || y < 1 || y > 9) return nullptr;
    const int f = face_number(code);
    if (f < 0) return nullptr;
    return &of_[code < 0][f][square_bit(x, y)];
  }

 private:
  SquareSet of_[2][9][81];
};

inline const MoveReach move_reach;

}  // namespace vv
