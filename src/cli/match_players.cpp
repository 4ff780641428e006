#include "cli/match_players.h"

#include <cstdint>
#include <memory>
#include <sstream>

#include "cli/engine_process.h"
#include "com/deep/deep_search.h"
#include "com/search.h"
#include "influence/survey.h"

namespace vv::cli {
namespace {

// Level 4 measures its time on the monotonic clock.
class ClockHooks : public DeepHooks {
 public:
  double seconds() override { return monotonic_seconds(); }
};

// A level of this program. Its code always plays the top side, so for the
// bottom side it is given the board turned half a turn with the owners
// exchanged, and its move is turned back.
class OwnPlayer : public Player {
 public:
  OwnPlayer(const PlayerSpec& entrant, const MatchSettings& settings) : spec_(entrant), settings_(settings) {}
  bool new_game(int index, std::string&) override {
    engine_ = std::make_unique<Engine>();
    engine_->com_level = spec_.level == 4 ? 3 : spec_.level;
    // The random term starts from the match's seed and the game's index, so a
    // game plays the same in every run.
    engine_->rng.r = static_cast<std::uint32_t>((settings_.seed * 7919u + index * 104729u) & 0xFFFFFFu);
    if (spec_.level == 4) deep_new_game();
    return true;
  }
  Reply choose(const GameState& g) override {
    const bool bottom = !g.now.top_to_move;
    Engine& e = *engine_;
    Position view{};
    if (bottom) turn_over(g.now.pos, view); else view = g.now.pos;
    // The king squares are kept from the last survey, as the game keeps them
    // from move to move: a survey finds the kings on the board, and where a
    // side has none the game's tests read the square it last had.
    view.com_king_x = e.pos.com_king_x;
    view.com_king_y = e.pos.com_king_y;
    view.man_king_x = e.pos.man_king_x;
    view.man_king_y = e.pos.man_king_y;
    e.pos = view;
    survey_influence(e.pos, e.influence);
    Reply reply;
    SearchResult r;
    if (spec_.level == 4) {
      ClockHooks hooks;
      DeepSettings s;
      const Limits& l = spec_.limits;
      s.infinite = l.movetime == 0;
      s.seconds = l.movetime / 1000.0;
      s.max_seconds = s.seconds;
      if (l.depth > 0) s.max_depth = l.depth;
      s.max_nodes = l.nodes;
      s.moves_left = RECORD_CAPACITY - g.now.plies();
      s.plays_person = bottom;
      s.mate_test = settings_.mate_test;
      const double t0 = hooks.seconds();
      r = deep_search(e, s, hooks);
      reply.seconds = hooks.seconds() - t0;
      reply.nodes = r.candidates;
    } else {
      QuietHooks quiet;
      r = com_search(e, quiet);
    }
    if (!r.found) return reply;
    reply.kind = Reply::move;
    reply.c = bottom ? turn_move(r.best) : r.best;
    reply.c.score = r.best.score;
    reply.text = format_move(reply.c);
    return reply;
  }

 private:
  const PlayerSpec& spec_;
  const MatchSettings settings_;
  std::unique_ptr<Engine> engine_;
};

// A program that speaks the engine protocol. It is started once and started
// again after a game in which it failed to answer.
class ProtocolPlayer : public Player {
 public:
  ProtocolPlayer(const PlayerSpec& entrant, const MatchSettings& settings) : spec_(entrant), settings_(settings) {}
  bool new_game(int, std::string& error) override {
    if (!ready_ && !start(error)) return false;
    std::string line;
    if (!process_.send("ucinewgame") || !process_.send("isready") || !wait_for("readyok", 30000, line)) {
      error = spec_.name + " did not answer isready";
      ready_ = false;
      return false;
    }
    return true;
  }
  Reply choose(const GameState& g) override {
    Reply reply;
    std::string position = "position startpos";
    if (!g.moves.empty()) {
      position += " moves";
      for (const std::string& m : g.moves) position += ' ' + m;
    }
    const Limits& l = spec_.limits;
    std::string go = "go";
    if (l.movetime > 0) go += " movetime " + std::to_string(l.movetime);
    if (l.depth > 0) go += " depth " + std::to_string(l.depth);
    if (l.nodes > 0) go += " nodes " + std::to_string(l.nodes);
    const int wait_ms = l.movetime > 0 ? l.movetime + settings_.move_margin_ms : 600000;
    const double t0 = monotonic_seconds();
    std::string line;
    if (!process_.send(position) || !process_.send(go) || !wait_for("bestmove", wait_ms, line)) {
      reply.kind = Reply::bad;
      reply.why = process_.at_end() ? "the program ended" : "no move in time";
      ready_ = false;
      process_.close(0);
      return reply;
    }
    reply.seconds = monotonic_seconds() - t0;
    std::istringstream in(line);
    std::string word, move;
    in >> word >> move;
    reply.text = move;
    if (move.empty() || move == "(none)" || move == "0000") return reply;  // Reply::none
    std::string why;
    if (!parse_move(move, g.now, reply.c, why)) {
      reply.kind = Reply::bad;
      reply.why = why;
      return reply;
    }
    reply.kind = Reply::move;
    return reply;
  }

 private:
  bool start(std::string& error) {
    if (!process_.start(spec_.command, error)) return false;
    std::string line;
    if (!process_.send("uci") || !wait_for("uciok", 30000, line)) {
      error = spec_.name + " did not answer uci with uciok";
      process_.close(0);
      return false;
    }
    for (const auto& [name, value] : spec_.options) process_.send("setoption name " + name + " value " + value);
    if (!process_.send("isready") || !wait_for("readyok", 30000, line)) {
      error = spec_.name + " did not answer isready";
      process_.close(0);
      return false;
    }
    ready_ = true;
    return true;
  }
  // Reads lines until one starts with `word`; false at the end or on time out.
  bool wait_for(const std::string& word, int timeout_ms, std::string& line) {
    const double deadline = monotonic_seconds() + timeout_ms / 1000.0;
    while (true) {
      const int left = static_cast<int>((deadline - monotonic_seconds()) * 1000);
      if (left <= 0 || !process_.read_line(line, left)) return false;
      if (line == word || line.rfind(word + ' ', 0) == 0) return true;
    }
  }

  const PlayerSpec& spec_;
  const MatchSettings settings_;
  EngineProcess process_;
  bool ready_ = false;
};

}  // namespace

std::unique_ptr<Player> make_player(const PlayerSpec& entrant, const MatchSettings& settings) {
  if (entrant.level == 0) return std::make_unique<ProtocolPlayer>(entrant, settings);
  return std::make_unique<OwnPlayer>(entrant, settings);
}

}  // namespace vv::cli
