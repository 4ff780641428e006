#include "cli/commands.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "cli/args.h"
#include "cli/play.h"
#include "cli/text_escape.h"
#include "com/deep/deep_search.h"
#include "com/escape_mate.h"
#include "com/search.h"
#include "flow/game.h"
#include "flow/recording_port.h"
#include "influence/survey.h"
#include "rules/move_check.h"
#include "rules/piece.h"
#include "rules/position_text.h"

namespace vv::cli {
namespace {

const char* const USAGE =
    "usage: veverodu-cli COMMAND ...\n"
    "  legal POSITION                       every move and drop the move check allows\n"
    "  survey POSITION                      the influence maps of a position\n"
    "  mate POSITION                        escape count and both mate tests\n"
    "  com POSITION [--level N] [--no-random]\n"
    "                                       the computer's search, candidate by candidate\n"
    "  bench FILE [--level N] [--no-random] [--repeat R]\n"
    "                                       time the computer's search over a file of positions\n"
    "  bench --level 4 --depth D [FILE]     level 4 to depth D on fixed positions: node count signature\n"
    "  play [--no-random]                   drive the game from a script of window events on standard input\n"
    "  move POSITION [--level N] [--movetime MS] [--no-random]\n"
    "                                       the computer's move; level 4 searches for MS milliseconds\n"
    "  match [--games N] [--first I] [--movetime MS] [--opening-plies K] [--level N] [--seed S] [--verbose]\n"
    "                                       level 4 against level N, both sides, from random openings\n"
    "  match [--engine COMMAND] [--sprt ELO0,ELO1] [--jobs J] ...   any two players; match --help lists the options\n"
    "  uci                                  the engine protocol, for tournament runners and variant boards\n"
    "  fen POSITION [top|bottom] [--move N] the engine protocol's FEN of a position\n"
    "  position FEN                         the position text of a FEN\n"
    "  moves FEN                            every move the rules allow the side to move, as the protocol writes it\n"
    "POSITION is one argument: BOARD COMHAND MANHAND, for example\n"
    "  'lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0'\n";

// A fresh game object after start-up, holding the given position.
struct Session {
  RecordingPort port;
  Game game{port};
  Session() {
    port.real_files = false;
    game.start_up();
  }
  bool load(const std::string& text, std::string& error) {
    Position p{};  // king squares stay 0 until a survey finds the kings
    if (!parse_position(text, p, error)) return false;
    game.engine.pos = p;
    return true;
  }
};

struct SearchOptions {
  int level = 3;
  bool random_term = true;
  int repeat = 1;
};

// Reads the options after the first argument; false with a reason on a bad one.
bool parse_options(const std::vector<std::string>& args, bool allow_repeat, SearchOptions& o, std::string& error) {
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--no-random") {
      o.random_term = false;
    } else if (a == "--level" || (allow_repeat && a == "--repeat")) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      const std::string& v = args[++i];
      if (a == "--level" ? !parse_int(v, 1, 3, o.level) : !parse_int(v, 1, 1000000, o.repeat)) {
        error = "bad value for " + a + ": '" + v + "'";
        return false;
      }
    } else {
      error = "unknown option '" + a + "'";
      return false;
    }
  }
  return true;
}

std::string score_text(double score) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.4f", score);
  return buffer;
}

void print_move(std::ostream& out, const Candidate& c) {
  out << c.from_x << ' ' << c.from_y << ' ' << c.to_x << ' ' << c.to_y << ' ' << c.piece << ' '
      << score_text(c.score) << '\n';
}

// legal: every board move and drop of either side that the move check allows,
// one `from_x from_y to_x to_y piece` line each.
int legal(const Position& p) {
  const auto& b = p.board;
  std::string out;
  auto line = [&](int fx, int fy, int tx, int ty, int code) {
    out += std::to_string(fx) + ' ' + std::to_string(fy) + ' ' + std::to_string(tx) + ' ' + std::to_string(ty) +
           ' ' + std::to_string(code) + '\n';
  };
  for (int fx = 1; fx <= 9; ++fx)
    for (int fy = 1; fy <= 9; ++fy) {
      const int code = b[fx][fy];
      if (code == EMPTY) continue;
      for (int tx = 1; tx <= 9; ++tx)
        for (int ty = 1; ty <= 9; ++ty)
          if (move_allowed(b, fx, fy, tx, ty, code) == 1) line(fx, fy, tx, ty, code);
    }
  auto drops = [&](const int (&hand)[5], int front, int back, int sign, bool man) {
    for (int slot = 1; slot <= 4; ++slot) {
      if (hand[slot] <= 0) continue;
      for (const int column : {front, back}) {
        const int code = sign * hand_face(slot, column == back);
        const int row = man ? slot + 5 : slot;
        for (int tx = 1; tx <= 9; ++tx)
          for (int ty = 1; ty <= 9; ++ty)
            if (move_allowed(b, column, row, tx, ty, code) == 1) line(column, row, tx, ty, code);
      }
    }
  };
  drops(p.com_hand, COM_FRONT_COLUMN, COM_BACK_COLUMN, 1, false);
  drops(p.man_hand, MAN_FRONT_COLUMN, MAN_BACK_COLUMN, -1, true);
  std::cout << out;
  return 0;
}

