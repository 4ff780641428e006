// veverodu-cli match: whole games between two players, judged by the game's
// rules, from varied openings, each opening played twice with the sides
// exchanged. A player is a level 1-4 of this program, or any program that
// speaks the engine protocol (another build of ours, or a variant engine).
//
// Our players' code always plays the top side, so a player of ours on the
// bottom side sees the board turned half a turn with the owners exchanged,
// and its move is turned back. Every move of an outside program is checked
// by our rules: one that is not a move, or an illegal one, or none at all,
// loses the game.
//
// The judge: a king taken ends the game; a king may be left attacked; the
// 500th move ends it undecided. With --mate-test, the window's rule against
// the computer as well: after the bottom side's move the game's mate test
// looks at the top side's king and a mate ends the game (the bottom side
// wins). That rule favours the bottom side, so a match between engines
// leaves it out unless asked.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <poll.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "cli/args.h"
#include "cli/engine_process.h"
#include "cli/fen.h"
#include "cli/match_players.h"
#include "cli/match_stats.h"
#include "com/deep/deep_board.h"
#include "com/deep/deep_search.h"
#include "com/escape_mate.h"
#include "com/search.h"
#include "influence/survey.h"
#include "record/record_format.h"
#include "rules/move.h"
#include "rules/piece.h"
#include "rules/position_text.h"
#include "rules/start_position.h"

namespace vv::cli {
namespace {

struct MatchOptions {
  int games = 2;  // games first .. first + games - 1
  int first = 0;
  int opening_plies = 4;  // the length of a random opening
  bool verbose = false;  // every position and move
  std::string openings_file;
  std::vector<std::vector<std::string>> openings;  // moves from the start, in protocol notation
  std::string records;                             // folder for the record files
  bool sprt = false;  // stop when the sequential test decides
  Sprt test;
  int jobs = 1;  // copies of this program playing pairs at once
  bool games_only = false;  // a share of a match run by another copy: game lines only
  MatchSettings settings;
  PlayerSpec player, opponent;
  std::vector<std::string> shared_args;  // what a copy running a share of the games is given
};

// How a game ended: a king taken, the mate test, the move limit, a player of
// ours with no move (resign), an outside program's move our rules refuse
// (illegal), or a player that gave no move or could not start (nomove).
enum class End { none, king, mate, limit, resign, illegal, nomove };
const char* end_name(End e) {
  switch (e) {
    case End::king: return "king";
    case End::mate: return "mate";
    case End::limit: return "limit";
    case End::resign: return "resign";
    case End::illegal: return "illegal";
    case End::nomove: return "nomove";
    default: return "none";
  }
}

// Random board moves from the start (the bottom side first) that take
// nothing and leave no king to be taken.
std::vector<Candidate> random_opening(int plies, std::mt19937& rng) {
  std::vector<Candidate> out;
  Position real{};
  place_start_position(real);
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
    if (ok.empty()) break;
    const deep::Move m = ok[rng() % ok.size()];
    Candidate c;
    c.from_x = deep::sq_x(deep::move_from(m));
    c.from_y = deep::sq_y(deep::move_from(m));
    c.to_x = deep::sq_x(deep::move_to(m));
    c.to_y = deep::sq_y(deep::move_to(m));
    c.piece = deep::to_piece_code(deep::move_piece(m));
    if (bottom) c = turn_move(c);
    apply_move(real, c.from_x, c.from_y, c.to_x, c.to_y, placed_code(c));
    out.push_back(c);
  }
  return out;
}

struct GameResult {
  int winner = 0;  // +1 top, -1 bottom, 0 undecided
  End end = End::none;
  int moves = 0;
  long deep_nodes = 0;  // the player's search, when it plays at level 4
  double deep_seconds = 0;
  std::string note;  // what went wrong, for an outside program's loss
};

class MatchRunner {
 public:
  explicit MatchRunner(const MatchOptions& o)
      : o_(o), player_(make_player(o.player, o.settings)), opponent_(make_player(o.opponent, o.settings)) {}

  // Plays game `index`: the player takes the top side in even games.
  GameResult play(int index);

