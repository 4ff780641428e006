// veverodu-cli move: the move the computer would play in a position, at any
// level; level 4 reports its search as it deepens.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/args.h"
#include "com/deep/deep_search.h"
#include "com/search.h"
#include "flow/game.h"
#include "flow/recording_port.h"
#include "influence/survey.h"
#include "rules/position_text.h"

namespace vv::cli {
namespace {

class ClockHooks : public DeepHooks {
 public:
  double seconds() override {
    return monotonic_seconds();
  }
  void info(int depth, long nodes, int score) override {
    std::cout << "info depth " << depth << " nodes " << nodes << " score " << score << '\n';
  }
};

}  // namespace

int move_command(const std::vector<std::string>& args) {
  if (args.size() < 2) return usage_error("move needs a POSITION");
  int level = 3;
  int movetime = 1000;
  bool random_term = true;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--no-random") {
      random_term = false;
    } else if (a == "--level" || a == "--movetime") {
      if (i + 1 >= args.size()) return usage_error(a + " needs a value");
      const std::string& v = args[++i];
      const bool ok = a == "--level" ? parse_int(v, 1, 4, level) : parse_int(v, 1, 3600000, movetime);
      if (!ok) return usage_error("bad value for " + a + ": '" + v + "'");
    } else {
      return usage_error("unknown option '" + a + "'");
    }
  }

  Position p{};  // king squares stay 0 until a survey finds the kings
  std::string error;
  if (!parse_position(args[1], p, error)) return usage_error("bad position: " + error);
  // A fresh game object after start-up, holding the position.
  auto port = std::make_unique<RecordingPort>();
  auto game = std::make_unique<Game>(*port);
  port->real_files = false;
  game->start_up();
  Engine& e = game->engine;
  e.pos = p;
  e.random_term = random_term;
  survey_influence(e.pos, e.influence);

  SearchResult r;
  if (level == 4) {
    ClockHooks hooks;
    r = deep_search(e, movetime / 1000.0, 500, hooks);
  } else {
    e.com_level = level;
    QuietHooks quiet;
    r = com_search(e, quiet);
  }
  if (!r.found) {
    std::cout << "best none\n";
    return 0;
  }
  const Candidate& c = r.best;
  std::cout << "best " << c.from_x << ' ' << c.from_y << ' ' << c.to_x << ' ' << c.to_y << ' ' << c.piece << '\n';
  return 0;
}

}  // namespace vv::cli
