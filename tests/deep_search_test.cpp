// LEVEL4: its board against the move check and the survey, its mate rule
// against the game's mate test, and its search on hand-made positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <thread>
#include <tuple>
#include <vector>

#include "com/deep/deep_board.h"
#include "com/deep/deep_search.h"
#include "com/deep/mate_rule.h"
#include "com/escape_mate.h"
#include "influence/survey.h"
#include "rules/move.h"
#include "rules/move_check.h"
#include "test_support.h"

namespace vv {
namespace {

using deep::DeepBoard;
using deep::Move;
using test::MoveTuple;

constexpr int CODES[] = {PAWN, TOKIN, LANCE, KNIGHT, SILVER, GOLD, BISHOP, ROOK};

// Positions as games reach them (random moves and drops from the start,
// stopping before a king is taken) and as no game would (pieces thrown on
// the board, zero to three kings a side, full hands).
std::vector<Position> sample_positions(int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<Position> out;
  Move list[deep::MAX_MOVES];
  while (static_cast<int>(out.size()) < count) {
    Position p{};
    if (out.size() % 3 == 2) {
      for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
          if (rng() % 3 == 0) p.board[x][y] = CODES[rng() % 8] * (rng() % 2 ? 1 : -1);
      for (int side = 0; side < 2; ++side)
        for (int k = static_cast<int>(rng() % 4); k > 0; --k)
          p.board[1 + rng() % 9][1 + rng() % 9] = side ? -KING : KING;
      for (int slot = 1; slot <= 4; ++slot) {
        p.com_hand[slot] = static_cast<int>(rng() % 3);
        p.man_hand[slot] = static_cast<int>(rng() % 3);
        p.com_hand_count += p.com_hand[slot];
        p.man_hand_count += p.man_hand[slot];
      }
    } else {
      p = test::position(test::START);
      DeepBoard b;
      b.set(p, deep::MAN);
      const int plies = static_cast<int>(rng() % 60);
      deep::Undo u;
      for (int i = 0; i < plies; ++i) {
        const int n = b.generate(list);
        if (n == 0) break;
        // Board moves mostly, so that the board fills with turned faces.
        Move m = list[rng() % n];
        for (int tries = 0; tries < 3 && deep::move_is_drop(m); ++tries) m = list[rng() % n];
        const int target = b.at(deep::move_to(m));
        if (target == deep::KING_KIND || target == -deep::KING_KIND) break;
        b.make(m, u);
      }
      b.write(p);
    }
    out.push_back(p);
  }
  return out;
}

std::vector<MoveTuple> by_generator(const DeepBoard& b) {
  Move list[deep::MAX_MOVES];
  const int n = b.generate(list);
  std::vector<MoveTuple> out;
  for (int i = 0; i < n; ++i) out.push_back(test::as_game_move(list[i]));
  std::sort(out.begin(), out.end());
  return out;
}

TEST(DeepBoard, GeneratesExactlyTheMovesTheMoveCheckAllows) {
  int compared = 0;
  for (const Position& p : sample_positions(1500, 7)) {
    for (const int side : {deep::COM, deep::MAN}) {
      DeepBoard b;
      b.set(p, side);
      const std::vector<MoveTuple> allowed = test::move_check_moves(p, side == deep::COM);
      ASSERT_EQ(by_generator(b), allowed) << "side " << side;
      // Taking a king is open exactly when some allowed move lands on one.
      bool takes = false;
      for (const MoveTuple& t : allowed)
        if (is_board_column(std::get<0>(t)) && iabs(p.board[std::get<2>(t)][std::get<3>(t)]) == KING) takes = true;
      ASSERT_EQ(b.can_take_king(), takes);
      ++compared;
    }
  }
  EXPECT_EQ(compared, 3000);
}

TEST(DeepBoard, MakeAndUnmakeRestoreBoardHandsAndKey) {
  std::mt19937 rng(11);
  Move list[deep::MAX_MOVES];
  for (const Position& start : sample_positions(300, 3)) {
    DeepBoard b;
    b.set(start, deep::COM);
    const DeepBoard original = b;
    Move line[40];
    deep::Undo undo[40];
    int made = 0;
    for (; made < 40; ++made) {
      const int n = b.generate(list);
      if (n == 0) break;
      line[made] = list[rng() % n];
      b.make(line[made], undo[made]);
      ASSERT_EQ(b.key(), b.compute_key());
    }
    for (int i = made - 1; i >= 0; --i) b.unmake(line[i], undo[i]);
    ASSERT_TRUE(b == original);
    Position back{};
    b.write(back);
    ASSERT_EQ(std::memcmp(back.board, start.board, sizeof back.board), 0);
    ASSERT_EQ(std::memcmp(back.com_hand, start.com_hand, sizeof back.com_hand), 0);
    ASSERT_EQ(std::memcmp(back.man_hand, start.man_hand, sizeof back.man_hand), 0);
  }
}

TEST(DeepBoard, MovesChangeBoardAndHandsAsTheGamesMoveDoes) {
  std::mt19937 rng(5);
  Move list[deep::MAX_MOVES];
  for (const Position& start : sample_positions(300, 9)) {
    DeepBoard b;
    b.set(start, rng() % 2 ? deep::COM : deep::MAN);
    const int n = b.generate(list);
    if (n == 0) continue;
    const Move m = list[rng() % n];
    Position game = start;
    const int to_x = deep::sq_x(deep::move_to(m)), to_y = deep::sq_y(deep::move_to(m));
    const int code = deep::to_piece_code(deep::move_piece(m));
    if (deep::move_is_drop(m)) {
      const bool man = code < 0;
      const int slot = deep::move_from(m);
      const bool back = iabs(code) == hand_face(slot, true);
      apply_move(game, man ? (back ? MAN_BACK_COLUMN : MAN_FRONT_COLUMN) : (back ? COM_BACK_COLUMN : COM_FRONT_COLUMN),
                 man ? slot + 5 : slot, to_x, to_y, code);
    } else {
      apply_move(game, deep::sq_x(deep::move_from(m)), deep::sq_y(deep::move_from(m)), to_x, to_y,
                 face_after_move(code));
    }
    deep::Undo u;
    b.make(m, u);
    Position mine{};
    b.write(mine);
    ASSERT_EQ(std::memcmp(mine.board, game.board, sizeof mine.board), 0);
    ASSERT_EQ(std::memcmp(mine.com_hand, game.com_hand, sizeof mine.com_hand), 0);
    ASSERT_EQ(std::memcmp(mine.man_hand, game.man_hand, sizeof mine.man_hand), 0);
  }
}

// The search's mate rule against the game's: survey, then the mate test.
TEST(MateRule, AgreesWithTheGamesMateTest) {
  int reached = 0, mated = 0;
  for (const Position& p : sample_positions(3000, 21)) {
    Engine game = test::surveyed_engine(p);
    const bool game_reached = game.influence.man_reach_count[game.pos.com_king_x][game.pos.com_king_y] > 0;
    const bool game_mated = com_is_mated(game) == 1;
    Engine root{};
    root.pos = p;  // king squares 0, as a fresh game object holds them
    deep::MateRule rule;
    rule.reset(root, false);
    DeepBoard b;
    b.set(p, deep::COM);
    ASSERT_EQ(rule.king_reached(b), game_reached);
    ASSERT_EQ(rule.mated(b), game_mated);
    reached += game_reached;
    mated += game_mated;

    // The same position turned half a turn, searched by the person's side.
    Position turned{};
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) turned.board[x][y] = -p.board[10 - x][10 - y];
    for (int slot = 1; slot <= 4; ++slot) {
      turned.com_hand[slot] = p.man_hand[slot];
      turned.man_hand[slot] = p.com_hand[slot];
    }
    deep::MateRule turned_rule;
    turned_rule.reset(root, true);
    DeepBoard tb;
    tb.set(turned, deep::MAN);
    ASSERT_EQ(turned_rule.mated(tb), game_mated);
  }
  // Enough checks and mates that every stage of the test was met.
  EXPECT_GT(reached, 300);
  EXPECT_GT(mated, 20);
}

class FakeClock : public DeepHooks {
 public:
  explicit FakeClock(double step) : step_(step) {}
  double seconds() override {
    now_ += step_;
    if (first_ < 0) first_ = now_;
    last_ = now_;
    return now_;
  }
  void tick() override { ++ticks; }
  void info(int depth, long, int score) override {
    last_depth = depth;
    last_score = score;
  }
  double elapsed() const { return last_ - first_; }
  int ticks = 0;
  int last_depth = 0;
  int last_score = 0;

