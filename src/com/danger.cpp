#include "com/danger.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "com/surveys.h"
#include "rules/piece.h"
#include "rules/move_check.h"

namespace vv {

DangerScan::Constants::Constants(const Engine& e)
    : man_holds_knight_gold_or_silver_bishop(e.pos.man_hand[3] > 0 || e.pos.man_hand[4] > 0),
      man_holds_any(e.pos.man_hand_count > 0),
      man_holds_lance_tokin(e.pos.man_hand[2] > 0),
      man_holds_knight_gold(e.pos.man_hand[3] > 0),
      man_holds_silver_bishop(e.pos.man_hand[4] > 0),
      man_holds_pawn_rook(e.pos.man_hand[1] > 0),
      com_king_x(e.pos.com_king_x),
      com_king_y(e.pos.com_king_y),
      corner_mask(corner_big_pieces(e.pos.board)) {}

namespace {

using ScanConstants = DangerScan::Constants;

// The terms of an empty square (see square_terms).
int empty_square_terms(Engine& e, const ScanConstants& c, int x, int y, double* out) {
  const auto& b = e.pos.board;
  const Influence& m = e.influence;
  const auto& MR = m.man_reach_count;
  const auto& CR = m.com_reach_count;
  int n = 0;
  auto add = [&](double term) { out[n++] = term; };
  const int mr = MR[x][y];
  const int cr = CR[x][y];
  if (mr > 0) {
    if (iabs(x - c.com_king_x) < 2 && iabs(y - c.com_king_y) < 2) {  // next to the COM king
      add(-(0.5 * mr));
      if (cr == 1 && mr > 1) add(-10);
      if (c.man_holds_knight_gold_or_silver_bishop) add(-10);
    }
    if (cr == 0 && y < 4) {
      add(-0.1);
      if (man_slider_behind(e, x, y) == 1) add(-10);
    }
    if (y < 4 && b[x][y + 1] == -PAWN && mr >= cr) {
      add(-30);
      if (man_slider_behind(e, x, y + 1) == 1) add(-70);
    }
  }
  if (c.man_holds_any) {
    // A dropped lance skewering two COM pieces in this column.
    if (c.man_holds_lance_tokin && y > 2 && b[x][y - 1] > LANCE && (mr > 0 || cr == 0)) {
      for (int r = y - 2; r > 0; --r) {
        if (b[x][r] == EMPTY) continue;
        if (b[x][r] > LANCE) add(-(100 + b[x][r] / 2.0));
        break;
      }
    }
    // A dropped knight forking two COM pieces.
    if (c.man_holds_knight_gold && (cr == 0 || (mr > 0 && m.com_capturer_piece[x][y] > KNIGHT)) && y > 2 && x > 1 &&
        x < 9 && b[x - 1][y - 2] > PAWN && b[x + 1][y - 2] > PAWN)
      add(-20);
    if (c.man_holds_knight_gold && cr <= 1) {
      const int around = surroundings(c.corner_mask, x, y);
      if (around < -1) add(-5);
      if (cr == 0 && around < 0) {
        add(-1);
        if (y < 4) add(-10);
      }
    }
    if (cr == 0) {
      if (y == 2 && b[x][1] == KNIGHT) add(-5);
      if (y < 4) add(-0.1);
      // A dropped bishop forking two COM pieces on a diagonal.
      if (c.man_holds_silver_bishop && y > 1 && y < 9 && x > 1 && x < 9) {
        if (b[x - 1][y - 1] >= 10 && b[x + 1][y + 1] >= 10 && CR[x - 1][y - 1] == 0 && CR[x + 1][y + 1] == 0)
          add(-20);
        if (b[x - 1][y + 1] >= 10 && b[x + 1][y - 1] >= 10 && CR[x - 1][y + 1] == 0 && CR[x + 1][y - 1] == 0)
          add(-20);
      }
    }
  }
  return n;
}

// The terms of a COM piece v (see square_terms).
int com_piece_terms(Engine& e, const ScanConstants& c, int x, int y, int v, double* out) {
  const auto& b = e.pos.board;
  const Influence& m = e.influence;
  const auto& MR = m.man_reach_count;
  const auto& CR = m.com_reach_count;
  int n = 0;
  auto add = [&](double term) { out[n++] = term; };
  const int mr = MR[x][y];
  const int cr = CR[x][y];
  const int mcp = iabs(m.man_capturer_piece[x][y]);
  if (v == KING && y == 1 && MR[x][2] > 0) {
    add(-50);
    if (MR[x][2] >= CR[x][2]) add(-250);
    if (c.man_holds_knight_gold_or_silver_bishop) add(-700);
  } else if (v == PAWN && m.man_capturer_piece[x][y] == -ROOK && c.man_holds_pawn_rook && mr >= cr && y < 9 &&
             CR[x][y + 1] == 1) {
    add(-5);
  }
  if (mr > 0) {
    const int qx = m.man_capturer_x[x][y], qy = m.man_capturer_y[x][y];
    const bool capturer_free = e.com_maps.man_pinned[qx][qy] == 0;
    if (m.com_guard_piece[x][y] == KING && (mr > 1 || v > mcp)) add(-100);
    if (capturer_free && v > mcp) add(-(v - mcp));
    if (cr > 0) {
      if (capturer_free) {
        if (mr > cr && m.com_guard_piece[x][y] >= mcp) add(-v);
        if (y <= 3 && cr == mr && b[x][y + 1] != EMPTY && man_slider_behind(e, x, y + 1) == 1)
          add(-(v + iabs(m.man_capturer_piece[x][y + 1])));
      }
    } else {
      add(-v);
      if (y <= 3) add(-1);
      const int before = e.com_maps.board_before[x][y];
      if (before <= -10) add(iabs(before));  // it has just captured there
      if (y < 4 && (m.man_capturer_piece[x][y] == -PAWN || m.man_capturer_piece[x][y] == -LANCE)) add(-20);
    }
  }
  return n;
}

// The terms of a MAN piece v (see square_terms).
int man_piece_terms(Engine& e, const ScanConstants& c, int x, int y, int v, double* out) {
  const auto& b = e.pos.board;
  const Influence& m = e.influence;
  const auto& MR = m.man_reach_count;
  const auto& CR = m.com_reach_count;
  int n = 0;
  auto add = [&](double term) { out[n++] = term; };
  const int cr = CR[x][y];
  if (cr > 0 && e.com_maps.com_reach_before[x][y] == 0) {  // a new attack on a MAN piece
    if (y > 2 && v == -KNIGHT && MR[x][y - 1] == 0 && b[x][y - 1] == SILVER) add(1);
    if (iabs(x - c.com_king_x) < 3 && iabs(y - c.com_king_y) < 3) add(15);
  }
  if (v == -KNIGHT && y >= 9 && b[x][y - 4] >= SILVER) {
    if (x > 1 && b[x - 1][y - 2] >= 0 && CR[x - 1][y - 2] == 0) add(-1);
    if (x < 9 && b[x + 1][y - 2] >= 0 && CR[x + 1][y - 2] == 0) add(-1);
  } else if ((v == -ROOK || v == -LANCE) && x == c.com_king_x) {
    add(-1);
  }
  return n;
}

// The terms square (x, y) adds to the danger, in the order they are added,
// leaving out the fork of the moved piece; at most MAX_TERMS. Each
// subtraction is kept as the addition of its negative, which rounds the same.
inline int square_terms(Engine& e, const ScanConstants& c, int x, int y, double* out) {
  const int v = e.pos.board[x][y];
  if (v == EMPTY) return empty_square_terms(e, c, x, y, out);
  if (v >= 10) return com_piece_terms(e, c, x, y, v, out);
  if (v <= -10) return man_piece_terms(e, c, x, y, v, out);
  return 0;
}

// False when square_terms surely adds nothing there, by a glance at the
// square and what its terms first ask: for an empty square, MAN's reach in
// rows 1..3 or next to the COM king, or a drop MAN could make there; for a
// COM piece, MAN's reach (but for a king on row 1 with MAN on row 2, or a
// pawn a MAN rook captures); for a MAN piece, a new attack near the COM king
// or on a knight under a COM silver, a knight on row 9 under a COM piece, or
// a rook or lance in the COM king's column. Each mirrors the conditions its
// terms stand on, or is looser.
inline bool may_add_terms(const Engine& e, const ScanConstants& c, int x, int y) {
  const auto& b = e.pos.board;
  const int v = b[x][y];
  const Influence& m = e.influence;
  const int mr = m.man_reach_count[x][y], cr = m.com_reach_count[x][y];
  if (v == EMPTY) {
    if (mr > 0 && (y < 4 || (iabs(x - c.com_king_x) < 2 && iabs(y - c.com_king_y) < 2))) return true;
    if (!c.man_holds_any) return false;
    if (c.man_holds_lance_tokin && y > 2 && b[x][y - 1] > LANCE && (mr > 0 || cr == 0)) return true;
    if (c.man_holds_knight_gold) {
      if (y > 2 && x > 1 && x < 9 && (cr == 0 || mr > 0) && b[x - 1][y - 2] > PAWN && b[x + 1][y - 2] > PAWN) return true;
      if (cr <= 1 && (c.corner_mask & corner_neighbours.of[x][y]) != 0) return true;
    }
    return cr == 0 && (y < 4 || (c.man_holds_silver_bishop && y > 1 && y < 9 && x > 1 && x < 9));
  }
  if (v >= 10)
    return mr > 0 || (v == KING && y == 1 && m.man_reach_count[x][2] > 0) ||
           (v == PAWN && m.man_capturer_piece[x][y] == -ROOK);
  if (v <= -10) {
    if (cr > 0 && e.com_maps.com_reach_before[x][y] == 0 &&
        ((iabs(x - c.com_king_x) < 3 && iabs(y - c.com_king_y) < 3) || (v == -KNIGHT && y > 2 && b[x][y - 1] == SILVER)))
      return true;
    if (v == -KNIGHT) return y >= 9 && b[x][y - 4] >= SILVER;
    return (v == -ROOK || v == -LANCE) && x == c.com_king_x;
  }
  return false;
}

// may_add_terms as a table over what a candidate changes on a square that
// keeps its board neighbourhood: bit (MAN count > 0) + 2 min(COM count, 2)
// answers it for those counts, which is all it asks of them (MAN's reach
// or none, COM's none, one or more). Built from the same conditions,
// grouped by the counts each stands on. A COM king on row 1 and a COM pawn
// also read other squares' maps: they are left out (ASK_AGAIN) and asked in full.
constexpr std::uint8_t SOME_MAN = 0x2a, NO_COM = 0x03, AT_MOST_ONE_COM = 0x0f, SOME_COM = 0x3c, ALWAYS = 0x3f;
constexpr std::uint16_t ASK_AGAIN = 0x100;
inline std::uint16_t may_add_table(const Engine& e, const ScanConstants& c, int x, int y) {
  const auto& b = e.pos.board;
  const int v = b[x][y];
  if (v == EMPTY) {
    std::uint16_t t = 0;
    if (y < 4 || (iabs(x - c.com_king_x) < 2 && iabs(y - c.com_king_y) < 2)) t |= SOME_MAN;
    if (!c.man_holds_any) return t;
    if (c.man_holds_lance_tokin && y > 2 && b[x][y - 1] > LANCE) t |= SOME_MAN | NO_COM;
    if (c.man_holds_knight_gold) {
      if (y > 2 && x > 1 && x < 9 && b[x - 1][y - 2] > PAWN && b[x + 1][y - 2] > PAWN) t |= SOME_MAN | NO_COM;
      if ((c.corner_mask & corner_neighbours.of[x][y]) != 0) t |= AT_MOST_ONE_COM;
    }
    if (y < 4 || (c.man_holds_silver_bishop && y > 1 && y < 9 && x > 1 && x < 9)) t |= NO_COM;
    return t;
  }
  if (v >= 10) return (v == KING && y == 1) || v == PAWN ? ASK_AGAIN : SOME_MAN;
  if (v <= -10) {
    std::uint16_t t = 0;
    if (e.com_maps.com_reach_before[x][y] == 0 &&
        ((iabs(x - c.com_king_x) < 3 && iabs(y - c.com_king_y) < 3) || (v == -KNIGHT && y > 2 && b[x][y - 1] == SILVER)))
      t |= SOME_COM;
    if (v == -KNIGHT ? y >= 9 && b[x][y - 4] >= SILVER : (v == -ROOK || v == -LANCE) && x == c.com_king_x) t |= ALWAYS;
    return t;
  }
  return 0;
}

// The table's answer for the square's counts now.
inline bool table_says(std::uint16_t table, const Engine& e, int x, int y) {
  const int mr = e.influence.man_reach_count[x][y], cr = e.influence.com_reach_count[x][y];
  return (table >> ((mr > 0) + 2 * (cr < 2 ? cr : 2))) & 1;
}

// The moved piece, standing unattacked, attacks this MAN piece: a fork term.
inline bool fork_on(const Engine& e, int piece, int to_x, int to_y, int x, int y) {
  return (e.influence.man_reach_count[x][y] == 0 || (x == e.pos.man_king_x && y == e.pos.man_king_y)) &&
         move_allowed(e.pos.board, to_x, to_y, x, y, piece) == 1;
}

}  // namespace

// Every square's terms in scan order, and the forks of the moved piece: a
// MAN piece it attacks while standing unattacked adds 0.1 on its square,
// and two or more add the value of the cheapest of them at the end.
double danger_score(Engine& e, int piece, int to_x, int to_y) {
  const ScanConstants c(e);
  const auto& b = e.pos.board;
  const bool moved_unattacked = e.influence.man_reach_count[to_x][to_y] == 0;
  double danger = 0;
  int fork_count = 0;
  int fork_min = 9999;
  double terms[DangerScan::MAX_TERMS];
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      const int n = square_terms(e, c, x, y, terms);
      for (int i = 0; i < n; ++i) danger += terms[i];
      const int v = b[x][y];
      if (v <= -10 && moved_unattacked && fork_on(e, piece, to_x, to_y, x, y)) {
        danger += 0.1;
        ++fork_count;
        if (iabs(v) < fork_min) fork_min = iabs(v);
      }
    }
  }
  if (fork_count > 1) danger += fork_min;
  return danger;
}