// A map's name, then its nine rows from the top.
void print_map(std::string& out, const char* name, const Map& m) {
  out += name;
  out += '\n';
  for (int y = 1; y <= 9; ++y) {
    for (int x = 1; x <= 9; ++x) {
      if (x > 1) out += ' ';
      out += std::to_string(m[x][y]);
    }
    out += '\n';
  }
}

int survey(Game& g) {
  survey_influence(g.engine.pos, g.engine.influence);
  const Position& p = g.engine.pos;
  const Influence& m = g.engine.influence;
  std::string out = "man_king " + std::to_string(p.man_king_x) + ' ' + std::to_string(p.man_king_y) + '\n';
  out += "com_king " + std::to_string(p.com_king_x) + ' ' + std::to_string(p.com_king_y) + '\n';
  print_map(out, "man_reach_count", m.man_reach_count);
  print_map(out, "com_reach_count", m.com_reach_count);
  print_map(out, "man_guard_piece", m.man_guard_piece);
  print_map(out, "com_guard_piece", m.com_guard_piece);
  print_map(out, "com_guard_x", m.com_guard_x);
  print_map(out, "com_guard_y", m.com_guard_y);
  print_map(out, "man_capturer_piece", m.man_capturer_piece);
  print_map(out, "man_capturer_x", m.man_capturer_x);
  print_map(out, "man_capturer_y", m.man_capturer_y);
  print_map(out, "com_capturer_piece", m.com_capturer_piece);
  print_map(out, "com_capturer_x", m.com_capturer_x);
  print_map(out, "com_capturer_y", m.com_capturer_y);
  print_map(out, "man_check_map", m.man_check_map);
  print_map(out, "com_check_map", m.com_check_map);
  std::cout << out;
  return 0;
}

int mate(Game& g) {
  Engine& e = g.engine;
  survey_influence(e.pos, e.influence);
  const int escapes = count_man_king_escapes(e);
  const int man_mated = man_is_mated(e);
  // man_is_mated leaves the maps of the last position it tried.
  survey_influence(e.pos, e.influence);
  const int com_mated = com_is_mated(e);
  std::cout << "escapes " << escapes << "\nman_mated " << man_mated << "\ncom_mated " << com_mated << '\n';
  return 0;
}

// Every candidate the search scores, printed after the search.
class PrintingHooks : public SearchHooks {
 public:
  void evaluated(const Candidate& c) override { print_move(out, c); }
  std::ostringstream out;
};

int com(Game& g, const SearchOptions& o) {
  g.engine.com_level = o.level;
  g.engine.random_term = o.random_term;
  survey_influence(g.engine.pos, g.engine.influence);
  PrintingHooks hooks;
  const SearchResult r = com_search(g.engine, hooks);
  std::cout << hooks.out.str();
  if (r.found) {
    std::cout << "best ";
    print_move(std::cout, r.best);
  } else {
    std::cout << "best none\n";
  }
  return 0;
}

int bench(const std::string& path, const SearchOptions& o) {
  std::ifstream in(path);
  if (!in) return usage_error("cannot read '" + path + "'");
  std::vector<Position> positions;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.find('\0') != std::string::npos) return usage_error(path + ":" + std::to_string(number) + ": a NUL byte");
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    Position p{};
    std::string error;
    if (!parse_position(line, p, error)) return usage_error(path + ":" + std::to_string(number) + ": " + error);
    positions.push_back(p);
  }
  if (in.bad()) return usage_error("read error in '" + path + "' after line " + std::to_string(number));
  if (positions.empty()) return usage_error("no positions in '" + path + "'");

  Random rng;  // one random sequence for the whole run
  QuietHooks quiet;
  long candidates = 0;
  std::chrono::duration<double> spent{0};
  // Every search starts from a copy of a fresh game's engine: making a whole
  // game object for each search would be counted too when the run is
  // measured instruction by instruction (callgrind).
  const auto fresh = std::make_unique<Session>();
  auto engine = std::make_unique<Engine>();
  for (const Position& p : positions) {
    for (int i = 0; i < o.repeat; ++i) {
      Engine& e = *engine;
      e = fresh->game.engine;
      e.pos = p;
      e.com_level = o.level;
      e.random_term = o.random_term;
      e.rng = rng;
      survey_influence(e.pos, e.influence);
      const auto start = std::chrono::steady_clock::now();
      const SearchResult r = com_search(e, quiet);
      spent += std::chrono::steady_clock::now() - start;
      candidates += r.candidates;
      rng = e.rng;
    }
  }
  const double searches = static_cast<double>(positions.size()) * o.repeat;
  char buffer[64];
  std::cout << "positions " << positions.size() << '\n' << "candidates " << candidates << '\n';
  std::snprintf(buffer, sizeof buffer, "%.6f", spent.count());
  std::cout << "seconds " << buffer << '\n';
  std::snprintf(buffer, sizeof buffer, "%.3f", spent.count() * 1e6 / searches);
  std::cout << "us_per_search " << buffer << '\n';
  return 0;
}


