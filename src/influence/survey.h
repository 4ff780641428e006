// The influence survey: which pieces reach which squares, who guards and who
// could capture each occupied square, and which pieces give check.
#pragma once

#include "influence/maps.h"
#include "rules/position.h"

namespace vv {

// One pass over the board that rebuilds the maps and sets the king squares of
// the kings it meets (an absent king keeps its old square). It visits the
// squares column by column from x = 1, each column from row 1 down: the scan
// order the rest of the program speaks of. Where two pieces tie for an
// entry, the first in scan order keeps it.
void survey_influence(Position& p, Influence& m);

// The maps a survey resets (the first RESET_BYTES of Influence), as they
// stand after the reset.
const Influence& survey_reset_maps();

// Straight runs of lances and rooks; the code's sign chooses the side.
void add_run_up(const Position& p, Influence& m, int code, int x, int y);
void add_run_down(const Position& p, Influence& m, int code, int x, int y);
void add_run_right(const Position& p, Influence& m, int code, int x, int y);
void add_run_left(const Position& p, Influence& m, int code, int x, int y);

// Golds and tokins (a MAN one records its own code, a COM one GOLD) and bishops.
void add_man_gold(const Position& p, Influence& m, int code, int x, int y);
void add_com_gold(const Position& p, Influence& m, int x, int y);
void add_man_bishop(const Position& p, Influence& m, int x, int y);
void add_com_bishop(const Position& p, Influence& m, int code, int x, int y);

}  // namespace vv
