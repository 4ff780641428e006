#include "com/deep/deep_eval.h"

namespace vv::deep {
namespace {

// The face that stands counts more than the one it will turn to: it acts now,
// the other only after a move.
constexpr int NOW_PART = 60;
constexpr int NEXT_PART = 40;
constexpr int HAND_CHOICE = 80;  // the free choice of face and square
constexpr int STUCK_VALUE = 120;

struct Values {
  int board[KINDS];
  int hand[5];
  Values() {
    for (int k = 0; k < KINDS; ++k)
      board[k] = (FACE_POWER[k] * NOW_PART + FACE_POWER[FLIP[k]] * NEXT_PART) / 100;
    board[OU] = 0;
    hand[0] = 0;
    for (int slot = 1; slot <= 4; ++slot) {
      const int a = FACE_POWER[FRONT_FACE[slot]], b = FACE_POWER[BACK_FACE[slot]];
      const int hi = a > b ? a : b, lo = a > b ? b : a;
      hand[slot] = (hi * NOW_PART + lo * NEXT_PART) / 100 + HAND_CHOICE;
    }
  }
};
const Values values;

// How much a pair in the other side's hand threatens a king: a rook or a
// bishop face dropped next to it is the worst.
constexpr int HAND_THREAT[5] = {0, 3, 1, 2, 3};

inline int chebyshev(int a, int b) {
  const int dx = sq_x(a) - sq_x(b), dy = sq_y(a) - sq_y(b);
  const int ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
  return ax > ay ? ax : ay;
}

// Can this face never move again from its row?
inline bool stuck(int kind, int side, int y) {
  const int rows_ahead = side == COM ? 9 - y : y - 1;
  if (kind == FU || kind == KY) return rows_ahead == 0;
  if (kind == KE) return rows_ahead < 2;
  return false;
}

// The danger around one king of `side`, as a penalty for that side.
int king_danger(const DeepBoard& b, int side, int king) {
  if (king == 0) return 0;
  const int other = side ^ 1;
  const int sgn = side == COM ? 1 : -1;
  int attacked = 0, open = 0, shelter = 0;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      if (dx == 0 && dy == 0) continue;
      const int sq = king + dx * STRIDE + dy;
      const int c = b.at(sq);
      if (c == OFF) continue;
      if (c == 0) ++open;
      else if (c * sgn > 0) ++shelter;
      if (b.attacked_by(other, sq, false)) ++attacked;
    }
  int threat = 0;
  for (int slot = 1; slot <= 4; ++slot) threat += HAND_THREAT[slot] * b.hand(other, slot);
  if (threat > 12) threat = 12;
  return attacked * 28 + open * threat * 5 - shelter * 12 + (attacked > 2 ? (attacked - 2) * 40 : 0);
}

}  // namespace

int board_value(int kind) { return values.board[kind]; }
int hand_value(int slot) { return values.hand[slot]; }

int evaluate(const DeepBoard& b) {
  const int com_king = b.king_square(COM, true);
  const int man_king = b.king_square(MAN, true);
  int score = 0;  // for the computer
  for (int x = 1; x <= 9; ++x) {
    for (int y = 1; y <= 9; ++y) {
      const int sq = sq_of(x, y);
      const int c = b.at(sq);
      if (c == 0) continue;
      const int side = c > 0 ? COM : MAN;
      const int kind = c > 0 ? c : -c;
      if (kind == OU) continue;
      int v = stuck(kind, side, y) ? STUCK_VALUE : values.board[kind];
      // Pieces near the other king press it; pieces near their own king guard it.
      const int enemy_king = side == COM ? man_king : com_king;
      const int own_king = side == COM ? com_king : man_king;
      if (enemy_king != 0 && chebyshev(sq, enemy_king) <= 2) v += 14;
      if (own_king != 0 && chebyshev(sq, own_king) <= 1) v += 8;
      score += side == COM ? v : -v;
    }
  }
  for (int slot = 1; slot <= 4; ++slot) score += values.hand[slot] * (b.hand(COM, slot) - b.hand(MAN, slot));
  score -= king_danger(b, COM, com_king);
  score += king_danger(b, MAN, man_king);
  constexpr int TEMPO = 20;
  return (b.side() == COM ? score : -score) + TEMPO;
}

}  // namespace vv::deep
