// `veverodu-cli play`: a script of window events, one command a line, driven
// through the same game object and handlers as the window.
#pragma once

#include <iosfwd>

namespace vv::cli {

// Runs the script from `in`, printing events and answers to `out`. Returns
// the exit status.
int play(std::istream& in, std::ostream& out, bool random_term);

}  // namespace vv::cli
