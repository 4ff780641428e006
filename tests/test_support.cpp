#include "test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "rules/position_text.h"

namespace vv::test {

Position position(const std::string& text) {
  Position p{};
  std::string error;
  if (!parse_position(text, p, error)) throw std::invalid_argument("bad test position: " + error);
  return p;
}

Engine engine(const std::string& text) {
  Engine e;
  e.pos = position(text);
  return e;
}

Position place(std::initializer_list<Placed> pieces) {
  Position p{};
  for (const Placed& piece : pieces) p.board[piece.x][piece.y] = piece.code;
  return p;
}

}  // namespace vv::test
