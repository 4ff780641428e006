// The MAN king's escape count and the two mate tests: the fixed order of
// their checks (drop block, king escape, answer by another piece) decides.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "com/escape_mate.h"
#include "influence/survey.h"
#include "test_support.h"

namespace vv {
namespace {

// An engine on the position, surveyed once as the callers do.
Engine surveyed(const std::string& text) {
  Engine e = test::engine(text);
  survey_influence(e.pos, e.influence);
  return e;
}

bool same_board(const Position& a, const Position& b) { return std::memcmp(a.board, b.board, sizeof a.board) == 0; }

// MAN king in the corner, checked down column 1 by a COM rook; a COM lance
// covers column 2, so the king has no square to go to.
constexpr const char* ROOK_CHECK = "rl7/9/9/9/9/9/9/9/K8";

TEST(EscapeCount, CountsEmptyNeighboursNoComPieceReaches) {
  EXPECT_EQ(count_man_king_escapes(surveyed("9/9/9/9/9/9/9/9/4K4 0,0,0,0 0,0,0,0")), 5);
  // The gold on (4,8) covers (5,8) and (4,9) and is no escape itself; the own
  // pawn on (6,8) takes a square; only (6,9) is left.
  EXPECT_EQ(count_man_king_escapes(surveyed("9/9/9/9/9/9/9/3g1P3/4K4 0,0,0,0 0,0,0,0")), 1);
}

TEST(EscapeCount, KingSquareStillAtTheOriginVisitsTheBorderCells) {
  // No survey has met a MAN king: (0,0) visits (0,1), (1,1) and (1,0).
  EXPECT_EQ(count_man_king_escapes(test::engine("9/9/9/9/9/9/9/9/9 0,0,0,0 0,0,0,0")), 3);
  EXPECT_EQ(count_man_king_escapes(test::engine("P8/9/9/9/9/9/9/9/9 0,0,0,0 0,0,0,0")), 2);
  // A COM rook reaching (1,1) takes that one away; the border cells still count.
  EXPECT_EQ(count_man_king_escapes(surveyed("9/9/9/9/r8/9/9/9/9 0,0,0,0 0,0,0,0")), 2);
}

TEST(MateMan, NoCheckIsNoMate) {
  Engine e = surveyed("9/9/9/9/9/g8/9/9/4K4 0,0,0,0 0,0,0,0");
  EXPECT_EQ(man_is_mated(e), 0);
}

TEST(MateMan, KingTakesAnUnguardedCheckerButNotAGuardedOne) {
  Engine free = surveyed("9/9/9/9/9/9/9/g8/K8 0,0,0,0 0,0,0,0");
  EXPECT_EQ(count_man_king_escapes(free), 0);  // the escape count never counts a capture
  EXPECT_EQ(man_is_mated(free), 0);
  Engine guarded = surveyed("l8/9/9/9/9/9/9/g8/K8 0,0,0,0 0,0,0,0");
  EXPECT_EQ(man_is_mated(guarded), 1);
}

TEST(MateMan, AdjacentCheckerSkipsTheDropBlockEvenWithAHand) {
  Engine e = surveyed("l8/9/9/9/9/9/9/g8/K8 0,0,0,0 0,0,0,1");
  EXPECT_EQ(man_is_mated(e), 1);
}

TEST(MateMan, DropBetweenSliderAndKingAnswersTheCheck) {
  Engine silver = surveyed(std::string(ROOK_CHECK) + " 0,0,0,0 0,0,0,1");
  const Position before = silver.pos;
  EXPECT_EQ(man_is_mated(silver), 0);
  EXPECT_TRUE(same_board(silver.pos, before)) << "the trial pawn must be taken away";
  // A pawn beside the silver does not stop the silver's slot from blocking.
  Engine mixed = surveyed(std::string(ROOK_CHECK) + " 0,0,0,0 1,0,0,1");
  EXPECT_EQ(man_is_mated(mixed), 0);
}

TEST(MateMan, HandOfOnlyPawnsAndRooksNeverBlocks) {
  Engine e = surveyed(std::string(ROOK_CHECK) + " 0,0,0,0 2,0,0,0");
  const Position before = e.pos;
  EXPECT_EQ(man_is_mated(e), 1);
  EXPECT_TRUE(same_board(e.pos, before));
}

TEST(MateMan, KnightCheckGoesStraightToTheKingAndOtherPieces) {
  // Rook on row 8 covers (4,8)..(6,8); own pawns fill (4,9), (6,9) and cannot
  // reach the knight. The knight's mark on the king's square counts as adjacent.
  Engine e = surveyed("9/9/9/9/9/9/3n5/8r/3PKP3 0,0,0,0 0,0,0,1");
  EXPECT_EQ(man_is_mated(e), 1);
}

TEST(MateMan, InterpositionAnswersOnlyWhenNoComPieceReachesTheKingAfterwards) {
  // The MAN rook steps in at (1,5).
  Engine single = surveyed("rl7/9/9/9/4R4/9/9/9/K8 0,0,0,0 0,0,0,0");
  const Position before = single.pos;
  EXPECT_EQ(man_is_mated(single), 0);
  EXPECT_TRUE(same_board(single.pos, before));
  // A second checker, a knight on (2,7), still reaches the king after it.
  Engine twice = surveyed("r8/9/9/9/4R4/9/1ng6/2s6/K8 0,0,0,0 0,0,0,0");
  EXPECT_EQ(man_is_mated(twice), 1);
  EXPECT_EQ(com_reaches_man_king(twice), 1);
}

TEST(MateMan, CaptureOfTheCheckerAnswers) {
  // The MAN bishop on (4,4) takes the rook on (1,1).
  Engine e = surveyed("rl7/9/9/3B5/9/9/9/9/K8 0,0,0,0 0,0,0,0");
  EXPECT_EQ(man_is_mated(e), 0);
}

TEST(MateCom, NoCheckIsNoMate) {
  Engine e = surveyed("k8/9/9/9/9/9/9/9/K8 0,0,0,0 0,0,0,0");
  EXPECT_EQ(com_is_mated(e), 0);
}

TEST(MateCom, KingTakesAnUnguardedCheckerButNotAGuardedOne) {
  Engine free = surveyed("k8/G8/9/9/9/9/9/9/9 0,0,0,0 0,0,0,0");
  EXPECT_EQ(com_is_mated(free), 0);
  Engine guarded = surveyed("k8/G8/9/9/9/9/9/9/L8 0,0,0,0 0,0,0,0");
  EXPECT_EQ(com_is_mated(guarded), 1);
}

TEST(MateCom, DropBlocksUnlessTheHandHoldsOnlyTheFirstSlot) {
  // MAN rook up column 1 onto the COM king, MAN lance covering column 2.
  Engine silver = surveyed("k8/9/9/9/9/9/9/9/RL7 0,0,0,1 0,0,0,0");
  const Position before = silver.pos;
  EXPECT_EQ(com_is_mated(silver), 0);
  EXPECT_TRUE(same_board(silver.pos, before));
  Engine pawns = surveyed("k8/9/9/9/9/9/9/9/RL7 3,0,0,0 0,0,0,0");
  EXPECT_EQ(com_is_mated(pawns), 1);
  EXPECT_TRUE(same_board(pawns.pos, before));
}

TEST(MateCom, KnightCheckGoesStraightToTheKingAndOtherPieces) {
  // MAN rook on row 2 covers the king's front; own pawns fill (4,1) and (6,1).
  Engine e = surveyed("3pkp3/8R/3N5/9/9/9/9/9/9 0,0,0,1 0,0,0,0");
  EXPECT_EQ(com_is_mated(e), 1);
}

TEST(MateCom, InterpositionAnswersAndLeavesTheMapsOfTheTrial) {
  Engine e = surveyed("k8/9/9/9/4r4/9/9/9/RL7 0,0,0,0 0,0,0,0");
  const Position before = e.pos;
  ASSERT_EQ(e.influence.man_reach_count[1][4], 1);
  EXPECT_EQ(com_is_mated(e), 0);
  EXPECT_TRUE(same_board(e.pos, before));
  // The maps describe the trial with the COM rook on (1,5), which cut the MAN rook's run.
  EXPECT_EQ(e.influence.man_reach_count[1][4], 0);
  EXPECT_EQ(e.influence.man_reach_count[1][1], 0);
}

}  // namespace
}  // namespace vv