namespace {

// Which squares' terms can read a square, by what they read there.
struct Neighbours {
  SquareSet around[81];        // itself and the eight around it
  SquareSet column_top[81];    // rows 1..3 above it look down their column to row 5
  SquareSet king_area[81];     // the squares whose terms read a COM king standing here
  SquareSet table_readers[81];  // the squares whose may_add_table reads its board
  // The squares whose terms may read its board, by what stands on them:
  // a COM piece above it in its column; a MAN piece one or four rows below
  // it, or two below and a column over; an empty square in its column,
  // next to it, or two below and a column over.
  SquareSet com_board_readers[81], man_board_readers[81], empty_board_readers[81];
  Neighbours() {
    auto add = [](SquareSet& set, int x, int y) {
      if (x >= 1 && x <= 9 && y >= 1 && y <= 9) set.add(square_bit(x, y));
    };
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) {
        const int s = square_bit(x, y);
        for (int dx = -1; dx <= 1; ++dx)
          for (int dy = -1; dy <= 1; ++dy) add(around[s], x + dx, y + dy);
        if (y <= 5)
          for (int r = 1; r < y && r <= 3; ++r) add(column_top[s], x, r);
        // Empty squares next to it, MAN pieces two squares around it, MAN rooks and lances in its column.
        for (int dx = -2; dx <= 2; ++dx)
          for (int dy = -2; dy <= 2; ++dy) add(king_area[s], x + dx, y + dy);
        for (int r = 1; r <= 9; ++r) add(king_area[s], x, r);
        add(table_readers[s], x, y);
        add(table_readers[s], x, y + 1);
        add(table_readers[s], x - 1, y + 2);
        add(table_readers[s], x + 1, y + 2);
        add(table_readers[s], x, y + 4);
        for (int r = 1; r < y; ++r) add(com_board_readers[s], x, r);
        for (int r = 1; r <= 9; ++r) add(empty_board_readers[s], x, r);
        for (int dx = -1; dx <= 1; ++dx)
          for (int dy = -1; dy <= 1; ++dy) add(empty_board_readers[s], x + dx, y + dy);
        for (const int dy : {1, 4}) add(man_board_readers[s], x, y + dy);
        for (const int dx : {-1, 1}) {
          add(man_board_readers[s], x + dx, y + 2);
          add(empty_board_readers[s], x + dx, y + 2);
        }
      }
  }
};
const Neighbours near;

