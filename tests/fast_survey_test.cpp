// The fast paths of the computer's search against the plain ones: the
// candidate survey against the whole survey after every candidate, and the
// whole search with and without its fast paths (the danger terms included).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "com/danger.h"
#include "com/search.h"
#include "com/surveys.h"
#include "influence/candidate_survey.h"
#include "influence/survey.h"
#include "rules/move_check.h"
#include "rules/position_text.h"
#include "test_support.h"

namespace vv {
namespace {

// The benchmark's positions: the computer to move, in games it played against itself.
std::vector<Position> bench_positions() {
  std::ifstream in(VEVERODU_BENCH_POSITIONS);
  std::vector<Position> list;
  std::string line, error;
  while (std::getline(in, line)) {
    Position p{};
    if (parse_position(line, p, error)) list.push_back(p);
  }
  return list;
}

// Boards the game never reaches: any number of kings of either side (none
// too), crowded and sparse, both hands full.
std::vector<Position> odd_positions(unsigned seed, int count) {
  static constexpr int CODES[] = {10, 11, 20, 30, 100, 110, 800, 900, 950};
  std::mt19937 rng(seed);
  std::vector<Position> list;
  for (int n = 0; n < count; ++n) {
    Position p{};
    const int density = 5 + static_cast<int>(rng() % 50);
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y)
        if (static_cast<int>(rng() % 100) < density) {
          const int code = CODES[rng() % 9];
          p.board[x][y] = rng() % 2 ? code : -code;
        }
    for (int s = 1; s <= 4; ++s) {
      p.com_hand[s] = static_cast<int>(rng() % 2);
      p.man_hand[s] = static_cast<int>(rng() % 2);
      p.com_hand_count += p.com_hand[s];
      p.man_hand_count += p.man_hand[s];
    }
    list.push_back(p);
  }
  return list;
}

void scramble_square_maps(Influence& m, unsigned seed) {
  std::mt19937 rng(seed);
  for (int x = 0; x <= 9; ++x)
    for (int y = 0; y <= 9; ++y) {
      m.com_guard_x[x][y] = static_cast<std::int16_t>(rng() % 10);
      m.com_guard_y[x][y] = static_cast<std::int16_t>(rng() % 10);
      m.com_capturer_x[x][y] = static_cast<std::int16_t>(rng() % 10);
      m.com_capturer_y[x][y] = static_cast<std::int16_t>(rng() % 10);
    }
}

bool same_maps(const Influence& a, const Influence& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool same_kings(const Position& a, const Position& b) {
  return a.man_king_x == b.man_king_x && a.man_king_y == b.man_king_y && a.com_king_x == b.com_king_x &&
         a.com_king_y == b.com_king_y;
}

struct Trial {
  int fx, fy, tx, ty, piece;
};

// Every COM board move and drop the search would try, in its order.
std::vector<Trial> trials(const Position& p) {
  std::vector<Trial> list;
  for (int fx = 1; fx <= 9; ++fx)
    for (int fy = 1; fy <= 9; ++fy) {
      const int piece = p.board[fx][fy];
      if (piece < 10) continue;
      for (int tx = 1; tx <= 9; ++tx)
        for (int ty = 1; ty <= 9; ++ty)
          if (move_allowed(p.board, fx, fy, tx, ty, piece) == 1) list.push_back({fx, fy, tx, ty, piece});
    }
  for (int slot = 1; slot <= 4; ++slot)
    for (const int column : {COM_FRONT_COLUMN, COM_BACK_COLUMN}) {
      const int piece = hand_face(slot, column == COM_BACK_COLUMN);
      for (int tx = 1; tx <= 9; ++tx)
        for (int ty = 1; ty <= 9; ++ty)
          if (p.board[tx][ty] == EMPTY) list.push_back({column, slot, tx, ty, piece});
    }
  return list;
}

// Runs the candidates on two copies, one surveyed in full and one by the
// candidate survey, and compares every map and king square after each.
void expect_candidate_surveys_exact(Position start, unsigned seed, bool shuffled) {
  Influence plain{};
  scramble_square_maps(plain, seed);
  Position plain_pos = start;
  Influence fast = plain;
  Position fast_pos = plain_pos;
  survey_influence(plain_pos, plain);
  CandidateSurvey cs;
  cs.start(fast_pos, fast);
  ASSERT_TRUE(same_maps(plain, fast) && same_kings(plain_pos, fast_pos)) << format_position(plain_pos) << " at the start";

  std::vector<Trial> list = trials(start);
  if (shuffled) std::shuffle(list.begin(), list.end(), std::mt19937(seed));
  for (const Trial& c : list) {
    for (Position* p : {&plain_pos, &fast_pos}) {
      if (is_board_column(c.fx)) p->board[c.fx][c.fy] = EMPTY;
    }
    const int captured = plain_pos.board[c.tx][c.ty];
    plain_pos.board[c.tx][c.ty] = fast_pos.board[c.tx][c.ty] = c.piece;
    survey_influence(plain_pos, plain);
    cs.survey(fast_pos, fast, c.fx, c.fy, c.tx, c.ty, captured);
    ASSERT_TRUE(same_maps(plain, fast) && same_kings(plain_pos, fast_pos))
        << format_position(plain_pos) << " after " << c.fx << ' ' << c.fy << ' ' << c.tx << ' ' << c.ty;
    plain_pos.board[c.tx][c.ty] = fast_pos.board[c.tx][c.ty] = captured;
    if (is_board_column(c.fx)) plain_pos.board[c.fx][c.fy] = fast_pos.board[c.fx][c.fy] = c.piece;
  }
}

TEST(CandidateSurvey, MatchesTheWholeSurveyAfterEveryCandidate) {
  const auto list = bench_positions();
  ASSERT_GE(list.size(), 100u);
  unsigned seed = 1;
  for (const Position& p : list) {
    expect_candidate_surveys_exact(p, seed++, false);
    expect_candidate_surveys_exact(p, seed++, true);
  }
}

TEST(CandidateSurvey, MatchesOnBoardsWithManyOrNoKings) {
  unsigned seed = 1000;
  for (const Position& p : odd_positions(7, 300)) expect_candidate_surveys_exact(p, seed++, true);
}

class Recorder : public SearchHooks {
 public:
  void evaluated(const Candidate& c) override { seen.push_back(c); }
  std::vector<Candidate> seen;
};

// What a caller that reads no score is given: a hopeless candidate's
// score may be left above its own.
class UnwatchedRecorder : public Recorder {
 public:
  bool reads_scores() const override { return false; }
};

bool same_candidate(const Candidate& a, const Candidate& b) {
  return a.from_x == b.from_x && a.from_y == b.from_y && a.to_x == b.to_x && a.to_y == b.to_y &&
         a.piece == b.piece && std::memcmp(&a.score, &b.score, sizeof a.score) == 0;
}

// Two searches in a row, the second reading what the first left in the maps:
// every candidate's score to the last bit, the choice, the random draws, and
// the maps and king squares the search leaves behind.
void expect_searches_alike(const Position& start, int level, bool random_term, unsigned seed) {
  Engine plain;
  plain.pos = start;
  plain.com_level = level;
  plain.random_term = random_term;
  plain.fast_search = false;
  scramble_square_maps(plain.influence, seed);
  survey_influence(plain.pos, plain.influence);
  Engine fast = plain;
  fast.fast_search = true;
  Engine unwatched = fast;
  for (int turn = 0; turn < 2; ++turn) {
    Recorder a, b;
    const SearchResult ra = com_search(plain, a);
    const SearchResult rb = com_search(fast, b);
    // A search whose scores nobody reads skips the danger term of hopeless
    // candidates: the same choice, draws and maps, and never a score below
    // the true one.
    UnwatchedRecorder c;
    const SearchResult rc = com_search(unwatched, c);
    ASSERT_TRUE(rc.found == ra.found && same_candidate(rc.best, ra.best) && rc.candidates == ra.candidates)
        << format_position(start) << " level " << level;
    for (std::size_t i = 0; i < a.seen.size(); ++i)
      ASSERT_GE(c.seen[i].score, a.seen[i].score) << format_position(start) << " level " << level << " candidate " << i;
    ASSERT_TRUE(same_maps(plain.influence, unwatched.influence) && same_kings(plain.pos, unwatched.pos));
    ASSERT_EQ(plain.rng.r, unwatched.rng.r);
    ASSERT_EQ(a.seen.size(), b.seen.size()) << format_position(start) << " level " << level;
    for (std::size_t i = 0; i < a.seen.size(); ++i)
      ASSERT_TRUE(same_candidate(a.seen[i], b.seen[i]))
          << format_position(start) << " level " << level << " candidate " << i << ": " << a.seen[i].score
          << " against " << b.seen[i].score;
    ASSERT_TRUE(ra.found == rb.found && same_candidate(ra.best, rb.best));
    ASSERT_TRUE(same_maps(plain.influence, fast.influence) && same_kings(plain.pos, fast.pos)) << format_position(start);
    ASSERT_EQ(plain.rng.r, fast.rng.r);
    ASSERT_EQ(std::memcmp(&plain.pos.board, &fast.pos.board, sizeof plain.pos.board), 0);
  }
}

// Asks the danger scan, with each candidate back on the board, whether the
// danger term stays within a hair below its true value: it must never say so.
class BoundChecker : public SearchHooks {
 public:
  explicit BoundChecker(Engine& e) : e_(e) {}
  void evaluated(const Candidate& c) override {
    if (e_.danger_scan == nullptr) return;
    auto& b = e_.pos.board;
    const int moved_from = is_board_column(c.from_x) ? b[c.from_x][c.from_y] : 0;
    const int under = b[c.to_x][c.to_y];
    if (is_board_column(c.from_x)) b[c.from_x][c.from_y] = EMPTY;
    b[c.to_x][c.to_y] = c.piece;
    const double term = danger_score(e_, c.piece, c.to_x, c.to_y);
    if (e_.danger_scan->at_most(e_, c.piece, c.to_x, c.to_y, term - 1e-6)) ++wrong;
    ++asked;
    b[c.to_x][c.to_y] = under;
    if (is_board_column(c.from_x)) b[c.from_x][c.from_y] = moved_from;
  }
  int wrong = 0, asked = 0;

 private:
  Engine& e_;
};

TEST(FastSearch, DangerBoundNeverBelowTheTerm) {
  std::vector<Position> list = bench_positions();
  for (Position p : odd_positions(14, 300)) {
    if (list.size() % 2 == 0) {
      p.man_hand_count = 0;
      for (int s = 1; s <= 4; ++s) p.man_hand_count += p.man_hand[s] = 1;
    }
    list.push_back(p);
  }
  int asked = 0;
  for (const Position& p : list) {
    Engine e;
    e.pos = p;
    e.random_term = false;
    survey_influence(e.pos, e.influence);
    BoundChecker checker(e);
    com_search(e, checker);
    ASSERT_EQ(checker.wrong, 0) << format_position(p);
    asked += checker.asked;
  }
  EXPECT_GT(asked, 50000);
}

TEST(FastSearch, ScoresChoicesAndMapsEqualThePlainSearch) {
  unsigned seed = 5000;
  for (const Position& p : bench_positions())
    for (int level = 1; level <= 3; ++level) expect_searches_alike(p, level, level == 3, seed++);
  for (const Position& p : odd_positions(11, 150)) expect_searches_alike(p, 3, true, seed++);
  for (const Position& p : odd_positions(12, 50)) expect_searches_alike(p, 2, false, seed++);
}

}  // namespace
}  // namespace vv

