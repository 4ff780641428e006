#include "test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "influence/survey.h"
#include "rules/move_check.h"
#include "rules/piece.h"
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

Engine surveyed_engine(const Position& p) {
  Engine e;
  e.pos = p;
  survey_influence(e.pos, e.influence);
  return e;
}

Position place(std::initializer_list<Placed> pieces) {
  Position p{};
  for (const Placed& piece : pieces) p.board[piece.x][piece.y] = piece.code;
  return p;
}

std::vector<MoveTuple> move_check_moves(const Position& p, bool com) {
  std::vector<MoveTuple> out;
  for (int fx = 1; fx <= 9; ++fx)
    for (int fy = 1; fy <= 9; ++fy) {
      const int code = p.board[fx][fy];
      if (com ? code <= 0 : code >= 0) continue;
      for (int tx = 1; tx <= 9; ++tx)
        for (int ty = 1; ty <= 9; ++ty)
          if (move_allowed(p.board, fx, fy, tx, ty, code) == 1) out.emplace_back(fx, fy, tx, ty, code);
    }
  const int* hand = com ? p.com_hand : p.man_hand;
  for (int slot = 1; slot <= 4; ++slot) {
    if (hand[slot] <= 0) continue;
    for (const bool back : {false, true}) {
      const int code = (com ? 1 : -1) * hand_face(slot, back);
      const int column = com ? (back ? COM_BACK_COLUMN : COM_FRONT_COLUMN) : (back ? MAN_BACK_COLUMN : MAN_FRONT_COLUMN);
      const int row = com ? slot : slot + 5;
      for (int tx = 1; tx <= 9; ++tx)
        for (int ty = 1; ty <= 9; ++ty)
          if (move_allowed(p.board, column, row, tx, ty, code) == 1) out.emplace_back(column, row, tx, ty, code);
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

MoveTuple as_game_move(deep::Move m) {
  const int to = deep::move_to(m), from = deep::move_from(m);
  const int code = deep::to_piece_code(deep::move_piece(m));
  if (!deep::move_is_drop(m)) return {deep::sq_x(from), deep::sq_y(from), deep::sq_x(to), deep::sq_y(to), code};
  const bool com = code > 0;
  const bool back = iabs(code) == hand_face(from, true);
  const int column = com ? (back ? COM_BACK_COLUMN : COM_FRONT_COLUMN) : (back ? MAN_BACK_COLUMN : MAN_FRONT_COLUMN);
  return {column, com ? from : from + 5, deep::sq_x(to), deep::sq_y(to), code};
}

}  // namespace vv::test

namespace {

// Every test runs in a folder of its own, so the settings file a game
// object writes at start-up never lands in the source tree.
class OwnFolder : public ::testing::Environment {
 public:
  void SetUp() override {
    char name[] = "/tmp/veverodu-tests-XXXXXX";
    if (mkdtemp(name) && chdir(name) == 0) folder_ = name;
  }
  void TearDown() override {
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }

 private:
  std::string folder_;
};

const auto* const own_folder = ::testing::AddGlobalTestEnvironment(new OwnFolder);

}  // namespace
