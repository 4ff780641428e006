#include "rules/move.h"

#include <cassert>

#include "rules/piece.h"

namespace vv {

int face_after_move(int code) {
  const int sign = code < 0 ? -1 : 1;
  switch (iabs(code)) {
    case PAWN: return sign * ROOK;
    case ROOK: return sign * PAWN;
    case TOKIN: return sign * LANCE;
    case LANCE: return sign * TOKIN;
    case KNIGHT: return sign * GOLD;
    case GOLD: return sign * KNIGHT;
    case SILVER: return sign * BISHOP;
    case BISHOP: return sign * SILVER;
    case KING: return sign * KING;
    default: return EMPTY;
  }
}

int capture_to_hand(Position& p, int code) {
  if (code == KING || code == -KING) return code;
  const int slot = hand_slot(code);
  if (slot == 0 || !is_piece_code(code)) return 0;
  // A captured COM piece goes to the person's hand, a MAN piece to the computer's.
  if (code > 0) {
    p.man_hand[slot] += 1;
    p.man_hand_count += 1;
  } else {
    p.com_hand[slot] += 1;
    p.com_hand_count += 1;
  }
  return 0;
}

bool record_move(MoveRecord& r, const Position& p, int from_x, int from_y, int to_x, int to_y, int piece,
                 int placed, double man_time_before, double man_time_after, double com_time_before,
                 double com_time_after) {
  if (r.full()) return false;
  const int n = ++r.move_number;
  r.from_x[n] = from_x;
  r.from_y[n] = from_y;
  r.to_x[n] = to_x;
  r.to_y[n] = to_y;
  r.piece[n] = piece;
  r.placed[n] = placed;
  r.captured[n] = p.board[to_x][to_y];
  r.man_time_before[n] = man_time_before;
  r.man_time_after[n] = man_time_after;
  r.com_time_before[n] = com_time_before;
  r.com_time_after[n] = com_time_after;
  r.record_length = n;
  return true;
}

int apply_move(Position& p, int from_x, int from_y, int to_x, int to_y, int placed) {
  const int captured = p.board[to_x][to_y];
  if (captured <= -10 || captured >= 10) capture_to_hand(p, captured);
  p.board[to_x][to_y] = placed;
  if (placed == -KING) {
    p.man_king_x = to_x;
    p.man_king_y = to_y;
  }
  if (from_x == COM_FRONT_COLUMN || from_x == COM_BACK_COLUMN) {
    if (from_y >= 1 && from_y <= 4) {
      p.com_hand_count -= 1;
      p.com_hand[from_y] -= 1;
    }
  } else if (from_x == MAN_FRONT_COLUMN || from_x == MAN_BACK_COLUMN) {
    if (from_y >= 6 && from_y <= 9) {
      p.man_hand_count -= 1;
      p.man_hand[from_y - 5] -= 1;
    }
  } else {
    p.board[from_x][from_y] = EMPTY;
  }
  assert(p.hands_consistent());
  return captured;
}

}  // namespace vv
