// The benchmark positions, read once from bench/positions.txt.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "rules/position_text.h"

namespace vv::bench {

inline const std::vector<Position>& positions() {
  static const std::vector<Position> all = [] {
    std::vector<Position> list;
    std::ifstream in(POSITIONS_FILE);
    std::string line;
    while (std::getline(in, line)) {
      Position p{};
      std::string error;
      if (parse_position(line, p, error)) list.push_back(p);
    }
    return list;
  }();
  return all;
}

}  // namespace vv::bench
