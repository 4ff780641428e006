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

}  // namespace vv
