#include "com/deep/mate_rule.h"

#include "com/escape_mate.h"
#include "influence/survey.h"

namespace vv::deep {

void MateRule::reset(const Engine& root, bool plays_person, bool enabled) {
  plays_person_ = plays_person;
  enabled_ = enabled;
  // With no computer king on the board, the game's survey leaves the king
  // square where the last survey found it, and the test reads the person's
  // reach there. On a turned board the root's king squares are those of the
  // turned view, not the game's, so none is kept: with no king the test then
  // finds no mate.
  stale_x_ = plays_person ? 0 : root.pos.com_king_x;
  stale_y_ = plays_person ? 0 : root.pos.com_king_y;
  for (CacheEntry& c : cache_) c = CacheEntry{};
}

int MateRule::tested_square(const DeepBoard& b) const {
  // With several computer kings the game's survey keeps the last one its scan
  // meets, and the test looks at that one. On a turned board the game's scan
  // runs backwards over our squares, so its last king is our first.
  if (!plays_person_) {
    const int sq = b.king_square(COM, true);
    if (sq != 0) return sq;
    if (stale_x_ >= 1 && stale_x_ <= 9 && stale_y_ >= 1 && stale_y_ <= 9) return sq_of(stale_x_, stale_y_);
    return 0;
  }
  return b.king_square(MAN, false);
}

bool MateRule::king_reached(const DeepBoard& b) const {
  const int sq = tested_square(b);
  if (sq == 0) return false;
  return b.attacked_by(tested_side() ^ 1, sq, true);
}

// Writes the position in the game's own orientation (turned back half a turn,
// with owners and hands exchanged, when the search plays the person), surveys
// it and runs the game's test on the computer's king.
bool MateRule::run_game_test(const DeepBoard& b) {
  Position& p = scratch_.pos;
  if (!plays_person_) {
    b.write(p);
  } else {
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) p.board[x][y] = -to_piece_code(b.at(sq_of(10 - x, 10 - y)));
    p.com_hand_count = p.man_hand_count = 0;
    for (int slot = 1; slot <= 4; ++slot) {
      p.com_hand[slot] = b.hand(MAN, slot);
      p.man_hand[slot] = b.hand(COM, slot);
      p.com_hand_count += p.com_hand[slot];
      p.man_hand_count += p.man_hand[slot];
    }
  }
  p.com_king_x = stale_x_;
  p.com_king_y = stale_y_;
  survey_influence(p, scratch_.influence);
  return com_is_mated(scratch_) == 1;
}

bool MateRule::mated(const DeepBoard& b) {
  if (!enabled_ || !king_reached(b)) return false;
  CacheEntry& c = cache_[b.key() & (CACHE_SIZE - 1)];
  if (c.key == b.key() && c.result >= 0) return c.result == 1;
  const bool result = run_game_test(b);
  c.key = b.key();
  c.result = result ? 1 : 0;
  return result;
}

}  // namespace vv::deep