 private:
  bool opening(int index, GameState& g, MoveRecord& record, std::string& error);
  void save(int index, bool player_top, const MoveRecord& record, const GameResult& r);

  const MatchOptions& o_;
  std::unique_ptr<Player> player_, opponent_;
};

// Plays one checked move on the game and its record; returns the code captured.
// The record keeps each side's thinking time so far after every move: the
// bottom side's as the person's, the top side's as the computer's. A full
// record takes no more moves, but the game goes on.
int commit(GameState& g, MoveRecord& record, const Candidate& c, double seconds) {
  const double man_before = record.man_time_after[record.move_number];
  const double com_before = record.com_time_after[record.move_number];
  const double man_after = g.now.top_to_move ? man_before : man_before + seconds;
  const double com_after = g.now.top_to_move ? com_before + seconds : com_before;
  if (!record.full())
    record_move(record, g.now.pos, c.from_x, c.from_y, c.to_x, c.to_y, c.piece, placed_code(c), man_before, man_after,
                com_before, com_after);
  g.moves.push_back(format_move(c));
  return play_move(g.now, c);
}

bool MatchRunner::opening(int index, GameState& g, MoveRecord& record, std::string& error) {
  place_start_position(g.now.pos);
  if (!o_.openings.empty()) {
    const std::vector<std::string>& line = o_.openings[static_cast<std::size_t>(index / 2) % o_.openings.size()];
    for (const std::string& m : line) {
      Candidate c;
      if (!parse_move(m, g.now, c, error)) return false;
      commit(g, record, c, 0);
    }
    return true;
  }
  // Both games of a pair share the opening.
  std::mt19937 rng(static_cast<unsigned>(o_.settings.seed * 1000003 + index / 2));
  for (const Candidate& c : random_opening(o_.opening_plies, rng)) commit(g, record, c, 0);
  return true;
}

GameResult MatchRunner::play(int index) {
  GameResult result;
  const bool player_top = index % 2 == 0;
  GameState g;
  auto record = std::make_unique<MoveRecord>();
  std::string error;
  if (!opening(index, g, *record, error)) {
    result.note = "bad opening: " + error;
    result.end = End::none;
    return result;
  }
  for (Player* p : {player_.get(), opponent_.get()})
    if (!p->new_game(index, error)) {
      // A player that cannot start a game loses it.
      const bool top = (p == player_.get()) == player_top;
      result.winner = top ? -1 : 1;
      result.end = End::nomove;
      result.note = error;
      save(index, player_top, *record, result);
      return result;
    }
  Engine judge;
  while (true) {
    result.moves = g.now.plies();
    if (g.now.plies() >= RECORD_CAPACITY) {
      result.end = End::limit;
      break;
    }
    const bool top = g.now.top_to_move;
    const bool players_turn = top == player_top;
    const PlayerSpec& entrant = players_turn ? o_.player : o_.opponent;
    const Reply r = (players_turn ? player_ : opponent_)->choose(g);
    if (players_turn && entrant.level == 4) {
      result.deep_nodes += r.nodes;
      result.deep_seconds += r.seconds;
    }
    if (r.kind != Reply::move) {
      result.winner = top ? -1 : 1;
      result.end = r.kind == Reply::none ? (entrant.level == 0 ? End::nomove : End::resign) : End::illegal;
      if (r.kind == Reply::bad && r.text.empty()) result.end = End::nomove;
      if (r.kind != Reply::none || entrant.level == 0)
        result.note = entrant.name + " at move " + std::to_string(g.now.plies() + 1) + ": " +
                      (r.kind == Reply::none ? "no move ('" + r.text + "')" : r.why);
      break;
    }
    if (o_.verbose)
      std::cout << "position " << format_position(g.now.pos) << "\nmove " << g.now.plies() + 1 << ' ' << entrant.name
                << ' ' << r.c.from_x << ' ' << r.c.from_y << ' ' << r.c.to_x << ' ' << r.c.to_y << ' ' << r.c.piece
                << ' ' << r.text << '\n';
    const int captured = commit(g, *record, r.c, r.seconds);
    result.moves = g.now.plies();
    if (captured == KING || captured == -KING) {
      result.end = End::king;
      result.winner = captured == -KING ? 1 : -1;
      break;
    }
    if (!top && o_.settings.mate_test) {
      // After the bottom side's move the game looks for a mate of the top side's king.
      judge.pos = g.now.pos;
      survey_influence(judge.pos, judge.influence);
      if (com_is_mated(judge) == 1) {
        result.end = End::mate;
        result.winner = -1;
        break;
      }
    }
  }
  save(index, player_top, *record, result);
  return result;
}

// Saves a game as a record file when --records asks for it. A player's name
// the record's header cannot hold is written as "top" or "bottom". The file
// is written under a temporary name and renamed, so a record file is never
// left half written.
void MatchRunner::save(int index, bool player_top, const MoveRecord& record, const GameResult& r) {
  if (o_.records.empty()) return;
  record_format::RecordFile file;
  file.game = "match game " + std::to_string(index) + " " + end_name(r.end) +
              (r.winner == 0 ? " draw" : r.winner > 0 ? " top wins" : " bottom wins");
  file.top = player_top ? o_.player.name : o_.opponent.name;
  file.bottom = player_top ? o_.opponent.name : o_.player.name;
  file.moves = record_format::lines_of(record);
  std::string bytes;
  int bad_header = 0;
  if (!record_format::format_record_file(file, bytes, bad_header)) {
    file.top = "top", file.bottom = "bottom";
    if (!record_format::format_record_file(file, bytes, bad_header)) return;
  }
  char name[32];
  std::snprintf(name, sizeof name, "game-%06d", index);
  const std::string path = o_.records + "/" + name + record_format::EXTENSION;
  const std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.flush();
    if (!out) {
      std::cerr << "veverodu-cli: cannot write " << temporary << '\n';
      std::remove(temporary.c_str());
      return;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::cerr << "veverodu-cli: cannot write " << path << '\n';
    std::remove(temporary.c_str());
  }
}

// The player's results so far, by game and by pair.
class Scoreboard {
 public:
  explicit Scoreboard(const MatchOptions& o) : o_(o) {}
  // points: 2 a win, 1 a draw, 0 a loss.
  void add(int index, int points) {
    if (points == 2) ++tally_.wins; else if (points == 1) ++tally_.draws; else ++tally_.losses;
    auto& pair = pending_[index / 2];
    pair.push_back(points);
    if (pair.size() == 2) {
      ++tally_.pairs[pair[0] + pair[1]];
      pending_.erase(index / 2);
    }
  }
  const MatchTally& tally() const { return tally_; }
  std::string progress() const {
    const EloEstimate e = estimate_elo(tally_);
    char buffer[200];
    int n = std::snprintf(buffer, sizeof buffer, "progress games %d wdl %d-%d-%d score %.1f%% elo %.0f +- %.0f",
                          tally_.games(), tally_.wins, tally_.draws, tally_.losses, 100 * tally_.score(), e.elo,
                          e.error);
    if (o_.sprt)
      std::snprintf(buffer + n, sizeof buffer - n, " llr %.2f (%.2f, %.2f)", log_likelihood_ratio(tally_, o_.test),
                    o_.test.lower(), o_.test.upper());
    return buffer;
  }
  // The decision of the test, taken only between pairs.
  int decision() const {
    if (!o_.sprt || !pending_.empty()) return 0;
    return sprt_decision(tally_, o_.test);
  }

