// veverodu-cli uci: the searching player (level 4) behind the engine protocol
// that variant engines speak, so tournament runners and variant boards can
// drive it. Positions and moves are written as cli/fen.h describes.
#pragma once

#include <string>
#include <vector>

namespace vv::cli {

// The variant name the protocol announces and accepts.
constexpr const char* VARIANT_NAME = "veverodu";

// A clock or time that `go` did not give (a clock may be given below 0: spent).
constexpr long NOT_GIVEN = -(1L << 62);

// What `go` asked for. Times in milliseconds.
struct GoLimits {
  long movetime = NOT_GIVEN;
  long wtime = NOT_GIVEN, btime = NOT_GIVEN, winc = 0, binc = 0;
  int movestogo = 0;
  int depth = 0;
  long nodes = 0;
  bool infinite = false;
};

// The time a move may take: the aim and the hard limit, in seconds, or
// timed = false when only depth, nodes or `stop` end the search.
struct TimePlan {
  bool timed = false;
  double aim = 0, hard = 0;
};

// Time for the side to move (the top side is "black") with `game_plies_left`
// moves of either side before the game's move limit.
TimePlan plan_time(const GoLimits& g, bool top_to_move, int game_plies_left);

// Reads the words after `go`; false with a reason on a bad or unknown one.
bool parse_go(const std::vector<std::string>& words, GoLimits& g, std::string& error);

int uci_command(const std::vector<std::string>& args);

}  // namespace vv::cli
