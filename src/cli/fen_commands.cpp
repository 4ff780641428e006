// veverodu-cli fen, position and moves: carrying a position between our
// position text and the engine protocol's FEN, and the protocol's list of the
// moves our rules allow.
#include <iostream>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/fen.h"
#include "rules/position_text.h"

namespace vv::cli {

// fen POSITION [top|bottom] [--move N]: the FEN of a position, the bottom
// side to move unless told; N is the FEN's move number (default 1).
int fen_command(const std::vector<std::string>& args) {
  if (args.size() < 2) return usage_error("fen needs a POSITION");
  FenPosition f;
  std::string error;
  if (!parse_position(args[1], f.pos, error)) return usage_error("bad position: " + error);
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "top" || a == "bottom") {
      f.top_to_move = a == "top";
    } else if (a == "--move") {
      if (i + 1 >= args.size()) return usage_error("--move needs a value");
      if (!parse_int(args[++i], 1, 100000, f.fullmove)) return usage_error("bad value for --move: '" + args[i] + "'");
    } else {
      return usage_error("unknown option '" + a + "'");
    }
  }
  std::cout << format_fen(f) << '\n';
  return 0;
}

// position FEN: the position text of a FEN (the side to move is not part of it).
int position_command(const std::vector<std::string>& args) {
  if (args.size() != 2) return usage_error("position takes one FEN (quote it)");
  FenPosition f;
  std::string error;
  if (!parse_fen(args[1], f, error)) return usage_error("bad FEN: " + error);
  std::cout << format_position(f.pos) << '\n';
  return 0;
}

// moves FEN: every move our rules allow the side to move, in the protocol's notation.
int moves_command(const std::vector<std::string>& args) {
  if (args.size() != 2) return usage_error("moves takes one FEN (quote it)");
  FenPosition f;
  std::string error;
  if (!parse_fen(args[1], f, error)) return usage_error("bad FEN: " + error);
  std::cout << list_moves(f);
  return 0;
}

}  // namespace vv::cli
