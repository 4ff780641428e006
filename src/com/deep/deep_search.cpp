#include "com/deep/deep_search.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "com/deep/deep_board.h"
#include "com/deep/deep_eval.h"
#include "com/deep/mate_rule.h"
#include "rules/piece.h"

namespace vv {
namespace deep {
namespace {

constexpr int INF = 32000;
// A won game (a king taken, or the mate test) scores WIN less the plies from
// the root to its end, so a nearer win scores higher; every score at or
// beyond +-WIN_BOUND is a decided game.
constexpr int WIN = 30000;
constexpr int MAX_PLY = 96;
constexpr int WIN_BOUND = WIN - MAX_PLY;
constexpr int MAX_Q_EVASION = 1;  // capture-search plies that still answer a threat to the king
constexpr double TICK_EVERY = 0.05;  // seconds between hooks.tick() calls

enum Bound : std::uint8_t { BOUND_NONE = 0, BOUND_UPPER = 1, BOUND_LOWER = 2, BOUND_EXACT = 3 };

constexpr int MAX_TABLE_MB = 65536;

// The table shared by every thread of a search. An entry is two words: the
// data and the key xor the data, so that an entry torn by two threads writing
// at once reads as no entry at all. The data packs the move (bits 0-31), the
// score (32-47), the depth (48-55), the bound (56-57) and the search's age
// (58-63).
struct TTData {
  Move move = NO_MOVE;
  int score = 0;
  int depth = 0;
  int bound = BOUND_NONE;
  int age = 0;
};

class Table {
 public:
  // A size the machine cannot give leaves the table as it was.
  void resize(int mb) {
    std::size_t entries = 1024;
    const std::size_t bytes = static_cast<std::size_t>(std::clamp(mb, 1, MAX_TABLE_MB)) << 20;
    while (entries * 2 * sizeof(Entry) <= bytes) entries *= 2;
    if (entries == size_ && entries_) return;
    try {
      std::unique_ptr<Entry[]> fresh(new Entry[entries]);
      entries_ = std::move(fresh);
      size_ = entries;
    } catch (const std::bad_alloc&) {
      if (entries_) return;
      throw;
    }
    clear();
  }
  void clear() {
    for (std::size_t i = 0; i < size_; ++i) {
      entries_[i].check.store(0, std::memory_order_relaxed);
      entries_[i].data.store(0, std::memory_order_relaxed);
    }
  }
  bool probe(std::uint64_t key, TTData& out) const {
    const Entry& e = entries_[key & (size_ - 1)];
    const std::uint64_t data = e.data.load(std::memory_order_relaxed);
    if ((e.check.load(std::memory_order_relaxed) ^ data) != key || data == 0) return false;
    out = unpack(data);
    return true;
  }
  // Another position stored in this search more than two plies deeper keeps
  // its entry; the same position keeps its move when the new store has none.
  void store(std::uint64_t key, Move m, int score, int depth, Bound bound, int age) {
    Entry& e = entries_[key & (size_ - 1)];
    const std::uint64_t old_data = e.data.load(std::memory_order_relaxed);
    const bool same = (e.check.load(std::memory_order_relaxed) ^ old_data) == key && old_data != 0;
    const TTData old = unpack(old_data);
    if (!same && old_data != 0 && old.age == age && old.depth > depth + 2) return;
    if (same && m == NO_MOVE) m = old.move;
    const std::uint64_t data = static_cast<std::uint64_t>(m) |
                               (static_cast<std::uint64_t>(static_cast<std::uint16_t>(score)) << 32) |
                               (static_cast<std::uint64_t>(depth < 0 ? 0 : (depth > 255 ? 255 : depth)) << 48) |
                               (static_cast<std::uint64_t>(bound | (age << 2)) << 56);
    e.check.store(key ^ data, std::memory_order_relaxed);
    e.data.store(data, std::memory_order_relaxed);
  }

