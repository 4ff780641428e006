// The influence survey: which pieces reach which squares, who guards and who
// could capture each occupied square, and which pieces give check.
#pragma once

#include "influence/maps.h"
#include "rules/position.h"

namespace vv {

// One pass over the board that rebuilds the maps and sets the king squares of
// the kings it meets (an absent king keeps its old square).
void 勢力調査(Position& p, Influence& m);

// The maps a survey resets (the first RESET_BYTES of Influence), as they
// stand after the reset.
const Influence& survey_reset_maps();

// Straight runs of lances and rooks; the code's sign chooses the side.
void 勢力確定上直進(const Position& p, Influence& m, int code, int x, int y);
void 勢力確定下直進(const Position& p, Influence& m, int code, int x, int y);
void 勢力確定右直進(const Position& p, Influence& m, int code, int x, int y);
void 勢力確定左直進(const Position& p, Influence& m, int code, int x, int y);

// Golds and tokins (the MAN one records its own code, the COM one 110) and bishops.
void 勢力確定自金(const Position& p, Influence& m, int code, int x, int y);
void 勢力確定敵金(const Position& p, Influence& m, int x, int y);
void 勢力確定自角(const Position& p, Influence& m, int x, int y);
void 勢力確定敵角(const Position& p, Influence& m, int code, int x, int y);

}  // namespace vv
