#include "com/deep/deep_board.h"

#include <cstring>
#include <initializer_list>

#include "rules/piece.h"

namespace vv::deep {
namespace {

// Hand counts can exceed the pieces of one set: a position read from text may
// hold up to 99 in a slot, and captures add to that. Counts from MAX_HAND - 1
// up share one key.
constexpr int MAX_HAND = 256;

// Zobrist keys from a fixed splitmix64 sequence: the same keys every run.
struct Keys {
  std::uint64_t cell[19][SQUARES];  // indexed by cell + 9; an empty cell's keys are 0
  std::uint64_t hand[2][5][MAX_HAND];
  std::uint64_t side;
  Keys() {
    std::uint64_t s = 0x9e3779b97f4a7c15ULL;
    auto next = [&s] {
      std::uint64_t z = (s += 0x9e3779b97f4a7c15ULL);
      z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
      z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
      return z ^ (z >> 31);
    };
    for (auto& row : cell)
      for (auto& k : row) k = next();
    for (auto& k : cell[9]) k = 0;
    for (auto& side_keys : hand)
      for (auto& slot : side_keys)
        for (auto& k : slot) k = next();
    side = next();
  }
};
const Keys keys;

inline int hand_index(int count) { return count < 0 ? 0 : (count >= MAX_HAND ? MAX_HAND - 1 : count); }

// Movement vectors (dx, dy) for the computer, whose forward is dy = +1; the
// person's are the same with dy negated. A tokin moves as a gold.
struct Vec {
  int dx, dy;
};
constexpr Vec PAWN_STEPS[] = {{0, 1}};
constexpr Vec KNIGHT_STEPS[] = {{-1, 2}, {1, 2}};
constexpr Vec SILVER_STEPS[] = {{-1, 1}, {0, 1}, {1, 1}, {-1, -1}, {1, -1}};
constexpr Vec GOLD_STEPS[] = {{-1, 1}, {0, 1}, {1, 1}, {-1, 0}, {1, 0}, {0, -1}};
constexpr Vec KING_STEPS[] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
constexpr Vec ROOK_DIRS[] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};
constexpr Vec BISHOP_DIRS[] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};

// Square offsets: a move from sq goes to sq + d[i].
struct Deltas {
  int n = 0;
  int d[8] = {};
};

// By side and kind: the single moves (a knight's jumps among them), the
// directions of runs (lance, bishop, rook), and for attacked_by whether the
// kind moves one square by (dx, dy).
struct Tables {
  Deltas steps[2][KINDS];
  Deltas slides[2][KINDS];
  bool step_ok[2][KINDS][3][3] = {};
  Tables() {
    for (int side = 0; side < 2; ++side) {
      const int forward = side == COM ? 1 : -1;
      auto fill = [&](Deltas& out, const Vec* v, int n, int kind, bool one_square) {
        out.n = n;
        for (int i = 0; i < n; ++i) {
          out.d[i] = v[i].dx * STRIDE + v[i].dy * forward;
          if (one_square) step_ok[side][kind][v[i].dx + 1][v[i].dy * forward + 1] = true;
        }
      };
      fill(steps[side][PAWN_KIND], PAWN_STEPS, 1, PAWN_KIND, true);
      fill(steps[side][SILVER_KIND], SILVER_STEPS, 5, SILVER_KIND, true);
      fill(steps[side][GOLD_KIND], GOLD_STEPS, 6, GOLD_KIND, true);
      fill(steps[side][TOKIN_KIND], GOLD_STEPS, 6, TOKIN_KIND, true);
      fill(steps[side][KING_KIND], KING_STEPS, 8, KING_KIND, true);
      fill(steps[side][KNIGHT_KIND], KNIGHT_STEPS, 2, KNIGHT_KIND, false);
      const Vec lance[] = {{0, 1}};
      fill(slides[side][LANCE_KIND], lance, 1, LANCE_KIND, false);
      fill(slides[side][ROOK_KIND], ROOK_DIRS, 4, ROOK_KIND, false);
      fill(slides[side][BISHOP_KIND], BISHOP_DIRS, 4, BISHOP_KIND, false);
    }
  }
};
const Tables tables;

