// The mate rule of a game against the computer, as the search meets it:
// right after each of the person's moves the game runs its mate test
// (com_is_mated) on the computer's king, and a king found without escape
// loses the game for the computer although no king was taken. To judge
// exactly as the game does, the search runs the game's own test on the
// position at every node where the person has just moved. A cheap look comes
// first: the test answers "no mate" at once when no piece of the person's
// reaches the king.
#pragma once

#include <cstdint>

#include "com/deep/deep_board.h"
#include "com/engine.h"

namespace vv::deep {

class MateRule {
 public:
  // root: the game's engine at the start of the search (for the king square
  // the game still holds when that king is not on the board). plays_person:
  // the board is the game's board turned half a turn with the owners
  // exchanged, so the side searched as the computer is really the person.
  // enabled false: a game judged by taken kings alone, where no mate test
  // ends it (a match between two engines).
  void reset(const Engine& root, bool plays_person, bool enabled = true);

  // The side whose king the test looks at: the game's computer, which is MAN
  // on a turned board. The rule applies when that side is to move. NO_SIDE
  // when the test is off.
  static constexpr int NO_SIDE = 2;
  int tested_side() const { return !enabled_ ? NO_SIDE : plays_person_ ? MAN : COM; }

  // Does the game's test find the king of the side to move without escape?
  // Answers are kept by the board's key.
  bool mated(const DeepBoard& b);

  // The cheap look alone: does the game's influence survey count a piece of
  // the other side on the square of the king the test looks at?
  bool king_reached(const DeepBoard& b) const;

 private:
  // The square of the king the game's test would look at; 0 for none.
  int tested_square(const DeepBoard& b) const;
  bool run_game_test(const DeepBoard& b);

  Engine scratch_;  // the game's position and maps the test works on
  bool plays_person_ = false;
  bool enabled_ = true;
  // The computer king's square the game held at the root, which its test
  // reads when no computer king stands on the board.
  int stale_x_ = 0, stale_y_ = 0;

  static constexpr int CACHE_SIZE = 1 << 14;
  struct CacheEntry {
    std::uint64_t key = 0;
    int result = -1;  // -1 not known, 0 no mate, 1 mate
  };
  CacheEntry cache_[CACHE_SIZE];
};

}  // namespace vv::deep
