// The computer's evaluation of one candidate and its two whole-board terms.
// Scores are taken from the search, which prepares the maps of the turn's
// start exactly as the evaluation expects them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "com/danger.h"
#include "com/escape_mate.h"
#include "com/search.h"
#include "com/surveys.h"
#include "influence/survey.h"
#include "test_support.h"

namespace vv {
namespace {

struct Seen : SearchHooks {
  std::vector<Candidate> list;
  void evaluated(const Candidate& c) override { list.push_back(c); }
};

// The score the search gave one candidate, NAN when it was never tried.
double score_of(Engine e, int fx, int fy, int tx, int ty) {
  Seen seen;
  survey_influence(e.pos, e.influence);
  com_search(e, seen);
  for (const Candidate& c : seen.list)
    if (c.from_x == fx && c.from_y == fy && c.to_x == tx && c.to_y == ty) return c.score;
  return NAN;
}

Engine at_level(const std::string& text, int level) {
  Engine e = test::engine(text);
  e.com_level = level;
  return e;
}

TEST(Evaluation, KingCaptureScoresTopAtEveryLevel) {
  for (int level = 1; level <= 3; ++level)
    EXPECT_EQ(score_of(at_level("4r3k/9/9/9/9/9/9/9/4K4 0,0,0,0 0,0,0,0", level), 5, 1, 5, 9), 9999) << level;
}

TEST(Evaluation, LeavingTheOwnKingAttackedScoresBottomAtEveryLevel) {
  // The gold on (5,2) stands between the COM king and the MAN rook.
  for (int level = 1; level <= 3; ++level) {
    Engine e = at_level("4k4/4g4/9/9/9/9/9/9/4R3K 0,0,0,0 0,0,0,0", level);
    EXPECT_EQ(score_of(e, 5, 2, 4, 2), -9998) << level;
    EXPECT_GT(score_of(e, 5, 2, 5, 3), -9998) << level;
  }
}

TEST(Evaluation, PawnNeverDeliversMateOtherPiecesDo) {
  // Gold and silver cover every square round the MAN king in the corner.
  Engine e = at_level("8k/9/9/9/9/9/1g7/2s6/K8 1,0,0,0 0,0,0,0", 3);
  EXPECT_EQ(score_of(e, -1, 1, 1, 8), -9998);  // the pawn face dropped in front of the king
  EXPECT_EQ(score_of(e, -3, 1, 1, 1), 9998);   // the rook face dropped at the far end of the column
}

TEST(Evaluation, KnightCheckWithoutSafeKingSquareScoresMateThoughOneAnswerExists) {
  const std::string text = "8k/9/9/9/9/9/9/3P4r/3PKP3 0,0,1,0 0,0,0,0";
  Engine board = test::engine(text);
  board.pos.board[4][7] = 30;
  survey_influence(board.pos, board.influence);
  ASSERT_EQ(man_is_mated(board), 0) << "the pawn on (4,8) takes the knight";
  EXPECT_EQ(score_of(at_level(text, 1), -1, 3, 4, 7), 9998);
}

TEST(Evaluation, DropStartsFiveBelowTheSameBoardMove) {
  // Silver reaching (5,5) far from both kings: nothing else scores at level 1.
  EXPECT_EQ(score_of(at_level("k8/9/9/4s4/9/9/9/9/8K 0,0,0,0 0,0,0,0", 1), 5, 4, 5, 5), 0);
  EXPECT_EQ(score_of(at_level("k8/9/9/9/9/9/9/9/8K 0,0,0,1 0,0,0,0", 1), -1, 4, 5, 5), -5);
}

TEST(Evaluation, LayersAddWithTheLevel) {
  // Silver straight ahead: level 2 adds 0.1 for closing in on the king's row,
  // level 3 takes 0.1 off again for the straight silver advance.
  const std::string silver = "k8/9/9/4s4/9/9/9/9/8K 0,0,0,0 0,0,0,0";
  EXPECT_NEAR(score_of(at_level(silver, 1), 5, 4, 5, 5), 0.0, 1e-9);
  EXPECT_NEAR(score_of(at_level(silver, 2), 5, 4, 5, 5), 0.1, 1e-9);
  EXPECT_NEAR(score_of(at_level(silver, 3), 5, 4, 5, 5), 0.0, 1e-9);
  // Taking an unattacked tokin: its value and 50 more, from level 2 on.
  const std::string tokin = "k8/9/9/4g4/4T4/9/9/9/8K 0,0,0,0 0,0,0,0";
  EXPECT_NEAR(score_of(at_level(tokin, 1), 5, 4, 5, 5), 0.0, 1e-9);
  EXPECT_NEAR(score_of(at_level(tokin, 2), 5, 4, 5, 5), 61.1, 1e-9);
  EXPECT_NEAR(score_of(at_level(tokin, 3), 5, 4, 5, 5), 61.1, 1e-9);
}

TEST(Evaluation, LevelThreePawnsGetTheNextDrawsOfTheGenerator) {
  // r = (1140671485 r + 12820163) mod 2^24 from 327680: 11837123, then 8949370.
  const double first = 11837123 / 16777216.0;
  const double second = 8949370 / 16777216.0;
  const std::string text = "k8/9/9/4pp3/9/9/9/9/8K 0,0,0,0 0,0,0,0";
  Engine e = at_level(text, 3);
  Seen with;
  survey_influence(e.pos, e.influence);
  com_search(e, with);
  Engine plain = at_level(text, 3);
  plain.random_term = false;
  Seen without;
  survey_influence(plain.pos, plain.influence);
  com_search(plain, without);

  ASSERT_EQ(with.list.size(), without.list.size());
  for (std::size_t i = 0; i < with.list.size(); ++i) {
    const Candidate& c = with.list[i];
    if (c.from_x == 5) {
      EXPECT_NEAR(without.list[i].score, 0.0, 1e-9);
      EXPECT_NEAR(c.score, first, 1e-9);
    } else if (c.from_x == 6) {
      EXPECT_NEAR(without.list[i].score, 0.0, 1e-9);
      EXPECT_NEAR(c.score, second, 1e-9);
    } else {
      EXPECT_EQ(c.score, without.list[i].score) << "no random term for the king";
    }
  }
}

// The danger term needs the turn's start (board and reach before the move)
// and the candidate position, each surveyed.
Engine candidate(const std::string& before, const std::string& after) {
  Engine e = test::engine(before);
  survey_influence(e.pos, e.influence);
  std::memcpy(e.com_maps.board_before, e.pos.board, sizeof e.pos.board);
  std::memcpy(e.com_maps.man_reach_before, e.influence.man_reach_count, sizeof(Map));
  std::memcpy(e.com_maps.com_reach_before, e.influence.com_reach_count, sizeof(Map));
  find_pinned_pieces(e);
  find_man_bishop_drop_targets(e);
  e.pos = test::position(after);
  survey_influence(e.pos, e.influence);
  return e;
}

TEST(Danger, EmptySquareByTheComKingReachedTwice) {
  // (4,6) beside the king: 0.5 per MAN piece, 10 as only the king defends it.
  const std::string open = "9/9/9/9/4k4/9/2GP5/9/9 0,0,0,0 0,0,0,0";
  Engine e = candidate(open, open);
  EXPECT_NEAR(danger_score(e, 950, 5, 5), -11.0, 1e-9);
  // A gold in hand: 10 more there, and 0.1 for each of the 27 unreached squares of rows 1..3.
  const std::string held = "9/9/9/9/4k4/9/2GP5/9/9 0,0,0,0 0,0,1,0";
  Engine h = candidate(held, held);
  EXPECT_NEAR(danger_score(h, 950, 5, 5), -23.7, 1e-9);
}

TEST(Danger, KingOnTheTopRowWithTheSquareBelowReached) {
  // MAN rook on (9,2): row 2 and column 9. The king costs 50 + 250; the three
  // squares beside it 0.5 each; seven unreached squares of rows 1..3 0.1
  // each; (9,1) 10 more, guarded by the rook below it.
  const std::string open = "4k4/8R/9/9/9/9/9/9/9 0,0,0,0 0,0,0,0";
  Engine e = candidate(open, open);
  EXPECT_NEAR(danger_score(e, 950, 5, 1), -312.2, 1e-9);
  // A gold in hand: 700 at the king, 10 at each of the three squares beside
  // it, 0.1 for each of the 20 empty squares of rows 1..3 that COM does not reach.
  const std::string held = "4k4/8R/9/9/9/9/9/9/9 0,0,0,0 0,0,1,0";
  Engine h = candidate(held, held);
  EXPECT_NEAR(danger_score(h, 950, 5, 1), -1044.2, 1e-9);
}

TEST(Danger, UndefendedPieceLosesItsValueUnlessItHasJustCaptured) {
  // The silver on (5,5), attacked by a MAN pawn: 90 for the cheaper taker and
  // its full 100; having just taken a gold there gives 110 back.
  const std::string after = "k8/9/9/9/4s4/4P4/9/9/9 0,0,0,0 0,0,0,0";
  Engine moved = candidate("k8/9/9/3s5/9/4P4/9/9/9 0,0,0,0 0,0,0,0", after);
  EXPECT_NEAR(danger_score(moved, 100, 5, 5), -190.0, 1e-9);
  Engine took = candidate("k8/9/9/3s5/4G4/4P4/9/9/9 0,0,0,0 0,0,0,0", after);
  EXPECT_NEAR(danger_score(took, 100, 5, 5), -80.0, 1e-9);
}

TEST(Danger, ForkByTheMovedPiece) {
  // The knight on (5,5) attacks the gold and silver on (4,7), (6,7), neither defended.
  Engine two = candidate("k8/9/3n5/9/9/9/3G1S3/9/9 0,0,0,0 0,0,0,0", "k8/9/9/9/4n4/9/3G1S3/9/9 0,0,0,0 0,0,0,0");
  EXPECT_NEAR(danger_score(two, 30, 5, 5), 100.2, 1e-9);
  Engine king = candidate("k8/9/3n5/9/9/9/3G1K3/9/9 0,0,0,0 0,0,0,0", "k8/9/9/9/4n4/9/3G1K3/9/9 0,0,0,0 0,0,0,0");
  EXPECT_NEAR(danger_score(king, 30, 5, 5), 110.2, 1e-9);
}

TEST(BishopCaution, FirstMarkedSquareOnAnOpenDiagonalAndBishopsInTheCornerArea) {
  // COM king on (9,1): the marked squares are its open diagonal (8,2)..(1,9).
  Engine inside = candidate("8k/9/9/9/B8/9/9/9/9 0,0,0,0 0,0,0,0", "8k/9/9/9/B8/9/9/9/4g4 0,0,0,0 0,0,0,0");
  EXPECT_EQ(bishop_drop_exposure(inside, 5, 9, 110), 110);  // (3,7) is first; the bishop on (1,5) reaches it
  Engine outside = candidate("8k/9/9/9/9/1B7/9/9/9 0,0,0,0 0,0,0,0", "8k/9/9/9/9/1B7/9/9/4g4 0,0,0,0 0,0,0,0");
  EXPECT_EQ(bishop_drop_exposure(outside, 5, 9, 110), 0);  // a bishop on row 6 is not looked at
  // From (5,5) the first marked square is (1,9), which the bishop cannot reach.
  Engine first = candidate("8k/9/9/9/B8/9/9/9/9 0,0,0,0 0,0,0,0", "8k/9/9/9/B3g4/9/9/9/9 0,0,0,0 0,0,0,0");
  EXPECT_EQ(bishop_drop_exposure(first, 5, 5, 110), 0);
}

}  // namespace
}  // namespace vv
