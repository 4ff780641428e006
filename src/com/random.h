// The pseudo-random source of the level-3 pawn term. It always starts from
// the same state, so the same moves from program start get the same replies.
#pragma once

#include <cstdint>

namespace vv {

struct Random {
  std::uint32_t r = 327680;

  // Advances the state, then yields a value in [0, 1).
  double draw() {
    r = static_cast<std::uint32_t>((1140671485ULL * r + 12820163ULL) & 0xFFFFFFULL);
    return static_cast<double>(r) / 16777216.0;
  }
};

}  // namespace vv