 private:
  struct Entry {
    std::atomic<std::uint64_t> check{0};
    std::atomic<std::uint64_t> data{0};
  };
  static TTData unpack(std::uint64_t data) {
    TTData t;
    t.move = static_cast<Move>(data & 0xffffffffu);
    t.score = static_cast<std::int16_t>((data >> 32) & 0xffff);
    t.depth = static_cast<int>((data >> 48) & 0xff);
    t.bound = static_cast<int>((data >> 56) & 3);
    t.age = static_cast<int>((data >> 58) & 63);
    return t;
  }
  std::unique_ptr<Entry[]> entries_;
  std::size_t size_ = 0;
};

// What the threads of one search share.
struct Shared {
  Table table;
  int age = 0;
  std::atomic<bool> abort{false};  // the caller's thread is done: helpers stop
};

// A win or loss counts plies from the root; the table holds it counted from
// the node, so that it stays true wherever the position is met again.
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

// What taking this cell's piece gains: its face on the board and its pair in
// the taker's hand.
inline int victim_gain(int cell) {
  const int k = cell < 0 ? -cell : cell;
  return board_value(k) + hand_value(HAND_SLOT[k]);
}

// The root position and its moves, prepared once per search for every thread.
struct Root {
  Move moves[MAX_MOVES];
  int count = 0;
  int searchable = 0;  // the moves that do not leave a king to be taken come first
};

class Searcher {
 public:
  explicit Searcher(Shared& shared) : shared_(shared) {}

  // Prepares the root: false when the side has no move.
  bool prepare(Engine& e, const DeepSettings& s, Root& root);
  // Iterative deepening over the prepared root. The main searcher (id 0)
  // keeps the time, reports progress and decides the move; helpers (id 1, 2,
  // ...) only fill the shared table.
  void iterate(const Engine& e, const DeepSettings& s, const Root& root, DeepHooks* hooks, int id);
  // Killers and history forgotten: a new game.
  void new_game() {
    std::memset(history_, 0, sizeof history_);
    std::memset(killers_, 0, sizeof killers_);
  }
  // Killers forgotten, history faded: the start of a search.
  void begin();
  void set_helpers(std::vector<std::unique_ptr<Searcher>>* helpers) { helpers_ = helpers; }

  Move best_ = NO_MOVE;
  int best_score_ = 0;
  long nodes_ = 0;
  std::atomic<long> published_nodes_{0};

 private:
  int search(int depth, int alpha, int beta, int ply, bool pv, bool null_ok);
  // The capture search; qply counts its own plies.
  int quiesce(int alpha, int beta, int ply, int qply);
  // True, with the score, when the game ends at this node.
  bool rule_end(int ply, int& score);
  // Scores the moves into keys (score in the high word, move in the low);
  // `all` sorts them too, otherwise next() picks them in order as the search
  // goes. First the table's move, then captures by the most valuable victim
  // and the weakest taker, then the two killers, then the rest by history.
  void order(Move* moves, int n, std::uint64_t* keys, Move tt_move, int ply, bool all) const;
  // The best of keys[i..n), brought to i: most nodes end after a move or two,
  // so the first few are picked one by one, and the rest sorted once when
  // the node goes on past them.
  static constexpr int PICKED = 6;
  static Move next(std::uint64_t* keys, int i, int n) {
    if (i < PICKED) {
      int best = i;
      for (int k = i + 1; k < n; ++k)
        if (keys[k] > keys[best]) best = k;
      std::swap(keys[i], keys[best]);
    } else if (i == PICKED) {
      std::sort(keys + i, keys + n, [](std::uint64_t a, std::uint64_t c) { return a > c; });
    }
    return static_cast<Move>(keys[i] & 0xffffffffu);
  }
  // Every 256 nodes: publishes the node count, keeps the clock display going
  // and decides whether to stop.
  void poll();
  long total_nodes() const;
  void report(int depth, DeepHooks& hooks, bool final = false) const;

 public:
  void report_final(DeepHooks& hooks) const { report(std::max(last_depth_, 1), hooks, true); }

 private:
  int last_depth_ = 0;

