// The small position surveys of the computer player. Several look only at
// columns and rows 1..5; those limits are part of what they measure.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <utility>

#include "com/surveys.h"
#include "influence/survey.h"
#include "rules/move_check.h"
#include "test_support.h"

namespace vv {
namespace {

Engine surveyed(const std::string& board) { return test::surveyed_engine(test::position(board + " 0,0,0,0 0,0,0,0")); }

using Squares = std::set<std::pair<int, int>>;

Squares marked(const Map& m) {
  Squares s;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      if (m[x][y] == 1) s.insert({x, y});
  return s;
}

TEST(MovableSquares, CountsLegalTargetsTheOtherSideDoesNotReach) {
  // MAN rook on (1,4) covers row 4; the MAN pawn on (4,6) covers (4,5) and may be taken.
  Engine e = surveyed("9/9/9/R8/9/3P5/9/9/9");
  EXPECT_EQ(count_safe_destinations(e, 5, 5, 950), 4);  // (6,5), (4,6), (5,6), (6,6); nothing stands on (5,5)
  EXPECT_EQ(count_safe_destinations(e, 5, 5, -950), 7);  // no COM piece reaches anything; the own pawn blocks one
}

TEST(PinnedPieces, SliderInTheCornerAreaPinsTheBlocker) {
  Engine e = surveyed("4r4/9/9/9/9/9/4G4/9/4K4");
  find_pinned_pieces(e);
  EXPECT_EQ(marked(e.com_maps.man_pinned), (Squares{{5, 7}}));
  EXPECT_EQ(marked(e.com_maps.com_pinned), Squares{});
  EXPECT_EQ(e.com_maps.com_has_pinned, 0);
}

TEST(PinnedPieces, SlidersOutsideColumnsAndRowsOneToFiveAreNotSeen) {
  Engine column7 = surveyed("9/9/9/9/9/9/9/9/2K1G1r2");
  find_pinned_pieces(column7);
  EXPECT_EQ(marked(column7.com_maps.man_pinned), Squares{});
  Engine row6 = surveyed("9/9/9/9/9/4r4/4G4/9/4K4");
  find_pinned_pieces(row6);
  EXPECT_EQ(marked(row6.com_maps.man_pinned), Squares{});
  Engine com_row6 = surveyed("4k4/9/4s4/9/9/4R4/9/9/9");
  find_pinned_pieces(com_row6);
  EXPECT_EQ(com_row6.com_maps.com_has_pinned, 0);
}

TEST(PinnedPieces, AttackedKingMarksItsOwnSquare) {
  Engine e = surveyed("4r4/9/9/9/9/9/9/9/4K4");
  find_pinned_pieces(e);
  EXPECT_EQ(marked(e.com_maps.man_pinned), (Squares{{5, 9}}));
}

TEST(PinnedPieces, ComPinSetsTheFlagAndARerunClearsIt) {
  Engine e = surveyed("4k4/9/4s4/9/4R4/9/9/9/9");
  find_pinned_pieces(e);
  EXPECT_EQ(marked(e.com_maps.com_pinned), (Squares{{5, 3}}));
  EXPECT_EQ(e.com_maps.com_has_pinned, 1);
  EXPECT_EQ(marked(e.com_maps.man_pinned), Squares{});
  e.pos.board[5][5] = 0;
  find_pinned_pieces(e);
  EXPECT_EQ(marked(e.com_maps.com_pinned), Squares{});
  EXPECT_EQ(e.com_maps.com_has_pinned, 0);
}

// Every piece emptied in turn, every corner slider asked whether it now
// reaches the king: the pins by their definition.
void pins_by_definition(Engine& e, Map& man, Map& com) {
  auto& b = e.pos.board;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      man[x][y] = com[x][y] = 0;
      const int v = b[x][y];
      if (v == 0) continue;
      b[x][y] = 0;
      for (int a = 1; a <= 5; ++a)
        for (int c = 1; c <= 5; ++c) {
          const int s = b[a][c];
          if (v <= -10 && (s == LANCE || s == BISHOP || s == ROOK) &&
              move_allowed(b, a, c, e.pos.man_king_x, e.pos.man_king_y, s) == 1)
            man[x][y] = 1;
          if (v >= 10 && (s == -LANCE || s == -BISHOP || s == -ROOK) &&
              move_allowed(b, a, c, e.pos.com_king_x, e.pos.com_king_y, s) == 1)
            com[x][y] = 1;
        }
      b[x][y] = v;
    }
}

TEST(PinnedPieces, EqualTheDefinitionOnCrowdedAndOddBoards) {
  static constexpr int CODES[] = {10, 11, 20, 30, 100, 110, 800, 900, 950};
  std::mt19937 rng(77);
  for (int n = 0; n < 3000; ++n) {
    Engine e;
    const int density = 5 + static_cast<int>(rng() % 60);
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y)
        if (static_cast<int>(rng() % 100) < density) e.pos.board[x][y] = (rng() % 2 ? 1 : -1) * CODES[rng() % 9];
    // King squares as the survey leaves them, or stale ones off the kings.
    e.pos.man_king_x = static_cast<int>(rng() % 10);
    e.pos.man_king_y = static_cast<int>(rng() % 10);
    e.pos.com_king_x = static_cast<int>(rng() % 10);
    e.pos.com_king_y = static_cast<int>(rng() % 10);
    if (rng() % 2) survey_influence(e.pos, e.influence);
    Map man, com;
    pins_by_definition(e, man, com);
    find_pinned_pieces(e);
    int any_com = 0;
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) {
        ASSERT_EQ(e.com_maps.man_pinned[x][y], man[x][y]) << n << ' ' << x << y;
        ASSERT_EQ(e.com_maps.com_pinned[x][y], com[x][y]) << n << ' ' << x << y;
        any_com |= com[x][y];
      }
    ASSERT_EQ(e.com_maps.com_has_pinned, any_com);
  }
}

