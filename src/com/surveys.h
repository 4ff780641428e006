// Small surveys of the position for the computer's evaluation.
#pragma once

#include "com/engine.h"

namespace vv {

int 調査_移動可場所数(const Engine& e, int x, int y, int code);
void 調査_移動不可駒(Engine& e);
void 調査_持角狙座標(Engine& e);
int 調査_自守駒MAN_直進駒(Engine& e, int x, int y);
int 調査_周辺状況(const Engine& e, int x, int y);
int 調査_香狙い(const Engine& e, int x, int y);
int 調査_桂狙い(const Engine& e, int x, int y);

}  // namespace vv
