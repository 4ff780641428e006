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
    game.Form_Load();
  }
  bool load(const std::string& text, std::string& error) {
    Position p{};  // king squares stay 0 until a survey finds the kings
    if (!parse_position(text, p, error)) return false;
    game.e.pos = p;
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
          if (移動チェック(b, fx, fy, tx, ty, code) == 1) line(fx, fy, tx, ty, code);
    }
  auto drops = [&](const int (&hand)[5], int front, int back, int sign, bool man) {
    for (int slot = 1; slot <= 4; ++slot) {
      if (hand[slot] <= 0) continue;
      for (const int column : {front, back}) {
        const int code = sign * hand_face(slot, column == back);
        const int row = man ? slot + 5 : slot;
        for (int tx = 1; tx <= 9; ++tx)
          for (int ty = 1; ty <= 9; ++ty)
            if (移動チェック(b, column, row, tx, ty, code) == 1) line(column, row, tx, ty, code);
      }
    }
  };
  drops(p.com_hand, COM_FRONT_COLUMN, COM_BACK_COLUMN, 1, false);
  drops(p.man_hand, MAN_FRONT_COLUMN, MAN_BACK_COLUMN, -1, true);
  std::cout << out;
  return 0;
}

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
  勢力調査(g.e.pos, g.e.inf);
  const Position& p = g.e.pos;
  const Influence& m = g.e.inf;
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
  Engine& e = g.e;
  勢力調査(e.pos, e.inf);
  const int escapes = 調査_自王逃道(e);
  const int man_mated = 詰めかMAN(e);
  勢力調査(e.pos, e.inf);
  const int com_mated = 詰めかCOM(e);
  std::cout << "escapes " << escapes << "\nman_mated " << man_mated << "\ncom_mated " << com_mated << '\n';
  return 0;
}

class PrintingHooks : public SearchHooks {
 public:
  void evaluated(const Candidate& c) override { print_move(out, c); }
  std::ostringstream out;
};

int com(Game& g, const SearchOptions& o) {
  g.e.com_level = o.level;
  g.e.random_term = o.random_term;
  勢力調査(g.e.pos, g.e.inf);
  PrintingHooks hooks;
  const SearchResult r = com_search(g.e, hooks);
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
  if (!in) return bad("cannot read '" + path + "'");
  std::vector<Position> positions;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.find('\0') != std::string::npos) return bad(path + ":" + std::to_string(number) + ": a NUL byte");
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    Position p{};
    std::string error;
    if (!parse_position(line, p, error)) return bad(path + ":" + std::to_string(number) + ": " + error);
    positions.push_back(p);
  }
  if (in.bad()) return bad("read error in '" + path + "' after line " + std::to_string(number));
  if (positions.empty()) return bad("no positions in '" + path + "'");

  Random rng;  // one random sequence for the whole run
  QuietHooks quiet;
  long candidates = 0;
  std::chrono::duration<double> spent{0};
  // Every search starts from the engine of a fresh game, copied: making a
  // whole game object for each search would be timed by callgrind too.
  const auto fresh = std::make_unique<Session>();
  auto engine = std::make_unique<Engine>();
  for (const Position& p : positions) {
    for (int i = 0; i < o.repeat; ++i) {
      Engine& e = *engine;
      e = fresh->game.e;
      e.pos = p;
      e.com_level = o.level;
      e.random_term = o.random_term;
      e.rng = rng;
      勢力調査(e.pos, e.inf);
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
    if (args.size() < 2) return bad(command + " needs a POSITION");
    SearchOptions o;
    std::string error;
    if (command == "com") {
      if (!parse_options(args, false, o, error)) return bad(error);
    } else if (args.size() > 2) {
      return bad(command + " takes one POSITION (quote it)");
    }
    auto s = std::make_unique<Session>();
    if (!s->load(args[1], error)) return bad("bad position: " + error);
    if (command == "legal") return legal(s->game.e.pos);
    if (command == "survey") return survey(s->game);
    if (command == "mate") return mate(s->game);
    return com(s->game, o);
  }
  if (command == "bench") {
    if (args.size() < 2) return bad("bench needs a FILE");
    SearchOptions o;
    std::string error;
    if (!parse_options(args, true, o, error)) return bad(error);
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
      if (args[i] != "--no-random") return bad("unknown option '" + args[i] + "'");
      random_term = false;
    }
    return play(std::cin, std::cout, random_term);
  }
  return bad("unknown command '" + command + "' (try --help)");
}

}  // namespace vv::cli