 private:
  double step_;
  double now_ = 1000, first_ = -1, last_ = 0;
};

SearchResult search(const Position& p, int depth, FakeClock& clock) {
  Engine e = test::surveyed_engine(p);
  DeepSettings s;
  s.seconds = 1e6;
  s.max_depth = depth;
  return deep_search(e, s, clock);
}

// Every reply of the person after the computer's move c: the game ends for
// the person when one takes the king or leaves the mate test true.
bool person_can_win_at_once(Position p, const Candidate& c) {
  apply_move(p, c.from_x, c.from_y, c.to_x, c.to_y, is_board_column(c.from_x) ? face_after_move(c.piece) : c.piece);
  for (const MoveTuple& t : test::move_check_moves(p, false)) {
    auto [fx, fy, tx, ty, code] = t;
    Position q = p;
    const int captured = apply_move(q, fx, fy, tx, ty, is_board_column(fx) ? face_after_move(code) : code);
    if (captured == KING) return true;
    Engine e = test::surveyed_engine(q);
    if (com_is_mated(e) == 1) return true;
  }
  return false;
}

TEST(DeepSearch, TakesTheKingWhenItCan) {
  // A COM bishop sees the MAN king down the long diagonal; a rook capture is also on offer.
  Position p = test::place({{1, 1, BISHOP}, {9, 9, -KING}, {5, 1, KING}, {5, 2, ROOK}, {5, 8, -ROOK}});
  FakeClock clock(1e-6);
  const SearchResult r = search(p, 6, clock);
  ASSERT_TRUE(r.found);
  EXPECT_EQ(std::make_tuple(r.best.from_x, r.best.from_y, r.best.to_x, r.best.to_y, r.best.piece),
            std::make_tuple(1, 1, 9, 9, BISHOP));
}

TEST(DeepSearch, MovesItsKingOutOfReach) {
  // The MAN rook on (5,9) sees the COM king up the open column.
  Position p = test::place({{5, 1, KING}, {5, 9, -ROOK}, {1, 1, LANCE}, {9, 3, PAWN}, {3, 9, -KING}, {8, 8, -GOLD}});
  FakeClock clock(1e-6);
  const SearchResult r = search(p, 4, clock);
  ASSERT_TRUE(r.found);
  Position after = p;
  apply_move(after, r.best.from_x, r.best.from_y, r.best.to_x, r.best.to_y,
             is_board_column(r.best.from_x) ? face_after_move(r.best.piece) : r.best.piece);
  DeepBoard b;
  b.set(after, deep::MAN);
  EXPECT_FALSE(b.can_take_king());
  EXPECT_FALSE(person_can_win_at_once(p, r.best));
}

TEST(DeepSearch, KnowsTheMateTestAfterThePersonsMove) {
  // The COM king in the corner, walled in by its own lance and pawn, with a
  // pawn in hand. Taking the MAN rook with the bishop looks free, but then the
  // MAN pawn steps to (1,5) and turns into a rook: the check could be blocked
  // by dropping the pawn, yet the game's mate test does not count a block from
  // a hand of nothing but pawn/rook (歩/飛) pairs, and the person wins there
  // and then.
  Position p = test::place({{1, 1, KING}, {2, 1, LANCE}, {2, 2, PAWN}, {9, 1, BISHOP}, {5, 5, -ROOK}, {1, 6, -PAWN}, {9, 9, -KING}});
  p.com_hand[1] = 1;
  p.com_hand_count = 1;
  const Candidate bait{9, 1, 5, 5, BISHOP, 0};
  ASSERT_TRUE(person_can_win_at_once(p, bait));
  FakeClock clock(1e-6);
  const SearchResult r = search(p, 4, clock);
  ASSERT_TRUE(r.found);
  EXPECT_FALSE(person_can_win_at_once(p, r.best));
}

TEST(DeepSearch, ForcesTheKingsCaptureInThree) {
  // The MAN king alone on (5,9). A COM gold dropped on (5,8), guarded by the
  // knight on (4,6), covers every square the king may go to.
  Position p = test::place({{5, 9, -KING}, {4, 6, KNIGHT}, {1, 1, KING}});
  p.com_hand[3] = 1;
  p.com_hand_count = 1;
  FakeClock clock(1e-6);
  const SearchResult r = search(p, 5, clock);
  ASSERT_TRUE(r.found);
  EXPECT_GE(r.best.score, 30000 - 3);
  // After the move, every reply of the person leaves a king to take.
  Position after = p;
  apply_move(after, r.best.from_x, r.best.from_y, r.best.to_x, r.best.to_y,
             is_board_column(r.best.from_x) ? face_after_move(r.best.piece) : r.best.piece);
  DeepBoard b;
  b.set(after, deep::MAN);
  Move list[deep::MAX_MOVES];
  const int n = b.generate(list);
  ASSERT_GT(n, 0);
  for (int i = 0; i < n; ++i) {
    deep::Undo u;
    b.make(list[i], u);
    EXPECT_TRUE(b.can_take_king());
    b.unmake(list[i], u);
  }
}

TEST(DeepSearch, HoldsItsTimeAndLeavesTheEngineAsItWas) {
  const Position p = test::position("1nsgk1snl/3p2nb1/plppppp1p/1r5r1/9/R2R2R1R/SPP1PP1P1/2B4R1/LN1GKGSNL 1,0,1,0 0,1,0,0");
  for (const double limit : {0.0, 0.02, 0.2}) {
    Engine e = test::surveyed_engine(p);
    const Engine before = e;
    FakeClock clock(2e-4);  // every reading of the clock moves it on
    const SearchResult r = deep_search(e, limit, 500, clock);
    ASSERT_TRUE(r.found);
    EXPECT_LE(clock.elapsed(), limit + 0.05) << "limit " << limit;
    EXPECT_EQ(std::memcmp(&before.pos, &e.pos, sizeof e.pos), 0);
    EXPECT_EQ(std::memcmp(&before.influence, &e.influence, sizeof e.influence), 0);
    if (limit >= 0.2) {
      // The game's clock display kept up: a tick every 50 ms of the search.
      EXPECT_GE(clock.elapsed(), 0.1);
      EXPECT_GE(clock.ticks, static_cast<int>(clock.elapsed() / 0.05) - 1);
      EXPECT_GE(clock.last_depth, 2);
    }
  }
}

TEST(DeepSearch, MayGoPastTheAimedTimeButNeverPastTheHardLimit) {
  const Position p = test::position("1nsgk1snl/3p2nb1/plppppp1p/1r5r1/9/R2R2R1R/SPP1PP1P1/2B4R1/LN1GKGSNL 1,0,1,0 0,1,0,0");
  for (const double hard : {0.05, 0.3}) {
    Engine e = test::surveyed_engine(p);
    FakeClock clock(2e-4);
    DeepSettings s;
    s.seconds = 0.02;
    s.max_seconds = hard;
    const SearchResult r = deep_search(e, s, clock);
    ASSERT_TRUE(r.found);
    EXPECT_LE(clock.elapsed(), hard + 0.05) << "hard limit " << hard;
  }
}

TEST(DeepSearch, HasNoMoveWithNothingToMove) {
  FakeClock clock(1e-6);
  EXPECT_FALSE(search(test::place({{5, 5, -KING}}), 3, clock).found);
}

TEST(DeepSearch, TheLastMoveOfTheGameDecidesNothing) {
  // One move left: the king hunt of ForcesTheKingsCaptureInThree cannot end in time.
  Position p = test::place({{5, 9, -KING}, {4, 6, KNIGHT}, {1, 1, KING}});
  p.com_hand[3] = 1;
  p.com_hand_count = 1;
  Engine e = test::surveyed_engine(p);
  DeepSettings s;
  s.seconds = 1e6;
  s.max_depth = 5;
  s.moves_left = 1;
  FakeClock clock(1e-6);
  const SearchResult r = deep_search(e, s, clock);
  ASSERT_TRUE(r.found);
  EXPECT_EQ(r.best.score, 0);
}

// Records the full progress lines, and sets the stop flag on a given reading
// of the clock, as another thread would.
class Recorder : public DeepHooks {
 public:
  double seconds() override {
    if (++readings == stop_at && stop) stop->store(true);
    return now += step;
  }
  void info(const DeepInfo& i) override { lines.push_back(i); }
  std::vector<DeepInfo> lines;
  std::atomic<bool>* stop = nullptr;
  long stop_at = -1;
  long readings = 0;
  double now = 1000, step = 1e-6;
};

// Plays a line of moves as the search writes them (the top side first) on
// the game's position; false at the first move the move check refuses.
bool plays_out(Position p, const std::vector<Candidate>& line) {
  bool top = true;
  for (const Candidate& c : line) {
    if ((c.piece > 0) != top) return false;
    if (move_allowed(p.board, c.from_x, c.from_y, c.to_x, c.to_y, c.piece) != 1) return false;
    const int taken = apply_move(p, c.from_x, c.from_y, c.to_x, c.to_y,
                                 is_board_column(c.from_x) ? face_after_move(c.piece) : c.piece);
    if (iabs(taken) == KING) return true;
    top = !top;
  }
  return true;
}

TEST(DeepSearch, ReportsLegalPrincipalVariationsAndTheMateDistance) {
  const Position p = test::position("1nsgkgsnl/tr5b1/ppppppppp/9/9/6R2/PPPPPP1PP/1B5R1/LNSGKGSNL 2,1,1,1 1,1,1,1");
  Engine e = test::surveyed_engine(p);
  deep_new_game();
  DeepSettings s;
  s.infinite = true;
  s.max_depth = 5;
  Recorder record;
  const SearchResult r = deep_search(e, s, record);
  ASSERT_TRUE(r.found);
  ASSERT_GE(record.lines.size(), 2u);
  for (const DeepInfo& i : record.lines) {
    ASSERT_FALSE(i.pv.empty());
    EXPECT_TRUE(plays_out(p, i.pv)) << "depth " << i.depth;
    EXPECT_GE(i.seldepth, i.depth);
  }
  const DeepInfo& last = record.lines.back();
  EXPECT_TRUE(last.final);
  EXPECT_EQ(last.depth, 5);
  EXPECT_EQ(last.nodes, r.candidates);
  EXPECT_EQ(std::make_tuple(last.pv[0].from_x, last.pv[0].from_y, last.pv[0].to_x, last.pv[0].to_y),
            std::make_tuple(r.best.from_x, r.best.from_y, r.best.to_x, r.best.to_y));

  // The king hunt of ForcesTheKingsCaptureInThree: the drop, any reply, the capture.
  Position hunt = test::place({{5, 9, -KING}, {4, 6, KNIGHT}, {1, 1, KING}});
  hunt.com_hand[3] = 1;
  hunt.com_hand_count = 1;
  e.pos = hunt;
  survey_influence(e.pos, e.influence);
  Recorder mate;
  deep_search(e, s, mate);
  ASSERT_FALSE(mate.lines.empty());
  EXPECT_EQ(mate.lines.back().mate, 2);
  EXPECT_TRUE(plays_out(hunt, mate.lines.back().pv));
}

TEST(DeepSearch, StopsOnTheFlagAndTheNodeLimit) {
  const Position p = test::position("1nsgk1snl/3p2nb1/p2pppp1p/1tr1p2r1/5R3/R2R4R/SPP1PP1P1/2B2B1R1/LN1GKG1NL 2,1,1,1 1,1,1,1");
  Engine e = test::surveyed_engine(p);
  // An endless search, stopped on the 300th reading of the clock: the clock
  // is read every 256 nodes, so the search ends within a few hundred more.
  for (const int threads : {1, 2}) {
    std::atomic<bool> stop{false};
    Recorder record;
    record.stop = &stop;
    record.stop_at = 300;
    DeepSettings s;
    s.infinite = true;
    s.stop = &stop;
    s.threads = threads;
    const SearchResult r = deep_search(e, s, record);
    ASSERT_TRUE(r.found);
    EXPECT_LE(record.readings, 302) << threads << " threads";
    if (threads == 1) {
      EXPECT_LE(r.candidates, 301L * 256);
    }
  }
  // The node limit, on one thread.
  DeepSettings s;
  s.infinite = true;
  s.max_nodes = 20000;
  Recorder record;
  const SearchResult r = deep_search(e, s, record);
  ASSERT_TRUE(r.found);
  EXPECT_GE(r.candidates, 20000);
  EXPECT_LE(r.candidates, 20000 + 256);
}

TEST(DeepSearch, StopFromAnotherThreadEndsAnEndlessSearch) {
  const Position p = test::position("1nsgkgsnl/tr5b1/ppppppppp/9/9/6R2/PPPPPP1PP/1B5R1/LNSGKGSNL 2,1,1,1 1,1,1,1");
  Engine e = test::surveyed_engine(p);
  std::atomic<bool> stop{false};
  std::atomic<bool> started{false};
  class Signal : public DeepHooks {
   public:
    explicit Signal(std::atomic<bool>& started) : started_(started) {}
    double seconds() override { return monotonic_seconds(); }
    void info(const DeepInfo&) override { started_.store(true); }
    std::atomic<bool>& started_;
  } hooks(started);
  DeepSettings s;
  s.infinite = true;
  s.stop = &stop;
  s.threads = 2;
  std::thread stopper([&] {
    while (!started.load()) std::this_thread::yield();
    stop.store(true);
  });
  const SearchResult r = deep_search(e, s, hooks);  // returns only once stopped
  stopper.join();
  ASSERT_TRUE(r.found);
  EXPECT_TRUE(plays_out(p, {r.best}));
}

TEST(DeepSearch, TwoThreadsFindLegalMovesAndTheKingHunt) {
  for (const char* text : {"1nsgk1snl/3p2nb1/p2pppp1p/1tr1p2r1/5R3/R2R4R/SPP1PP1P1/2B2B1R1/LN1GKG1NL 2,1,1,1 1,1,1,1",
                           "6Lnl/1bkbnSg2/1ppp1P2p/n2prpG2/4p2T1/2GR1PP1R/SSP2PP2/4KB1R1/LN3G3 3,0,0,0 0,0,0,0"}) {
    const Position p = test::position(text);
    Engine e = test::surveyed_engine(p);
    DeepSettings s;
    s.infinite = true;
    s.max_depth = 6;
    s.threads = 2;
    Recorder record;
    const SearchResult r = deep_search(e, s, record);
    ASSERT_TRUE(r.found);
    EXPECT_TRUE(plays_out(p, {r.best})) << text;
    EXPECT_FALSE(person_can_win_at_once(p, r.best)) << text;
  }
  Position hunt = test::place({{5, 9, -KING}, {4, 6, KNIGHT}, {1, 1, KING}});
  hunt.com_hand[3] = 1;
  hunt.com_hand_count = 1;
  Engine e = test::surveyed_engine(hunt);
  DeepSettings s;
  s.infinite = true;
  s.max_depth = 5;
  s.threads = 2;
  Recorder record;
  EXPECT_GE(deep_search(e, s, record).best.score, 30000 - 3);
}

}  // namespace
}  // namespace vv
