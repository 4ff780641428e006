// veverodu-cli uci. The main thread reads the commands; `go` starts the
// search on a thread of its own, so that `stop`, `isready` and `quit` are read
// while it runs. A command that changes the position or the options while a
// search runs first stops that search (its bestmove comes first).
//
// The search always plays the top side. When the bottom side is to move it
// searches the board turned half a turn with the owners exchanged, and its
// moves, the principal variation included, are turned back.
#include "cli/uci.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <condition_variable>
#include <iostream>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "cli/args.h"
#include "cli/fen.h"
#include "com/deep/deep_search.h"
#include "influence/survey.h"
#include "rules/record.h"
#include "rules/start_position.h"

namespace vv::cli {
namespace {

constexpr int MIN_HASH = 1, MAX_HASH = 4096, DEFAULT_HASH = 16;
constexpr int MIN_THREADS = 1, MAX_THREADS = 64;

// A decimal number low..high, a leading '-' allowed, nothing else in the text.
bool parse_long(const std::string& t, long low, long high, long& out) {
  if (t.empty() || t.size() > 12) return false;
  std::size_t i = t[0] == '-' ? 1 : 0;
  if (i == t.size()) return false;
  long v = 0;
  for (; i < t.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(t[i]))) return false;
    v = v * 10 + (t[i] - '0');
  }
  if (t[0] == '-') v = -v;
  if (v < low || v > high) return false;
  out = v;
  return true;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

FenPosition start_position() {
  FenPosition f;
  place_start_position(f.pos);
  return f;
}

// Writes whole lines, one thread at a time.
class Output {
 public:
  void line(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::cout << text << '\n' << std::flush;
  }

 private:
  std::mutex mutex_;
};

// The search's progress as `info` lines; on a turned board the principal
// variation is turned back.
class InfoHooks : public DeepHooks {
 public:
  InfoHooks(Output& out, bool turned) : out_(out), turned_(turned) {}
  double seconds() override { return monotonic_seconds(); }
  void info(const DeepInfo& i) override {
    std::ostringstream s;
    const long ms = static_cast<long>(i.seconds * 1000);
    s << "info depth " << i.depth << " seldepth " << std::max(i.seldepth, i.depth);
    if (i.mate != 0) s << " score mate " << i.mate;
    else s << " score cp " << i.score;
    s << " nodes " << i.nodes << " nps " << (i.seconds > 0 ? static_cast<long>(i.nodes / i.seconds) : 0)
      << " time " << ms;
    if (!i.pv.empty()) {
      s << " pv";
      for (const Candidate& c : i.pv) s << ' ' << format_move(turned_ ? turn_move(c) : c);
    }
    out_.line(s.str());
  }

 private:
  Output& out_;
  bool turned_;
};

// What the protocol has set up: the position, the options and the search
// running, if any.
class Session {
 public:
  Session() : engine_(std::make_unique<Engine>()) {}
  ~Session() { finish_search(); }

  // False once `quit` has been read.
  bool handle(const std::string& line);

 private:
  void uci();
  void setoption(const std::vector<std::string>& w, const std::string& line);
  void position(const std::vector<std::string>& w, const std::string& line);
  void go(const std::vector<std::string>& w, const std::string& line);
  void search(GoLimits limits, FenPosition f);
  void finish_search();  // stops a running search and waits for its bestmove
  // A command that cannot be carried out is answered with a reason and changes nothing.
  void refuse(const std::string& why) { out_.line("info string " + why); }

  Output out_;
  FenPosition current_ = start_position();
  int hash_mb_ = DEFAULT_HASH;
  int threads_ = 1;
  bool mate_test_ = false;  // the window's mate test against the computer; off, a taken king alone decides
  std::unique_ptr<Engine> engine_;
  std::thread worker_;
  std::atomic<bool> stop_{false};
  std::mutex stop_mutex_;
  std::condition_variable stop_signal_;
};

void Session::finish_search() {
  if (!worker_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(stop_mutex_);
    stop_.store(true);
  }
  stop_signal_.notify_all();
  worker_.join();
}

bool Session::handle(const std::string& raw) {
  std::string line = raw;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string word; in >> word;) w.push_back(word);
  if (w.empty()) return true;
  const std::string& command = w[0];
  if (command == "quit") {
    finish_search();
    return false;
  }
  if (command == "isready") {
    out_.line("readyok");
  } else if (command == "stop") {
    finish_search();
  } else if (command == "uci") {
    uci();
  } else if (command == "ucinewgame") {
    finish_search();
    deep_new_game();
    current_ = start_position();
  } else if (command == "setoption") {
    finish_search();
    setoption(w, line);
  } else if (command == "position") {
    finish_search();
    position(w, line);
  } else if (command == "go") {
    finish_search();
    go(w, line);
  } else if (command == "d") {  // the position, as a debugging aid
    out_.line("Fen: " + format_fen(current_));
  } else if (command == "debug" || command == "register" || command == "ponderhit") {
    // Accepted and ignored: no debugging output, no registration, no pondering.
  } else {
    refuse("unknown command '" + line + "'");
  }
  return true;
}