  TTData* probe(std::uint64_t key) {
    return shared_.table.probe(key, probed_) ? &probed_ : nullptr;
  }
  void store(std::uint64_t key, Move m, int score, int depth, Bound bound, int ply) {
    shared_.table.store(key, m, to_tt(score, ply), depth, bound, shared_.age);
  }

  Shared& shared_;
  std::vector<std::unique_ptr<Searcher>>* helpers_ = nullptr;
  TTData probed_;
  DeepBoard b_;
  MateRule rule_;
  bool main_ = true;
  int moves_left_ = 500;
  DeepHooks* hooks_ = nullptr;
  const std::atomic<bool>* stop_ = nullptr;
  long max_nodes_ = 0;
  double start_ = 0, deadline_ = 0, last_tick_ = 0;
  bool stopped_ = false;
  bool depth_one_ = true;
  double depth_one_deadline_ = 0;
  int root_depth_ = 1;
  int seldepth_ = 0;

  // Per ply: the move list, its ordering keys and what make() saved.
  Move moves_[MAX_PLY][MAX_MOVES];
  std::uint64_t keys_[MAX_PLY][MAX_MOVES];
  Undo undo_[MAX_PLY];
  Move root_[MAX_MOVES];       // the root moves, reordered after each iteration
  Move root_copy_[MAX_MOVES];  // room for that reordering
  // The best line from each ply (pv_[ply][ply .. pv_length_[ply])), and the
  // root's from the last iteration.
  Move pv_[MAX_PLY + 1][MAX_PLY + 1];
  int pv_length_[MAX_PLY + 1] = {};
  Move root_pv_[MAX_PLY + 1];
  int root_pv_length_ = 0;
  // Quiet moves that cut a node off: the last two at each ply, and a score by
  // side, piece (cell + 9) and target square.
  Move killers_[MAX_PLY][2] = {};
  int history_[2][19][SQUARES] = {};
};

long Searcher::total_nodes() const {
  long n = nodes_;
  if (helpers_)
    for (const auto& h : *helpers_) n += h->published_nodes_.load(std::memory_order_relaxed);
  return n;
}

void Searcher::poll() {
  published_nodes_.store(nodes_, std::memory_order_relaxed);
  if (!main_) {
    if (shared_.abort.load(std::memory_order_relaxed)) stopped_ = true;
    return;
  }
  if (stop_ && stop_->load(std::memory_order_relaxed)) stopped_ = true;
  const double now = hooks_->seconds();
  if (now - last_tick_ >= TICK_EVERY) {
    last_tick_ = now;
    hooks_->tick();
  }
  // The first iteration must finish, so that a king is never left to be
  // taken for want of time; it is cut only 30 ms past the aimed time.
  if (depth_one_) {
    if (now >= depth_one_deadline_) stopped_ = true;
    return;
  }
  if (now >= deadline_) stopped_ = true;
  if (max_nodes_ > 0 && total_nodes() >= max_nodes_) stopped_ = true;
}

// The game's ways of ending, seen from the side to move at this node: the
// mate test right after the person's move (a loss), the 500th move (a
// draw), a king it can take (a win).
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

void Searcher::order(Move* moves, int n, std::uint64_t* keys, Move tt_move, int ply, bool all) const {
  const int side = b_.side();
  for (int i = 0; i < n; ++i) {
    const Move m = moves[i];
    int priority;
    if (m == tt_move) {
      priority = 1 << 28;
    } else if (is_capture(b_, m)) {
      const int attacker = move_piece(m) < 0 ? -move_piece(m) : move_piece(m);
      priority = (1 << 24) + victim_gain(b_.at(move_to(m))) * 16 - FACE_POWER[attacker] / 4;
    } else if (m == killers_[ply][0]) {
      priority = (1 << 23) + 1;
    } else if (m == killers_[ply][1]) {
      priority = 1 << 23;
    } else {
      priority = history_[side][move_piece(m) + 9][move_to(m)];
    }
    keys[i] = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(priority + (1 << 29))) << 32) | m;
  }
  if (!all) return;
  std::sort(keys, keys + n, [](std::uint64_t a, std::uint64_t c) { return a > c; });
  for (int i = 0; i < n; ++i) moves[i] = static_cast<Move>(keys[i] & 0xffffffffu);
}

int Searcher::quiesce(int alpha, int beta, int ply, int qply) {
  pv_length_[ply] = ply;
  int end;
  if (rule_end(ply, end)) return end;
  if ((++nodes_ & 255) == 0) poll();
  if (stopped_) return 0;
  if (ply > seldepth_) seldepth_ = ply;
  if (ply >= MAX_PLY - 1) return evaluate(b_);

  // A king under threat in the first MAX_Q_EVASION plies here is answered
  // with every move, and the side may not stand on its evaluation; otherwise
  // only captures are tried.
  const bool threatened = b_.in_check();
  const bool evade = threatened && qply < MAX_Q_EVASION;
  int best = -INF;
  int stand = 0;  // the evaluation, which the side may keep instead of capturing
  if (!evade) {
    stand = evaluate(b_);
    if (stand >= beta) return stand;
    if (stand > alpha) alpha = stand;
    best = stand;
  }
  Move* moves = moves_[ply];
  const int n = evade ? b_.generate(moves) : b_.generate_captures(moves);
  order(moves, n, keys_[ply], NO_MOVE, ply, false);
  for (int i = 0; i < n; ++i) {
    const Move m = next(keys_[ply], i, n);
    if (!evade) {
      // A capture that cannot lift the score to alpha is not tried.
      const int gain = victim_gain(b_.at(move_to(m)));
      if (stand + gain + 200 <= alpha) continue;
      // A capture that gives up more than it takes, on a square the other
      // side holds, loses material in the exchange.
      const int mover = move_piece(m) < 0 ? -move_piece(m) : move_piece(m);
      if (mover != KING_KIND && board_value(mover) + hand_value(HAND_SLOT[mover]) > gain + 100 &&
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
  // A side under threat with no move at all loses.
  if (best == -INF) best = n == 0 ? -WIN + ply : alpha;
  return best;
}

int Searcher::search(int depth, int alpha, int beta, int ply, bool pv, bool null_ok) {
  pv_length_[ply] = ply;
  if (depth <= 0) return quiesce(alpha, beta, ply, 0);
  int end;
  if (rule_end(ply, end)) return end;
  if ((++nodes_ & 255) == 0) poll();
  if (stopped_) return 0;
  if (ply >= MAX_PLY - 2) return evaluate(b_);

  const std::uint64_t key = b_.key();
  Move tt_move = NO_MOVE;
  if (const TTData* t = probe(key)) {
    tt_move = t->move;
    if (!pv && t->depth >= depth) {
      const int s = from_tt(t->score, ply);
      const int bound = t->bound;
      if (bound == BOUND_EXACT || (bound == BOUND_LOWER && s >= beta) || (bound == BOUND_UPPER && s <= alpha))
        return s;
    }
  }

  const bool threatened = b_.in_check();
  if (threatened && ply < 2 * root_depth_ + 2) ++depth;  // the threat to the king must be answered
  const int static_eval = threatened ? -INF : evaluate(b_);

  // Null move: when passing the turn still holds beta in a shallower search,
  // the node is cut, since a real move is rarely worse than passing.
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
  order(moves, n, keys_[ply], tt_move, ply, false);

  const int alpha_start = alpha;
  int best = -INF;
  Move best_move = NO_MOVE;
  int searched = 0;
  for (int i = 0; i < n; ++i) {
    const Move m = next(keys_[ply], i, n);
    const bool capture = is_capture(b_, m);
    const bool quiet = !capture && m != tt_move && m != killers_[ply][0] && m != killers_[ply][1];
    // Near the leaves a quiet move is not tried when the evaluation lies far
    // below alpha.
    if (quiet && !pv && !threatened && depth <= 2 && searched > 0 && alpha > -WIN_BOUND &&
        static_eval + 120 + 160 * depth <= alpha)
      continue;

    b_.make(m, undo_[ply]);
    int score;
    if (searched == 0) {
      score = -search(depth - 1, -beta, -alpha, ply + 1, pv, true);
    } else {
      // Later moves get a null window, late quiet ones a shallower search
      // first; a move that beats alpha is searched again in full.
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
        pv_[ply][ply] = m;
        for (int k = ply + 1; k < pv_length_[ply + 1]; ++k) pv_[ply][k] = pv_[ply + 1][k];
        pv_length_[ply] = pv_length_[ply + 1] > ply + 1 ? pv_length_[ply + 1] : ply + 1;
        if (score >= beta) {
          // A quiet move that cuts off becomes a killer and earns history,
          // all of which is halved when it grows large.
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

// A move in the game's coordinates, as com_search gives it: a drop comes from
// its side's hand column (front or back face) and the slot's row.
Candidate to_candidate(Move m, int score) {
  Candidate c;
  const int piece = move_piece(m);
  c.piece = to_piece_code(piece);
  c.to_x = sq_x(move_to(m));
  c.to_y = sq_y(move_to(m));
  if (move_is_drop(m)) {
    const int slot = move_from(m);
    const int kind = piece < 0 ? -piece : piece;
    const bool front = kind == FRONT_FACE[slot];
    if (piece > 0) {
      c.from_x = front ? COM_FRONT_COLUMN : COM_BACK_COLUMN;
      c.from_y = slot;
    } else {
      c.from_x = front ? MAN_FRONT_COLUMN : MAN_BACK_COLUMN;
      c.from_y = slot + 5;
    }
  } else {
    c.from_x = sq_x(move_from(m));
    c.from_y = sq_y(move_from(m));
  }
  c.score = score;
  return c;
}

// Moves of its own until the game ends for the side at the root, from a
// score that says it ends.
int mate_moves(int score) {
  if (score >= WIN_BOUND) return (WIN - score + 2) / 2;
  if (score <= -WIN_BOUND) return -std::max(1, (WIN + score + 1) / 2);
  return 0;
}

void Searcher::report(int depth, DeepHooks& hooks, bool final) const {
  DeepInfo info;
  info.final = final;
  info.depth = depth;
  info.seldepth = std::max(seldepth_, depth);
  info.nodes = total_nodes();
  info.score = best_score_;
  info.mate = mate_moves(best_score_);
  info.seconds = hooks.seconds() - start_;
  for (int i = 0; i < root_pv_length_; ++i) info.pv.push_back(to_candidate(root_pv_[i], 0));
  hooks.info(info);
}

void Searcher::begin() {
  std::memset(killers_, 0, sizeof killers_);
  for (auto& side : history_)
    for (auto& piece : side)
      for (int& v : piece) v /= 8;
}

bool Searcher::prepare(Engine& e, const DeepSettings& s, Root& root) {
  begin();
  b_.set(e.pos, COM);
  rule_.reset(e, s.plays_person, s.mate_test);
  moves_left_ = s.moves_left;
  Move* list = root.moves;
  const int n = b_.generate(list);
  root.count = n;
  root.searchable = n;
  if (n == 0) return false;
  // Taking the king ends the game at once: it is the only move searched.
  for (int i = 0; i < n; ++i)
    if (is_capture(b_, list[i]) && (b_.at(move_to(list[i])) == -KING_KIND)) {
      list[0] = list[i];
      root.count = root.searchable = 1;
      return true;
    }
  order(list, n, keys_[0], NO_MOVE, 0, true);
  // Moves that leave a king to be taken go last and are never searched: they
  // lose at once, and a search cut short must still have met the others.
  int safe = 0;
  bool loses[MAX_MOVES];
  for (int i = 0; i < n; ++i) {
    b_.make(list[i], undo_[0]);
    loses[i] = b_.can_take_king();
    b_.unmake(list[i], undo_[0]);
    if (!loses[i]) root_copy_[safe++] = list[i];
  }
  if (safe > 0 && safe < n) {
    int k = safe;
    for (int i = 0; i < n; ++i)
      if (loses[i]) root_copy_[k++] = list[i];
    std::memcpy(list, root_copy_, sizeof(Move) * n);
  }
  root.searchable = safe > 0 ? safe : n;
  return true;
}

void Searcher::iterate(const Engine& e, const DeepSettings& s, const Root& root_moves, DeepHooks* hooks, int id) {
  main_ = id == 0;
  hooks_ = hooks;
  stop_ = s.stop;
  max_nodes_ = s.max_nodes;
  stopped_ = false;
  depth_one_ = true;
  nodes_ = 0;
  published_nodes_.store(0, std::memory_order_relaxed);
  seldepth_ = 0;
  last_depth_ = 0;
  moves_left_ = s.moves_left;
  if (main_) {
    start_ = hooks->seconds();
    last_tick_ = start_;
    const double aim = s.seconds > 0 ? s.seconds : 0;
    const double limit = s.infinite ? 1e12 : std::max(aim, s.max_seconds);
    deadline_ = start_ + std::max(0.0, limit - 0.003);
    depth_one_deadline_ = start_ + (s.infinite ? 1e12 : aim) + 0.03;
  } else {
    b_.set(e.pos, COM);
    rule_.reset(e, s.plays_person, s.mate_test);
  }
  if (!main_) begin();

  const int n = root_moves.count;
  const int searchable = root_moves.searchable;
  Move* root = root_;
  std::memcpy(root, root_moves.moves, sizeof(Move) * n);
  best_ = root[0];
  best_score_ = -INF;
  root_pv_[0] = root[0];
  root_pv_length_ = 1;
  if (is_capture(b_, root[0]) && b_.at(move_to(root[0])) == -KING_KIND) {
    best_score_ = WIN;
    return;
  }
  int root_scores[MAX_MOVES];
  const double aim = s.seconds > 0 ? s.seconds : 0;
  // With room beyond the aimed time, an iteration that changed the best move
  // earns the next one more time, up to half the hard limit; a best move that
  // has held for several iterations stops the search early.
  const double hard = std::max(aim, s.max_seconds);
  double unstable = 0;
  int held = 0;
  Move last_best = NO_MOVE;

  // Helpers with an odd id start a ply deeper, so the threads spread over
  // two depths.
  for (int depth = 1 + (main_ ? 0 : (id & 1)); depth <= s.max_depth && depth < MAX_PLY - 8; ++depth) {
    root_depth_ = depth;
    int alpha = -INF;
    const int beta = INF;
    Move iter_best = NO_MOVE;
    int iter_score = -INF;
    // The moves never searched, which leave a king to be taken, score as lost.
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
        root_pv_[0] = m;
        root_pv_length_ = std::max(1, pv_length_[1]);
        for (int k = 1; k < pv_length_[1]; ++k) root_pv_[k] = pv_[1][k];
      }
    }
    // A move that finished its search before the clock ran out is kept even
    // from a cut iteration: it was measured against the best of the last one.
    if (iter_best != NO_MOVE) {
      best_ = iter_best;
      best_score_ = iter_score;
    }
    if (stopped_) break;
    depth_one_ = false;
    last_depth_ = depth;
    if (main_) report(depth, *hooks);
    // Best first, the rest by their scores at this depth; equal scores keep
    // their order (the index breaks ties, so the sort needs no buffer).
    for (int i = 0; i < n; ++i) {
      root_copy_[i] = root[i];
      const int key_score = (root[i] == best_ ? INF + 1 : root_scores[i]) + 2 * INF;
      keys_[0][i] = (static_cast<std::uint64_t>(key_score) << 32) | static_cast<std::uint32_t>(MAX_MOVES - 1 - i);
    }
    std::sort(keys_[0], keys_[0] + n, [](std::uint64_t a, std::uint64_t c) { return a > c; });
    for (int i = 0; i < n; ++i) root[i] = root_copy_[MAX_MOVES - 1 - static_cast<int>(keys_[0][i] & 0xffffffffu)];
    // A decided game or a single move needs no deeper look.
    if (best_score_ >= WIN_BOUND || best_score_ <= -WIN_BOUND || n == 1) break;
    // The next iteration would take longer than all before it: none starts
    // past half the time it may use.
    if (main_ && !s.infinite) {
      const double spent = hooks->seconds() - start_;
      if (hard <= aim) {
        if (spent > aim * 0.5) break;
      } else {
        unstable = unstable * 0.5 + (best_ != last_best && last_best != NO_MOVE ? 1 : 0);
        held = best_ == last_best ? held + 1 : 0;
        last_best = best_;
        double target = aim * 0.5 * (1 + unstable);
        if (held >= 4) target *= 0.6;
        if (spent > std::min(target, hard * 0.5)) break;
      }
    }
    if (!main_ && shared_.abort.load(std::memory_order_relaxed)) break;
  }
  if (depth_one_ && best_score_ == -INF) best_score_ = 0;  // cut before one move was scored
  published_nodes_.store(nodes_, std::memory_order_relaxed);
}

// One search object per thread for the program's life: their tables are
// allocated once, and the table and history carry over between the moves of a game.
class Pool {
 public:
  Pool() {
    shared_.table.resize(16);
    main_ = std::make_unique<Searcher>(shared_);
  }

  SearchResult run(Engine& e, const DeepSettings& s, DeepHooks& hooks) {
    SearchResult result;
    shared_.table.resize(s.hash_mb);
    // Scores stored under one rule of ending mean nothing under another.
    if (plays_person_ != s.plays_person || mate_test_ != s.mate_test) {
      shared_.table.clear();
      plays_person_ = s.plays_person;
      mate_test_ = s.mate_test;
    }
    shared_.age = (shared_.age + 1) & 63;
    shared_.abort.store(false);
    const int threads = std::clamp(s.threads, 1, 256);
    while (static_cast<int>(helpers_.size()) < threads - 1) helpers_.push_back(std::make_unique<Searcher>(shared_));
    for (auto& h : helpers_) h->published_nodes_.store(0, std::memory_order_relaxed);
    main_->set_helpers(&helpers_);

    if (!main_->prepare(e, s, root_)) return result;
    result.found = true;
    std::vector<std::thread> running;
    if (root_.count > 1)
      for (int i = 0; i < threads - 1; ++i)
        running.emplace_back([this, &e, &s, i] { helpers_[i]->iterate(e, s, root_, nullptr, i + 1); });
    main_->iterate(e, s, root_, &hooks, 0);
    shared_.abort.store(true);
    for (std::thread& t : running) t.join();
    main_->report_final(hooks);
    result.best = to_candidate(main_->best_, main_->best_score_);
    long nodes = main_->nodes_;
    for (int i = 0; i < static_cast<int>(running.size()); ++i) nodes += helpers_[i]->nodes_;
    result.candidates = nodes;
    return result;
  }

  void new_game() {
    shared_.table.clear();
    main_->new_game();
    for (auto& h : helpers_) h->new_game();
  }

 private:
  Shared shared_;
  std::unique_ptr<Searcher> main_;
  std::vector<std::unique_ptr<Searcher>> helpers_;
  Root root_;
  bool plays_person_ = false;
  bool mate_test_ = true;
};

Pool& pool() {
  static Pool p;
  return p;
}

}  // namespace
}  // namespace deep

SearchResult deep_search(Engine& e, const DeepSettings& settings, DeepHooks& hooks) {
  return deep::pool().run(e, settings, hooks);
}

SearchResult deep_search(Engine& e, double seconds, int moves_left, DeepHooks& hooks) {
  DeepSettings s;
  s.seconds = seconds;
  s.moves_left = moves_left;
  return deep_search(e, s, hooks);
}

void deep_new_game() { deep::pool().new_game(); }

}  // namespace vv
