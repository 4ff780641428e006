// Keeping a one-line message one line: control bytes, bytes that are not
// well-formed UTF-8, and the backslash itself (so that an escape cannot be
// mistaken for text) are shown as \xNN.
#pragma once

#include <string>

namespace vv::cli {

std::string escape_line(const std::string& text);

}  // namespace vv::cli