// The sign of a side's cells, and tests for a cell of the side with sign
// sgn and of its opponent; an edge cell (OFF) is neither.
inline int sign_of(int side) { return side == COM ? 1 : -1; }
inline bool own(int cell, int sgn) { return cell * sgn > 0 && cell != OFF; }
inline bool enemy(int cell, int sgn) { return cell * sgn < 0 && cell != OFF && cell != -OFF; }

}  // namespace

int kind_of_piece_code(int game_code) {
  switch (iabs(game_code)) {
    case PAWN: return PAWN_KIND;
    case TOKIN: return TOKIN_KIND;
    case LANCE: return LANCE_KIND;
    case KNIGHT: return KNIGHT_KIND;
    case SILVER: return SILVER_KIND;
    case GOLD: return GOLD_KIND;
    case BISHOP: return BISHOP_KIND;
    case ROOK: return ROOK_KIND;
    case KING: return KING_KIND;
    default: return NO_KIND;
  }
}

int to_piece_code(int cell) {
  if (cell == 0 || cell == OFF) return 0;
  return cell > 0 ? PIECE_CODE[cell] : -PIECE_CODE[-cell];
}

void DeepBoard::set(const Position& p, int side_to_move) {
  std::memset(cell_, OFF, sizeof cell_);
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      const int code = p.board[x][y];
      const int k = kind_of_piece_code(code);
      // A value that is no piece code cannot stand on a played board; read it as empty.
      cell_[sq_of(x, y) + PAD] = static_cast<std::int8_t>(k == NO_KIND ? 0 : (code > 0 ? k : -k));
    }
  for (int slot = 0; slot < 5; ++slot) {
    hand_[COM][slot] = slot == 0 ? 0 : p.com_hand[slot];
    hand_[MAN][slot] = slot == 0 ? 0 : p.man_hand[slot];
  }
  side_ = side_to_move;
  rescan_kings();
  key_ = compute_key();
}

void DeepBoard::write(Position& p) const {
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) p.board[x][y] = to_piece_code(at(sq_of(x, y)));
  p.com_hand_count = p.man_hand_count = 0;
  for (int slot = 1; slot <= 4; ++slot) {
    p.com_hand[slot] = hand_[COM][slot];
    p.man_hand[slot] = hand_[MAN][slot];
    p.com_hand_count += hand_[COM][slot];
    p.man_hand_count += hand_[MAN][slot];
  }
}

std::uint64_t DeepBoard::compute_key() const {
  std::uint64_t k = side_ == MAN ? keys.side : 0;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) k ^= keys.cell[at(sq_of(x, y)) + 9][sq_of(x, y)];
  for (int s = 0; s < 2; ++s)
    for (int slot = 1; slot <= 4; ++slot) k ^= keys.hand[s][slot][hand_index(hand_[s][slot])];
  return k;
}

bool DeepBoard::operator==(const DeepBoard& o) const {
  return std::memcmp(cell_, o.cell_, sizeof cell_) == 0 && std::memcmp(hand_, o.hand_, sizeof hand_) == 0 &&
         side_ == o.side_ && key_ == o.key_ && king_count_[0] == o.king_count_[0] &&
         king_count_[1] == o.king_count_[1] && king_square(COM, true) == o.king_square(COM, true) &&
         king_square(MAN, true) == o.king_square(MAN, true);
}

void DeepBoard::rescan_kings() {
  king_count_[COM] = king_count_[MAN] = 0;
  king_sq_[COM] = king_sq_[MAN] = 0;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      const int c = at(sq_of(x, y));
      if (c == KING_KIND || c == -KING_KIND) {
        const int s = c > 0 ? COM : MAN;
        ++king_count_[s];
        king_sq_[s] = sq_of(x, y);
      }
    }
}

inline void DeepBoard::put(int sq, int cell) {
  key_ ^= keys.cell[cell_[sq + PAD] + 9][sq] ^ keys.cell[cell + 9][sq];
  cell_[sq + PAD] = static_cast<std::int8_t>(cell);
}