// Square sets as one 81-bit number, bit 9 (x - 1) + (y - 1).
using Bits = unsigned __int128;
inline Bits bits(const SquareSet& s) { return (static_cast<Bits>(s.hi) << 64) | s.lo; }
inline SquareSet set_of(Bits b) { return SquareSet{static_cast<std::uint64_t>(b), static_cast<std::uint64_t>(b >> 64)}; }
constexpr Bits ALL_SQUARES = (static_cast<Bits>(1) << 81) - 1;
struct Rows {
  Bits of[10] = {};  // the squares of row y
  constexpr Rows() {
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) of[y] |= static_cast<Bits>(1) << (9 * (x - 1) + y - 1);
  }
};
constexpr Rows rows;
// The squares one row above, one row below, and diagonally next to the
// squares of a set; a column's end does not run on into the next column.
inline Bits above(Bits b) { return (b & ~rows.of[1]) >> 1; }
inline Bits below(Bits b) { return (b & ~rows.of[9]) << 1; }
inline Bits diagonal(Bits b) {
  const Bits up = b & ~rows.of[1], down = b & ~rows.of[9];
  return ((up >> 10) | (up << 8) | (down >> 8) | (down << 10)) & ALL_SQUARES;
}
// From row 7: the row-9 squares one column over, where a MAN knight looks two rows up.
inline Bits knight_homes(Bits row7) { return ((row7 >> 7) | (row7 << 11)) & ALL_SQUARES; }

