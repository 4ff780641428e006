// Keeping a one-line message one line: control bytes and bytes that are not
// UTF-8 are shown escaped as \xNN.
#pragma once

#include <string>

namespace vv::cli {

std::string escape_line(const std::string& text);

}  // namespace vv::cli
