// Helpers shared by the tests: positions from text, squares by name.
#pragma once

#include <string>

#include "com/engine.h"
#include "rules/position.h"
#include "rules/start_position.h"

namespace vv::test {

constexpr const char* START = START_POSITION_TEXT;

// A position read from its text; the test fails at once on bad text.
Position position(const std::string& text);

// An engine as a fresh game object holds it: every map and king square 0.
Engine engine(const std::string& text);

// An empty board with the given pieces put on it, e.g. place({{5, 9, -950}}).
struct Placed {
  int x, y, code;
};
Position place(std::initializer_list<Placed> pieces);

}  // namespace vv::test