 private:
  const MatchOptions& o_;
  MatchTally tally_;
  std::map<int, std::vector<int>> pending_;  // the points of pairs not yet finished, by pair
};

void print_game(const MatchOptions& o, int index, const GameResult& g) {
  const bool player_top = index % 2 == 0;
  const int player_side = player_top ? 1 : -1;
  const char* result = g.winner == 0 ? "draw" : (g.winner == player_side ? "win" : "loss");
  if (!g.note.empty()) std::cout << "note game " << index << ' ' << g.note << '\n';
  std::cout << "game " << index << ' ' << o.player.name << ' ' << (player_top ? "top" : "bottom") << " result "
            << result << " end " << end_name(g.end) << " moves " << g.moves << std::endl;
}

// The player's points in game `index` (it is the top side in even games).
int points_of(int index, int winner) {
  const int player_side = index % 2 == 0 ? 1 : -1;
  return winner == 0 ? 1 : (winner == player_side ? 2 : 0);
}

void print_summary(const MatchOptions& o, const Scoreboard& board, long nodes, double seconds, int decision) {
  const MatchTally& t = board.tally();
  char buffer[200];
  std::snprintf(buffer, sizeof buffer, "games %d wins %d draws %d losses %d score %.1f%%", t.games(), t.wins,
                t.draws, t.losses, t.games() ? 100.0 * t.score() : 0.0);
  std::cout << buffer << '\n';
  if (o.player.level == 4) {
    std::snprintf(buffer, sizeof buffer, "level4_nodes %ld level4_seconds %.2f nodes_per_second %.0f", nodes,
                  seconds, seconds > 0 ? nodes / seconds : 0.0);
    std::cout << buffer << '\n';
  }
  const EloEstimate e = estimate_elo(t);
  std::snprintf(buffer, sizeof buffer, "elo %.1f +- %.1f (95%%, %s)", e.elo, e.error,
                2 * (t.pairs[0] + t.pairs[1] + t.pairs[2] + t.pairs[3] + t.pairs[4]) == t.games() && t.games() > 0
                    ? "pentanomial"
                    : "trinomial");
  std::cout << buffer << '\n';
  if (o.sprt) {
    std::snprintf(buffer, sizeof buffer, "sprt elo0 %g elo1 %g alpha %g beta %g llr %.2f bounds %.2f %.2f result %s",
                  o.test.elo0, o.test.elo1, o.test.alpha, o.test.beta, log_likelihood_ratio(t, o.test),
                  o.test.lower(), o.test.upper(), decision > 0 ? "H1" : decision < 0 ? "H0" : "undecided");
    std::cout << buffer << '\n';
  }
}

// Games played here, one after another.
int run_here(const MatchOptions& o) {
  MatchRunner runner(o);
  Scoreboard board(o);
  long nodes = 0;
  double seconds = 0;
  int decision = 0;
  for (int i = o.first; i < o.first + o.games; ++i) {
    const GameResult g = runner.play(i);
    nodes += g.deep_nodes;
    seconds += g.deep_seconds;
    print_game(o, i, g);
    if (o.games_only) {
      std::cout << "level4_game " << i << " nodes " << g.deep_nodes << " seconds " << g.deep_seconds << std::endl;
      continue;
    }
    board.add(i, points_of(i, g.winner));
    std::cerr << board.progress() << std::endl;
    if ((decision = board.decision()) != 0) break;
  }
  if (!o.games_only) print_summary(o, board, nodes, seconds, decision);
  return 0;
}

// Games shared among copies of this program, a pair to a copy, `jobs` at once.
// Each copy runs with --games-only and prints its game lines and a
// level4_game line of its search's nodes and seconds; they are gathered here
// into one scoreboard and summary.
int run_spread(const MatchOptions& o) {
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return usage_error("cannot find this program to run copies of it");
  self[n] = 0;
  struct Running {
    std::unique_ptr<EngineProcess> process;
    int first = 0, count = 0, reported = 0;
  };
  std::vector<Running> running;
  Scoreboard board(o);
  long nodes = 0;
  double seconds = 0;
  int decision = 0;
  int next = o.first;
  const int end = o.first + o.games;
  bool failed = false;
  while (true) {
    while (!decision && !failed && next < end && static_cast<int>(running.size()) < o.jobs) {
      // A whole pair, or one game where the range starts or ends inside a pair.
      const int count = std::min(2 - (next % 2 != 0 ? 1 : 0), end - next);
      std::vector<std::string> argv = {self, "match"};
      argv.insert(argv.end(), o.shared_args.begin(), o.shared_args.end());
      for (const std::string& a : {std::string("--first"), std::to_string(next), std::string("--games"),
                                   std::to_string(count), std::string("--games-only")})
        argv.push_back(a);
      Running r;
      r.process = std::make_unique<EngineProcess>();
      std::string error;
      if (!r.process->start(argv, error)) return usage_error(error);
      r.first = next;
      r.count = count;
      running.push_back(std::move(r));
      next += count;
    }
    if (running.empty()) break;
    std::vector<pollfd> fds;
    for (const Running& r : running) fds.push_back(pollfd{r.process->output_fd(), POLLIN, 0});
    if (poll(fds.data(), fds.size(), 1000) < 0 && errno != EINTR) return usage_error("cannot wait for the games");
    for (std::size_t k = 0; k < running.size();) {
      EngineProcess& p = *running[k].process;
      if (fds.size() > k && (fds[k].revents & (POLLIN | POLLHUP))) p.fill();
      std::string line;
      while (p.buffered_line(line)) {
        std::istringstream in(line);
        std::string word;
        in >> word;
        if (word == "game") {
          int index = 0;
          std::string name, side, result_word, result;
          in >> index >> name >> side >> result_word >> result;
          std::cout << line << std::endl;
          ++running[k].reported;
          board.add(index, result == "win" ? 2 : result == "draw" ? 1 : 0);
          std::cerr << board.progress() << std::endl;
          if (!decision) decision = board.decision();
        } else if (word == "level4_game") {
          int index = 0;
          long game_nodes = 0;
          double game_seconds = 0;
          std::string w1, w2;
          in >> index >> w1 >> game_nodes >> w2 >> game_seconds;
          nodes += game_nodes;
          seconds += game_seconds;
        } else if (!line.empty()) {
          std::cout << line << std::endl;
        }
      }
      if (p.at_end()) {
        p.close();
        if (running[k].reported < running[k].count)
          std::cerr << "veverodu-cli: games " << running[k].first << " to " << running[k].first + running[k].count - 1
                    << " of a copy: " << running[k].count - running[k].reported << " not finished" << std::endl;
        running.erase(running.begin() + static_cast<long>(k));
        fds.erase(fds.begin() + static_cast<long>(k));
      } else {
        ++k;
      }
    }
  }
  print_summary(o, board, nodes, seconds, decision);
  return 0;
}

bool parse_player(const std::string& text, PlayerSpec& p, std::string& error) {
  if (text.size() == 6 && text.rfind("level", 0) == 0 && text[5] >= '1' && text[5] <= '4') {
    p.level = text[5] - '0';
    p.name = text;
    p.command.clear();
    return true;
  }
  error = "a player is level1 .. level4 (or --engine / --player-engine COMMAND): '" + text + "'";
  return false;
}

bool parse_double_list(const std::string& text, std::vector<double>& out) {
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    char* end = nullptr;
    const double v = std::strtod(item.c_str(), &end);
    if (item.empty() || *end != 0 || !std::isfinite(v)) return false;
    out.push_back(v);
  }
  return true;
}