TEST(BishopDropTargets, OpenDiagonalSquaresComBarelyReaches) {
  // COM king on (5,5); the gold on (3,2) reaches (2,2) and (3,3), the silver on
  // (4,3) makes (4,4) reached twice; the MAN pawn on (7,7) closes the diagonal.
  Engine e = surveyed("9/2g6/3s5/9/4k4/9/6P2/9/9");
  find_man_bishop_drop_targets(e);
  EXPECT_EQ(marked(e.com_maps.man_bishop_drop_targets),
            (Squares{{1, 1}, {6, 6}, {4, 6}, {3, 7}, {2, 8}, {1, 9}, {6, 4}, {7, 3}, {8, 2}, {9, 1}}));
}

TEST(StraightGuard, LanceOrRookBelowUpToRowFive) {
  auto guard = [](const std::string& board, int x, int y) {
    Engine e = test::engine(board + " 0,0,0,0 0,0,0,0");
    const int kept = e.pos.board[x][y];
    const int result = man_slider_behind(e, x, y);
    EXPECT_EQ(e.pos.board[x][y], kept) << board;
    return result;
  };
  EXPECT_EQ(guard("9/9/9/9/2L6/9/9/9/9", 3, 2), 1);
  EXPECT_EQ(guard("9/9/9/9/2R6/9/9/9/9", 3, 2), 1);
  EXPECT_EQ(guard("9/2G6/9/9/2L6/9/9/9/9", 3, 2), 1);  // the square itself is emptied for the test
  EXPECT_EQ(guard("9/9/9/9/9/2L6/9/9/9", 3, 2), 0);    // row 6 is beyond the scan
  EXPECT_EQ(guard("9/9/9/2p6/2L6/9/9/9/9", 3, 2), 0);  // a COM piece ends the scan
  EXPECT_EQ(guard("9/9/9/2P6/2L6/9/9/9/9", 3, 2), 0);  // passed over, but it blocks the lance
  EXPECT_EQ(guard("9/9/9/9/9/9/2L6/9/9", 3, 5), 0);    // nothing below row 5 is looked at
}

TEST(Surroundings, CountsComBigPiecesOnlyInsideColumnsAndRowsOneToFive) {
  EXPECT_EQ(big_pieces_around(surveyed("9/9/9/9/9/5rrr1/5r1r1/5rrr1/9"), 7, 7), 0);
  EXPECT_EQ(big_pieces_around(surveyed("9/9/9/3rkr3/3b1r3/3rrr3/9/9/9"), 5, 5), -3);
  // Bishop, rook and king count; the gold, the MAN rook and the centre do not.
  EXPECT_EQ(big_pieces_around(surveyed("9/1b7/1grR5/2kr5/9/9/9/9/9"), 3, 3), -3);
}

TEST(LanceAim, ValueOfThePieceBehindWhenOnlyABigPieceCanTake) {
  // COM pawn on (5,7), the gold above covers (5,6), the MAN rook on (9,7) is
  // the cheapest taker; the MAN gold on (5,9) is the first piece below.
  EXPECT_EQ(lance_target_value(surveyed("9/9/9/9/4g4/9/4p3R/9/4G4"), 5, 7), 110);
  // A MAN gold that can also take on (5,7) makes it the cheapest taker.
  EXPECT_EQ(lance_target_value(surveyed("9/9/9/9/4g4/9/4p3R/3G5/4G4"), 5, 7), 0);
  // The same shape one row higher: rows up to 6 never count.
  EXPECT_EQ(lance_target_value(surveyed("9/9/9/4g4/9/4p3R/9/4G4/9"), 5, 6), 0);
}

TEST(KnightAim, IsZeroEverywhere) {
  Engine e = surveyed("lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL");
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) EXPECT_EQ(knight_target_value(e, x, y), 0);
}

}  // namespace
}  // namespace vv