void DeepBoard::make(Move m, Undo& u) {
  u.key = key_;
  u.king_sq[0] = king_sq_[0];
  u.king_sq[1] = king_sq_[1];
  u.king_count[0] = king_count_[0];
  u.king_count[1] = king_count_[1];
  const int side = side_;
  const int to = move_to(m);
  if (move_is_drop(m)) {
    const int slot = move_from(m);
    const int before = hand_[side][slot];
    key_ ^= keys.hand[side][slot][hand_index(before)] ^ keys.hand[side][slot][hand_index(before - 1)];
    hand_[side][slot] = before - 1;
    u.captured = 0;
    put(to, move_piece(m));
  } else {
    const int from = move_from(m);
    const int piece = at(from);
    const int captured = at(to);
    u.captured = captured;
    const int sgn = sign_of(side);
    const int kind = piece * sgn;
    put(from, 0);
    put(to, FACE_AFTER_MOVE[kind] * sgn);
    if (kind == KING_KIND && king_count_[side] == 1) king_sq_[side] = to;
    if (captured != 0) {
      const int captured_kind = captured < 0 ? -captured : captured;
      if (captured_kind == KING_KIND) {
        // A king goes to no hand; the game is over, but the search may still
        // unmake. With one king left, a rescan finds its square.
        if (--king_count_[side ^ 1] == 1) rescan_kings();
      } else {
        const int slot = HAND_SLOT[captured_kind];
        const int before = hand_[side][slot];
        key_ ^= keys.hand[side][slot][hand_index(before)] ^ keys.hand[side][slot][hand_index(before + 1)];
        hand_[side][slot] = before + 1;
      }
    }
  }
  side_ ^= 1;
  key_ ^= keys.side;
}

void DeepBoard::unmake(Move m, const Undo& u) {
  side_ ^= 1;
  const int side = side_;
  const int to = move_to(m);
  if (move_is_drop(m)) {
    hand_[side][move_from(m)] += 1;
    cell_[to + PAD] = 0;
  } else {
    cell_[move_from(m) + PAD] = static_cast<std::int8_t>(move_piece(m));
    cell_[to + PAD] = static_cast<std::int8_t>(u.captured);
    const int captured_kind = u.captured < 0 ? -u.captured : u.captured;
    if (captured_kind != 0 && captured_kind != KING_KIND) hand_[side][HAND_SLOT[captured_kind]] -= 1;
  }
  key_ = u.key;
  king_sq_[0] = u.king_sq[0];
  king_sq_[1] = u.king_sq[1];
  king_count_[0] = u.king_count[0];
  king_count_[1] = u.king_count[1];
}

void DeepBoard::make_null(Undo& u) {
  u.key = key_;
  side_ ^= 1;
  key_ ^= keys.side;
}

void DeepBoard::unmake_null(const Undo& u) {
  side_ ^= 1;
  key_ = u.key;
}

int DeepBoard::generate(Move* out) const {
  const int side = side_;
  const int sgn = sign_of(side);
  int n = 0;
  int empties[81];
  int empty_count = 0;
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      const int sq = sq_of(x, y);
      const int piece = at(sq);
      if (piece == 0) {
        empties[empty_count++] = sq;
        continue;
      }
      if (!own(piece, sgn)) continue;
      const int kind = piece * sgn;
      const Deltas& steps = tables.steps[side][kind];
      for (int i = 0; i < steps.n; ++i) {
        const int to = sq + steps.d[i];
        const int c = at(to);
        if (c == OFF || own(c, sgn)) continue;
        out[n++] = make_move(sq, to, piece, false);
      }
      const Deltas& runs = tables.slides[side][kind];
      for (int i = 0; i < runs.n; ++i) {
        int to = sq + runs.d[i];
        while (at(to) == 0) {
          out[n++] = make_move(sq, to, piece, false);
          to += runs.d[i];
        }
        if (enemy(at(to), sgn)) out[n++] = make_move(sq, to, piece, false);
      }
    }
  }
  // Each pair in hand, with either face, on every empty square.
  for (int slot = 1; slot <= 4; ++slot) {
    if (hand_[side][slot] <= 0) continue;
    for (const int face : {FRONT_FACE[slot], BACK_FACE[slot]})
      for (int i = 0; i < empty_count; ++i) out[n++] = make_move(slot, empties[i], face * sgn, true);
  }
  return n;
}

