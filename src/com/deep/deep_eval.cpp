#include "com/deep/deep_eval.h"

namespace vv::deep {

// Fitted by tools/tune_eval.cpp to 50,000 positions of 2,400 self-play games
// (LAMBDA 0.001), starting from hand-set values.
const int EVAL_WEIGHTS[FEATURES] = {
    // board: pawn 歩, tokin と, lance 香, knight 桂, silver 銀, gold 金, bishop 角, rook 飛
    466, 451, 409, 439, 643, 496, 719, 636,
    // stuck
    132,
    // hand, by pair: pawn/rook, lance/tokin, knight/gold, silver/bishop
    619, 518, 548, 810,
    // near the other king, by the face it turns to (in the board row's order),
    // that is by its present face: rook, lance, tokin, gold, bishop, knight, silver, pawn
    23, 17, 15, 16, 17, 17, 20, 24,
    // next to its own king
    6,
    // king: attacked squares, open squares times hand threat, shelter, swarm
    -85, -47, 10, -64,
    // reach of the runs
    28,
};

namespace {

// How much a pair in the other side's hand threatens a king, by slot: a
// rook or a bishop face dropped next to it is the worst.
constexpr int HAND_THREAT[5] = {0, 3, 1, 2, 3};

inline int chebyshev(int a, int b) {
  const int dx = sq_x(a) - sq_x(b), dy = sq_y(a) - sq_y(b);
  const int ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
  return ax > ay ? ax : ay;
}

// Can this face never move again from row y?
inline bool stuck(int kind, int side, int y) {
  const int rows_ahead = side == COM ? 9 - y : y - 1;
  if (kind == PAWN_KIND || kind == LANCE_KIND) return rows_ahead == 0;
  if (kind == KNIGHT_KIND) return rows_ahead < 2;
  return false;
}

// The king terms of the king of `side` on king_sq (none when 0), added for
// the computer's king and taken off for the person's.
void king_terms(const DeepBoard& b, int side, int king_sq, int* out) {
  if (king_sq == 0) return;
  const int other = side ^ 1;
  const int sign = side == COM ? 1 : -1;
  int attacked = 0, open = 0, shelter = 0;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      if (dx == 0 && dy == 0) continue;
      const int sq = king_sq + dx * STRIDE + dy;
      const int c = b.at(sq);
      if (c == OFF) continue;
      if (c == 0) ++open;
      else if (c * sign > 0) ++shelter;
      if (b.attacked_by(other, sq, false)) ++attacked;
    }
  int threat = 0;
  for (int slot = 1; slot <= 4; ++slot) threat += HAND_THREAT[slot] * b.hand(other, slot);
  if (threat > 12) threat = 12;
  out[F_KING_ATTACKED] += sign * attacked;
  out[F_KING_OPEN_THREAT] += sign * open * threat;
  out[F_KING_SHELTER] += sign * shelter;
  out[F_KING_SWARM] += sign * (attacked > 2 ? attacked - 2 : 0);
}

// Squares along the runs of a lance, bishop or rook face, up to and with the first piece met.
int reach(const DeepBoard& b, int sq, int kind, int side) {
  static constexpr int ROOK_DIRS[4] = {1, -1, STRIDE, -STRIDE};
  static constexpr int BISHOP_DIRS[4] = {STRIDE + 1, STRIDE - 1, -STRIDE + 1, -STRIDE - 1};
  const int* dirs = kind == ROOK_KIND ? ROOK_DIRS : BISHOP_DIRS;
  int count = 0;
  if (kind == LANCE_KIND) {
    const int step = side == COM ? 1 : -1;
    for (int t = sq + step; b.at(t) != OFF; t += step) {
      ++count;
      if (b.at(t) != 0) break;
    }
    return count;
  }
  for (int i = 0; i < 4; ++i)
    for (int t = sq + dirs[i]; b.at(t) != OFF; t += dirs[i]) {
      ++count;
      if (b.at(t) != 0) break;
    }
  return count;
}

}  // namespace

int board_value(int kind) { return kind >= PAWN_KIND && kind <= ROOK_KIND ? EVAL_WEIGHTS[F_BOARD + kind - 1] : 0; }
int hand_value(int slot) { return slot >= 1 && slot <= 4 ? EVAL_WEIGHTS[F_HAND + slot - 1] : 0; }

void eval_features(const DeepBoard& b, int out[FEATURES]) {
  for (int i = 0; i < FEATURES; ++i) out[i] = 0;
  const int com_king = b.king_square(COM, true);
  const int man_king = b.king_square(MAN, true);
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      const int sq = sq_of(x, y);
      const int c = b.at(sq);
      if (c == 0) continue;
      const int side = c > 0 ? COM : MAN;
      const int kind = c > 0 ? c : -c;
      if (kind == KING_KIND) continue;
      const int sign = side == COM ? 1 : -1;
      if (stuck(kind, side, y)) out[F_STUCK] += sign;
      else out[F_BOARD + kind - 1] += sign;
      // Pieces near the other king press it with the face they will show
      // once they move; pieces next to their own king guard it.
      const int enemy_king = side == COM ? man_king : com_king;
      const int own_king = side == COM ? com_king : man_king;
      if (enemy_king != 0 && chebyshev(sq, enemy_king) <= 2) out[F_NEAR_ENEMY_KING + FACE_AFTER_MOVE[kind] - 1] += sign;
      if (own_king != 0 && chebyshev(sq, own_king) <= 1) out[F_NEAR_OWN_KING] += sign;
      if (kind == LANCE_KIND || kind == BISHOP_KIND || kind == ROOK_KIND) out[F_REACH] += sign * reach(b, sq, kind, side);
    }
  }
  for (int slot = 1; slot <= 4; ++slot) out[F_HAND + slot - 1] += b.hand(COM, slot) - b.hand(MAN, slot);
  king_terms(b, COM, com_king, out);
  king_terms(b, MAN, man_king, out);
}

int evaluate(const DeepBoard& b) {
  int f[FEATURES];
  eval_features(b, f);
  int score = 0;  // for the computer
  for (int i = 0; i < FEATURES; ++i) score += EVAL_WEIGHTS[i] * f[i];
  return (b.side() == COM ? score : -score) + TEMPO;
}

}  // namespace vv::deep