// The surroundings count's corner mask with square (x, y) holding a COM
// bishop, rook or king, or not.
inline std::uint32_t corner_with(std::uint32_t mask, int x, int y, bool big) {
  if (x > 5 || y > 5) return mask;
  const std::uint32_t bit = std::uint32_t{1} << (5 * (x - 1) + y - 1);
  return big ? mask | bit : mask & ~bit;
}

}  // namespace

void DangerScan::start(Engine& e) {
  engine_ = &e;
  start_constants_ = Constants(e);
  corner_mask_ = start_constants_.corner_mask;
  man_pieces_ = com_pieces_ = man_knights_ = empties_ = losing_ = man_unattacked_ = man_attackable_ = SquareSet{};
  man_unattacked_count_ = 0;
  attacks_most_ = 0;
  const Constants& c = start_constants_;
  ++starts_;
  std::memcpy(start_board_, e.pos.board, sizeof start_board_);
  // One pass in scan order over the start: each square's terms and the sum
  // as the scan adds it up to there (a candidate that changes nothing before
  // a square takes that sum as it stands); who stands where; the squares
  // whose terms read their own COM count on the start's board (a candidate
  // changing what a square's terms stand on makes it dirty through the
  // board): every COM piece, a MAN piece near the COM king or a MAN knight
  // under a COM silver, an empty square next to the COM king or in rows
  // 1..3 and those a MAN lance, knight or bishop drop would use; the squares
  // MAN reaches; and the bishop-drop squares marked before the candidates.
  const auto& b = e.pos.board;
  count_readers_ = man_reached_ = ask_again_ = SquareSet{};
  n_drop_targets_ = 0;
  int n_terms = 0;
  double sum = 0;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      const int s = square_bit(x, y);
      first_term_[s] = n_terms;
      prefix_[s] = sum;
      may_add_[s] = may_add_table(e, c, x, y);
      if (may_add_[s] & ASK_AGAIN) ask_again_.add(s);
      const bool adds = may_add_[s] & ASK_AGAIN ? may_add_terms(e, c, x, y) : table_says(may_add_[s], e, x, y);
      const int n = adds ? square_terms(e, c, x, y, terms_ + n_terms) : 0;
      double own = 0;
      for (int i = 0; i < n; ++i) {
        sum += terms_[n_terms + i];
        own += terms_[n_terms + i];
      }
      n_terms += n;
      const int v = b[x][y];
      own_sum_[s] = own;
      if (own < 0) losing_.add(s);
      // What a new attack on a MAN piece adds at most.
      attack_most_[s] = 0;
      if (v <= -10 && e.com_maps.com_reach_before[x][y] == 0) {
        man_unattacked_.add(s);
        ++man_unattacked_count_;
        if (iabs(x - c.com_king_x) < 3 && iabs(y - c.com_king_y) < 3) attack_most_[s] += 15;
        if (v == -KNIGHT && y > 2) attack_most_[s] += 1;
        if (attack_most_[s] > 0) man_attackable_.add(s);
        attacks_most_ += attack_most_[s];
      }
      bool reads = false;
      if (v <= -10) {
        man_pieces_.add(s);
        if (v == -KNIGHT) man_knights_.add(s);
        reads = (iabs(x - c.com_king_x) < 3 && iabs(y - c.com_king_y) < 3) || (v == -KNIGHT && y > 2 && b[x][y - 1] == SILVER);
      } else if (v >= 10) {
        com_pieces_.add(s);
        reads = true;
      } else if (v == EMPTY) {
        empties_.add(s);
        const bool inner = x > 1 && x < 9 && y > 1 && y < 9;
        reads = (iabs(x - c.com_king_x) < 2 && iabs(y - c.com_king_y) < 2) || y < 4 ||
                (c.man_holds_lance_tokin && y > 2 && b[x][y - 1] > LANCE) ||
                (c.man_holds_knight_gold && ((x > 1 && x < 9 && y > 2 && b[x - 1][y - 2] > PAWN && b[x + 1][y - 2] > PAWN) ||
                                        surroundings(c.corner_mask, x, y) < 0)) ||
                (c.man_holds_silver_bishop && inner);
      }
      if (reads) count_readers_.add(s);
      if (e.influence.man_reach_count[x][y] > 0) man_reached_.add(s);
      if (e.com_maps.man_bishop_drop_targets[x][y] == 1) drop_targets_[n_drop_targets_++] = s;
    }
  first_term_[81] = n_terms;
  prefix_[81] = sum;
  everything_ = false;
}