bool read_openings(MatchOptions& o, std::string& error) {
  std::ifstream in(o.openings_file);
  if (!in) {
    error = "cannot read " + o.openings_file;
    return false;
  }
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::vector<std::string> moves;
    for (std::string w; words >> w;) moves.push_back(w);
    if (moves.empty() || moves[0][0] == '#') continue;
    // Each line must be legal moves from the start in which no king is taken.
    FenPosition f;
    place_start_position(f.pos);
    for (const std::string& m : moves) {
      Candidate c;
      std::string why;
      if (!parse_move(m, f, c, why)) {
        error = o.openings_file + " line " + std::to_string(number) + ": " + why;
        return false;
      }
      if (iabs(play_move(f, c)) == KING) {
        error = o.openings_file + " line " + std::to_string(number) + ": a king is taken";
        return false;
      }
    }
    o.openings.push_back(moves);
  }
  if (o.openings.empty()) {
    error = o.openings_file + " holds no opening";
    return false;
  }
  return true;
}

// A limit of a move: --NAME sets it for both sides, --player-NAME and
// --opponent-NAME for one.
struct LimitOption {
  const char* name;
  int low, high;
};
constexpr LimitOption LIMIT_OPTIONS[] = {{"movetime", 0, 3600000}, {"depth", 1, 64}, {"nodes", 1, 1000000000}};

