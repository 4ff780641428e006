// Helpers shared by the tests: positions from text or from pieces put on an
// empty board, and the move lists that tests compare.
#pragma once

#include <string>
#include <tuple>
#include <vector>

#include "com/deep/deep_board.h"
#include "com/engine.h"
#include "rules/position.h"
#include "rules/start_position.h"

namespace vv::test {

constexpr const char* START = START_POSITION_TEXT;

// A position read from its text; the test fails at once on bad text.
Position position(const std::string& text);

// An engine as a fresh game object holds it: every map and king square 0.
Engine engine(const std::string& text);

// An engine holding `p` with its influence maps and king squares surveyed,
// as the computer finds it at the start of its turn.
Engine surveyed_engine(const Position& p);

// An empty board with the given pieces put on it, e.g. place({{5, 9, -KING}})
// for the person's king alone on (5, 9).
struct Placed {
  int x, y, code;
};
Position place(std::initializer_list<Placed> pieces);

// A move as the game writes it: from x, from y, to x, to y, the moving or
// dropped code; a drop comes from its hand column and grid row.
using MoveTuple = std::tuple<int, int, int, int, int>;

// Every move the move check allows one side, as `veverodu-cli legal` lists
// them (each own piece against each square, then each hand face against each
// square), sorted.
std::vector<MoveTuple> move_check_moves(const Position& p, bool com);

// A move of the searching player's board as the game writes it.
MoveTuple as_game_move(deep::Move m);

}  // namespace vv::test
