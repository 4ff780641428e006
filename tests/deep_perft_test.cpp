// The searching player's board walked as a tree (a perft): at every node its
// move list equals the one the move check gives the game's own position, the
// key made incrementally equals the key computed afresh, and unmaking a move
// gives back the board, the hands and the key it was made on.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "com/deep/deep_board.h"
#include "rules/move.h"
#include "rules/move_check.h"
#include "rules/piece.h"
#include "test_support.h"

namespace vv {
namespace {

using deep::DeepBoard;
using deep::Move;
using test::as_game_move;
using test::MoveTuple;

struct Walk {
  int stride = 1;  // below the root, every stride-th move of the sorted list
  long leaves = 0;
  long nodes = 0;
};

// Walks both boards together; a king taken ends the line.
void perft(DeepBoard& b, const Position& p, int depth, int ply, Walk& w) {
  ++w.nodes;
  Move list[deep::MAX_MOVES];
  const int n = b.generate(list);
  std::vector<std::pair<MoveTuple, Move>> mine;
  for (int i = 0; i < n; ++i) mine.emplace_back(as_game_move(list[i]), list[i]);
  std::sort(mine.begin(), mine.end());
  const std::vector<MoveTuple> theirs = test::move_check_moves(p, b.side() == deep::COM);
  ASSERT_EQ(mine.size(), theirs.size()) << "ply " << ply;
  for (std::size_t i = 0; i < theirs.size(); ++i) ASSERT_EQ(mine[i].first, theirs[i]) << "ply " << ply;
  if (depth == 1) {
    w.leaves += n;
    return;
  }
  const DeepBoard before = b;
  for (std::size_t i = 0; i < mine.size(); i += (ply == 0 ? 1 : w.stride)) {
    const auto [fx, fy, tx, ty, code] = mine[i].first;
    const Move m = mine[i].second;
    Position q = p;
    const int captured = apply_move(q, fx, fy, tx, ty, is_board_column(fx) ? face_after_move(code) : code);
    deep::Undo u;
    b.make(m, u);
    ASSERT_EQ(b.key(), b.compute_key());
    if (iabs(captured) == KING) {
      ++w.leaves;
    } else {
      perft(b, q, depth - 1, ply + 1, w);
    }
    b.unmake(m, u);
    ASSERT_TRUE(b == before) << "ply " << ply;
    if (::testing::Test::HasFatalFailure()) return;
  }
}

Walk walk(const std::string& text, int side, int depth, int stride) {
  const Position p = test::position(text);
  DeepBoard b;
  b.set(p, side);
  Walk w;
  w.stride = stride;
  perft(b, p, depth, 0, w);
  return w;
}

TEST(DeepPerft, FromTheStartToDepthFour) {
  // The bottom side moves first in a game; its first moves and the top
  // side's answers turn every piece they move.
  const Walk w = walk(test::START, deep::MAN, 4, 1);
  EXPECT_GT(w.leaves, 100000);
}

TEST(DeepPerft, MiddleGamesWithHandsToDepthThree) {
  // Turned faces everywhere, both hands holding every pair, kings in reach:
  // drops of both faces, captures into hand and king captures all occur.
  const char* const positions[] = {
      "1nsgkgsnl/tr5b1/ppppppppp/9/9/6R2/PPPPPP1PP/1B5R1/LNSGKGSNL 2,1,1,1 1,1,1,1",
      "1nsgk1snl/3p2nb1/p2pppp1p/1tr1p2r1/5R3/R2R4R/SPP1PP1P1/2B2B1R1/LN1GKG1NL 2,1,1,1 1,1,1,1",
      "6Lnl/1bkbnSg2/1ppp1P2p/n2prpG2/4p2T1/2GR1PP1R/SSP2PP2/4KB1R1/LN3G3 3,0,0,0 0,0,0,0",
      "1p1kn1P1R/p1bsn1bt1/pp1ppp3/p2p5/L1p6/L3PB1P1/pS1P3N1/3KP4/SN1GN1r2 1,0,0,0 1,1,2,0",
  };
  for (const char* text : positions)
    for (const int side : {deep::COM, deep::MAN}) {
      const Walk w = walk(text, side, 3, 11);
      ASSERT_FALSE(::testing::Test::HasFatalFailure()) << text << " side " << side;
      EXPECT_GT(w.nodes, 500) << text;
    }
}

}  // namespace
}  // namespace vv
