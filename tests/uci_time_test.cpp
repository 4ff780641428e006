// The engine protocol's `go`: its words read strictly, and the time a move
// may take from the clocks: never more than the clock holds, more with an
// increment or fewer moves to go, the side to move's own clock.
#include <gtest/gtest.h>

#include "cli/uci.h"

namespace vv::cli {
namespace {

GoLimits read(std::vector<std::string> words) {
  GoLimits g;
  std::string error;
  EXPECT_TRUE(parse_go(words, g, error)) << error;
  return g;
}

TEST(UciGo, WordsAreReadStrictly) {
  const GoLimits g = read({"wtime", "60000", "btime", "-50", "winc", "1000", "movestogo", "20", "depth", "9"});
  EXPECT_EQ(g.wtime, 60000);
  EXPECT_EQ(g.btime, -50);
  EXPECT_EQ(g.winc, 1000);
  EXPECT_EQ(g.movestogo, 20);
  EXPECT_EQ(g.depth, 9);
  EXPECT_FALSE(g.infinite);
  EXPECT_TRUE(read({}).infinite);  // a bare go runs until stop
  GoLimits kept;
  kept.depth = 3;
  std::string error;
  for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
           {"depth"}, {"depth", "0"}, {"movetime", "-1"}, {"nodes", "x"}, {"ponder"}, {"depth", "3", "extra"}}) {
    EXPECT_FALSE(parse_go(bad, kept, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(kept.depth, 3);
  }
}

TEST(UciGo, TimeFromTheClocks) {
  // movetime: the whole time less a small margin, aim and limit alike.
  TimePlan p = plan_time(read({"movetime", "1000"}), false, 500);
  EXPECT_TRUE(p.timed);
  EXPECT_NEAR(p.aim, 0.990, 1e-9);
  EXPECT_EQ(p.aim, p.hard);
  // Depth or nodes alone: no time limit.
  EXPECT_FALSE(plan_time(read({"depth", "5"}), false, 500).timed);
  // Sudden death: a share of the clock, the hard limit a few aims but at most half the clock.
  p = plan_time(read({"wtime", "60000", "btime", "1000"}), false, 400);
  EXPECT_GT(p.aim, 1.0);
  EXPECT_LT(p.aim, 3.0);
  EXPECT_GT(p.hard, p.aim);
  EXPECT_LE(p.hard, 30.0);
  // The top side reads its own clock (black).
  const TimePlan top = plan_time(read({"wtime", "60000", "btime", "1000"}), true, 400);
  EXPECT_LT(top.hard, 1.0);
  // An increment adds to the aim; one move to go may use most of the clock, never all of it.
  EXPECT_GT(plan_time(read({"wtime", "60000", "winc", "2000"}), false, 400).aim, p.aim + 1.0);
  const TimePlan last = plan_time(read({"wtime", "10000", "movestogo", "1"}), false, 400);
  EXPECT_GT(last.aim, 5.0);
  EXPECT_LT(last.hard, 10.0);
  // Near the game's move limit the clock is shared by fewer moves.
  EXPECT_GT(plan_time(read({"wtime", "60000"}), false, 6).aim, 5 * p.aim);
  // A clock already spent still gives a move.
  const TimePlan spent = plan_time(read({"wtime", "-20"}), false, 400);
  EXPECT_TRUE(spent.timed);
  EXPECT_GT(spent.aim, 0);
  EXPECT_LT(spent.hard, 0.05);
}

}  // namespace
}  // namespace vv::cli