const LimitOption* limit_option(const std::string& a) {
  for (const LimitOption& l : LIMIT_OPTIONS)
    for (const char* prefix : {"--", "--player-", "--opponent-"})
      if (a == std::string(prefix) + l.name) return &l;
  return nullptr;
}

const char* const MATCH_USAGE =
    "usage: veverodu-cli match [OPTIONS]\n"
    "players: the player (default level4) against the opponent (default level3)\n"
    "  --player levelN | --player-engine COMMAND      the player: level1..level4 or a program of the engine protocol\n"
    "  --opponent levelN | --engine COMMAND           the opponent, likewise (--level N: the opponent is levelN)\n"
    "  --player-option NAME=VALUE, --option NAME=VALUE  setoption for the player's / the opponent's program\n"
    "  --player-name NAME, --opponent-name NAME       names in the output and the records\n"
    "limits (the first form for both sides):\n"
    "  --movetime MS | --player-movetime MS | --opponent-movetime MS   time a move (default 100; 0 none)\n"
    "  --depth D | --player-depth D | --opponent-depth D               depth a move (no time limit unless given)\n"
    "  --nodes N | --player-nodes N | --opponent-nodes N               nodes a move (likewise)\n"
    "games:\n"
    "  --games N --first I       games I .. I+N-1; even games the player is the top side; a pair shares its opening\n"
    "  --opening-plies K --seed S   random openings of K plies (default 4), seeded\n"
    "  --openings FILE           openings from FILE: one line of moves from the start a pair\n"
    "  --records DIR             save every game as DIR/game-NNNNNN.棋譜 (DIR is made when missing)\n"
    "  --sprt ELO0,ELO1[,ALPHA,BETA]   stop when the test decides (default alpha = beta = 0.05)\n"
    "  --jobs J                  play J pairs at once in copies of this program\n"
    "  --mate-test               after the bottom side's move the game's mate test may end the game,\n"
    "                            as against the computer in the window (default: a taken king alone decides)\n"
    "  --verbose                 every position and move\n";

}  // namespace