void Session::uci() {
  out_.line("id name Veverodu LEVEL4");
  out_.line("id author the Veverodu developers");
  out_.line("");
  out_.line("option name Hash type spin default " + std::to_string(DEFAULT_HASH) + " min " +
            std::to_string(MIN_HASH) + " max " + std::to_string(MAX_HASH));
  out_.line("option name Threads type spin default 1 min " + std::to_string(MIN_THREADS) + " max " +
            std::to_string(MAX_THREADS));
  out_.line(std::string("option name UCI_Variant type combo default ") + VARIANT_NAME + " var " + VARIANT_NAME);
  out_.line("option name MateTest type check default false");
  out_.line("uciok");
}

void Session::setoption(const std::vector<std::string>& w, const std::string& line) {
  // setoption name NAME (words) [value VALUE (words)]
  if (w.size() < 3 || w[1] != "name") {
    refuse("malformed line '" + line + "'");
    return;
  }
  std::string name, value;
  bool in_value = false, has_value = false;
  for (std::size_t i = 2; i < w.size(); ++i) {
    if (!in_value && w[i] == "value") {
      in_value = has_value = true;
      continue;
    }
    std::string& target = in_value ? value : name;
    if (!target.empty()) target += ' ';
    target += w[i];
  }
  const std::string key = lower(name);
  if (key == "hash" || key == "threads") {
    long v = 0;
    const bool hash = key == "hash";
    if (!has_value || !parse_long(value, hash ? MIN_HASH : MIN_THREADS, hash ? MAX_HASH : MAX_THREADS, v)) {
      refuse("bad value in '" + line + "'");
      return;
    }
    (hash ? hash_mb_ : threads_) = static_cast<int>(v);
  } else if (key == "matetest") {
    const std::string v = lower(value);
    if (v != "true" && v != "false") {
      refuse("bad value in '" + line + "'");
      return;
    }
    mate_test_ = v == "true";
  } else if (key == "uci_variant") {
    if (lower(value) != VARIANT_NAME) refuse("unknown variant '" + value + "': only " + VARIANT_NAME + " is played");
  } else {
    refuse("unknown option '" + name + "'");
  }
}

void Session::position(const std::vector<std::string>& w, const std::string& line) {
  FenPosition f;
  std::size_t i = 2;
  std::string error;
  if (w.size() >= 2 && w[1] == "startpos") {
    f = start_position();
  } else if (w.size() >= 3 && w[1] == "fen") {
    std::string fen;
    for (; i < w.size() && w[i] != "moves"; ++i) fen += (fen.empty() ? "" : " ") + w[i];
    if (!parse_fen(fen, f, error)) {
      refuse("bad FEN in '" + line + "': " + error);
      return;
    }
  } else {
    refuse("malformed line '" + line + "'");
    return;
  }
  if (i < w.size()) {
    if (w[i] != "moves") {
      refuse("malformed line '" + line + "'");
      return;
    }
    for (++i; i < w.size(); ++i) {
      Candidate c;
      if (!parse_move(w[i], f, c, error)) {
        refuse(error + " in '" + line + "'");
        return;
      }
      play_move(f, c);
    }
  }
  current_ = f;
}

void Session::go(const std::vector<std::string>& w, const std::string& line) {
  GoLimits limits;
  std::string error;
  if (!parse_go(std::vector<std::string>(w.begin() + 1, w.end()), limits, error)) {
    refuse(error + " in '" + line + "'");
    return;
  }
  stop_.store(false);
  worker_ = std::thread(&Session::search, this, limits, current_);
}

