// veverodu-cli match: the searching player against a rule level, whole games
// by the game's rules, from varied openings, each opening played twice with
// the sides exchanged. The computer's code always plays the top side, so a
// player on the bottom side sees the board turned half a turn with the
// owners exchanged, and its move is turned back.
#include <cstdio>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "cli/args.h"
#include "com/deep/deep_board.h"
#include "com/deep/deep_search.h"
#include "com/escape_mate.h"
#include "com/search.h"
#include "influence/survey.h"
#include "rules/move.h"
#include "rules/piece.h"
#include "rules/position_text.h"
#include "rules/start_position.h"

namespace vv::cli {
namespace {

constexpr int GAME_LENGTH = 500;

struct MatchOptions {
  int games = 2;
  int first = 0;
  int movetime = 100;  // ms for the searching player
  int opening_plies = 4;
  int level = 3;
  int seed = 1;
  bool verbose = false;  // every position and move
};

class ClockHooks : public DeepHooks {
 public:
  double seconds() override {
    return monotonic_seconds();
  }
};

// The board turned half a turn with the owners exchanged.
void turn_over(const Position& from, Position& to) {
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) to.board[x][y] = -from.board[10 - x][10 - y];
  for (int slot = 0; slot < 5; ++slot) {
    to.com_hand[slot] = from.man_hand[slot];
    to.man_hand[slot] = from.com_hand[slot];
  }
  to.com_hand_count = from.man_hand_count;
  to.man_hand_count = from.com_hand_count;
}

// A move found on the turned board, as the bottom side plays it on the real one.
Candidate turn_back(const Candidate& c) {
  Candidate r = c;
  r.piece = -c.piece;
  r.to_x = 10 - c.to_x;
  r.to_y = 10 - c.to_y;
  if (is_board_column(c.from_x)) {
    r.from_x = 10 - c.from_x;
    r.from_y = 10 - c.from_y;
  } else {
    r.from_x = c.from_x == COM_FRONT_COLUMN ? MAN_FRONT_COLUMN : MAN_BACK_COLUMN;
    r.from_y = c.from_y + 5;
  }
  return r;
}

enum class End { none, king, mate, limit, resign };
const char* end_name(End e) {
  switch (e) {
    case End::king: return "king";
    case End::mate: return "mate";
    case End::limit: return "limit";
    case End::resign: return "resign";
    default: return "none";
  }
}

struct GameResult {
  int winner = 0;  // +1 top, -1 bottom, 0 undecided
  End end = End::none;
  int moves = 0;
  long deep_nodes = 0;
  double deep_seconds = 0;
};

// Plays one move on the real board; returns the code captured.
int play(Position& real, const Candidate& c) {
  const int placed = is_board_column(c.from_x) ? 取得_移動後成り駒(c.piece) : c.piece;
  return apply_move(real, c.from_x, c.from_y, c.to_x, c.to_y, placed);
}

// Random board moves from the start (the bottom side first) that leave no
// king to be taken and end nothing.
void opening(Position& real, int plies, std::mt19937& rng, int& moves) {
  deep::Move list[deep::MAX_MOVES];
  for (int i = 0; i < plies; ++i) {
    const bool bottom = i % 2 == 0;
    Position view{};
    if (bottom) turn_over(real, view); else view = real;
    deep::DeepBoard b;
    b.set(view, deep::COM);
    const int n = b.generate(list);
    std::vector<deep::Move> ok;
    for (int k = 0; k < n; ++k) {
      if (deep::move_is_drop(list[k]) || b.at(deep::move_to(list[k])) != 0) continue;
      deep::Undo u;
      b.make(list[k], u);
      if (!b.can_take_king()) ok.push_back(list[k]);
      b.unmake(list[k], u);
    }
    if (ok.empty()) return;
    const deep::Move m = ok[rng() % ok.size()];
    Candidate c;
    c.from_x = deep::sq_x(deep::move_from(m));
    c.from_y = deep::sq_y(deep::move_from(m));
    c.to_x = deep::sq_x(deep::move_to(m));
    c.to_y = deep::sq_y(deep::move_to(m));
    c.piece = deep::to_game_code(deep::move_piece(m));
    play(real, bottom ? turn_back(c) : c);
    ++moves;
  }
}

GameResult play_game(const MatchOptions& o, int index) {
  GameResult g;
  const bool deep_top = index % 2 == 0;
  std::mt19937 rng(static_cast<unsigned>(o.seed * 1000003 + index / 2));  // both games of a pair share the opening
  Position real{};
  place_start_position(real);
  opening(real, o.opening_plies, rng, g.moves);

  Engine deep_engine;
  Engine rule_engine;
  rule_engine.com_level = o.level;
  rule_engine.rng.r = static_cast<std::uint32_t>((o.seed * 7919u + index * 104729u) & 0xFFFFFFu);
  Engine judge;
  ClockHooks hooks;
  bool bottom_to_move = g.moves % 2 == 0;
  while (true) {
    if (g.moves >= GAME_LENGTH) {
      g.end = End::limit;
      return g;
    }
    const bool deep_moves = bottom_to_move != deep_top;
    Engine& e = deep_moves ? deep_engine : rule_engine;
    Position view{};
    if (bottom_to_move) turn_over(real, view); else view = real;
    view.com_king_x = e.pos.com_king_x;
    view.com_king_y = e.pos.com_king_y;
    view.man_king_x = e.pos.man_king_x;
    view.man_king_y = e.pos.man_king_y;
    e.pos = view;
    勢力調査(e.pos, e.inf);
    SearchResult r;
    if (deep_moves) {
      DeepSettings s;
      s.seconds = o.movetime / 1000.0;
      s.moves_left = GAME_LENGTH - g.moves;
      s.plays_person = bottom_to_move;
      const double t0 = hooks.seconds();
      r = deep_search(e, s, hooks);
      g.deep_seconds += hooks.seconds() - t0;
      g.deep_nodes += r.candidates;
    } else {
      QuietHooks quiet;
      r = com_search(e, quiet);
    }
    if (!r.found) {
      g.end = End::resign;
      g.winner = bottom_to_move ? 1 : -1;
      return g;
    }
    const Candidate played = bottom_to_move ? turn_back(r.best) : r.best;
    if (o.verbose)
      std::cout << "position " << format_position(real) << "\nmove " << g.moves + 1 << (deep_moves ? " level4 " : " rule ")
                << played.from_x << ' ' << played.from_y << ' ' << played.to_x << ' ' << played.to_y << ' '
                << played.piece << " score " << r.best.score << '\n';
    const int captured = play(real, played);
    ++g.moves;
    if (captured == 王 || captured == -王) {
      g.end = End::king;
      g.winner = captured == -王 ? 1 : -1;
      return g;
    }
    if (bottom_to_move) {
      // After the person's move the game looks for a mate of the computer's king.
      judge.pos = real;
      勢力調査(judge.pos, judge.inf);
      if (詰めかCOM(judge) == 1) {
        g.end = End::mate;
        g.winner = -1;
        return g;
      }
    }
    bottom_to_move = !bottom_to_move;
  }
}

}  // namespace

