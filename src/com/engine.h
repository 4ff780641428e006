// What the computer player reads and writes: the position, the influence
// maps, the maps saved at the start of its turn, its level and its random
// source. The game object owns one of these.
#pragma once

#include "com/random.h"
#include "influence/maps.h"
#include "rules/position.h"

namespace vv {

class DangerScan;

struct ComMaps {
  int board_before[10][10] = {};  // the board at the start of the computer's turn
  Map man_reach_before = {};
  Map com_reach_before = {};
  Map com_capturer_x_before = {};
  Map com_capturer_y_before = {};
  // Pieces that may not leave without exposing their king (see find_pinned_pieces).
  Map man_pinned = {};
  Map com_pinned = {};
  Map man_bishop_drop_targets = {};  // empty squares from which a dropped MAN bishop attacks the COM king
  int com_has_pinned = 0;
  int man_king_escapes_at_start = 0;
  int origin_distance = 0;  // of the board move last tried: its source's distance to the MAN king
  int moving_piece = 0;
};

struct Engine {
  Position pos;
  Influence influence{};
  ComMaps com_maps;
  int com_level = 3;
  Random rng;
  bool random_term = true;  // off for reproducible analysis
  // The search surveys and scores its candidates from the start position's
  // survey; off, it runs the plain survey and scan for every candidate (the
  // reference the fast paths are tested against).
  bool fast_search = true;
  DangerScan* danger_scan = nullptr;  // the search's danger terms, while it runs
};

}  // namespace vv
