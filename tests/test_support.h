// Helpers shared by the tests: positions from text, squares by name.
#pragma once

#include <string>

#include "com/engine.h"
#include "rules/position.h"

namespace vv::test {

constexpr const char* START =
    "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0";

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