void Session::search(GoLimits limits, FenPosition f) {
  const bool turned = !f.top_to_move;
  Engine& e = *engine_;
  Position view{};
  if (turned) turn_over(f.pos, view); else view = f.pos;
  e.pos = view;
  survey_influence(e.pos, e.influence);

  const int plies_left = std::max(1, RECORD_CAPACITY - f.plies());
  const TimePlan plan = plan_time(limits, f.top_to_move, plies_left);
  DeepSettings s;
  s.moves_left = plies_left;
  s.plays_person = turned;
  s.stop = &stop_;
  s.threads = threads_;
  s.hash_mb = hash_mb_;
  s.mate_test = mate_test_;
  if (limits.depth > 0) s.max_depth = limits.depth;
  s.max_nodes = limits.nodes;
  s.infinite = !plan.timed;
  if (plan.timed) {
    s.seconds = plan.aim;
    s.max_seconds = plan.hard;
  }
  InfoHooks hooks(out_, turned);
  const SearchResult r = deep_search(e, s, hooks);

  // `go infinite` answers only after `stop`, even when the search ended early.
  if (limits.infinite) {
    std::unique_lock<std::mutex> lock(stop_mutex_);
    stop_signal_.wait(lock, [this] { return stop_.load(); });
  }
  out_.line("bestmove " + (r.found ? format_move(turned ? turn_move(r.best) : r.best) : std::string("(none)")));
}

}  // namespace

bool parse_go(const std::vector<std::string>& words, GoLimits& out, std::string& error) {
  GoLimits g;
  constexpr long YEAR_MS = 86400000L * 365;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "infinite") {
      g.infinite = true;
      continue;
    }
    long* target = nullptr;
    long v = 0, low = 0, high = YEAR_MS;
    if (w == "movetime") target = &g.movetime, low = 0;
    else if (w == "wtime") target = &g.wtime, low = -YEAR_MS;
    else if (w == "btime") target = &g.btime, low = -YEAR_MS;
    else if (w == "winc") target = &g.winc, low = -YEAR_MS;
    else if (w == "binc") target = &g.binc, low = -YEAR_MS;
    else if (w == "nodes") target = &g.nodes, low = 1, high = 1000000000000L;
    else if (w != "depth" && w != "movestogo") {
      error = "unknown word '" + w + "'";
      return false;
    }
    if (i + 1 >= words.size()) {
      error = "'" + w + "' needs a value";
      return false;
    }
    const std::string& value = words[++i];
    if (w == "depth" || w == "movestogo") {
      low = w == "depth" ? 1 : 0;
      high = w == "depth" ? 64 : 10000;
    }
    if (!parse_long(value, low, high, v)) {
      error = "bad value '" + value + "' for '" + w + "'";
      return false;
    }
    if (w == "depth") g.depth = static_cast<int>(v);
    else if (w == "movestogo") g.movestogo = static_cast<int>(v);
    else *target = v;
  }
  // A bare `go` searches until `stop`.
  if (g.movetime == NOT_GIVEN && g.wtime == NOT_GIVEN && g.btime == NOT_GIVEN && g.depth == 0 && g.nodes == 0)
    g.infinite = true;
  out = g;
  return true;
}

TimePlan plan_time(const GoLimits& g, bool top_to_move, int game_plies_left) {
  TimePlan p;
  if (g.infinite) return p;
  if (g.movetime != NOT_GIVEN) {
    // A small margin for the answer's way back; the whole time is the limit.
    const double ms = std::max(1.0, g.movetime - std::min(10.0, g.movetime / 20.0));
    p.timed = true;
    p.aim = p.hard = ms / 1000.0;
    return p;
  }
  const long left = top_to_move ? g.btime : g.wtime;
  if (left == NOT_GIVEN) return p;  // only depth or nodes given, or only the other side's clock
  const double inc = std::max(0L, top_to_move ? g.binc : g.winc);
  constexpr double OVERHEAD_MS = 30;
  const double usable = std::max(0.0, left - OVERHEAD_MS - std::min(1000.0, std::max(0L, left) * 0.02));
  // Moves still to play on this clock: the control's, or a horizon that the
  // game's move limit may shorten.
  int to_go = g.movestogo > 0 ? std::min(g.movestogo, 60) : 30;
  to_go = std::max(1, std::min(to_go, (game_plies_left + 1) / 2));
  double aim = usable / to_go + inc * 0.8;
  double hard = to_go == 1 ? usable * 0.9 : std::min(aim * 3.0, usable * 0.5);
  aim = std::min(aim, hard);
  p.timed = true;
  p.aim = std::max(0.005, aim / 1000.0);
  p.hard = std::max(p.aim, hard / 1000.0);
  return p;
}

int uci_command(const std::vector<std::string>& args) {
  if (args.size() > 1) return usage_error("uci takes no arguments");
  Session session;
  for (std::string line; std::getline(std::cin, line);)
    if (!session.handle(line)) break;
  return 0;
}

}  // namespace vv::cli
