#include "cli/args.h"

#include <iostream>

#include "cli/text_escape.h"

namespace vv::cli {

int usage_error(const std::string& why) {
  std::cerr << "veverodu-cli: " << escape_line(why) << '\n';
  return 2;
}

bool parse_int(const std::string& text, int low, int high, int& out) {
  if (text.empty() || text.size() > 9) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < low || value > high) return false;
  out = value;
  return true;
}

}  // namespace vv::cli
