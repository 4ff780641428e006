// King escape squares and the two mate tests.
#pragma once

#include "com/engine.h"

namespace vv {

// Empty squares around the MAN king that no COM piece reaches.
int 調査_自王逃道(const Engine& e);
// 1 when some COM piece may move onto the MAN king's square.
int 詰めかMAN_COM移動(const Engine& e);
// 1 when the MAN king is in check and no drop, king move or other piece answers it.
int 詰めかMAN(Engine& e);
// The same for the COM king; surveys its trial positions, leaving the maps of the last one.
int 詰めかCOM(Engine& e);

}  // namespace vv
