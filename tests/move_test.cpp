// Carrying out moves: the face change, captures into the hand by pair, drops
// out of the hand, the MAN king square, the move record and the start position.
#include <gtest/gtest.h>

#include <array>

#include "flow/game.h"
#include "flow/recording_port.h"
#include "rules/move.h"
#include "test_support.h"

namespace vv {
namespace {

using test::place;

struct Pair {
  int code, other, slot;
};
// Every COM face with the face it turns to and the hand slot of its pair.
constexpr Pair FACES[] = {{10, 900, 1}, {900, 10, 1}, {11, 20, 2}, {20, 11, 2},
                          {30, 110, 3}, {110, 30, 3}, {100, 800, 4}, {800, 100, 4}};

TEST(FaceChange, EveryPieceTurnsToItsOtherFace) {
  for (const Pair& f : FACES) {
    EXPECT_EQ(face_after_move(f.code), f.other) << f.code;
    EXPECT_EQ(face_after_move(-f.code), -f.other) << -f.code;
  }
  EXPECT_EQ(face_after_move(950), 950);
  EXPECT_EQ(face_after_move(-950), -950);
  for (int junk : {0, 5, 12, -12, 999, -999}) EXPECT_EQ(face_after_move(junk), 0) << junk;
}

TEST(Capture, EachFaceGoesToItsPairSlotInTheCapturersHand) {
  for (const Pair& f : FACES) {
    Position p{};
    EXPECT_EQ(capture_to_hand(p, f.code), 0);  // a COM piece goes to the person
    Position q{};
    EXPECT_EQ(capture_to_hand(q, -f.code), 0);  // a MAN piece goes to the computer
    for (int s = 0; s <= 4; ++s) {
      EXPECT_EQ(p.man_hand[s], s == f.slot ? 1 : 0) << f.code << " slot " << s;
      EXPECT_EQ(p.com_hand[s], 0);
      EXPECT_EQ(q.com_hand[s], s == f.slot ? 1 : 0) << -f.code << " slot " << s;
      EXPECT_EQ(q.man_hand[s], 0);
    }
  }
}

TEST(Capture, KingAndNonPiecesGoToNoHand) {
  for (int code : {950, -950, 0, 5, -5, 12, 999}) {
    Position p{};
    capture_to_hand(p, code);
    for (int s = 0; s <= 4; ++s) {
      EXPECT_EQ(p.man_hand[s], 0) << code;
      EXPECT_EQ(p.com_hand[s], 0) << code;
    }
  }
}

TEST(ApplyMove, BoardMovePutsThePlacedFaceAndEmptiesTheSource) {
  Position p = place({{5, 3, 10}});
  EXPECT_EQ(apply_move(p, 5, 3, 5, 4, face_after_move(10)), 0);
  EXPECT_EQ(p.board[5][3], 0);
  EXPECT_EQ(p.board[5][4], 900);
  // The rook's next move, anywhere, shows the pawn again.
  apply_move(p, 5, 4, 1, 4, face_after_move(p.board[5][4]));
  EXPECT_EQ(p.board[5][4], 0);
  EXPECT_EQ(p.board[1][4], 10);
  EXPECT_EQ(p.man_hand_count + p.com_hand_count, 0);
}

TEST(ApplyMove, CaptureRaisesTheCapturersSlotAndTotal) {
  for (const Pair& f : FACES) {
    // A MAN knight takes a COM piece and arrives as a gold.
    Position p = place({{5, 5, -30}, {4, 3, f.code}});
    EXPECT_EQ(apply_move(p, 5, 5, 4, 3, -110), f.code);
    EXPECT_EQ(p.board[4][3], -110);
    EXPECT_EQ(p.board[5][5], 0);
    EXPECT_EQ(p.man_hand[f.slot], 1) << f.code;
    EXPECT_EQ(p.man_hand_count, 1) << f.code;
    EXPECT_EQ(p.com_hand_count, 0);
    // A COM silver takes the MAN face and arrives as a bishop.
    Position q = place({{5, 5, 100}, {5, 6, -f.code}});
    q.com_hand[f.slot] = 2;
    q.com_hand_count = 2;
    EXPECT_EQ(apply_move(q, 5, 5, 5, 6, 800), -f.code);
    EXPECT_EQ(q.board[5][6], 800);
    EXPECT_EQ(q.com_hand[f.slot], 3) << -f.code;
    EXPECT_EQ(q.com_hand_count, 3) << -f.code;
    EXPECT_EQ(q.man_hand_count, 0);
  }
}

TEST(ApplyMove, DropTakesOneFromTheNamedSlot) {
  for (int slot = 1; slot <= 4; ++slot) {
    for (int back = 0; back <= 1; ++back) {
      static constexpr int FRONT[5] = {0, 10, 20, 30, 100}, BACK[5] = {0, 900, 11, 110, 800};
      const int face = back ? BACK[slot] : FRONT[slot];
      Position man{};
      for (int s = 1; s <= 4; ++s) man.man_hand[s] = man.com_hand[s] = 2;
      man.man_hand_count = man.com_hand_count = 8;
      Position com = man;
      // The person's hand is named by its grid row, slot + 5; the drop keeps its face.
      apply_move(man, back ? 14 : 12, slot + 5, 3, 5, -face);
      EXPECT_EQ(man.board[3][5], -face);
      // The computer's hand is named by the slot itself.
      apply_move(com, back ? -3 : -1, slot, 7, 5, face);
      EXPECT_EQ(com.board[7][5], face);
      for (int s = 1; s <= 4; ++s) {
        EXPECT_EQ(man.man_hand[s], s == slot ? 1 : 2) << "MAN slot " << slot << " back " << back;
        EXPECT_EQ(man.com_hand[s], 2);
        EXPECT_EQ(com.com_hand[s], s == slot ? 1 : 2) << "COM slot " << slot << " back " << back;
        EXPECT_EQ(com.man_hand[s], 2);
      }
      EXPECT_EQ(man.man_hand_count, 7);
      EXPECT_EQ(man.com_hand_count, 8);
      EXPECT_EQ(com.com_hand_count, 7);
      EXPECT_EQ(com.man_hand_count, 8);
    }
  }
}

TEST(ApplyMove, OnlyTheManKingSquareFollowsItsKing) {
  Position p = place({{5, 9, -950}, {5, 1, 950}});
  p.man_king_x = 5, p.man_king_y = 9, p.com_king_x = 5, p.com_king_y = 1;
  apply_move(p, 5, 9, 4, 8, -950);
  EXPECT_EQ(p.man_king_x, 4);
  EXPECT_EQ(p.man_king_y, 8);
  apply_move(p, 5, 1, 6, 2, 950);  // the computer's king square waits for the survey
  EXPECT_EQ(p.com_king_x, 5);
  EXPECT_EQ(p.com_king_y, 1);
}

TEST(ApplyMove, TakingAKingDecidesTheGameAndFillsNoHand) {
  RecordingPort port;
  Game g(port);
  g.start_up();
  g.engine.pos = place({{5, 5, 950}, {5, 9, -900}, {1, 1, -950}, {2, 2, 100}});
  g.carry_out_move(5, 9, 5, 5, -10);
  EXPECT_EQ(g.flow.winner, g.flow.man_side);
  EXPECT_EQ(g.engine.pos.board[5][5], -10);
  g.reset_game();
  g.engine.pos = place({{5, 5, 950}, {5, 9, -900}, {1, 1, -950}, {2, 2, 100}});
  g.carry_out_move(2, 2, 1, 1, 800);
  EXPECT_EQ(g.flow.winner, g.flow.com_side);
  for (int s = 0; s <= 4; ++s) {
    EXPECT_EQ(g.engine.pos.man_hand[s], 0);
    EXPECT_EQ(g.engine.pos.com_hand[s], 0);
  }
}

using Entry = std::array<int, 7>;
using Times = std::array<double, 4>;
Entry entry(const MoveRecord& r, int n) {
  return {r.from_x[n], r.from_y[n], r.to_x[n],    r.to_y[n],
          r.piece[n],  r.placed[n], r.captured[n]};
}
Times times(const MoveRecord& r, int n) {
  return {r.man_time_before[n], r.man_time_after[n], r.com_time_before[n],
          r.com_time_after[n]};
}

TEST(MoveRecord, EntryHoldsTheMoveAndTheCapturedCode) {
  MoveRecord r;
  Position p = place({{5, 5, -30}, {4, 3, 900}});
  ASSERT_TRUE(record_move(r, p, 5, 5, 4, 3, -30, -110, 1.5, 4.0, 2.0, 2.5));
  EXPECT_EQ(entry(r, 1), (Entry{5, 5, 4, 3, -30, -110, 900}));
  EXPECT_EQ(times(r, 1), (Times{1.5, 4.0, 2.0, 2.5}));
  EXPECT_EQ(r.move_number, 1);
  EXPECT_EQ(r.record_length, 1);
  // A drop keeps its hand place as the source; appending cuts off a longer old record.
  r.record_length = 9;
  ASSERT_TRUE(record_move(r, p, -3, 4, 6, 6, 800, 800, 4.0, 4.0, 2.0, 7.25));
  EXPECT_EQ(r.move_number, 2);
  EXPECT_EQ(r.record_length, 2);
  EXPECT_EQ(entry(r, 2), (Entry{-3, 4, 6, 6, 800, 800, 0}));
  EXPECT_EQ(times(r, 2), (Times{4.0, 4.0, 2.0, 7.25}));
}

TEST(MoveRecord, NeverWritesPastFiveHundredEntries) {
  MoveRecord r;
  Position p = place({{1, 1, 10}});
  for (int n = 1; n <= 500; ++n) ASSERT_TRUE(record_move(r, p, 1, 1, 1, 2, 10, 900, 0, 0, 0, 0)) << n;
  EXPECT_EQ(r.move_number, 500);
  EXPECT_FALSE(record_move(r, p, 9, 9, 8, 8, 20, 11, 3, 3, 3, 3));
  EXPECT_EQ(r.move_number, 500);
  EXPECT_EQ(r.record_length, 500);
  EXPECT_EQ(entry(r, 500), (Entry{1, 1, 1, 2, 10, 900, 0}));
}

TEST(ResetGame, PutsTheStartingPositionAndClearsTheGame) {
  RecordingPort port;
  Game g(port);
  g.start_up();
  // Spoil the state, then set up again.
  g.engine.pos = place({{3, 3, -950}});
  g.engine.pos.man_hand[2] = 4, g.engine.pos.man_hand_count = 4, g.engine.pos.com_hand[1] = 1, g.engine.pos.com_hand_count = 1;
  g.flow.winner = 1, g.flow.side_to_move = -1, g.flow.move_count = 12, g.record.move_number = 12, g.record.record_length = 12;
  g.handicap.handicap_level = 3, g.flow.game_mode = 1;
  g.reset_game();

  const int rows[10][10] = {
      {},
      {0, 20, 30, 100, 110, 950, 110, 100, 30, 20},
      {0, 0, 900, 0, 0, 0, 0, 0, 800, 0},
      {0, 10, 10, 10, 10, 10, 10, 10, 10, 10},
      {}, {}, {},
      {0, -10, -10, -10, -10, -10, -10, -10, -10, -10},
      {0, 0, -800, 0, 0, 0, 0, 0, -900, 0},
      {0, -20, -30, -100, -110, -950, -110, -100, -30, -20},
  };
  int com = 0, man = 0;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      EXPECT_EQ(g.engine.pos.board[x][y], rows[y][x]) << x << "," << y;
      com += g.engine.pos.board[x][y] >= 10;
      man += g.engine.pos.board[x][y] <= -10;
    }
  EXPECT_EQ(com, 20);
  EXPECT_EQ(man, 20);
  for (int s = 0; s <= 4; ++s) {
    EXPECT_EQ(g.engine.pos.man_hand[s], 0);
    EXPECT_EQ(g.engine.pos.com_hand[s], 0);
  }
  EXPECT_EQ(g.engine.pos.man_hand_count, 0);
  EXPECT_EQ(g.engine.pos.com_hand_count, 0);
  EXPECT_EQ(g.flow.side_to_move, 0);
  EXPECT_EQ(g.flow.move_count, 0);
  EXPECT_EQ(g.record.move_number, 0);
  EXPECT_EQ(g.flow.winner, 0);
  EXPECT_EQ(g.flow.game_mode, 0);
  EXPECT_EQ(g.handicap.handicap_level, 0);
  EXPECT_EQ(g.record.placed[0], 10);
  EXPECT_EQ(g.record.record_length, 12);  // a loaded record stays replayable
  EXPECT_EQ(g.flow.man_side, -1);
  EXPECT_EQ(g.flow.com_side, 1);
}

}  // namespace
}  // namespace vv
