// The players of a match: a level 1-4 of this program, or an outside program
// spoken to over the engine protocol. Each answers with a move for the side to
// move on the match's board as it stands (never turned), or says it has none;
// an outside program's move is checked by our rules before it is given.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/fen.h"
#include "rules/record.h"

namespace vv::cli {

// How long a player may think about a move. A player given only a depth or a
// node count has no time limit.
struct Limits {
  int movetime = 100;  // ms; 0 = none
  int depth = 0;
  long nodes = 0;
};

struct PlayerSpec {
  std::string name = "level4";
  int level = 4;                     // 1..4, or 0 for an outside program
  std::vector<std::string> command;  // the outside program and its arguments
  std::vector<std::pair<std::string, std::string>> options;  // setoption NAME value VALUE
  Limits limits;
};

// What every player of one match shares.
struct MatchSettings {
  int seed = 1;               // the levels' random term starts from it and the game's index
  int move_margin_ms = 5000;  // how late an outside program's move may come beyond its time
  // The window's mate test after the bottom side's move ends a game; off, a
  // taken king alone decides, the same rule for both sides.
  bool mate_test = false;
};

// A player's answer.
struct Reply {
  enum Kind { move, none, bad } kind = none;
  Candidate c;        // on the match's board as it stands, for the side to move
  std::string text;   // the program's words, for a report
  std::string why;    // why a bad answer is bad
  long nodes = 0;
  double seconds = 0;
};

// The game so far, as players read it.
struct GameState {
  FenPosition now;
  std::vector<std::string> moves;  // from the start, protocol notation
};

class Player {
 public:
  virtual ~Player() = default;
  virtual bool new_game(int index, std::string& error) = 0;
  virtual Reply choose(const GameState& g) = 0;
};

std::unique_ptr<Player> make_player(const PlayerSpec& entrant, const MatchSettings& settings);

}  // namespace vv::cli