int match_command(const std::vector<std::string>& args) {
  MatchOptions o;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--verbose") {
      o.verbose = true;
      continue;
    }
    int* target = nullptr;
    int low = 0, high = 0;
    if (a == "--games") target = &o.games, low = 1, high = 100000;
    else if (a == "--first") target = &o.first, low = 0, high = 1000000;
    else if (a == "--movetime") target = &o.movetime, low = 1, high = 3600000;
    else if (a == "--opening-plies") target = &o.opening_plies, low = 0, high = 40;
    else if (a == "--level") target = &o.level, low = 1, high = 3;
    else if (a == "--seed") target = &o.seed, low = 0, high = 1000000;
    else return bad("unknown option '" + a + "'");
    if (i + 1 >= args.size()) return bad(a + " needs a value");
    const std::string& v = args[++i];
    if (!parse_int(v, low, high, *target)) return bad("bad value for " + a + ": '" + v + "'");
  }
  int wins = 0, draws = 0, losses = 0;
  long nodes = 0;
  double seconds = 0;
  for (int i = o.first; i < o.first + o.games; ++i) {
    const GameResult g = play_game(o, i);
    const bool deep_top = i % 2 == 0;
    const int deep_side = deep_top ? 1 : -1;
    const char* result = g.winner == 0 ? "draw" : (g.winner == deep_side ? "win" : "loss");
    if (g.winner == 0) ++draws; else if (g.winner == deep_side) ++wins; else ++losses;
    nodes += g.deep_nodes;
    seconds += g.deep_seconds;
    std::cout << "game " << i << " level4 " << (deep_top ? "top" : "bottom") << " result " << result << " end "
              << end_name(g.end) << " moves " << g.moves << std::endl;
  }
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "games %d wins %d draws %d losses %d score %.1f%%", o.games, wins, draws,
                losses, 100.0 * (wins + 0.5 * draws) / o.games);
  std::cout << buffer << '\n';
  std::snprintf(buffer, sizeof buffer, "level4_nodes %ld level4_seconds %.2f nodes_per_second %.0f", nodes, seconds,
                seconds > 0 ? nodes / seconds : 0.0);
  std::cout << buffer << '\n';
  return 0;
}

}  // namespace vv::cli