int DeepBoard::generate_captures(Move* out) const {
  const int side = side_;
  const int sgn = sign_of(side);
  int n = 0;
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      const int sq = sq_of(x, y);
      const int piece = at(sq);
      if (!own(piece, sgn)) continue;
      const int kind = piece * sgn;
      const Deltas& steps = tables.steps[side][kind];
      for (int i = 0; i < steps.n; ++i) {
        const int to = sq + steps.d[i];
        if (enemy(at(to), sgn)) out[n++] = make_move(sq, to, piece, false);
      }
      const Deltas& runs = tables.slides[side][kind];
      for (int i = 0; i < runs.n; ++i) {
        int to = sq + runs.d[i];
        while (at(to) == 0) to += runs.d[i];
        if (enemy(at(to), sgn)) out[n++] = make_move(sq, to, piece, false);
      }
    }
  }
  return n;
}

bool DeepBoard::attacked_by(int by, int sq, bool xray) const {
  const int sgn = sign_of(by);
  const int forward = sgn;  // the attacker's forward, in rows
  // Pieces one square away: the piece at sq - (dx, dy) moves by (dx, dy) onto sq.
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      if (dx == 0 && dy == 0) continue;
      const int piece = at(sq - dx * STRIDE - dy);
      if (!own(piece, sgn)) continue;
      if (tables.step_ok[by][piece * sgn][dx + 1][dy + 1]) return true;
    }
  const int knight = KNIGHT_KIND * sgn;
  if (at(sq + STRIDE - 2 * forward) == knight || at(sq - STRIDE - 2 * forward) == knight) return true;
  // Runs, looked along from the target back toward their piece; a lance runs
  // forward only.
  const int defender_king = -KING_KIND * sgn;
  auto first_on_run = [&](int step) {
    int t = sq - step;
    int c = at(t);
    while (c == 0 || (xray && c == defender_king)) {
      t -= step;
      c = at(t);
    }
    return c;
  };
  const int rook = ROOK_KIND * sgn, bishop = BISHOP_KIND * sgn, lance = LANCE_KIND * sgn;
  for (const Vec v : ROOK_DIRS) {
    const int c = first_on_run(v.dx * STRIDE + v.dy);
    if (c == rook || (c == lance && v.dx == 0 && v.dy == forward)) return true;
  }
  for (const Vec v : BISHOP_DIRS)
    if (first_on_run(v.dx * STRIDE + v.dy) == bishop) return true;
  return false;
}

int DeepBoard::king_square(int side, bool last_in_scan) const {
  if (king_count_[side] == 1) return king_sq_[side];
  if (king_count_[side] == 0) return 0;
  const int king = side == COM ? KING_KIND : -KING_KIND;
  int found = 0;
  for (int sq = sq_of(1, 1); sq <= sq_of(9, 9); ++sq)
    if (at(sq) == king) {
      found = sq;
      if (!last_in_scan) break;
    }
  return found;
}

bool DeepBoard::can_take_king() const {
  const int other = side_ ^ 1;
  if (king_count_[other] == 1) return attacked_by(side_, king_sq_[other], false);
  if (king_count_[other] == 0) return false;
  const int king = other == COM ? KING_KIND : -KING_KIND;
  for (int sq = sq_of(1, 1); sq <= sq_of(9, 9); ++sq)
    if (at(sq) == king && attacked_by(side_, sq, false)) return true;
  return false;
}

bool DeepBoard::in_check() const {
  const int me = side_;
  if (king_count_[me] == 1) return attacked_by(me ^ 1, king_sq_[me], false);
  if (king_count_[me] == 0) return false;
  const int king = me == COM ? KING_KIND : -KING_KIND;
  for (int sq = sq_of(1, 1); sq <= sq_of(9, 9); ++sq)
    if (at(sq) == king && attacked_by(me ^ 1, sq, false)) return true;
  return false;
}

}  // namespace vv::deep