// Positions of the level-4 signature: the start, then positions of the
// computer's games at every stage, none of them already decided.
const char* const DEEP_BENCH_POSITIONS[] = {
    "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0",
    "1nsgkgsnl/1r5b1/p1ppppppp/4p4/9/R1R1R1R1R/1S1P1P1P1/1B5R1/LN1GKGSNL 1,0,0,0 0,1,0,0",
    "lnsgkgsnl/1r5b1/ppp1ppppp/1p7/9/2R6/PP1PPPPPP/1B2K2R1/LNSG1GSNL 0,0,0,0 0,0,0,0",
    "1nsgkgsnl/1r5b1/lpppppppp/r8/9/1R1R4R/P1P1PPPP1/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0",
    "1ns3snl/t2knn1b1/p1ppppppp/1p7/9/R1R1R1R1R/1P1P1P1P1/1B1NKN1R1/LNS4NL 0,0,0,1 1,0,0,0",
    "Pns4nl/2s1kn1b1/1tpp1pp1p/6prs/2B5p/RRR1G1RP1/4K2PG/3N3R1/LNS2P2L 2,0,0,0 1,0,1,0",
    "P1s3snl/n1s1Gnk2/3pRpp1p/5pprs/l1pRP3p/PR2G1RP1/G3S2PG/3N1R3/L1SK4L 1,0,0,0 0,0,0,0",
    "lnR1sSR2/1nsk1pLP1/1N1ppp1p1/rps2g1p1/p8/p1P2RP2/2P1P1P1S/1B1P5/LN1GK2NL 0,0,1,0 0,0,0,0",
    "1nsgkgsnl/1r5b1/lpppppppp/r8/9/R3R1R2/1PPP1P1PP/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0",
    "1p1kn1P1R/p1bsn1bt1/pp1ppp3/p2p5/L1p6/L3PB1P1/pS1P3N1/3KP4/SN1GN1r2 1,0,0,0 1,1,2,0",
    "1nsgkgsnl/tr5b1/1pppppppp/r8/9/R1R3R1R/1P1PPP1P1/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0",
    "lnsg3nl/1r1k3b1/ppppppb1p/6rg1/4pR3/R5P2/1PPP1PP1P/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0",
    "6Lnl/1bkbnSg2/1ppp1P2p/n2prpG2/4p2T1/2GR1PP1R/SSP2PP2/4KB1R1/LN3G3 3,0,0,0 0,0,0,0",
    "1nsgk1snl/3p2nb1/p2pppp1p/1tr1p2r1/5R3/R2R4R/SPP1PP1P1/2B2B1R1/LN1GKG1NL 2,1,1,1 1,1,1,1",
};

// Level 4 measures its time on the monotonic clock.
class BenchClock : public DeepHooks {
 public:
  double seconds() override { return monotonic_seconds(); }
};

// Reads one position a line; false with a message already printed.
bool read_positions(const std::string& path, std::vector<Position>& positions, int& status) {
  std::ifstream in(path);
  if (!in) {
    status = usage_error("cannot read '" + path + "'");
    return false;
  }
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.find('\0') != std::string::npos) {
      status = usage_error(path + ":" + std::to_string(number) + ": a NUL byte");
      return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    Position p{};
    std::string error;
    if (!parse_position(line, p, error)) {
      status = usage_error(path + ":" + std::to_string(number) + ": " + error);
      return false;
    }
    positions.push_back(p);
  }
  if (in.bad()) {
    status = usage_error("read error in '" + path + "' after line " + std::to_string(number));
    return false;
  }
  if (positions.empty()) {
    status = usage_error("no positions in '" + path + "'");
    return false;
  }
  return true;
}

