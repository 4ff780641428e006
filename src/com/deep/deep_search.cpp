#include "com/deep/deep_search.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "com/deep/deep_board.h"
#include "com/deep/deep_eval.h"
#include "com/deep/mate_rule.h"
#include "rules/piece.h"

namespace vv {
namespace deep {
namespace {

constexpr int INF = 32000;
constexpr int WIN = 30000;  // a taken king, or the mate test, at the root; less one a ply
constexpr int MAX_PLY = 96;
constexpr int WIN_BOUND = WIN - MAX_PLY;
constexpr int MAX_Q_EVASION = 1;  // capture-search plies that still answer a threat to the king
constexpr double TICK_EVERY = 0.05;

enum Bound : std::uint8_t { BOUND_NONE = 0, BOUND_UPPER = 1, BOUND_LOWER = 2, BOUND_EXACT = 3 };

struct TTEntry {
  std::uint64_t key;
  Move move;
  std::int16_t score;
  std::uint8_t depth;
  std::uint8_t bound_and_age;
};
constexpr std::size_t TT_ENTRIES = std::size_t{1} << 20;  // 16 MB

inline int to_tt(int score, int ply) {
  if (score >= WIN_BOUND) return score + ply;
  if (score <= -WIN_BOUND) return score - ply;
  return score;
}
inline int from_tt(int score, int ply) {
  if (score >= WIN_BOUND) return score - ply;
  if (score <= -WIN_BOUND) return score + ply;
  return score;
}

inline bool is_capture(const DeepBoard& b, Move m) { return !move_is_drop(m) && b.at(move_to(m)) != 0; }

inline int victim_gain(int cell) {
  const int k = cell < 0 ? -cell : cell;
  return board_value(k) + hand_value(SLOT[k]);
}

class Searcher {
 public:
  Searcher() : tt_(TT_ENTRIES) {}

  SearchResult run(Engine& e, const DeepSettings& s, DeepHooks& hooks);

 private:
  int search(int depth, int alpha, int beta, int ply, bool pv, bool null_ok);
  int quiesce(int alpha, int beta, int ply, int qply);
  bool rule_end(int ply, int& score);
  void order(Move* moves, int n, std::uint64_t* keys, Move tt_move, int ply) const;
  void poll();

  TTEntry* probe(std::uint64_t key) {
    TTEntry& t = tt_[key & (TT_ENTRIES - 1)];
    return t.key == key ? &t : nullptr;
  }
  void store(std::uint64_t key, Move m, int score, int depth, Bound bound, int ply) {
    TTEntry& t = tt_[key & (TT_ENTRIES - 1)];
    const int age = (t.bound_and_age >> 2);
    if (t.key != key && age == age_ && t.depth > depth + 2) return;
    if (t.key == key && m == NO_MOVE) m = t.move;
    t.key = key;
    t.move = m;
    t.score = static_cast<std::int16_t>(to_tt(score, ply));
    t.depth = static_cast<std::uint8_t>(depth < 0 ? 0 : depth);
    t.bound_and_age = static_cast<std::uint8_t>(bound | (age_ << 2));
  }

  DeepBoard b_;
  MateRule rule_;
  std::vector<TTEntry> tt_;
  int age_ = 0;
  bool plays_person_ = false;
  int moves_left_ = 500;
  DeepHooks* hooks_ = nullptr;
  double start_ = 0, deadline_ = 0, last_tick_ = 0;
  bool stopped_ = false;
  bool depth_one_ = true;
  double depth_one_deadline_ = 0;
  long nodes_ = 0;
  int root_depth_ = 1;

