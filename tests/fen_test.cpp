// The engine protocol's FEN and moves: every face and hand written and read
// back, on many positions, and the moves our rules allow carried through
// their text and through the board turned half a turn.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "cli/fen.h"
#include "rules/move_check.h"
#include "rules/position_text.h"
#include "test_support.h"

namespace vv::cli {
namespace {

const int FACES[] = {10, 11, 20, 30, 100, 110, 800, 900, 950};

FenPosition random_position(std::mt19937& rng) {
  FenPosition f;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y)
      if (rng() % 3 == 0) f.pos.board[x][y] = FACES[rng() % 9] * (rng() % 2 ? 1 : -1);
  for (int slot = 1; slot <= 4; ++slot) {
    f.pos.man_hand[slot] = static_cast<int>(rng() % 4);
    f.pos.com_hand[slot] = static_cast<int>(rng() % 4);
    f.pos.man_hand_count += f.pos.man_hand[slot];
    f.pos.com_hand_count += f.pos.com_hand[slot];
  }
  f.top_to_move = rng() % 2;
  f.fullmove = 1 + static_cast<int>(rng() % 250);
  return f;
}

TEST(Fen, StartAndEveryFaceWrittenAsTheVariantEngineWritesThem) {
  FenPosition f;
  f.pos = test::position(test::START);
  EXPECT_EQ(format_fen(f), "lns+nk+nsnl/1+p5+s1/ppppppppp/9/9/9/PPPPPPPPP/1+S5+P1/LNS+NK+NSNL[] w - - 0 1");
  // One of each face on the bottom row, the top side's below them, hands of every pair.
  f.pos = test::position("9/9/9/9/9/9/9/ptlnsgbrk/PTLNSGBRK 1,2,0,1 0,1,3,0");
  f.top_to_move = true;
  f.fullmove = 12;
  EXPECT_EQ(format_fen(f), "9/9/9/9/9/9/9/p+llns+n+s+pk/P+LLNS+N+S+PK[NNNLllps] b - - 0 12");
}

TEST(Fen, ManyPositionsGoBothWaysUnchanged) {
  std::mt19937 rng(20);
  for (int i = 0; i < 2000; ++i) {
    const FenPosition f = random_position(rng);
    const std::string text = format_fen(f);
    FenPosition back;
    std::string error;
    ASSERT_TRUE(parse_fen(text, back, error)) << text << ": " << error;
    EXPECT_EQ(format_position(back.pos), format_position(f.pos)) << text;
    EXPECT_EQ(back.pos.man_hand_count, f.pos.man_hand_count);
    EXPECT_EQ(back.pos.com_hand_count, f.pos.com_hand_count);
    EXPECT_EQ(back.top_to_move, f.top_to_move);
    EXPECT_EQ(back.fullmove, f.fullmove);
    // And through our position text: the same board and hands.
    Position p{};
    ASSERT_TRUE(parse_position(format_position(back.pos), p, error)) << error;
    FenPosition again = f;
    again.pos = p;
    EXPECT_EQ(format_fen(again), text);
  }
}

TEST(Fen, BadTextIsRefusedAndLeavesThePositionAlone) {
  FenPosition f;
  f.fullmove = 7;
  std::string error;
  for (const char* bad : {"", "9/9/9/9/9/9/9/9/9", "9/9/9/9/9/9/9/9/9[] x", "9/9/9/9/9/9/9/9/8[] w",
                          "9/9/9/9/9/9/9/9/91[] w", "9/9/9/9/9/9/9/9/9/9[] w", "9/9/9/9/9/9/9/9/8+[] w",
                          "9/9/9/9/9/9/9/9/8+K[] w", "9/9/9/9/9/9/9/9/8G[] w", "9/9/9/9/9/9/9/9/9[K] w",
                          "9/9/9/9/9/9/9/9/9[P w", "9/9/9/9/9/9/9/9/9[] w - - 0 1 2", "9/9/9/9/9/9/9/9/9[] w x"}) {
    EXPECT_FALSE(parse_fen(bad, f, error)) << bad;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(f.fullmove, 7);
  }
  EXPECT_TRUE(parse_fen("4k4/9/9/9/9/9/9/9/4K4 b 3", f, error)) << error;
  EXPECT_TRUE(f.top_to_move);
  EXPECT_EQ(f.fullmove, 3);
}

// Every move the rules allow, written, read back as the same move, played;
// the same move found on the turned board comes back as it.
TEST(Fen, EveryLegalMoveGoesThroughItsTextAndThroughTheTurnedBoard) {
  std::mt19937 rng(7);
  int checked = 0;
  for (int i = 0; i < 60; ++i) {
    const FenPosition f = random_position(rng);
    std::istringstream list(list_moves(f));
    for (std::string text; list >> text;) {
      Candidate c;
      std::string error;
      ASSERT_TRUE(parse_move(text, f, c, error)) << format_fen(f) << ' ' << text << ": " << error;
      EXPECT_EQ(format_move(c), text);
      const bool drop = c.from_x < 1 || c.from_x > 9;
      if (!drop) {
        EXPECT_EQ(move_allowed(f.pos.board, c.from_x, c.from_y, c.to_x, c.to_y, c.piece), 1);
      }
      // On the turned board the move is the other side's, and turns back to itself.
      FenPosition turned = f;
      turn_over(f.pos, turned.pos);
      turned.top_to_move = !f.top_to_move;
      const Candidate t = turn_move(c);
      Candidate read;
      ASSERT_TRUE(parse_move(format_move(t), turned, read, error)) << format_move(t) << ": " << error;
      const Candidate back = turn_move(t);
      EXPECT_EQ(format_move(back), text);
      EXPECT_EQ(back.from_x, c.from_x);
      EXPECT_EQ(back.from_y, c.from_y);
      FenPosition played = f, played_turned = turned;
      play_move(played, c);
      play_move(played_turned, t);
      Position unturned{};
      turn_over(played_turned.pos, unturned);
      EXPECT_EQ(format_position(unturned), format_position(played.pos)) << text;
      ++checked;
    }
  }
  EXPECT_GT(checked, 3000);
}

TEST(Fen, MovesOutsideTheRulesAreRefusedWithAReason) {
  FenPosition f;
  f.pos = test::position(test::START);
  std::string error;
  Candidate c;
  for (const char* bad : {"e3e4", "e3e4-", "e3e5+", "e7e6+", "e1e2+", "P@e5", "e3", "j3j4+", "e3e4+x", "+K@e5", "Q@e5"}) {
    EXPECT_FALSE(parse_move(bad, f, c, error)) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
  }
  ASSERT_TRUE(parse_move("e1e2", f, c, error)) << error;
  EXPECT_EQ(c.piece, -950);
  f.pos.man_hand[4] = 1;
  ASSERT_TRUE(parse_move("+S@e5", f, c, error)) << error;
  EXPECT_EQ(c.from_x, 14);
  EXPECT_EQ(c.from_y, 9);
  EXPECT_EQ(c.piece, -800);
  EXPECT_FALSE(parse_move("+S@e3", f, c, error));  // occupied
}

}  // namespace
}  // namespace vv::cli
