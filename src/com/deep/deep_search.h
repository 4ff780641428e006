// Level 4 (LEVEL4 on the screen): the computer player that searches ahead.
// Iterative deepening alpha-beta over its own board, with a transposition
// table, a capture search at the leaves, and the game's ways of ending: a
// taken king, the mate test after the person's move, and the 500th move. With
// more than one thread, helpers search the same position beside the caller's
// thread and share the table.
#pragma once

#include <atomic>
#include <chrono>
#include <vector>

#include "com/engine.h"
#include "com/search.h"

namespace vv {

// A monotonic clock reading in seconds, for hooks that measure real time.
inline double monotonic_seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// One line of progress: after each finished iteration, and once at the end.
struct DeepInfo {
  int depth = 0, seldepth = 0;
  long nodes = 0;  // over every thread
  int score = 0;   // centipawn-like, from the searching side's view
  // 0, or +N: the searching side takes the king (or wins by the mate test)
  // with its N-th move from here; -N: it loses after N moves of its own.
  int mate = 0;
  double seconds = 0;  // since the search started
  // The principal variation, on the board as searched: the top side's move
  // first, then the moves of both sides in turn, each in the game's
  // coordinates as com_search gives a move (a drop by the bottom side comes
  // from the bottom side's hand column).
  std::vector<Candidate> pv;
  // The last line of a search, after its last iteration's line (which it may
  // repeat, or follow with a cut iteration's move and the final node count).
  bool final = false;
};

class DeepHooks {
 public:
  virtual ~DeepHooks() = default;
  virtual double seconds() = 0;  // a monotonic clock reading in seconds
  virtual void tick() {}         // called about every 50 ms of search: the game's clock display
  // The short form: depth, nodes and score of each finished iteration.
  virtual void info(int /*depth*/, long /*nodes*/, int /*score*/) {}
  // Each line of progress; the default passes every line but the final one on to the short form.
  virtual void info(const DeepInfo& i) {
    if (!i.final) info(i.depth, i.nodes, i.score);
  }
};

struct DeepSettings {
  double seconds = 1.0;    // the time it aims to spend
  // The hard limit (0: `seconds`). The search may go on past `seconds` up to
  // this while its best move keeps changing, and stops early when it is clear.
  double max_seconds = 0;
  int moves_left = 500;    // 500 less the moves already played: the 500th ends the game undecided
  int max_depth = 64;      // the deepest iteration
  long max_nodes = 0;      // 0: no limit
  // Set by another thread: the search finishes at once with the best so far.
  const std::atomic<bool>* stop = nullptr;
  // Time does not end the search; only stop, max_depth or max_nodes do. The
  // search may still return early when the result is forced (one move, or a
  // king taken whatever happens).
  bool infinite = false;
  int threads = 1;   // helper threads inside the call when > 1; the caller's thread waits for them
  int hash_mb = 16;  // transposition table size; a new size clears it
  // The top side of e.pos is really the person: the game's board was turned
  // half a turn with the owners exchanged. The mate test then falls on the
  // other king, after this side's moves.
  bool plays_person = false;
  // The game's mate test after the person's move ends the game, as it does
  // in the window against the computer. Off, only a taken king or the 500th
  // move ends a game: the rule of a match between two engines.
  bool mate_test = true;
};

// The computer's (top side's) move in e.pos, measured with hooks.seconds().
// Returns the move as com_search writes it (a drop gives its hand column and
// slot), with found = false when there is none; candidates counts the nodes
// searched. Leaves e as it found it. The table and the move history persist
// from one call to the next, for the moves of one game.
SearchResult deep_search(Engine& e, const DeepSettings& settings, DeepHooks& hooks);
// The same within `seconds`; `moves_left` = 500 - moves already recorded.
SearchResult deep_search(Engine& e, double seconds, int moves_left, DeepHooks& hooks);

// A new game: clears the table and the move history.
void deep_new_game();

}  // namespace vv