// The squares whose terms read square (x, y)'s board value, on board b,
// besides those in rows 1..3 above it that look down their column (which
// read it only where MAN reaches them, as the candidate decides): the square
// itself; the square below it when that is an empty square a dropped lance
// or a knight beside a COM knight on row 1 would use, or a MAN knight
// (which looks for a COM silver above it); the MAN knights on row 9 that
// look two rows up and a column over, or four rows up; and the drop squares
// of fork_and_lance_readers.
SquareSet DangerScan::board_readers(const Board& b, int x, int y, int fx, int fy) const {
  const Constants& c = start_constants_;
  SquareSet readers;
  readers.add(square_bit(x, y));
  if (y < 9) {
    const int below = b[x][y + 1];
    if ((below == EMPTY && ((c.man_holds_lance_tokin && y + 1 > 2) || (y == 1 && c.man_holds_any))) || below == -KNIGHT)
      readers.add(square_bit(x, y + 1));
  }
  auto knight_home = [&](int kx) {
    if (kx >= 1 && kx <= 9 && b[kx][9] == -KNIGHT) readers.add(square_bit(kx, 9));
  };
  if (y == 7) {
    knight_home(x - 1);
    knight_home(x + 1);
  }
  if (y == 5) knight_home(x);
  readers |= fork_and_lance_readers(b, x, y, fx, fy);
  return readers;
}

// The squares whose drop terms read square (x, y)'s board value. An empty square
// diagonally next to it reads it for a bishop fork, one two rows down and
// a column over for a knight fork, when the square on the other side of
// the fork holds a COM piece (or is the emptied source); a lance dropped
// below it sees it only from just under the first piece below it.
SquareSet DangerScan::fork_and_lance_readers(const Board& b, int x, int y, int fx, int fy) const {
  SquareSet readers;
  auto partner = [&](int px, int py, int above) {
    return px >= 1 && px <= 9 && py >= 1 && py <= 9 && (b[px][py] > above || (px == fx && py == fy));
  };
  // The drop square: empty, off the edge columns, rows 2..8 for a bishop, 3..9 for a knight.
  auto reader = [&](int rx, int ry, int lowest, int highest) {
    if (rx > 1 && rx < 9 && ry >= lowest && ry <= highest && b[rx][ry] == EMPTY) readers.add(square_bit(rx, ry));
  };
  if (start_constants_.man_holds_silver_bishop)
    for (const int dx : {-1, 1})
      for (const int dy : {-1, 1})
        if (partner(x + 2 * dx, y + 2 * dy, 9)) reader(x + dx, y + dy, 2, 8);
  if (start_constants_.man_holds_knight_gold)
    for (const int dx : {-1, 1})
      if (partner(x + 2 * dx, y, PAWN)) reader(x + dx, y + 2, 3, 9);
  if (start_constants_.man_holds_lance_tokin) {
    int q = y + 1;
    while (q <= 9 && b[x][q] == EMPTY) ++q;
    if (q < 9) readers.add(square_bit(x, q + 1));
  }
  return readers;
}