// bench --level 4 --depth D [FILE]: every position searched to depth D from
// a fresh table and history; the total node count is the search's signature.
int deep_bench(const std::vector<std::string>& args) {
  int depth = 0;
  std::string path;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--level" || a == "--depth") {
      if (i + 1 >= args.size()) return usage_error(a + " needs a value");
      const std::string& v = args[++i];
      int value = 0;
      if (a == "--level" ? !parse_int(v, 4, 4, value) : !parse_int(v, 1, 64, depth))
        return usage_error("bad value for " + a + ": '" + v + "'");
    } else if (!a.empty() && a[0] != '-' && path.empty()) {
      path = a;
    } else {
      return usage_error("unknown option '" + a + "'");
    }
  }
  if (depth == 0) return usage_error("bench --level 4 needs --depth D");
  std::vector<Position> positions;
  if (path.empty()) {
    for (const char* text : DEEP_BENCH_POSITIONS) {
      Position p{};
      std::string error;
      parse_position(text, p, error);
      positions.push_back(p);
    }
  } else {
    int status = 0;
    if (!read_positions(path, positions, status)) return status;
  }
  BenchClock clock;
  long nodes = 0;
  double spent = 0;
  auto engine = std::make_unique<Engine>();
  for (std::size_t i = 0; i < positions.size(); ++i) {
    Engine& e = *engine;
    e.pos = positions[i];
    survey_influence(e.pos, e.influence);
    deep_new_game();
    DeepSettings s;
    s.infinite = true;
    s.max_depth = depth;
    const double start = clock.seconds();
    const SearchResult r = deep_search(e, s, clock);
    spent += clock.seconds() - start;
    nodes += r.candidates;
    std::cout << "position " << i + 1 << " nodes " << r.candidates;
    if (r.found) {
      const Candidate& c = r.best;
      std::cout << " best " << c.from_x << ' ' << c.from_y << ' ' << c.to_x << ' ' << c.to_y << ' ' << c.piece
                << " score " << static_cast<int>(c.score);
    } else {
      std::cout << " best none";
    }
    std::cout << '\n';
  }
  char buffer[64];
  std::cout << "positions " << positions.size() << '\n' << "depth " << depth << '\n' << "nodes " << nodes << '\n';
  std::snprintf(buffer, sizeof buffer, "%.3f", spent);
  std::cout << "seconds " << buffer << '\n';
  std::snprintf(buffer, sizeof buffer, "%.0f", spent > 0 ? nodes / spent : 0.0);
  std::cout << "nps " << buffer << '\n';
  return 0;
}

bool asks_level_four(const std::vector<std::string>& args) {
  for (std::size_t i = 1; i + 1 < args.size(); ++i)
    if (args[i] == "--level" && args[i + 1] == "4") return true;
  return false;
}

}  // namespace

int move_command(const std::vector<std::string>& args);   // cli/move.cpp
int match_command(const std::vector<std::string>& args);  // cli/match.cpp
int uci_command(const std::vector<std::string>& args);    // cli/uci.cpp
int fen_command(const std::vector<std::string>& args);       // cli/fen_commands.cpp
int position_command(const std::vector<std::string>& args);  // cli/fen_commands.cpp
int moves_command(const std::vector<std::string>& args);     // cli/fen_commands.cpp

int run(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::cerr << USAGE;
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << USAGE;
    return 0;
  }
  const std::string& command = args[0];
  if (command == "legal" || command == "survey" || command == "mate" || command == "com") {
    if (args.size() < 2) return usage_error(command + " needs a POSITION");
    SearchOptions o;
    std::string error;
    if (command == "com") {
      if (!parse_options(args, false, o, error)) return usage_error(error);
    } else if (args.size() > 2) {
      return usage_error(command + " takes one POSITION (quote it)");
    }
    auto s = std::make_unique<Session>();
    if (!s->load(args[1], error)) return usage_error("bad position: " + error);
    if (command == "legal") return legal(s->game.engine.pos);
    if (command == "survey") return survey(s->game);
    if (command == "mate") return mate(s->game);
    return com(s->game, o);
  }
  if (command == "bench") {
    if (asks_level_four(args)) return deep_bench(args);
    if (args.size() < 2) return usage_error("bench needs a FILE");
    SearchOptions o;
    std::string error;
    if (!parse_options(args, true, o, error)) return usage_error(error);
    return bench(args[1], o);
  }
  if (command == "move") return move_command(args);
  if (command == "match") return match_command(args);
  if (command == "uci") return uci_command(args);
  if (command == "fen") return fen_command(args);
  if (command == "position") return position_command(args);
  if (command == "moves") return moves_command(args);
  if (command == "play") {
    bool random_term = true;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] != "--no-random") return usage_error("unknown option '" + args[i] + "'");
      random_term = false;
    }
    return play(std::cin, std::cout, random_term);
  }
  return usage_error("unknown command '" + command + "' (try --help)");
}

}  // namespace vv::cli
