// The one-line position text: reading, writing back, and refusing bad text
// without touching the position.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rules/position_text.h"
#include "test_support.h"

namespace vv {
namespace {

TEST(PositionText, StartingPositionReadsIntoTheBoardAndWritesBack) {
  Position p{};
  std::string error;
  ASSERT_TRUE(parse_position(test::START, p, error)) << error;
  const int top[10] = {0, 20, 30, 100, 110, 950, 110, 100, 30, 20};
  for (int x = 1; x <= 9; ++x) {
    EXPECT_EQ(p.board[x][1], top[x]);
    EXPECT_EQ(p.board[x][9], -top[x]);
    EXPECT_EQ(p.board[x][3], 10);
    EXPECT_EQ(p.board[x][7], -10);
    for (int y = 4; y <= 6; ++y) EXPECT_EQ(p.board[x][y], 0);
  }
  EXPECT_EQ(p.board[2][2], 900);
  EXPECT_EQ(p.board[8][2], 800);
  EXPECT_EQ(p.board[2][8], -800);
  EXPECT_EQ(p.board[8][8], -900);
  EXPECT_EQ(format_position(p), test::START);
}

TEST(PositionText, EveryLetterAndHandCountSurvivesTheRoundTrip) {
  const std::string text = "ptlnsgbrk/PTLNSGBRK/9/9/4k4/9/9/9/8K 1,2,3,99 0,0,0,12";
  Position p{};
  std::string error;
  ASSERT_TRUE(parse_position(text, p, error)) << error;
  const int codes[10] = {0, 10, 11, 20, 30, 100, 110, 800, 900, 950};
  for (int x = 1; x <= 9; ++x) {
    EXPECT_EQ(p.board[x][1], codes[x]);
    EXPECT_EQ(p.board[x][2], -codes[x]);
  }
  EXPECT_EQ(p.board[5][5], 950);
  EXPECT_EQ(p.board[9][9], -950);
  EXPECT_EQ(p.com_hand[1], 1);
  EXPECT_EQ(p.com_hand[2], 2);
  EXPECT_EQ(p.com_hand[3], 3);
  EXPECT_EQ(p.com_hand[4], 99);
  EXPECT_EQ(p.man_hand[4], 12);
  EXPECT_EQ(p.com_hand_count, 105);
  EXPECT_EQ(p.man_hand_count, 12);
  EXPECT_EQ(format_position(p), text);
}

TEST(PositionText, AnyNumberOfKingsIsAccepted) {
  Position p{};
  std::string error;
  EXPECT_TRUE(parse_position("9/9/9/9/9/9/9/9/9 0,0,0,0 0,0,0,0", p, error)) << error;
  EXPECT_TRUE(parse_position("KKK6/9/9/9/9/9/9/9/kk7 0,0,0,0 0,0,0,0", p, error)) << error;
  EXPECT_EQ(p.board[3][1], -950);
  EXPECT_EQ(p.board[2][9], 950);
}

TEST(PositionText, BadTextIsRefusedAndLeavesThePositionAlone) {
  const char* bad[] = {
      // rows that do not cover nine squares, or not nine rows
      "lnsgkgsn/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0",
      "lnsgkgsnlp/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0",
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSN1L 0,0,0,0 0,0,0,0",
      "9/9/9/9/9/9/9/9/8 0,0,0,0 0,0,0,0",
      "9/9/9/9/9/9/9/9/91 0,0,0,0 0,0,0,0",
      "9/9/9/9/9/9/9/9 0,0,0,0 0,0,0,0",
      "9/9/9/9/9/9/9/9/9/9 0,0,0,0 0,0,0,0",
      "9/9/9/9//9/9/9/9 0,0,0,0 0,0,0,0",
      // unknown letters
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/4x4/PPPPPPPPP/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0",
      "9/9/9/9/4Q4/9/9/9/9 0,0,0,0 0,0,0,0",
      "9/9/9/9/4+4/9/9/9/9 0,0,0,0 0,0,0,0",
      // hands that are not four counts in 0..99
      "9/9/9/9/9/9/9/9/9 0,0,0 0,0,0,0",
      "9/9/9/9/9/9/9/9/9 0,0,0,0 0,0,0,0,0",
      "9/9/9/9/9/9/9/9/9 0,0,,0 0,0,0,0",
      "9/9/9/9/9/9/9/9/9 0,0,0,0 a,0,0,0",
      "9/9/9/9/9/9/9/9/9 0,0,0,0 0,-1,0,0",
      "9/9/9/9/9/9/9/9/9 100,0,0,0 0,0,0,0",
      "9/9/9/9/9/9/9/9/9 0,0,0,0 0,0,0,1000",
      // missing or extra fields
      "9/9/9/9/9/9/9/9/9 0,0,0,0",
      "9/9/9/9/9/9/9/9/9",
      "",
      "9/9/9/9/9/9/9/9/9 0,0,0,0 0,0,0,0 0,0,0,0",
  };
  Position before = test::position("4k4/9/9/9/9/9/9/9/4K4 1,0,2,0 0,3,0,4");
  before.man_king_x = 5, before.man_king_y = 9, before.com_king_x = 5, before.com_king_y = 1;
  for (const char* text : bad) {
    Position p = before;
    std::string error;
    EXPECT_FALSE(parse_position(text, p, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
    EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0) << "changed by: " << text;
  }
}

}  // namespace
}  // namespace vv