void DangerScan::prepare() {
  prepared_ = true;
  const CandidateSurvey& survey = *pending_.survey;
  const int fx = pending_.fx, fy = pending_.fy, tx = pending_.tx, ty = pending_.ty, piece = pending_.piece;
  everything_ = survey.fell_back() || move_reach.find(piece, tx, ty) == nullptr;
  if (everything_) return;
  // Who stands where in the candidate position decides which neighbours read a square's maps.
  SquareSet com = com_pieces_, knights = man_knights_, empty = empties_;
  if (is_board_column(fx)) {
    com.remove(square_bit(fx, fy));
    empty.add(square_bit(fx, fy));
  }
  com.add(square_bit(tx, ty));
  knights.remove(square_bit(tx, ty));
  empty.remove(square_bit(tx, ty));
  const bool bishop_in_hand = start_constants_.man_holds_silver_bishop;
  // Whole sets at a time: a set moved one row up or down, or diagonally,
  // names the neighbours of all its squares at once.
  const Bits man = bits(survey.man_reach_changed()), reach = bits(survey.com_reach_changed()),
             entries = bits(survey.entries_changed());
  const Bits com_now = bits(com), knights_now = bits(knights);
  // A MAN reach count is read on its square, by a MAN knight below it, and
  // on row 2 by a COM king above it. A COM reach count: on its square, by a
  // COM piece above it, by empty squares diagonally next to it when MAN
  // holds a bishop, and on row 7 by MAN knights on row 9. Guard and capturer
  // entries: on their square and by a COM piece above it.
  // A MAN piece's terms read neither its own MAN count nor its own entries.
  Bits d = ((man | entries) & (com_now | bits(empty))) | (reach & bits(count_readers_));
  d |= below(man) & knights_now;
  d |= above((man & rows.of[2]) | reach | entries) & com_now;
  // A diagonal neighbour's count is read only where it holds a COM piece,
  // and only as none or some.
  if (bishop_in_hand) {
    Bits crossed = 0;
    const Map& now = engine_->influence.com_reach_count;
    const Map& before = engine_->com_maps.com_reach_before;
    each_square(set_of(reach & com_now), [&](int s) {
      if ((now[bit_x(s)][bit_y(s)] == 0) != (before[bit_x(s)][bit_y(s)] == 0)) crossed |= static_cast<Bits>(1) << s;
    });
    d |= diagonal(crossed) & bits(empty);
  }
  d |= knight_homes(reach & rows.of[7]) & knights_now;
  dirty_ = set_of(d);
  const Board& b = engine_->pos.board;
  // A changed square is read as board_readers says. Those were drawn from
  // the start's board; they hold for the candidate's board unless its two
  // changed squares are near enough to see each other (two squares apart
  // at most, or in one column), which is worked out on the board itself.
  // Squares in rows 1..3 above a changed square look down to it only where MAN reaches them.
  const SquareSet man_reached_now = set_of(bits(man_reached_) | man);
  const bool apart = !is_board_column(fx) || (fx != tx && (iabs(fx - tx) > 2 || iabs(fy - ty) > 2));
  auto board_changed = [&](int x, int y) {
    const int s = square_bit(x, y);
    dirty_ |= near.column_top[s] & man_reached_now;
    if (apart) {
      // Drawn from the start's board the first time a candidate changes the square.
      if (readers_start_[s] != starts_) {
        readers_start_[s] = starts_;
        board_readers_[s] = board_readers(start_board_, x, y, 0, 0);
      }
      dirty_ |= board_readers_[s];
    } else {
      dirty_ |= board_readers(b, x, y, fx, fy);
    }
  };
  // The surroundings count of a dropped knight reads the COM bishops, rooks
  // and kings in the corner of columns and rows 1..5.
  std::uint32_t corner = corner_mask_;
  auto corner_square = [&](int x, int y, bool big) {
    const std::uint32_t now = corner_with(corner, x, y, big);
    if (now != corner && start_constants_.man_holds_knight_gold) dirty_ |= near.around[square_bit(x, y)];
    corner = now;
  };
  if (is_board_column(fx)) {
    board_changed(fx, fy);
    corner_square(fx, fy, false);
  }
  board_changed(tx, ty);
  corner_square(tx, ty, piece >= 800);
  start_constants_.corner_mask = corner;
  // The start's may-add table holds on the squares whose board neighbourhood
  // the candidate left as it was, while the corner stays as it was.
  ask_in_full_ = ask_again_;
  ask_in_full_ |= near.table_readers[square_bit(tx, ty)];
  if (is_board_column(fx)) ask_in_full_ |= near.table_readers[square_bit(fx, fy)];
  table_holds_ = corner == corner_mask_;
  // A COM piece adds terms only where MAN reaches it, or as a king on row 1;
  // one that stood there at the start and is not reached now added none then.
  const Bits quiet_com = com_now & ~(bits(man_reached_now) | rows.of[1]) & ~(static_cast<Bits>(1) << square_bit(tx, ty));
  dirty_ = set_of(bits(dirty_) & ~quiet_com);
}

// The MAN pieces the moved piece forks: it stands unattacked and attacks them.
SquareSet DangerScan::forks_of(const Engine& e, int piece, int to_x, int to_y) const {
  SquareSet forks;
  if (e.influence.man_reach_count[to_x][to_y] != 0) return forks;
  each_square(man_pieces_ & *move_reach.find(piece, to_x, to_y), [&](int s) {
    if (e.pos.board[bit_x(s)][bit_y(s)] <= -10 && fork_on(e, piece, to_x, to_y, bit_x(s), bit_y(s))) forks.add(s);
  });
  return forks;
}

