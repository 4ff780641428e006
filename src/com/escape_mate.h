// King escape squares and the two mate tests.
#pragma once

#include "com/engine.h"

namespace vv {

// How many empty squares around the MAN king no COM piece reaches.
int count_man_king_escapes(const Engine& e);
// 1 when some COM piece may move onto the MAN king's square.
int com_reaches_man_king(const Engine& e);
// 1 when the MAN king is in check and no drop, king move or other piece answers it.
int man_is_mated(Engine& e);
// The same for the COM king; surveys its trial positions, leaving the maps of the last one.
int com_is_mated(Engine& e);

}  // namespace vv