namespace vv {
namespace {

// MAN holding a pair in every slot: every drop fork and lance column of the
// danger terms is live, so the squares a candidate leaves clean are tested
// where they matter most.
TEST(FastSearch, EveryDropTermAliveWhenMANHoldsEverything) {
  unsigned seed = 9000;
  for (Position p : odd_positions(13, 500)) {
    p.man_hand_count = 0;
    for (int s = 1; s <= 4; ++s) p.man_hand_count += p.man_hand[s] = 1;
    expect_searches_alike(p, 3, false, seed++);
  }
}

// The search tries a COM drop on every empty square and nowhere else,
// without asking the move check: it must allow exactly those.
TEST(FastSearch, DropsAllowedExactlyOnEmptySquares) {
  static constexpr int CODES[] = {EMPTY, PAWN, TOKIN, LANCE, KNIGHT, SILVER, GOLD, BISHOP, ROOK, KING};
  for (const Position& p : bench_positions()) {
    Board b;
    std::memcpy(b, p.board, sizeof b);
    for (const int column : {COM_FRONT_COLUMN, COM_BACK_COLUMN})
      for (int slot = 1; slot <= 4; ++slot)
        for (int x = 1; x <= 9; ++x)
          for (int y = 1; y <= 9; ++y)
            ASSERT_EQ(move_allowed(b, column, slot, x, y, hand_face(slot, column == COM_BACK_COLUMN)) == 1,
                      b[x][y] == EMPTY);
    // Every kind of piece of either side on one square.
    for (const int code : CODES)
      for (const int sign : {1, -1}) {
        b[5][5] = sign * code;
        EXPECT_EQ(move_allowed(b, COM_FRONT_COLUMN, 1, 5, 5, PAWN) == 1, code == EMPTY);
      }
  }
}


// A slider's safe squares are walked along its lines; the move check over
// every square must count the same, for both sides, on crowded odd boards.
TEST(FastSearch, SafeSquaresCountAsTheMoveCheckDoes) {
  for (const Position& p : odd_positions(21, 60)) {
    Engine e = test::surveyed_engine(p);
    for (const int code : {PAWN, TOKIN, LANCE, KNIGHT, SILVER, GOLD, BISHOP, ROOK, KING,  //
                           -PAWN, -TOKIN, -LANCE, -KNIGHT, -SILVER, -GOLD, -BISHOP, -ROOK, -KING})
      for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
          const auto& reach = code >= 10 ? e.influence.man_reach_count : e.influence.com_reach_count;
          int expected = 0;
          for (int i = 1; i <= 9; ++i)
            for (int j = 1; j <= 9; ++j)
              if (reach[i][j] == 0 && move_allowed(e.pos.board, x, y, i, j, code) == 1) ++expected;
          ASSERT_EQ(count_safe_destinations(e, x, y, code), expected) << format_position(p) << ' ' << code << ' ' << x << y;
        }
  }
}

}  // namespace
}  // namespace vv