  Move moves_[MAX_PLY][MAX_MOVES];
  Move root_copy_[MAX_MOVES];
  std::uint64_t keys_[MAX_PLY][MAX_MOVES];
  Undo undo_[MAX_PLY];
  Move killers_[MAX_PLY][2] = {};
  int history_[2][19][SQUARES] = {};
};

void Searcher::poll() {
  const double now = hooks_->seconds();
  if (now - last_tick_ >= TICK_EVERY) {
    last_tick_ = now;
    hooks_->tick();
  }
  // The first iteration must finish, so that a king is never left to be
  // taken for want of time; it is cut only well past the limit.
  if (now >= (depth_one_ ? depth_one_deadline_ : deadline_)) stopped_ = true;
}

// The game's ways of ending, seen from the side to move at this node: the
// mate test right after the person's move, the 500th move, a king to take.
bool Searcher::rule_end(int ply, int& score) {
  if (b_.side() == rule_.tested_side() && rule_.mated(b_)) {
    score = -WIN + ply;
    return true;
  }
  if (ply >= moves_left_) {
    score = 0;
    return true;
  }
  if (b_.can_take_king()) {
    score = WIN - ply;
    return true;
  }
  return false;
}

void Searcher::order(Move* moves, int n, std::uint64_t* keys, Move tt_move, int ply) const {
  const int side = b_.side();
  for (int i = 0; i < n; ++i) {
    const Move m = moves[i];
    int s;
    if (m == tt_move) {
      s = 1 << 28;
    } else if (is_capture(b_, m)) {
      const int attacker = move_piece(m) < 0 ? -move_piece(m) : move_piece(m);
      s = (1 << 24) + victim_gain(b_.at(move_to(m))) * 16 - FACE_POWER[attacker] / 4;
    } else if (m == killers_[ply][0]) {
      s = (1 << 23) + 1;
    } else if (m == killers_[ply][1]) {
      s = 1 << 23;
    } else {
      s = history_[side][move_piece(m) + 9][move_to(m)];
    }
    keys[i] = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(s + (1 << 29))) << 32) | m;
  }
  std::sort(keys, keys + n, [](std::uint64_t a, std::uint64_t c) { return a > c; });
  for (int i = 0; i < n; ++i) moves[i] = static_cast<Move>(keys[i] & 0xffffffffu);
}

int Searcher::quiesce(int alpha, int beta, int ply, int qply) {
  int end;
  if (rule_end(ply, end)) return end;
  if ((++nodes_ & 255) == 0) poll();
  if (stopped_) return 0;
  if (ply >= MAX_PLY - 1) return evaluate(b_);

  const bool threatened = b_.in_check();
  const bool evade = threatened && qply < MAX_Q_EVASION;
  int best = -INF;
  int stand = 0;
  if (!evade) {
    stand = evaluate(b_);
    if (stand >= beta) return stand;
    if (stand > alpha) alpha = stand;
    best = stand;
  }
  Move* moves = moves_[ply];
  const int n = evade ? b_.generate(moves) : b_.generate_captures(moves);
  order(moves, n, keys_[ply], NO_MOVE, ply);
  for (int i = 0; i < n; ++i) {
    const Move m = moves[i];
    if (!evade) {
      const int gain = victim_gain(b_.at(move_to(m)));
      if (stand + gain + 200 <= alpha) continue;
      // A capture that gives up more than it takes, on a square the other
      // side holds, loses material in the exchange.
      const int mover = move_piece(m) < 0 ? -move_piece(m) : move_piece(m);
      if (mover != OU && board_value(mover) + hand_value(SLOT[mover]) > gain + 100 &&
          b_.attacked_by(b_.side() ^ 1, move_to(m), false))
        continue;
    }
    b_.make(m, undo_[ply]);
    const int score = -quiesce(-beta, -alpha, ply + 1, qply + 1);
    b_.unmake(m, undo_[ply]);
    if (stopped_) return 0;
    if (score > best) {
      best = score;
      if (score > alpha) {
        alpha = score;
        if (score >= beta) break;
      }
    }
  }
  if (best == -INF) best = n == 0 ? -WIN + ply : alpha;
  return best;
}

int Searcher::search(int depth, int alpha, int beta, int ply, bool pv, bool null_ok) {
  if (depth <= 0) return quiesce(alpha, beta, ply, 0);
  int end;
  if (rule_end(ply, end)) return end;
  if ((++nodes_ & 255) == 0) poll();
  if (stopped_) return 0;
  if (ply >= MAX_PLY - 2) return evaluate(b_);

  const std::uint64_t key = b_.key();
  Move tt_move = NO_MOVE;
  if (const TTEntry* t = probe(key)) {
    tt_move = t->move;
    if (!pv && t->depth >= depth) {
      const int s = from_tt(t->score, ply);
      const int bound = t->bound_and_age & 3;
      if (bound == BOUND_EXACT || (bound == BOUND_LOWER && s >= beta) || (bound == BOUND_UPPER && s <= alpha))
        return s;
    }
  }

  const bool threatened = b_.in_check();
  if (threatened && ply < 2 * root_depth_ + 2) ++depth;  // the threat to the king must be answered
  const int static_eval = threatened ? -INF : evaluate(b_);

  // A pass that still holds beta: giving a move away rarely helps in this game.
  if (null_ok && !pv && !threatened && depth >= 3 && static_eval >= beta && beta < WIN_BOUND) {
    Undo u;
    b_.make_null(u);
    const int r = 2 + depth / 6;
    const int score = -search(depth - 1 - r, -beta, -beta + 1, ply + 1, false, false);
    b_.unmake_null(u);
    if (stopped_) return 0;
    if (score >= beta) return beta;
  }

  Move* moves = moves_[ply];
  const int n = b_.generate(moves);
  if (n == 0) return -WIN + ply;  // nothing can move: the side resigns
  order(moves, n, keys_[ply], tt_move, ply);

  const int alpha_start = alpha;
  int best = -INF;
  Move best_move = NO_MOVE;
  int searched = 0;
  for (int i = 0; i < n; ++i) {
    const Move m = moves[i];
    const bool capture = is_capture(b_, m);
    const bool quiet = !capture && m != tt_move && m != killers_[ply][0] && m != killers_[ply][1];
    if (quiet && !pv && !threatened && depth <= 2 && searched > 0 && alpha > -WIN_BOUND &&
        static_eval + 120 + 160 * depth <= alpha)
      continue;
    b_.make(m, undo_[ply]);
    int score;
    if (searched == 0) {
      score = -search(depth - 1, -beta, -alpha, ply + 1, pv, true);
    } else {
      int r = 0;
      if (quiet && depth >= 3 && searched >= 3 && !threatened) {
        r = 1;
        if (searched >= 10) ++r;
        if (searched >= 30 && depth >= 6) ++r;
        if (r > depth - 2) r = depth - 2;
      }
      score = -search(depth - 1 - r, -alpha - 1, -alpha, ply + 1, false, true);
      if (score > alpha && r > 0) score = -search(depth - 1, -alpha - 1, -alpha, ply + 1, false, true);
      if (score > alpha && score < beta) score = -search(depth - 1, -beta, -alpha, ply + 1, true, true);
    }
    b_.unmake(m, undo_[ply]);
    if (stopped_) return 0;
    ++searched;
    if (score > best) {
      best = score;
      best_move = m;
      if (score > alpha) {
        alpha = score;
        if (score >= beta) {
          if (!capture) {
            if (killers_[ply][0] != m) {
              killers_[ply][1] = killers_[ply][0];
              killers_[ply][0] = m;
            }
            int& h = history_[b_.side()][move_piece(m) + 9][move_to(m)];
            h += depth * depth;
            if (h > (1 << 20)) {
              for (auto& side : history_)
                for (auto& piece : side)
                  for (int& v : piece) v /= 2;
            }
          }
          break;
        }
      }
    }
  }
  if (best == -INF) best = alpha;  // every move was pruned: no better than alpha
  const Bound bound = best >= beta ? BOUND_LOWER : (best > alpha_start ? BOUND_EXACT : BOUND_UPPER);
  store(key, best_move, best, depth, bound, ply);
  return best;
}

Candidate to_candidate(Move m, int score) {
  Candidate c;
  const int piece = move_piece(m);
  c.piece = to_game_code(piece);
  c.to_x = sq_x(move_to(m));
  c.to_y = sq_y(move_to(m));
  if (move_is_drop(m)) {
    const int slot = move_from(m);
    const int kind = piece < 0 ? -piece : piece;
    c.from_x = kind == FRONT_FACE[slot] ? COM_FRONT_COLUMN : COM_BACK_COLUMN;
    c.from_y = slot;
  } else {
    c.from_x = sq_x(move_from(m));
    c.from_y = sq_y(move_from(m));
  }
  c.score = score;
  return c;
}

SearchResult Searcher::run(Engine& e, const DeepSettings& s, DeepHooks& hooks) {
  SearchResult result;
  hooks_ = &hooks;
  start_ = hooks.seconds();
  last_tick_ = start_;
  const double limit = s.seconds > 0 ? s.seconds : 0;
  deadline_ = start_ + std::max(0.0, limit - 0.003);
  depth_one_deadline_ = start_ + limit + 0.03;
  stopped_ = false;
  depth_one_ = true;
  nodes_ = 0;
  moves_left_ = s.moves_left;
  if (plays_person_ != s.plays_person) {
    std::fill(tt_.begin(), tt_.end(), TTEntry{});
    plays_person_ = s.plays_person;
  }
  age_ = (age_ + 1) & 63;
  std::memset(killers_, 0, sizeof killers_);
  for (auto& side : history_)
    for (auto& piece : side)
      for (int& v : piece) v /= 8;

  b_.set(e.pos, COM);
  rule_.reset(e, s.plays_person);

  Move* root = moves_[0];
  const int n = b_.generate(root);
  if (n == 0) return result;
  result.found = true;
  // Taking the king ends the game at once.
  for (int i = 0; i < n; ++i)
    if (is_capture(b_, root[i]) && (b_.at(move_to(root[i])) == -OU)) {
      result.best = to_candidate(root[i], WIN);
      return result;
    }
  order(root, n, keys_[0], NO_MOVE, 0);
  // Moves that leave a king to be taken go last and are never searched: they
  // lose at once, and a search cut short must still have met the others.
  int safe = 0;
  for (int i = 0; i < n; ++i) {
    b_.make(root[i], undo_[0]);
    const bool loses = b_.can_take_king();
    b_.unmake(root[i], undo_[0]);
    if (!loses) root_copy_[safe++] = root[i];
  }
  if (safe > 0 && safe < n) {
    int k = safe;
    for (int i = 0; i < n; ++i) {
      b_.make(root[i], undo_[0]);
      const bool loses = b_.can_take_king();
      b_.unmake(root[i], undo_[0]);
      if (loses) root_copy_[k++] = root[i];
    }
    std::memcpy(root, root_copy_, sizeof(Move) * n);
  }
  const int searchable = safe > 0 ? safe : n;
  int root_scores[MAX_MOVES];
  Move best = root[0];
  int best_score = -INF;

  for (int depth = 1; depth <= s.max_depth && depth < MAX_PLY - 8; ++depth) {
    root_depth_ = depth;
    int alpha = -INF;
    const int beta = INF;
    Move iter_best = NO_MOVE;
    int iter_score = -INF;
    for (int i = 0; i < n; ++i) root_scores[i] = i < searchable ? -INF : -WIN + 1;
    for (int i = 0; i < searchable; ++i) {
      const Move m = root[i];
      b_.make(m, undo_[0]);
      int score;
      if (i == 0) {
        score = -search(depth - 1, -beta, -alpha, 1, true, true);
      } else {
        score = -search(depth - 1, -alpha - 1, -alpha, 1, false, true);
        if (!stopped_ && score > alpha) score = -search(depth - 1, -beta, -alpha, 1, true, true);
      }
      b_.unmake(m, undo_[0]);
      if (stopped_) break;
      root_scores[i] = score;
      if (score > alpha) {
        alpha = score;
        iter_best = m;
        iter_score = score;
      }
    }
    // A move that finished its search before the clock ran out is kept even
    // from a cut iteration: it was measured against the best of the last one.
    if (iter_best != NO_MOVE) {
      best = iter_best;
      best_score = iter_score;
    }
    if (stopped_) break;
    depth_one_ = false;
    hooks.info(depth, nodes_, best_score);
    // Best first, the rest by their scores at this depth; equal scores keep
    // their order (the index breaks ties, so the sort needs no buffer).
    for (int i = 0; i < n; ++i) {
      root_copy_[i] = root[i];
      const int key_score = (root[i] == best ? INF + 1 : root_scores[i]) + 2 * INF;
      keys_[0][i] = (static_cast<std::uint64_t>(key_score) << 32) | static_cast<std::uint32_t>(MAX_MOVES - 1 - i);
    }
    std::sort(keys_[0], keys_[0] + n, [](std::uint64_t a, std::uint64_t c) { return a > c; });
    for (int i = 0; i < n; ++i) root[i] = root_copy_[MAX_MOVES - 1 - static_cast<int>(keys_[0][i] & 0xffffffffu)];
    if (best_score >= WIN_BOUND || best_score <= -WIN_BOUND || n == 1) break;
    if (hooks.seconds() - start_ > limit * 0.5) break;
  }
  if (depth_one_ && best_score == -INF) best_score = 0;  // cut before one move was scored
  result.best = to_candidate(best, best_score);
  result.candidates = nodes_;
  return result;
}

}  // namespace
}  // namespace deep

SearchResult deep_search(Engine& e, const DeepSettings& settings, DeepHooks& hooks) {
  // One searcher for the program's life: its table is allocated once.
  static std::unique_ptr<deep::Searcher> searcher = std::make_unique<deep::Searcher>();
  return searcher->run(e, settings, hooks);
}

SearchResult deep_search(Engine& e, double seconds, int moves_left, DeepHooks& hooks) {
  DeepSettings s;
  s.seconds = seconds;
  s.moves_left = moves_left;
  return deep_search(e, s, hooks);
}

}  // namespace vv