int match_command(const std::vector<std::string>& args) {
  MatchOptions o;
  o.opponent.name = "level3";
  o.opponent.level = 3;
  long movetime[2] = {-1, -1}, depth[2] = {-1, -1}, nodes[2] = {-1, -1};
  std::string name[2];
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help") {
      std::cout << MATCH_USAGE;
      return 0;
    }
    if (a == "--verbose" || a == "--games-only") {
      (a == "--verbose" ? o.verbose : o.games_only) = true;
      if (a == "--verbose") o.shared_args.push_back(a);
      continue;
    }
    if (a == "--mate-test") {
      o.settings.mate_test = true;
      o.shared_args.push_back(a);
      continue;
    }
    if (i + 1 >= args.size()) return usage_error(a + " needs a value");
    const std::string& v = args[++i];
    const bool shared = a != "--games" && a != "--first" && a != "--jobs";
    if (shared) o.shared_args.insert(o.shared_args.end(), {a, v});
    int* target = nullptr;
    int low = 0, high = 0;
    std::string error;
    if (a == "--games") target = &o.games, low = 1, high = 1000000;
    else if (a == "--first") target = &o.first, low = 0, high = 100000000;
    else if (a == "--opening-plies") target = &o.opening_plies, low = 0, high = 40;
    else if (a == "--seed") target = &o.settings.seed, low = 0, high = 1000000;
    else if (a == "--jobs") target = &o.jobs, low = 1, high = 256;
    else if (const LimitOption* limit = limit_option(a)) {
      int value = 0;
      if (!parse_int(v, limit->low, limit->high, value)) return usage_error("bad value for " + a + ": '" + v + "'");
      long* const by_option[] = {movetime, depth, nodes};  // in the order of LIMIT_OPTIONS
      long* sides = by_option[limit - LIMIT_OPTIONS];
      if (a.rfind("--opponent-", 0) != 0) sides[0] = value;
      if (a.rfind("--player-", 0) != 0) sides[1] = value;
      continue;
    } else if (a == "--level") {
      int level = 0;
      if (!parse_int(v, 1, 3, level)) return usage_error("bad value for " + a + ": '" + v + "'");
      if (!parse_player("level" + v, o.opponent, error)) return usage_error(error);
      continue;
    } else if (a == "--player" || a == "--opponent") {
      if (!parse_player(v, a == "--player" ? o.player : o.opponent, error)) return usage_error(error);
      continue;
    } else if (a == "--player-engine" || a == "--engine") {
      PlayerSpec& p = a == "--engine" ? o.opponent : o.player;
      p.command = split_command(v);
      if (p.command.empty()) return usage_error(a + " needs a command");
      p.level = 0;
      p.name = p.command[0].substr(p.command[0].find_last_of('/') + 1);
      continue;
    } else if (a == "--player-option" || a == "--option") {
      const std::size_t eq = v.find('=');
      if (eq == std::string::npos || eq == 0) return usage_error("an option is NAME=VALUE: '" + v + "'");
      (a == "--option" ? o.opponent : o.player).options.emplace_back(v.substr(0, eq), v.substr(eq + 1));
      continue;
    } else if (a == "--player-name" || a == "--opponent-name") {
      if (v.empty() || v.find_first_of(" \t\r\n") != std::string::npos) return usage_error("a name is one word: '" + v + "'");
      name[a == "--player-name" ? 0 : 1] = v;
      continue;
    } else if (a == "--openings") {
      o.openings_file = v;
      continue;
    } else if (a == "--records") {
      o.records = v;
      continue;
    } else if (a == "--sprt") {
      std::vector<double> values;
      if (!parse_double_list(v, values) || (values.size() != 2 && values.size() != 4) || values[1] <= values[0] ||
          (values.size() == 4 && (values[2] <= 0 || values[2] >= 0.5 || values[3] <= 0 || values[3] >= 0.5)))
        return usage_error("bad value for --sprt: '" + v + "' (ELO0,ELO1[,ALPHA,BETA], ELO0 < ELO1, 0 < ALPHA, BETA < 0.5)");
      o.sprt = true;
      o.test.elo0 = values[0];
      o.test.elo1 = values[1];
      if (values.size() == 4) o.test.alpha = values[2], o.test.beta = values[3];
      continue;
    } else {
      return usage_error("unknown option '" + a + "' (try match --help)");
    }
    if (!parse_int(v, low, high, *target)) return usage_error("bad value for " + a + ": '" + v + "'");
  }
  PlayerSpec* specs[2] = {&o.player, &o.opponent};
  for (int s = 0; s < 2; ++s) {
    Limits& l = specs[s]->limits;
    if (depth[s] > 0) l.depth = static_cast<int>(depth[s]);
    if (nodes[s] > 0) l.nodes = nodes[s];
    // A depth or node limit alone leaves the time free.
    l.movetime = movetime[s] >= 0 ? static_cast<int>(movetime[s]) : (l.depth > 0 || l.nodes > 0 ? 0 : 100);
    if (specs[s]->level != 0 && specs[s]->level != 4) l = Limits{};
    if (!name[s].empty()) specs[s]->name = name[s];
    if (specs[s]->level == 0 && l.movetime == 0 && l.depth == 0 && l.nodes == 0)
      return usage_error("a program needs a time, depth or node limit");
  }
  if (o.player.level == 4 && o.opponent.level == 4)
    return usage_error("two LEVEL4 players in one program would share one table: run one as --engine 'veverodu-cli uci'");
  if (o.player.name == o.opponent.name && o.player.level == 0) o.opponent.name += "-2";
  if (!o.openings_file.empty()) {
    std::string error;
    if (!read_openings(o, error)) return usage_error(error);
  }
  if (!o.records.empty()) {
    struct stat st {};
    // A missing folder is made (its parent must exist).
    if (stat(o.records.c_str(), &st) != 0 && mkdir(o.records.c_str(), 0777) == 0) stat(o.records.c_str(), &st);
    if (!S_ISDIR(st.st_mode) || access(o.records.c_str(), W_OK) != 0)
      return usage_error("--records needs a folder that can be written: '" + o.records + "'");
  }
  if (o.jobs > 1 && !o.games_only) return run_spread(o);
  return run_here(o);
}

}  // namespace vv::cli
