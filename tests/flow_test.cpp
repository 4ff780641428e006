// The game's flow seen through the recording port, on positions that a
// script from the start cannot reach quickly: mate by the person, drops from
// the top hand, record mode, the ways the program ends.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "flow/game.h"
#include "flow/recording_port.h"
#include "test_support.h"

namespace vv {
namespace {

using Events = std::vector<std::string>;

// A port that counts how often the sounds are released, and can ask to close
// the window during the n-th wait.
class TestPort : public RecordingPort {
 public:
  void close_sounds() override { ++sounds_closed; }
  void wait(double seconds) override {
    RecordingPort::wait(seconds);
    if (++waits == close_at_wait) closing = true;
  }
  bool close_requested() override { return closing; }
  int sounds_closed = 0;
  int waits = 0;
  int close_at_wait = -1;
  bool closing = false;
};

struct Table {
  TestPort port;
  Game g{port};
  Table() { g.event([&] { g.start_up(); }); }
  void click(int x, int y) {
    g.event([&] { g.mouse_down(1, 0, 2200 + 600.0 * x + 300, 520 + 615.0 * y + 307); });
  }
  // A game of the given kind running on a position, the side to move given.
  void running(const std::string& text, bool against_computer, int to_move) {
    g.event([&] { against_computer ? g.start_game_person_first() : g.start_two_person_game(); });
    g.engine.pos = test::position(text);
    g.flow.side_to_move = to_move;
    port.events.clear();
  }
};

TEST(Flow, PersonsMoveThatMatesTheComputerWins) {
  Table t;
  // The lance arrives on (2, 2) as a tokin next to the top king.
  t.running("k8/9/1LS6/9/9/9/9/9/4K4 0,0,0,0 0,0,0,0", true, 1);
  t.click(2, 3);
  t.click(2, 2);
  EXPECT_EQ(t.port.events, (Events{"sound 駒打音", "sound 駒打音", "msg 終了|あなたの勝ちです",
                                   "msg 再ゲーム|続けますか？|yes"}));
  EXPECT_EQ(t.g.flow.side_to_move, 0);  // a new game is set up, none running
}

TEST(Flow, TakingTheComputersKingWinsWhateverTheMateTestSays) {
  Table t;
  t.running("4k4/4R4/9/9/9/9/9/9/4K4 0,0,0,0 0,0,0,0", true, 1);
  t.port.answers.push_back(false);
  t.click(5, 2);
  t.click(5, 1);
  EXPECT_EQ(t.port.events, (Events{"sound 駒打音", "sound 駒打音", "msg 終了|あなたの勝ちです",
                                   "msg 再ゲーム|続けますか？|no"}));
  EXPECT_TRUE(t.g.ended);
  EXPECT_TRUE(t.port.quit_requested);
  EXPECT_EQ(t.port.sounds_closed, 1);
  // Nothing runs once the program has ended.
  t.click(5, 9);
  EXPECT_EQ(t.port.events.size(), 4u);
}

TEST(Flow, DropFromTheTopHandRecordsTheGridRowAndTakesTheSlot) {
  Table t;
  t.running("4k4/9/9/9/9/9/9/9/4K4 1,0,0,1 0,0,0,0", false, -1);
  t.g.engine.pos.com_hand_count = 2;
  t.click(-1, 5);  // row 5 is slot 0: never a piece there
  EXPECT_FALSE(t.g.flow.piece_picked);
  t.click(-3, 4);  // slot 1 (pawn and rook), its back face: the rook
  t.click(5, 5);
  EXPECT_EQ(t.g.engine.pos.board[5][5], 900);
  EXPECT_EQ(t.g.engine.pos.com_hand[1], 0);
  EXPECT_EQ(t.g.engine.pos.com_hand_count, 1);
  EXPECT_EQ(t.g.record.from_x[1], -3);
  EXPECT_EQ(t.g.record.from_y[1], 4);
  EXPECT_EQ(t.g.record.placed[1], 900);
  EXPECT_EQ(t.g.flow.side_to_move, 1);
  EXPECT_EQ(t.port.events, (Events{"sound 駒打音"}));
  // Stepping back returns the pair to the top hand.
  t.g.event([&] { t.g.step_back(); });
  EXPECT_EQ(t.g.engine.pos.com_hand[1], 1);
  EXPECT_EQ(t.g.engine.pos.board[5][5], 0);
}

TEST(Flow, ClickInRecordModeAsksAndAnsweringNoStartsAfresh) {
  Table t;
  t.running("4k4/9/9/9/9/9/9/9/4K4 0,0,0,0 0,0,0,0", false, 1);
  t.g.flow.record_mode = true;
  t.click(5, 9);
  t.port.answers.push_back(false);
  t.click(5, 9);
  EXPECT_EQ(t.port.events, (Events{"msg 棋譜|棋譜を '進 'で進めて下さい|yes", "msg 棋譜|棋譜を '進 'で進めて下さい|no",
                                   "sound 禁止"}));
  EXPECT_FALSE(t.g.flow.record_mode);
  EXPECT_EQ(t.g.engine.pos.board[5][1], 950);  // the starting position again
  EXPECT_EQ(t.g.engine.pos.board[1][1], 20);
}

TEST(Flow, EscapeEndsAtOnceAndOtherKeysDoNothing) {
  Table t;
  t.g.event([&] { t.g.key_press('a'); });
  EXPECT_FALSE(t.g.ended);
  t.g.event([&] { t.g.key_press(KEY_ESCAPE); });
  EXPECT_TRUE(t.g.ended);
  EXPECT_EQ(t.port.sounds_closed, 1);
  t.g.event([&] { t.g.window_closed(); });
  EXPECT_EQ(t.port.sounds_closed, 1);  // released once
}

TEST(Flow, ClosingTheWindowDuringTheComputersWaitEndsBeforeItMoves) {
  Table t;
  t.port.close_at_wait = 1;  // the pause before the search
  t.g.event([&] { t.g.start_game_computer_first(); });
  EXPECT_TRUE(t.g.ended);
  EXPECT_EQ(t.g.record.move_number, 0);
  EXPECT_TRUE(t.port.events.empty());
  EXPECT_EQ(t.g.engine.pos.board[5][1], 950);
  EXPECT_EQ(t.port.sounds_closed, 1);
}

TEST(Flow, AboutBoxChimesFirst) {
  Table t;
  t.port.events.clear();
  t.g.event([&] { t.g.show_about(); });
  ASSERT_EQ(t.port.events.size(), 2u);
  EXPECT_EQ(t.port.events[0], "sound その他");
  EXPECT_EQ(t.port.events[1].rfind("msg Veverodu|Veverodu ", 0), 0u);
}

TEST(Flow, FlipMovesThePersonsKingSquareWithTheKing) {
  Table t;
  t.running("4k4/9/9/9/9/9/9/9/3K5 0,0,0,0 0,0,0,0", true, 1);
  t.g.engine.pos.man_king_x = 4, t.g.engine.pos.man_king_y = 9;
  t.g.event([&] { t.g.flip_board(); });
  // The top king (5, 1) is now the person's, on (5, 9).
  EXPECT_EQ(t.g.engine.pos.board[5][9], -950);
  EXPECT_EQ(t.g.engine.pos.man_king_x, 5);
  EXPECT_EQ(t.g.engine.pos.man_king_y, 9);
  EXPECT_EQ(t.g.flow.side_to_move, -1);
}

TEST(Flow, SteppingOverAKingCaptureChangesNoHand) {
  Table t;
  t.running("4k4/4R4/9/9/9/9/9/9/4K4 0,0,0,0 0,0,0,0", false, 1);
  t.click(5, 2);
  t.click(5, 1);  // the rook takes the king; Yes sets up a new game
  ASSERT_EQ(t.g.record.record_length, 1);
  t.g.event([&] { t.g.start_two_person_game(); });
  t.g.engine.pos = test::position("4k4/4R4/9/9/9/9/9/9/4K4 0,0,0,0 0,0,0,0");
  t.g.event([&] { t.g.step_forward(); });
  EXPECT_EQ(t.g.engine.pos.board[5][1], -10);
  EXPECT_EQ(t.g.engine.pos.man_hand_count, 0);
  EXPECT_TRUE(t.g.engine.pos.hands_consistent());
  t.g.event([&] { t.g.step_back(); });
  EXPECT_EQ(t.g.engine.pos.board[5][1], 950);
  EXPECT_EQ(t.g.engine.pos.man_hand_count, 0);
}

// Stepping forward ("進") replays the record only where an entry fits the
// board. A start item after a flip keeps entries made before the flip for
// replaying (the record is cut at the move counter, which a flip does not
// reset): the next one moves a piece that is not on its source, so it is
// refused and nothing changes.
TEST(Flow, StepForwardRefusesAnEntryMadeBeforeAFlip) {
  Table t;
  t.g.event([&] { t.g.start_two_person_game(); });
  t.click(7, 7), t.click(7, 6);  // the bottom pawn
  t.click(3, 3), t.click(3, 4);  // the top pawn
  t.g.event([&] { t.g.flip_board(); });
  t.click(5, 3), t.click(5, 4);  // a pawn of the turned top side
  ASSERT_EQ(t.g.record.move_number, 1);
  ASSERT_EQ(t.g.flow.move_count, 3);
  t.g.event([&] { t.g.start_game_person_first(); });
  EXPECT_EQ(t.g.record.record_length, 3);
  const Position before = t.g.engine.pos;
  t.port.events.clear();
  t.g.event([&] { t.g.step_forward(); });
  EXPECT_EQ(t.port.events, (Events{"sound 禁止", "msg 進む|できません"}));
  EXPECT_EQ(std::memcmp(&before, &t.g.engine.pos, sizeof before), 0);
}

// Going back to the start ("最初") keeps the record, so a new start replays
// it from the starting position. A handicap game's record replays as long as
// its entries fit the full board; the first that would overwrite a piece the
// handicap had taken away is refused.
TEST(Flow, StepForwardReplaysAHandicapRecordUntilAnEntryDoesNotFit) {
  Table t;
  t.g.event([&] { t.g.raise_handicap(); });  // the top rook on (8, 2) goes
  t.g.event([&] { t.g.start_two_person_game(); });
  t.click(7, 7), t.click(7, 6);  // the bottom pawn
  t.click(7, 1), t.click(8, 2);  // the top silver onto the rook's empty square
  t.g.event([&] { t.g.back_to_start(); });
  EXPECT_EQ(t.g.record.record_length, 2);
  t.g.event([&] { t.g.start_two_person_game(); });
  t.g.event([&] { t.g.step_forward(); });
  EXPECT_EQ(t.g.record.move_number, 1);
  const Position before = t.g.engine.pos;
  t.port.events.clear();
  t.g.event([&] { t.g.step_forward(); });
  EXPECT_EQ(t.port.events, (Events{"sound 禁止", "msg 進む|できません"}));
  EXPECT_EQ(std::memcmp(&before, &t.g.engine.pos, sizeof before), 0);
  EXPECT_NE(t.g.engine.pos.board[8][2], 0);  // the rook is still there
}

// After a flip the move counter runs on past the record; a start item cuts
// the record at the counter but never past the 500 entries it holds.
TEST(Flow, StartItemNeverCutsTheRecordPastItsCapacity) {
  Table t;
  t.g.event([&] { t.g.start_two_person_game(); });
  t.g.flow.move_count = RECORD_CAPACITY + 57;
  t.g.event([&] { t.g.start_game_person_first(); });
  EXPECT_EQ(t.g.record.record_length, RECORD_CAPACITY);
}

}  // namespace
}  // namespace vv
