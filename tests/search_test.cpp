// The computer's one-ply search: which candidates it tries, in which order,
// when it stops, and which one it keeps.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "com/search.h"
#include "influence/survey.h"
#include "test_support.h"

namespace vv {
namespace {

struct Seen : SearchHooks {
  std::vector<Candidate> list;
  void evaluated(const Candidate& c) override { list.push_back(c); }
};

// As the game calls it: one survey of the position, then the search.
SearchResult search(Engine& e, Seen& seen) {
  survey_influence(e.pos, e.influence);
  return com_search(e, seen);
}

using Move = std::tuple<int, int, int, int, int>;  // from_x, from_y, to_x, to_y, piece

Move move_of(const Candidate& c) { return {c.from_x, c.from_y, c.to_x, c.to_y, c.piece}; }

TEST(Search, EqualScoresKeepTheFirstCandidateInScanOrder) {
  // A lone COM king: at level 1 its three moves all score 0.
  Engine e = test::engine("k8/9/9/9/9/9/9/9/8K 0,0,0,0 0,0,0,0");
  e.com_level = 1;
  Seen seen;
  const SearchResult r = search(e, seen);
  ASSERT_EQ(seen.list.size(), 3u);
  for (const Candidate& c : seen.list) EXPECT_EQ(c.score, 0) << c.to_x << "," << c.to_y;
  EXPECT_EQ(move_of(r.best), (Move{1, 1, 1, 2, 950}));
  // From level 2 the diagonal step closes in on the MAN king's row by 0.1 and wins.
  Engine two = test::engine("k8/9/9/9/9/9/9/9/8K 0,0,0,0 0,0,0,0");
  two.com_level = 2;
  Seen seen2;
  EXPECT_EQ(move_of(search(two, seen2).best), (Move{1, 1, 2, 2, 950}));
}

TEST(Search, KingCaptureEndsTheSearch) {
  Engine e = test::engine("4r3k/9/9/9/9/9/9/9/4K4 0,0,0,0 0,0,0,0");
  Seen seen;
  const SearchResult r = search(e, seen);
  // The rook's targets (1,1)..(4,1), then (5,2)..(5,9); nothing after the capture.
  ASSERT_EQ(seen.list.size(), 12u);
  EXPECT_EQ(move_of(seen.list.back()), (Move{5, 1, 5, 9, 900}));
  EXPECT_EQ(move_of(r.best), (Move{5, 1, 5, 9, 900}));
  EXPECT_EQ(r.best.score, 9999);
}

TEST(Search, DropScoringMateEndsTheSearch) {
  // The knight drop on (4,7) checks a king with no safe square.
  Engine e = test::engine("8k/9/9/9/9/9/9/3P4r/3PKP3 0,0,1,0 0,0,0,0");
  Seen seen;
  const SearchResult r = search(e, seen);
  EXPECT_EQ(move_of(seen.list.back()), (Move{-1, 3, 4, 7, 30}));
  EXPECT_EQ(move_of(r.best), (Move{-1, 3, 4, 7, 30}));
  for (const Candidate& c : seen.list) EXPECT_NE(c.from_x, -3) << "the gold face came after the stop";
}

TEST(Search, BoardMoveScoringMateDoesNotEndTheBoardPass) {
  // The rook to (1,2) mates: the lance covers column 2.
  Engine e = test::engine("1l7/2r6/9/9/9/9/9/9/K8 0,0,0,0 0,0,0,0");
  Seen seen;
  const SearchResult r = search(e, seen);
  EXPECT_EQ(move_of(r.best), (Move{3, 2, 1, 2, 900}));
  EXPECT_EQ(r.best.score, 9998);
  EXPECT_EQ(move_of(seen.list.back()), (Move{3, 2, 9, 2, 900}));
}

TEST(Search, NoDropsWithoutPiecesInHandAtTheStart) {
  Engine empty = test::engine("k8/9/9/9/9/9/9/9/8K 0,0,0,0 0,0,0,0");
  Seen seen;
  search(empty, seen);
  EXPECT_EQ(seen.list.size(), 3u);
  // The hand total decides, not the slots.
  Engine odd = test::engine("k8/9/9/9/9/9/9/9/8K 0,0,0,0 0,0,0,0");
  odd.pos.com_hand[1] = 1;
  odd.pos.com_hand_count = 0;
  Seen seen2;
  search(odd, seen2);
  EXPECT_EQ(seen2.list.size(), 3u);
}

TEST(Search, BoardMovesThenDropsBySlotFrontFaceFirst) {
  Engine e = test::engine("k8/9/9/9/9/9/9/9/8K 1,0,1,0 0,0,0,0");
  const Position start = e.pos;
  Seen seen;
  const SearchResult r = search(e, seen);

  std::vector<Move> want = {{1, 1, 1, 2, 950}, {1, 1, 2, 1, 950}, {1, 1, 2, 2, 950}};
  const int faces[4][3] = {{-1, 1, 10}, {-3, 1, 900}, {-1, 3, 30}, {-3, 3, 110}};
  for (const auto& f : faces)
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y)
        if (start.board[x][y] == 0) want.push_back({f[0], f[1], x, y, f[2]});
  std::vector<Move> got;
  for (const Candidate& c : seen.list) got.push_back(move_of(c));
  EXPECT_EQ(got, want);
  EXPECT_EQ(r.candidates, 319);
  EXPECT_EQ(std::memcmp(e.pos.board, start.board, sizeof start.board), 0) << "the board is restored";
  EXPECT_EQ(e.pos.com_hand[1], 1);
  EXPECT_EQ(e.pos.com_hand[3], 1);
}

TEST(Search, NothingToMoveFindsNoCandidate) {
  // A COM pawn on the last row cannot move.
  Engine e = test::engine("9/9/9/9/9/9/9/9/4p3K 0,0,0,0 0,0,0,0");
  Seen seen;
  const SearchResult r = search(e, seen);
  EXPECT_FALSE(r.found);
  EXPECT_TRUE(seen.list.empty());
}

}  // namespace
}  // namespace vv
