// LEVEL4: the computer player that searches. Iterative deepening alpha-beta
// over its own board, with a transposition table, a capture search at the
// leaves, and the game's rules of ending: a taken king, the mate test after
// the person's move, and the 500th move.
#pragma once

#include <chrono>

#include "com/engine.h"
#include "com/search.h"

namespace vv {

// A monotonic clock reading in seconds, for hooks that measure real time.
inline double monotonic_seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

class DeepHooks {
 public:
  virtual ~DeepHooks() = default;
  virtual double seconds() = 0;  // a monotonic clock reading in seconds
  virtual void tick() {}         // called about every 50 ms of search: the game's clock display
  virtual void info(int /*depth*/, long /*nodes*/, int /*score*/) {}
};

// The computer's (top side's) move in e.pos within `seconds` (measured with
// hooks.seconds()); `moves_left` = 500 - moves already recorded. Returns the
// move as com_search writes it (a drop gives its hand column and slot), with
// found = false when there is none; candidates counts the nodes searched.
// Leaves e as it found it.
SearchResult deep_search(Engine& e, double seconds, int moves_left, DeepHooks& hooks);

struct DeepSettings {
  double seconds = 1.0;
  int moves_left = 500;
  int max_depth = 64;  // the deepest iteration
  // The top side of e.pos is really the person: the game's board was turned
  // half a turn with the owners exchanged. The mate test then falls on the
  // other king, after this side's moves.
  bool plays_person = false;
};

SearchResult deep_search(Engine& e, const DeepSettings& settings, DeepHooks& hooks);

}  // namespace vv
