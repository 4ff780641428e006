// The influence survey: reach counts, guards, capturers and check marks of
// both sides, rebuilt from the board alone.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "influence/survey.h"
#include "test_support.h"

namespace vv {
namespace {

using test::place;
using Cells = std::map<std::pair<int, int>, int>;
using Rows = std::vector<std::array<int, 9>>;

constexpr int N = 999;

Influence survey(Position& p, Influence m = {}) {
  survey_influence(p, m);
  return m;
}

// Every square 1..9 x 1..9: the listed value, or `otherwise`.
void expect_cells(const Map& m, const Cells& cells, int otherwise, const char* name) {
  for (int y = 1; y <= 9; ++y)
    for (int x = 1; x <= 9; ++x) {
      auto it = cells.find({x, y});
      EXPECT_EQ(m[x][y], it == cells.end() ? otherwise : it->second) << name << " at " << x << "," << y;
    }
}

// Whole map: rows from first_y on as listed (x = 1..9), every other row `otherwise`.
void expect_rows(const Map& m, int first_y, const Rows& rows, int otherwise, const char* name) {
  for (int y = 1; y <= 9; ++y)
    for (int x = 1; x <= 9; ++x) {
      const int r = y - first_y;
      const int want = r >= 0 && r < static_cast<int>(rows.size()) ? rows[r][x - 1] : otherwise;
      EXPECT_EQ(m[x][y], want) << name << " at " << x << "," << y;
    }
}

// Squares 1..9 x 1..9 only: row and column 0 are no squares and stay 0.
void fill(Map& m, int v) {
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) m[x][y] = static_cast<std::int16_t>(v);
}

// A piece entry with the square that goes with it.
void expect_entry(const Map& piece, const Map& sx, const Map& sy, int x, int y, int code, int px, int py) {
  EXPECT_EQ(piece[x][y], code) << "at " << x << "," << y;
  EXPECT_EQ(sx[x][y], px) << "x of the square at " << x << "," << y;
  EXPECT_EQ(sy[x][y], py) << "y of the square at " << x << "," << y;
}

TEST(Survey, EmptyBoardResetsTheMapsAndKeepsTheSquareMaps) {
  Influence m{};
  for (Map* map : {&m.man_reach_count, &m.com_reach_count, &m.man_guard_piece, &m.com_guard_piece,
                   &m.man_capturer_piece, &m.man_capturer_x, &m.man_capturer_y, &m.com_capturer_piece,
                   &m.man_check_map, &m.com_check_map, &m.com_guard_x, &m.com_guard_y, &m.com_capturer_x,
                   &m.com_capturer_y})
    fill(*map, 77);
  Position p{};
  m = survey(p, m);
  expect_cells(m.man_reach_count, {}, 0, "man_reach_count");
  expect_cells(m.com_reach_count, {}, 0, "com_reach_count");
  expect_cells(m.man_check_map, {}, 0, "man_check_map");
  expect_cells(m.com_check_map, {}, 0, "com_check_map");
  expect_cells(m.man_guard_piece, {}, N, "man_guard_piece");
  expect_cells(m.com_guard_piece, {}, N, "com_guard_piece");
  expect_cells(m.com_capturer_piece, {}, N, "com_capturer_piece");
  expect_cells(m.man_capturer_piece, {}, -N, "man_capturer_piece");
  expect_cells(m.man_capturer_x, {}, 0, "man_capturer_x");
  expect_cells(m.man_capturer_y, {}, 0, "man_capturer_y");
  expect_cells(m.com_guard_x, {}, 77, "com_guard_x");
  expect_cells(m.com_capturer_y, {}, 77, "com_capturer_y");
  for (int i = 0; i <= 9; ++i) {  // row and column 0 still read as 0
    EXPECT_EQ(m.man_guard_piece[0][i], 0);
    EXPECT_EQ(m.man_capturer_piece[i][0], 0);
    EXPECT_EQ(m.com_guard_piece[i][0], 0);
  }
}

TEST(Survey, EachKindReachesItsOwnSquaresOnAnEmptyBoard) {
  struct Case {
    int x, y, code;
    Cells reach;
  };
  Cells com_rook, man_rook, com_lance, man_lance, com_bishop, man_bishop;
  for (int i = 2; i <= 9; ++i) com_rook[{i, 1}] = com_rook[{1, i}] = 1;
  for (int i = 1; i <= 9; ++i)
    if (i != 5) man_rook[{i, 5}] = man_rook[{5, i}] = 1;
  for (int y = 6; y <= 9; ++y) com_lance[{5, y}] = 1;
  for (int y = 1; y <= 4; ++y) man_lance[{5, y}] = 1;
  for (int i = 1; i <= 8; ++i) com_bishop[{i, i}] = 1;
  for (int d = 1; d <= 4; ++d)
    man_bishop[{5 - d, 5 - d}] = man_bishop[{5 + d, 5 - d}] = man_bishop[{5 - d, 5 + d}] =
        man_bishop[{5 + d, 5 + d}] = 1;
  const Case cases[] = {
      {5, 5, -10, {{{5, 4}, 1}}},
      {5, 5, 10, {{{5, 6}, 1}}},
      {3, 1, -10, {}},
      {3, 9, 10, {}},
      {5, 5, -30, {{{4, 3}, 1}, {{6, 3}, 1}}},
      {1, 3, -30, {{{2, 1}, 1}}},
      {5, 5, 30, {{{4, 7}, 1}, {{6, 7}, 1}}},
      {9, 8, 30, {}},
      {5, 5, -100, {{{5, 4}, 1}, {{4, 4}, 1}, {{6, 4}, 1}, {{4, 6}, 1}, {{6, 6}, 1}}},
      {5, 5, 100, {{{5, 6}, 1}, {{4, 6}, 1}, {{6, 6}, 1}, {{4, 4}, 1}, {{6, 4}, 1}}},
      {5, 9, -110, {{{5, 8}, 1}, {{4, 8}, 1}, {{6, 8}, 1}, {{4, 9}, 1}, {{6, 9}, 1}}},
      {5, 5, -11, {{{5, 4}, 1}, {{4, 4}, 1}, {{6, 4}, 1}, {{4, 5}, 1}, {{6, 5}, 1}, {{5, 6}, 1}}},
      {1, 1, 110, {{{1, 2}, 1}, {{2, 2}, 1}, {{2, 1}, 1}}},
      {5, 5, 11, {{{5, 6}, 1}, {{4, 6}, 1}, {{6, 6}, 1}, {{4, 5}, 1}, {{6, 5}, 1}, {{5, 4}, 1}}},
      {1, 9, -950, {{{1, 8}, 1}, {{2, 8}, 1}, {{2, 9}, 1}}},
      {9, 1, 950, {{{8, 1}, 1}, {{8, 2}, 1}, {{9, 2}, 1}}},
      {1, 1, 900, com_rook},
      {5, 5, -900, man_rook},
      {5, 5, 20, com_lance},
      {5, 5, -20, man_lance},
      {9, 9, 800, com_bishop},
      {5, 5, -800, man_bishop},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("code " + std::to_string(c.code) + " on " + std::to_string(c.x) + "," + std::to_string(c.y));
    Position p = place({{c.x, c.y, c.code}});
    Influence m = survey(p);
    expect_cells(c.code < 0 ? m.man_reach_count : m.com_reach_count, c.reach, 0, "own side's reach");
    expect_cells(c.code < 0 ? m.com_reach_count : m.man_reach_count, {}, 0, "other side's reach");
  }
}

TEST(Survey, StartingPositionMaps) {
  Position p = test::position(test::START);
  Influence m = survey(p);
  // Rows 1..5 are out of the person's reach.
  const Rows man_reach = {
      {1, 1, 1, 1, 1, 1, 1, 1, 1},
      {3, 0, 2, 0, 0, 0, 1, 1, 2},
      {1, 2, 3, 4, 4, 4, 3, 1, 2},
      {1, 0, 2, 1, 2, 1, 1, 1, 0},
  };
  expect_rows(m.man_reach_count, 6, man_reach, 0, "man_reach_count");
  // The computer's side stands point-mirrored, so its reach is too.
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      EXPECT_EQ(m.com_reach_count[x][y], y > 4 ? 0 : man_reach[4 - y][9 - x]) << "com_reach_count at " << x
                                                                               << "," << y;
  expect_rows(m.man_guard_piece, 7,
              {{-800, N, -800, N, N, N, -30, -900, -30},
               {N, -900, N, N, N, N, N, -100, N},
               {-800, N, -800, -950, -110, -950, -110, -900, N}},
              N, "man_guard_piece");
  // The computer keeps its cheapest guard, so a knight beats a bishop here.
  expect_rows(m.com_guard_piece, 1,
              {{N, 900, 110, 950, 110, 950, 110, N, 800},
               {N, 100, N, N, N, N, N, 100, N},
               {20, 900, 30, N, N, N, 30, N, 20}},
              N, "com_guard_piece");
  // Golds and the king leave no square; a later cheaper guard moves it.
  expect_rows(m.com_guard_x, 1, {{0, 2, 0, 0, 0, 0, 0, 0, 8}, {0, 3, 0, 0, 0, 0, 0, 7, 0}, {1, 2, 2, 0, 0, 0, 8, 0, 9}},
              0, "com_guard_x");
  expect_rows(m.com_guard_y, 1, {{0, 2, 0, 0, 0, 0, 0, 0, 2}, {0, 1, 0, 0, 0, 0, 0, 1, 0}, {1, 2, 1, 0, 0, 0, 1, 0, 1}},
              0, "com_guard_y");

  expect_cells(m.man_capturer_piece, {}, -N, "man_capturer_piece");
  expect_cells(m.com_capturer_piece, {}, N, "com_capturer_piece");
  expect_cells(m.man_check_map, {}, 0, "man_check_map");
  expect_cells(m.com_check_map, {}, 0, "com_check_map");
  EXPECT_EQ(p.man_king_x, 5);
  EXPECT_EQ(p.man_king_y, 9);
  EXPECT_EQ(p.com_king_x, 5);
  EXPECT_EQ(p.com_king_y, 1);
}

TEST(Survey, RookRunsThroughTheEnemyKingToThePieceBehind) {
  Position p = place({{5, 9, -900}, {5, 5, 950}, {5, 3, 110}});
  Influence m = survey(p);
  Cells man_reach;  // up the column to the gold, and along the back row
  for (int i = 1; i <= 9; ++i) {
    if (i != 5) man_reach[{i, 9}] = 1;
    if (i >= 3 && i <= 8) man_reach[{5, i}] = 1;
  }
  expect_cells(m.man_reach_count, man_reach, 0, "man_reach_count");
  expect_cells(m.man_check_map, {{{5, 6}, 1}, {{5, 7}, 1}, {{5, 8}, 1}, {{5, 9}, 9}}, 0, "man_check_map");
  expect_cells(m.man_capturer_piece, {{{5, 5}, -900}, {{5, 3}, -900}}, -N, "man_capturer_piece");
  expect_entry(m.man_capturer_piece, m.man_capturer_x, m.man_capturer_y, 5, 5, -900, 5, 9);
  expect_entry(m.man_capturer_piece, m.man_capturer_x, m.man_capturer_y, 5, 3, -900, 5, 9);
  // The king's eight neighbours and the gold's six squares, three of them shared.
  expect_cells(m.com_reach_count,
               {{{4, 4}, 2}, {{5, 4}, 2}, {{6, 4}, 2}, {{4, 5}, 1}, {{6, 5}, 1}, {{4, 6}, 1}, {{5, 6}, 1},
                {{6, 6}, 1}, {{5, 2}, 1}, {{4, 3}, 1}, {{6, 3}, 1}},
               0, "com_reach_count");
  expect_cells(m.com_capturer_piece, {}, N, "com_capturer_piece");  // a king never captures here
  expect_cells(m.com_guard_piece, {}, N, "com_guard_piece");
}

TEST(Survey, LanceRunMarksTheWayToTheKing) {
  Position p = place({{9, 1, 20}, {9, 9, -950}, {3, 9, -20}, {3, 8, -10}});
  Influence m{};
  fill(m.com_capturer_x, 4);
  fill(m.com_capturer_y, 4);
  m = survey(p, m);
  Cells marks{{{9, 1}, 9}};
  for (int y = 2; y <= 8; ++y) marks[{9, y}] = 1;
  expect_cells(m.com_check_map, marks, 0, "com_check_map");
  EXPECT_EQ(m.com_reach_count[9][9], 1);
  expect_entry(m.com_capturer_piece, m.com_capturer_x, m.com_capturer_y, 9, 9, 20, 9, 1);
  // The MAN lance stops on its own pawn and guards it; nothing behind a lance is reached.
  EXPECT_EQ(m.man_guard_piece[3][8], -20);
  EXPECT_EQ(m.man_reach_count[3][8], 1);
  EXPECT_EQ(m.man_reach_count[3][7], 1);
  EXPECT_EQ(m.man_reach_count[3][6], 0);
  EXPECT_EQ(m.com_reach_count[9][1], 0);
}

TEST(Survey, SliderBesideTheKingMarksOnlyItsOwnSquare) {
  Position p = place({{5, 8, 900}, {5, 9, -950}, {1, 1, 950}, {2, 1, -900}});
  Influence m = survey(p);
  expect_cells(m.com_check_map, {{{5, 8}, 9}}, 0, "com_check_map");
  expect_cells(m.man_check_map, {{{2, 1}, 9}}, 0, "man_check_map");
}

TEST(Survey, RookStopsOnItsOwnKingAndGuardsIt) {
  Position p = place({{5, 5, -900}, {5, 7, -950}, {2, 5, 900}, {2, 3, 950}});
  Influence m = survey(p);
  EXPECT_EQ(m.man_guard_piece[5][7], -900);
  EXPECT_EQ(m.man_reach_count[5][8], 1);  // the king's own step only
  EXPECT_EQ(m.man_reach_count[5][9], 0);
  expect_entry(m.com_guard_piece, m.com_guard_x, m.com_guard_y, 2, 3, 900, 2, 5);
  EXPECT_EQ(m.com_reach_count[2][2], 1);  // the king's step, not the rook's
  EXPECT_EQ(m.com_reach_count[2][1], 0);
}

TEST(Survey, BishopRunsThroughTheKingAndIsBoxedInByNeighbours) {
  Position p = place({{1, 9, -800}, {5, 5, 950}, {8, 2, 10}});
  Influence m = survey(p);
  expect_cells(m.man_check_map, {{{2, 8}, 1}, {{3, 7}, 1}, {{4, 6}, 1}, {{1, 9}, 9}}, 0, "man_check_map");
  Cells diagonal;
  for (int i = 2; i <= 8; ++i) diagonal[{i, 10 - i}] = 1;
  expect_cells(m.man_reach_count, diagonal, 0, "man_reach_count");
  expect_cells(m.man_capturer_piece, {{{5, 5}, -800}, {{8, 2}, -800}}, -N, "man_capturer_piece");
  EXPECT_EQ(m.man_capturer_x[8][2], 1);
  EXPECT_EQ(m.man_capturer_y[8][2], 9);

  Position boxed = place({{5, 5, -800}, {4, 4, 10}, {6, 4, 10}, {4, 6, -10}, {6, 6, 100}});
  m = survey(boxed);
  expect_cells(m.man_reach_count, {{{4, 4}, 1}, {{6, 4}, 1}, {{4, 6}, 1}, {{6, 6}, 1}, {{4, 5}, 1}}, 0,
               "man_reach_count");  // (4,5) is the pawn's step
  EXPECT_EQ(m.man_guard_piece[4][6], -800);
  EXPECT_EQ(m.man_capturer_piece[6][4], -800);
}

TEST(Survey, StepPiecesMarkTheirOwnSquareAndKnightsTheKingsToo) {
  Position p = place({{4, 7, 30}, {5, 9, -950}, {6, 3, -30}, {5, 1, 950}});
  Influence m = survey(p);
  expect_cells(m.com_check_map, {{{4, 7}, 9}, {{5, 9}, 9}}, 0, "com_check_map");
  expect_cells(m.man_check_map, {{{6, 3}, 9}, {{5, 1}, 9}}, 0, "man_check_map");
  EXPECT_EQ(m.com_capturer_piece[5][9], N);  // a knight never writes it
  expect_entry(m.man_capturer_piece, m.man_capturer_x, m.man_capturer_y, 5, 1, -30, 6, 3);

  // Gold, silver, pawn and tokin round a king: a 9 on each checker, nothing on the king.
  Position q = place({{5, 5, 950}, {6, 5, -110}, {4, 6, -100}, {5, 6, -10}, {4, 5, -11}});
  m = survey(q);
  expect_cells(m.man_check_map, {{{6, 5}, 9}, {{4, 6}, 9}, {{5, 6}, 9}, {{4, 5}, 9}}, 0, "man_check_map");
  EXPECT_EQ(m.man_reach_count[5][5], 4);
  expect_entry(m.man_capturer_piece, m.man_capturer_x, m.man_capturer_y, 5, 5, -10, 5, 6);

  Position r = place({{5, 5, -950}, {4, 5, 110}, {6, 4, 100}, {5, 4, 10}, {6, 5, 11}});
  m = {};
  fill(m.com_capturer_x, 3);
  m = survey(r, m);
  expect_cells(m.com_check_map, {{{4, 5}, 9}, {{6, 4}, 9}, {{5, 4}, 9}, {{6, 5}, 9}}, 0, "com_check_map");
  EXPECT_EQ(m.com_capturer_piece[5][5], 10);
  EXPECT_EQ(m.com_capturer_x[5][5], 3);  // a pawn leaves the square alone
}

TEST(Survey, KingBesideKingCapturesButGivesNoCheck) {
  Position p = place({{5, 6, -950}, {5, 5, 950}});
  Influence m = survey(p);
  EXPECT_EQ(m.man_reach_count[5][5], 1);
  expect_entry(m.man_capturer_piece, m.man_capturer_x, m.man_capturer_y, 5, 5, -950, 5, 6);
  EXPECT_EQ(m.com_reach_count[5][6], 1);
  EXPECT_EQ(m.com_capturer_piece[5][6], N);
  expect_cells(m.man_check_map, {}, 0, "man_check_map");
  expect_cells(m.com_check_map, {}, 0, "com_check_map");
}

TEST(Survey, TokinsAndGoldsGuardByTheirCodesWithoutSquares) {
  Position p = place({{2, 8, -11}, {2, 7, -10}, {8, 2, 11}, {8, 3, 10}, {5, 5, 110}, {6, 5, -10}, {5, 4, 30}});
  Influence m{};
  fill(m.com_guard_x, 7);
  fill(m.com_capturer_x, 7);
  m = survey(p, m);
  EXPECT_EQ(m.man_guard_piece[2][7], -11);
  EXPECT_EQ(m.com_guard_piece[8][3], 110);
  EXPECT_EQ(m.com_guard_x[8][3], 7);
  EXPECT_EQ(m.com_guard_piece[5][4], 110);  // the gold guards the knight behind it
  EXPECT_EQ(m.com_guard_x[5][4], 7);
  EXPECT_EQ(m.com_reach_count[6][5], 1);
  EXPECT_EQ(m.com_capturer_piece[6][5], N);
  EXPECT_EQ(m.com_capturer_x[6][5], 7);
}

TEST(Survey, OnlyPawnsAndSlidersBecomeComCapturers) {
  Position p = place({{5, 5, 30}, {4, 7, -10}, {2, 2, 100}, {2, 3, -10}, {8, 5, 10}, {8, 6, -110}, {1, 1, 20},
                      {1, 6, -100}});
  Influence m{};
  fill(m.com_capturer_x, 7);
  fill(m.com_capturer_y, 7);
  m = survey(p, m);
  EXPECT_EQ(m.com_reach_count[4][7], 1);
  EXPECT_EQ(m.com_capturer_piece[4][7], N);
  EXPECT_EQ(m.com_reach_count[2][3], 1);
  EXPECT_EQ(m.com_capturer_piece[2][3], N);
  expect_entry(m.com_capturer_piece, m.com_capturer_x, m.com_capturer_y, 8, 6, 10, 7, 7);
  expect_entry(m.com_capturer_piece, m.com_capturer_x, m.com_capturer_y, 1, 6, 20, 1, 1);
}

TEST(Survey, TiesGoToTheFirstPieceInScanOrder) {
  struct Case {
    Position p;
    int code, gx, gy;
  };
  // A COM pawn on (5,5) and its guards.
  const Case guards[] = {
      {place({{5, 5, 10}, {6, 4, 100}, {6, 6, 100}}), 100, 6, 4},         // equal x: smaller y
      {place({{5, 5, 10}, {6, 4, 100}, {4, 6, 100}}), 100, 4, 6},         // smaller x
      {place({{5, 5, 10}, {4, 6, 100}, {6, 6, 100}, {6, 3, 30}}), 30, 6, 3},  // a cheaper one later
      {place({{5, 5, 10}, {4, 6, 100}, {5, 4, 10}}), 10, 4, 6},           // a pawn keeps the silver's square
  };
  for (const Case& c : guards) {
    Position p = c.p;
    Influence m = survey(p);
    expect_entry(m.com_guard_piece, m.com_guard_x, m.com_guard_y, 5, 5, c.code, c.gx, c.gy);
  }
  // A COM gold on (5,5) and the MAN pieces that could take it.
  const Case takers[] = {
      {place({{5, 5, 110}, {4, 6, -110}, {6, 6, -110}}), -110, 4, 6},
      {place({{5, 5, 110}, {4, 6, -110}, {6, 6, -110}, {6, 4, -100}}), -100, 6, 4},
  };
  for (const Case& c : takers) {
    Position p = c.p;
    Influence m = survey(p);
    expect_entry(m.man_capturer_piece, m.man_capturer_x, m.man_capturer_y, 5, 5, c.code, c.gx, c.gy);
  }
  // A MAN pawn on (5,5) under two COM rooks, then under a lance and a rook.
  Position two_rooks = place({{5, 5, -10}, {1, 5, 900}, {5, 1, 900}});
  Influence m = survey(two_rooks);
  expect_entry(m.com_capturer_piece, m.com_capturer_x, m.com_capturer_y, 5, 5, 900, 1, 5);
  Position lance_later = place({{5, 5, -10}, {1, 5, 900}, {5, 1, 20}});
  m = survey(lance_later);
  expect_entry(m.com_capturer_piece, m.com_capturer_x, m.com_capturer_y, 5, 5, 20, 5, 1);
}

TEST(Survey, SquareMapsAndAbsentKingsKeepTheirOldValues) {
  Position first = place({{9, 1, 20}, {9, 5, -10}, {3, 1, 100}, {3, 2, 10}, {5, 9, -950}, {5, 1, 950}});
  Influence m = survey(first);
  ASSERT_EQ(m.com_capturer_x[9][5], 9);
  ASSERT_EQ(m.com_guard_x[3][2], 3);
  // The attackers and the computer's king are gone; the person's king has moved.
  Position second = place({{9, 5, -10}, {3, 2, 10}, {4, 8, -950}});
  second.man_king_x = first.man_king_x, second.man_king_y = first.man_king_y;
  second.com_king_x = first.com_king_x, second.com_king_y = first.com_king_y;
  m = survey(second, m);
  expect_entry(m.com_capturer_piece, m.com_capturer_x, m.com_capturer_y, 9, 5, N, 9, 1);
  expect_entry(m.com_guard_piece, m.com_guard_x, m.com_guard_y, 3, 2, N, 3, 1);
  EXPECT_EQ(second.man_king_x, 4);
  EXPECT_EQ(second.man_king_y, 8);
  EXPECT_EQ(second.com_king_x, 5);
  EXPECT_EQ(second.com_king_y, 1);
}

TEST(Survey, CodesThatAreNoPieceAreSkipped) {
  Position p = place({{5, 5, 5}, {3, 3, -5}, {7, 7, 12}, {2, 8, -999}});
  Influence m = survey(p);
  expect_cells(m.man_reach_count, {}, 0, "man_reach_count");
  expect_cells(m.com_reach_count, {}, 0, "com_reach_count");
}

}  // namespace
}  // namespace vv
