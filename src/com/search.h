// The computer's one-ply search: every legal board move and drop is tried on
// the board, surveyed and scored; the first best score wins.
#pragma once

#include "com/engine.h"

namespace vv {

struct Candidate {
  int from_x = 0, from_y = 0;  // a drop: column -1 or -3 and the slot
  int to_x = 0, to_y = 0;
  int piece = 0;               // the face before the move
  double score = 0;
};

// What the search lets its caller see and do while it runs.
class SearchHooks {
 public:
  virtual ~SearchHooks() = default;
  virtual void before_trials() {}                 // the maps of the start are saved
  virtual void tick() {}                          // the clock display keeps up
  virtual void evaluated(const Candidate&) {}     // one candidate scored
  // Whether evaluated() reads every candidate's score. When it does not, a
  // candidate that cannot beat the best so far may be given, unworked, a
  // score above its own that still does not beat it.
  virtual bool reads_scores() const { return true; }
};

// Hooks for a caller that wants only the choice.
class QuietHooks : public SearchHooks {
 public:
  bool reads_scores() const override { return false; }
};

struct SearchResult {
  bool found = false;  // false when the computer had no candidate at all
  Candidate best;
  long candidates = 0;  // candidates scored (levels 1-3), or positions searched (level 4)
};

// The start score, below every score the evaluation gives.
constexpr double NO_SCORE = -99999;

SearchResult com_search(Engine& e, SearchHooks& hooks);

}  // namespace vv
