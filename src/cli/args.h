// What every command of veverodu-cli shares: the one-line refusal and the
// reading of whole-number arguments.
#pragma once

#include <string>

namespace vv::cli {

// Prints one line on standard error (bad bytes escaped) and gives status 2.
int usage_error(const std::string& why);

// A decimal number low..high of at most nine digits, no sign, nothing else in
// the text.
bool parse_int(const std::string& text, int low, int high, int& out);

}  // namespace vv::cli
