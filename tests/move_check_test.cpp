// The move check: each kind's geometry for both sides, sliding paths, own
// pieces on the target, drops, and the targets that are never allowed.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "influence/square_set.h"
#include "rules/move_check.h"
#include "test_support.h"

namespace vv {
namespace {

using test::place;
using Squares = std::set<std::pair<int, int>>;

// Every target (including off-board ones) the check allows for one piece.
Squares targets(const Position& p, int fx, int fy, int code) {
  Squares out;
  for (int tx = -1; tx <= 11; ++tx)
    for (int ty = -1; ty <= 11; ++ty)
      if (move_allowed(p.board, fx, fy, tx, ty, code) == 1) out.insert({tx, ty});
  return out;
}

// A lone piece of the given code on (x, y) of an otherwise empty board.
Squares alone(int x, int y, int code) { return targets(place({{x, y, code}}), x, y, code); }

TEST(MoveCheck, StepPiecesMoveByTheirOwnSideForward) {
  struct Case {
    int x, y, code;
    Squares expected;
  };
  const Case cases[] = {
      {7, 7, -10, {{7, 6}}},
      {5, 3, 10, {{5, 4}}},
      {5, 1, -10, {}},  // a pawn on its last row has nowhere to go
      {5, 5, -30, {{4, 3}, {6, 3}}},
      {5, 5, 30, {{4, 7}, {6, 7}}},
      {1, 8, 30, {}},
      {9, 9, -100, {{8, 8}, {9, 8}}},
      {5, 5, -100, {{4, 4}, {5, 4}, {6, 4}, {4, 6}, {6, 6}}},
      {5, 5, 100, {{4, 6}, {5, 6}, {6, 6}, {4, 4}, {6, 4}}},
      {5, 5, -110, {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {6, 5}, {5, 6}}},
      {5, 5, -11, {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {6, 5}, {5, 6}}},
      {5, 5, 110, {{4, 6}, {5, 6}, {6, 6}, {4, 5}, {6, 5}, {5, 4}}},
      {5, 5, 11, {{4, 6}, {5, 6}, {6, 6}, {4, 5}, {6, 5}, {5, 4}}},
      {1, 1, 110, {{1, 2}, {2, 2}, {2, 1}}},
      {5, 5, 950, {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {6, 5}, {4, 6}, {5, 6}, {6, 6}}},
      {1, 9, -950, {{1, 8}, {2, 8}, {2, 9}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(alone(c.x, c.y, c.code), c.expected) << "code " << c.code << " on " << c.x << "," << c.y;
}

TEST(MoveCheck, KnightJumpsOverOccupiedSquares) {
  Position p = place({{2, 1, 30}, {2, 2, 10}, {1, 2, -10}, {3, 2, -10}, {2, 3, 10}});
  EXPECT_EQ(targets(p, 2, 1, 30), (Squares{{1, 3}, {3, 3}}));
}

TEST(MoveCheck, LanceRunsForwardUpToTheFirstPiece) {
  EXPECT_EQ(alone(3, 9, -20), (Squares{{3, 8}, {3, 7}, {3, 6}, {3, 5}, {3, 4}, {3, 3}, {3, 2}, {3, 1}}));
  EXPECT_EQ(alone(1, 5, 20), (Squares{{1, 6}, {1, 7}, {1, 8}, {1, 9}}));
  // An enemy piece may be taken, an own piece blocks the square itself.
  EXPECT_EQ(targets(place({{3, 9, -20}, {3, 5, 10}}), 3, 9, -20), (Squares{{3, 8}, {3, 7}, {3, 6}, {3, 5}}));
  EXPECT_EQ(targets(place({{3, 9, -20}, {3, 5, -10}}), 3, 9, -20), (Squares{{3, 8}, {3, 7}, {3, 6}}));
  EXPECT_EQ(targets(place({{1, 1, 20}, {1, 3, -950}}), 1, 1, 20), (Squares{{1, 2}, {1, 3}}));
}

TEST(MoveCheck, RookStopsAtTheFirstPieceInEachDirection) {
  // MAN rook on (5,5): enemy above at (5,2), own below at (5,8), enemy to the
  // left at (2,5), own piece to the right at (7,5).
  Position p = place({{5, 5, -900}, {5, 2, 10}, {5, 8, -10}, {2, 5, 950}, {7, 5, -110}});
  EXPECT_EQ(targets(p, 5, 5, -900),
            (Squares{{5, 4}, {5, 3}, {5, 2}, {5, 6}, {5, 7}, {4, 5}, {3, 5}, {2, 5}, {6, 5}}));
  // The same layout with the colours swapped for a COM rook.
  Position q = place({{5, 5, 900}, {5, 2, -10}, {5, 8, 10}, {2, 5, -950}, {7, 5, 110}});
  EXPECT_EQ(targets(q, 5, 5, 900),
            (Squares{{5, 4}, {5, 3}, {5, 2}, {5, 6}, {5, 7}, {4, 5}, {3, 5}, {2, 5}, {6, 5}}));
  // A neighbouring square needs no empty path; a piece beside the rook blocks all beyond.
  Position r = place({{1, 1, 900}, {2, 1, -10}, {1, 2, 10}});
  EXPECT_EQ(targets(r, 1, 1, 900), (Squares{{2, 1}}));
}

TEST(MoveCheck, BishopStopsAtTheFirstPieceOnEachDiagonal) {
  EXPECT_EQ(alone(5, 5, -800).size(), 16u);
  EXPECT_EQ(alone(9, 9, 800), (Squares{{8, 8}, {7, 7}, {6, 6}, {5, 5}, {4, 4}, {3, 3}, {2, 2}, {1, 1}}));
  // Up-left: enemy on (3,3); up-right: empty to (9,1); down-left: own on (3,7);
  // down-right: enemy right beside on (6,6).
  Position p = place({{5, 5, -800}, {3, 3, 30}, {3, 7, -10}, {6, 6, 100}});
  EXPECT_EQ(targets(p, 5, 5, -800),
            (Squares{{4, 4}, {3, 3}, {6, 4}, {7, 3}, {8, 2}, {9, 1}, {4, 6}, {6, 6}}));
  Position q = place({{5, 5, 800}, {3, 3, -30}, {3, 7, 10}, {6, 6, -100}});
  EXPECT_EQ(targets(q, 5, 5, 800),
            (Squares{{4, 4}, {3, 3}, {6, 4}, {7, 3}, {8, 2}, {9, 1}, {4, 6}, {6, 6}}));
  // Blocked on the far side of each diagonal too (rising and falling, both ways).
  Position r = place({{5, 5, 800}, {7, 3, -10}, {3, 7, -10}, {7, 7, -10}, {3, 3, -10}});
  EXPECT_EQ(move_allowed(r.board, 5, 5, 8, 2, 800), 0);
  EXPECT_EQ(move_allowed(r.board, 5, 5, 2, 8, 800), 0);
  EXPECT_EQ(move_allowed(r.board, 5, 5, 8, 8, 800), 0);
  EXPECT_EQ(move_allowed(r.board, 5, 5, 2, 2, 800), 0);
  EXPECT_EQ(move_allowed(r.board, 5, 5, 7, 3, 800), 1);
  EXPECT_EQ(move_allowed(r.board, 5, 5, 3, 3, 800), 1);
}

TEST(MoveCheck, OwnPieceOnTheTargetIsRefusedForEveryKind) {
  const int kinds[] = {10, 11, 20, 30, 100, 110, 800, 900, 950};
  for (int k : kinds) {
    // A neighbour the kind could otherwise reach: straight ahead, or beside for the bishop.
    Position com = place({{5, 5, k}, {5, 6, 10}, {6, 6, 10}});
    EXPECT_EQ(move_allowed(com.board, 5, 5, 5, 6, k), 0) << k;
    EXPECT_EQ(move_allowed(com.board, 5, 5, 6, 6, k), 0) << k;
    Position man = place({{5, 5, -k}, {5, 4, -10}, {6, 4, -950}});
    EXPECT_EQ(move_allowed(man.board, 5, 5, 5, 4, -k), 0) << -k;
    EXPECT_EQ(move_allowed(man.board, 5, 5, 6, 4, -k), 0) << -k;
  }
  // Any code below 10 counts as the person's: it may not land on a MAN piece.
  Position p = place({{9, 1, 10}, {1, 9, -10}});
  EXPECT_EQ(move_allowed(p.board, 5, 5, 1, 9, 0), 0);
  EXPECT_EQ(move_allowed(p.board, 5, 5, 9, 1, 0), 1);
}

TEST(MoveCheck, OffBoardAndSameSquareAreNeverAllowed) {
  Position p = place({{1, 1, 950}, {9, 9, -950}});
  for (int code : {950, 5, 0, -950}) {
    EXPECT_EQ(move_allowed(p.board, 1, 1, 0, 1, code), 0);
    EXPECT_EQ(move_allowed(p.board, 1, 1, 1, 0, code), 0);
    EXPECT_EQ(move_allowed(p.board, 1, 1, 0, 0, code), 0);
    EXPECT_EQ(move_allowed(p.board, 9, 9, 10, 9, code), 0);
    EXPECT_EQ(move_allowed(p.board, 9, 9, 9, 10, code), 0);
    EXPECT_EQ(move_allowed(p.board, 5, 5, 5, 5, code), 0);
  }
  EXPECT_EQ(move_allowed(p.board, 12, 6, 0, 5, -10), 0);
  EXPECT_EQ(move_allowed(p.board, -1, 1, 5, 10, 10), 0);
}

TEST(MoveCheck, UnknownCodeMayGoAnywhereOnTheBoard) {
  Position p = place({{1, 9, -10}, {9, 1, 10}});
  EXPECT_EQ(move_allowed(p.board, 5, 5, 1, 1, 5), 1);
  EXPECT_EQ(move_allowed(p.board, 5, 5, 9, 1, 5), 1);  // a COM piece may be taken
  EXPECT_EQ(move_allowed(p.board, 5, 5, 1, 9, 5), 0);  // a MAN piece may not
  EXPECT_EQ(move_allowed(p.board, 5, 5, 9, 1, 12), 0);
  EXPECT_EQ(move_allowed(p.board, 5, 5, 1, 9, 12), 1);
  EXPECT_EQ(targets(p, 5, 5, 999).size(), 79u);  // all but its own square and the COM piece
}

TEST(MoveCheck, DropGoesToAnyEmptySquareAndNeverOnAPiece) {
  const Position start = test::position(test::START);
  const int columns[] = {12, 14, -1, -3};
  for (int fx : columns) {
    for (int code : {10, 900, 11, 20, 30, 110, 100, 800}) {
      const int face = fx > 0 ? -code : code;
      int allowed = 0;
      for (int tx = 1; tx <= 9; ++tx)
        for (int ty = 1; ty <= 9; ++ty) {
          const int r = move_allowed(start.board, fx, 7, tx, ty, face);
          EXPECT_EQ(r, start.board[tx][ty] == 0 ? 1 : 0) << fx << " " << face << " to " << tx << "," << ty;
          allowed += r;
        }
      EXPECT_EQ(allowed, 41);
    }
  }
  // A second pawn in a column, the far row, a dead square: all allowed.
  EXPECT_EQ(move_allowed(start.board, 12, 6, 1, 4, -10), 1);
  EXPECT_EQ(move_allowed(start.board, 12, 6, 3, 2, -10), 1);
  EXPECT_EQ(move_allowed(start.board, -1, 1, 5, 8, 30), 1);
  Position bare = place({});
  EXPECT_EQ(move_allowed(bare.board, 12, 6, 4, 1, -10), 1);
  EXPECT_EQ(move_allowed(bare.board, -3, 4, 4, 9, 30), 1);
}

TEST(MoveCheck, IgnoresKingSafetyAndTheSourceSquare) {
  // Kings may stand side by side; a guard may walk away and bare its king to the rook.
  Position p = place({{5, 5, -950}, {5, 4, -110}, {5, 1, 900}, {3, 3, 950}});
  EXPECT_EQ(move_allowed(p.board, 3, 3, 4, 4, 950), 1);
  EXPECT_EQ(move_allowed(p.board, 5, 4, 4, 4, -110), 1);
  // Nothing stands on (2,2): the geometry alone decides.
  EXPECT_EQ(move_allowed(p.board, 2, 2, 2, 1, -10), 1);
}

TEST(MoveReach, HoldsEveryTargetTheCheckAllowsOnAnEmptyBoard) {
  const Board empty{};
  for (const int face : {PAWN, TOKIN, LANCE, KNIGHT, SILVER, GOLD, BISHOP, ROOK, KING})
    for (const int code : {face, -face})
      for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
          const SquareSet* reach = move_reach.find(code, x, y);
          ASSERT_NE(reach, nullptr) << code;
          for (int tx = 1; tx <= 9; ++tx)
            for (int ty = 1; ty <= 9; ++ty)
              EXPECT_EQ(reach->has(square_bit(tx, ty)), move_allowed(empty, x, y, tx, ty, code) == 1)
                  << code << " from " << x << "," << y << " to " << tx << "," << ty;
        }
  EXPECT_EQ(move_reach.find(0, 5, 5), nullptr);
  EXPECT_EQ(move_reach.find(10, 0, 5), nullptr);
}

}  // namespace
}  // namespace vv