double DangerScan::score(Engine& e, int piece, int to_x, int to_y) {
  if (deferring_) {
    asked_ = true;
    return 0;
  }
  if (!prepared_) prepare();
  if (everything_) return danger_score(e, piece, to_x, to_y);
  const SquareSet forks = forks_of(e, piece, to_x, to_y);
  // A COM king move changes the terms that read where the king stands: they
  // are worked out again around both squares, with the king where it is now.
  SquareSet dirty = dirty_;
  Constants c = start_constants_;
  bool table_holds = table_holds_;
  if (e.pos.com_king_x != c.com_king_x || e.pos.com_king_y != c.com_king_y) {
    table_holds = false;
    auto around_king = [&] {
      if (c.com_king_x >= 1 && c.com_king_x <= 9 && c.com_king_y >= 1 && c.com_king_y <= 9)
        dirty |= near.king_area[square_bit(c.com_king_x, c.com_king_y)];
    };
    around_king();
    c.com_king_x = e.pos.com_king_x;
    c.com_king_y = e.pos.com_king_y;
    around_king();
  }
  // Every square before the first one changed adds what it added at the
  // start, in the same order from 0: the start's running sum there is exact.
  // From there on the squares are taken in scan order as the plain scan
  // takes them: the unchanged ones between two changed ones add their terms
  // of the start, one by one, from the one list they are kept in.
  auto adds = [&](int s, int x, int y) {
    if (!table_holds || ask_in_full_.has(s)) return may_add_terms(e, c, x, y);
    return table_says(may_add_[s], e, x, y);
  };
  if (forks.empty()) {
    // While every square looked at again adds exactly the terms it added at
    // the start, the sum is the start's running sum: it is taken up from
    // there at the first square that adds something else.
    bool same = true;
    double danger = 0;
    int next_term = 0;
    double fresh[MAX_TERMS];
    each_square(dirty, [&](int s) {
      const int x = bit_x(s), y = bit_y(s);
      const int n = adds(s, x, y) ? square_terms(e, c, x, y, fresh) : 0;
      if (same) {
        const int start = first_term_[s];
        bool equal = n == first_term_[s + 1] - start;
        for (int i = 0; equal && i < n; ++i) equal = fresh[i] == terms_[start + i];
        if (equal) return;
        same = false;
        danger = prefix_[s];
      } else {
        for (const int end = first_term_[s]; next_term < end; ++next_term) danger += terms_[next_term];
      }
      next_term = first_term_[s + 1];
      for (int i = 0; i < n; ++i) danger += fresh[i];
    });
    if (same) return prefix_[81];
    for (const int end = first_term_[81]; next_term < end; ++next_term) danger += terms_[next_term];
    return danger;
  }
  SquareSet changed = dirty;
  changed |= forks;
  const int first = changed.lo != 0   ? __builtin_ctzll(changed.lo)
                    : changed.hi != 0 ? 64 + __builtin_ctzll(changed.hi)
                                      : 81;
  double danger = prefix_[first];
  int next_term = first_term_[first];
  int fork_count = 0;
  int fork_min = 9999;
  double fresh[MAX_TERMS];
  each_square(changed, [&](int s) {
    for (const int end = first_term_[s]; next_term < end; ++next_term) danger += terms_[next_term];
    next_term = first_term_[s + 1];
    if (dirty.has(s)) {
      if (adds(s, bit_x(s), bit_y(s))) {
        const int n = square_terms(e, c, bit_x(s), bit_y(s), fresh);
        for (int i = 0; i < n; ++i) danger += fresh[i];
      }
    } else {
      for (int i = first_term_[s]; i < next_term; ++i) danger += terms_[i];
    }
    if (forks.has(s)) {
      danger += 0.1;
      ++fork_count;
      const int v = iabs(e.pos.board[bit_x(s)][bit_y(s)]);
      if (v < fork_min) fork_min = v;
    }
  });
  for (const int end = first_term_[81]; next_term < end; ++next_term) danger += terms_[next_term];
  if (fork_count > 1) danger += fork_min;
  return danger;
}

// A square's terms read the board and the maps only near it, and which
// squares they read there depends on what stands on it. A COM piece reads
// the maps on it and on the square below it, and the board below it in its
// column. A MAN piece reads its COM count, the MAN count above it and on
// row 9 the COM counts two rows up and a column over; the board one and
// four rows up, and two up and a column over. An empty square reads its
// maps and the COM counts diagonally next to it; the board in its column,
// around it, and two up and a column over. Besides, every square reads
// where the COM king stands and what holds for the whole search. So a
// candidate can change only the terms of the squares that read a square
// whose maps or board it changed, and a COM king move those that read
// where the king stands, around both its squares.
//
// No term is above 0 but a MAN piece's that COM attacks anew (16 at most,
// near the COM king or on a knight) and a COM piece's on the square it has
// just captured: at the start every square's terms add up to 0 or less.
// So the whole term is at most what the positive terms and the forks can
// add, which is asked first (counting every MAN piece the moved piece
// reaches as a fork). Then, of the squares that may score differently,
// only the ones whose terms added up to less than 0, and the MAN pieces
// that can be attacked anew, can add more now, and at most what they lost
// and what a new attack adds. Then the target, the forks, the source and
// the other squares are scored one after another, each putting what it
// adds in place of its bound, until the sum is known to stay within the
// limit. The sums round a little differently from the scan's; the caller
// leaves a margin for it.
bool DangerScan::at_most(Engine& e, int piece, int to_x, int to_y, double limit) const {
  const CandidateSurvey& survey = *pending_.survey;
  const int fx = pending_.fx, fy = pending_.fy;
  const SquareSet* reach = move_reach.find(piece, to_x, to_y);
  if (survey.fell_back() || reach == nullptr) return false;
  const bool king_moved = e.pos.com_king_x != start_constants_.com_king_x || e.pos.com_king_y != start_constants_.com_king_y;
  // First the bound of all: no square adds less than 0 now.
  const SquareSet fork_targets = e.influence.man_reach_count[to_x][to_y] == 0 ? man_pieces_ & *reach : SquareSet{};
  int fork_count = 0, fork_largest = 0;
  each_square(fork_targets, [&](int s) {
    ++fork_count;
    fork_largest = std::max(fork_largest, iabs(e.pos.board[bit_x(s)][bit_y(s)]));
  });
  const double forks_most = 0.1 * fork_count + (fork_count > 1 ? fork_largest : 0);
  const int before = engine_->com_maps.board_before[to_x][to_y];
  const double target_most = before <= -10 ? iabs(before) : 0;
  const double attacks_most = king_moved ? 16.0 * man_unattacked_count_ : attacks_most_;
  if (forks_most + target_most + attacks_most <= limit) return true;
  const Bits man = bits(survey.man_reach_changed()), com = bits(survey.com_reach_changed());
  const Bits maps = man | com | bits(survey.entries_changed());
  const int t = square_bit(to_x, to_y);
  Bits com_readers = maps | above(maps) | bits(near.com_board_readers[t]);
  Bits man_readers = com | below(man) | knight_homes(com & rows.of[7]) | bits(near.man_board_readers[t]);
  Bits empty_readers = maps | diagonal(com) | bits(near.empty_board_readers[t]);
  Bits moved = static_cast<Bits>(1) << t;
  const bool board_move = is_board_column(fx);
  const int f = board_move ? square_bit(fx, fy) : 0;
  if (board_move) {
    com_readers |= bits(near.com_board_readers[f]);
    man_readers |= bits(near.man_board_readers[f]);
    empty_readers |= bits(near.empty_board_readers[f]);
    moved |= static_cast<Bits>(1) << f;
  }
  Constants c = start_constants_;
  if (king_moved) {
    Bits area = 0;
    if (c.com_king_x >= 1 && c.com_king_x <= 9 && c.com_king_y >= 1 && c.com_king_y <= 9)
      area = bits(near.king_area[square_bit(c.com_king_x, c.com_king_y)]);
    c.com_king_x = e.pos.com_king_x;
    c.com_king_y = e.pos.com_king_y;
    area |= bits(near.king_area[square_bit(c.com_king_x, c.com_king_y)]);
    com_readers |= area;
    man_readers |= area;
    empty_readers |= area;
  }
  const SquareSet losing = set_of(
      (((com_readers & bits(com_pieces_)) | (man_readers & bits(man_pieces_)) | (empty_readers & bits(empties_))) &
       bits(losing_)) & ~moved);
  // What a new attack adds at most, near the COM king where it stands now.
  const SquareSet attacked = set_of(com & bits(king_moved ? man_unattacked_ : man_attackable_) & ~moved);
  auto attack_most = [&](int s) {
    if (!king_moved) return attack_most_[s];
    const int x = bit_x(s), y = bit_y(s);
    return (iabs(x - c.com_king_x) < 3 && iabs(y - c.com_king_y) < 3 ? 15.0 : 0.0) +
           (e.pos.board[x][y] == -KNIGHT && y > 2 ? 1.0 : 0.0);
  };

  // The bound with nothing scored.
  double bound = prefix_[81] + target_most - own_sum_[t];
  if (board_move) bound -= own_sum_[f];
  each_square(losing, [&](int s) { bound -= own_sum_[s]; });
  each_square(attacked, [&](int s) { bound += attack_most(s); });
  bound += forks_most;
  if (bound <= limit) return true;

  // The candidate's corner, which the surroundings count reads.
  c.corner_mask = corner_with(board_move ? corner_with(corner_mask_, fx, fy, false) : corner_mask_, to_x, to_y,
                              piece >= 800);
  double terms[MAX_TERMS];
  auto adds = [&](int s) {
    const int n = square_terms(e, c, bit_x(s), bit_y(s), terms);
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += terms[i];
    return sum;
  };
  bound += adds(t) - target_most;
  if (bound <= limit) return true;
  if (fork_count > 0) {
    int forks = 0, smallest = 9999;
    each_square(forks_of(e, piece, to_x, to_y), [&](int s) {
      ++forks;
      smallest = std::min(smallest, iabs(e.pos.board[bit_x(s)][bit_y(s)]));
    });
    bound += 0.1 * forks + (forks > 1 ? smallest : 0) - forks_most;
    if (bound <= limit) return true;
  }
  if (board_move) {
    bound += adds(f);
    if (bound <= limit) return true;
  }
  bool within = false;
  each_square(losing, [&](int s) {
    if (within) return;
    bound += adds(s) - (attacked.has(s) ? attack_most(s) : 0);
    within = bound <= limit;
  });
  if (within) return true;
  each_square(attacked, [&](int s) {
    if (within || losing.has(s)) return;
    bound += adds(s) - attack_most(s);
    within = bound <= limit;
  });
  return within;
}

namespace {

// Only MAN bishops in columns 1..5, rows 1..5 are looked at.
bool corner_bishop_reaches(const Board& b, int x, int y) {
  for (int a = 1; a <= 5; ++a)
    for (int c = 1; c <= 5; ++c)
      if (b[a][c] == -BISHOP && move_allowed(b, a, c, x, y, -BISHOP) == 1) return true;
  return false;
}

}  // namespace

int bishop_drop_exposure(const Engine& e, int to_x, int to_y, int piece) {
  const auto& b = e.pos.board;
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      if (e.com_maps.man_bishop_drop_targets[x][y] != 1 || move_allowed(b, to_x, to_y, x, y, -BISHOP) != 1) continue;
      // Only the first such square counts.
      return corner_bishop_reaches(b, x, y) ? piece : 0;
    }
  }
  return 0;
}

int DangerScan::bishop_caution(const Engine& e, int to_x, int to_y, int piece) const {
  const auto& b = e.pos.board;
  for (int i = 0; i < n_drop_targets_; ++i) {
    const int x = bit_x(drop_targets_[i]), y = bit_y(drop_targets_[i]);
    if (move_allowed(b, to_x, to_y, x, y, -BISHOP) == 1) return corner_bishop_reaches(b, x, y) ? piece : 0;
  }
  return 0;
}

}  // namespace vv
