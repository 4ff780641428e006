// The computer's whole turn as the game plays it, seen through the events of
// a recording port, and the level menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com/escape_mate.h"
#include "flow/game.h"
#include "flow/recording_port.h"
#include "influence/survey.h"
#include "test_support.h"

namespace vv {
namespace {

using Events = std::vector<std::string>;

// A game against the computer with COM to move on the given position, the
// position surveyed as the person's move leaves it.
struct ComTurn {
  RecordingPort port;
  Game g{port};

  explicit ComTurn(const std::string& text) {
    g.start_up();
    g.engine.pos = test::position(text);
    g.flow.game_mode = 1;
    g.flow.man_side = -1;
    g.flow.com_side = 1;
    g.flow.side_to_move = g.flow.com_side;
    survey_influence(g.engine.pos, g.engine.influence);
    port.events.clear();
  }
};

TEST(ComTurn, PlayedMoveIsRecordedAndCheckAnnounced) {
  // The pawn's only move turns it into a rook in front of the MAN king.
  ComTurn t("9/9/9/9/9/9/4p4/9/4K4 0,0,0,0 0,0,0,0");
  t.g.time.com_time_total = 50;
  t.g.time.man_time_total = 20;
  t.g.event([&] { t.g.computer_turn(); });

  const MoveRecord& record = t.g.record;
  ASSERT_EQ(record.move_number, 1);
  EXPECT_EQ(record.from_x[1], 5);
  EXPECT_EQ(record.from_y[1], 7);
  EXPECT_EQ(record.to_x[1], 5);
  EXPECT_EQ(record.to_y[1], 8);
  EXPECT_EQ(record.piece[1], 10);
  EXPECT_EQ(record.placed[1], 900);
  EXPECT_EQ(record.captured[1], 0);
  EXPECT_EQ(record.man_time_before[1], 20);
  EXPECT_EQ(record.man_time_after[1], 20);
  EXPECT_EQ(record.com_time_before[1], 50);
  // The clock only moved by the 0.3 s wait before the trials.
  EXPECT_NEAR(t.g.time.move_seconds, 0.3, 1e-6);
  EXPECT_NEAR(record.com_time_after[1], 50 + t.g.time.move_seconds, 1e-9);
  EXPECT_NEAR(t.g.time.com_time_total, 50 + t.g.time.move_seconds, 1e-9);

  EXPECT_EQ(t.g.engine.pos.board[5][8], 900);
  EXPECT_EQ(t.g.engine.pos.board[5][7], 0);
  EXPECT_EQ(t.g.flow.move_count, 1);
  EXPECT_EQ(t.g.flow.side_to_move, t.g.flow.man_side);
  EXPECT_EQ(t.port.events, (Events{"com 5 7 5 8 900", "sound 駒打音", "sound 駒打音", "msg |   ** 王手 **"}));
}

TEST(ComTurn, MateIsAnnouncedAndPlayGoesOn) {
  // The rook drop on (1,1) mates: gold and silver cover the king's squares.
  ComTurn t("8k/9/9/9/9/9/1g7/2s6/K8 1,0,0,0 0,0,0,0");
  t.g.event([&] { t.g.computer_turn(); });
  ASSERT_EQ(t.g.record.move_number, 1);
  EXPECT_EQ(t.g.record.from_x[1], -3);
  EXPECT_EQ(t.g.record.from_y[1], 1);
  EXPECT_EQ(t.g.record.placed[1], 900);
  EXPECT_EQ(t.g.engine.pos.board[1][1], 900);
  EXPECT_EQ(t.g.engine.pos.com_hand[1], 0);
  EXPECT_EQ(t.port.events, (Events{"com -3 1 1 1 900", "sound 駒打音", "msg 詰め ?|よし！!"}));
  EXPECT_EQ(t.g.flow.side_to_move, t.g.flow.man_side);
  EXPECT_EQ(t.g.flow.winner, 0);
}

TEST(ComTurn, KingMovePlaysOneSound) {
  ComTurn t("k8/9/9/9/9/9/9/9/8K 0,0,0,0 0,0,0,0");
  t.g.event([&] { t.g.computer_turn(); });
  EXPECT_EQ(t.g.record.placed[1], 950);
  EXPECT_EQ(t.port.events, (Events{"com 1 1 2 2 950", "sound 駒打音"}));
  EXPECT_EQ(t.g.flow.side_to_move, t.g.flow.man_side);
}

TEST(ComTurn, KingCaptureEndsTheGameBeforeAnyMateAnnouncement) {
  // The rook on (1,9) takes the king along row 9 and stands there as a pawn.
  // The old king square then looks mated: the lance reaches it, the rook on
  // row 8 and the two knights cover every square around it.
  Engine after = test::engine("4l4/9/9/9/9/9/2n3n2/8r/4p4 0,0,0,0 0,0,0,0");
  after.pos.man_king_x = 5;
  after.pos.man_king_y = 9;
  survey_influence(after.pos, after.influence);
  ASSERT_EQ(man_is_mated(after), 1);

  ComTurn t("4l4/9/9/9/9/9/2n3n2/8r/r3K4 0,0,0,0 0,0,0,0");
  t.port.answers.push_back(false);
  t.g.event([&] { t.g.computer_turn(); });
  EXPECT_EQ(t.g.record.captured[1], -950);
  EXPECT_EQ(t.port.events, (Events{"com 1 9 5 9 10", "sound 駒打音", "sound 駒打音", "msg 終了|ｺﾝﾋﾟｭｰﾀの勝ちです",
                                   "msg 再ゲーム|続けますか？|no"}));
  EXPECT_TRUE(t.port.quit_requested);
}

TEST(ComTurn, NoCandidateGivesTheGameToThePerson) {
  ComTurn t("9/9/9/9/9/9/9/9/4p3K 0,0,0,0 0,0,0,0");
  t.port.answers.push_back(false);
  t.g.event([&] { t.g.computer_turn(); });
  EXPECT_EQ(t.g.record.move_number, 0);
  EXPECT_EQ(t.g.flow.move_count, 0);
  EXPECT_EQ(t.g.engine.pos.board[5][9], 10);
  EXPECT_EQ(t.port.events, (Events{"msg 終了|あなたの勝ちです", "msg 再ゲーム|続けますか？|no"}));
}

TEST(ComTurn, FiveHundredthMoveEndsTheGameUndecided) {
  ComTurn t("9/9/9/9/9/9/4p4/9/4K4 0,0,0,0 0,0,0,0");
  t.g.record.move_number = 499;
  t.port.answers = {false};
  t.g.event([&] { t.g.computer_turn(); });
  EXPECT_EQ(t.g.record.move_number, 500);
  const Events tail(t.port.events.end() - 2, t.port.events.end());
  EXPECT_EQ(tail, (Events{"msg 終了|500手に達しました。引き分けです", "msg 再ゲーム|続けますか？|no"}));
  EXPECT_TRUE(t.port.quit_requested);
}

TEST(ComTurn, FullRecordPlaysNothingAndOffersANewGame) {
  ComTurn t("9/9/9/9/9/9/4p4/9/4K4 0,0,0,0 0,0,0,0");
  t.g.record.move_number = 500;
  t.g.record.record_length = 500;
  t.g.event([&] { t.g.computer_turn(); });
  EXPECT_EQ(t.port.events, (Events{"msg 終了|500手に達しました。引き分けです", "msg 再ゲーム|続けますか？|yes"}));
  // Yes starts afresh: the starting position and no game running.
  EXPECT_EQ(t.g.flow.side_to_move, 0);
  EXPECT_EQ(t.g.engine.pos.board[5][9], -950);
  EXPECT_EQ(t.g.record.move_number, 0);
}

TEST(Level, StartsAtThreeWithItsMark) {
  RecordingPort port;
  Game g(port);
  g.start_up();
  EXPECT_EQ(g.engine.com_level, 3);
  EXPECT_TRUE(port.mark(MenuMark::LEVEL3));
}

TEST(Level, SettingMarksOneItemAndDrawsTheLabelOnlyAgainstTheComputer) {
  RecordingPort port;
  Game g(port);
  g.start_up();
  port.texts.clear();
  g.set_level(1);
  EXPECT_EQ(g.engine.com_level, 1);
  EXPECT_TRUE(port.mark(MenuMark::LEVEL1));
  EXPECT_FALSE(port.mark(MenuMark::LEVEL2));
  EXPECT_FALSE(port.mark(MenuMark::LEVEL3));
  EXPECT_TRUE(port.texts.empty()) << "no label between two people";

  g.flow.game_mode = 1;
  g.set_level(2);
  EXPECT_EQ(g.engine.com_level, 2);
  EXPECT_EQ(port.texts, (std::vector<std::string>{"LEVEL", "LEVEL", "2", "2"}));
}

TEST(Level, FourthLevelSearchesAndPlaysTheTurnsUsualWay) {
  ComTurn t("4k4/9/9/9/9/9/9/4r4/4K4 0,0,0,0 0,0,0,0");
  t.g.set_level(4);
  EXPECT_TRUE(t.port.mark(MenuMark::LEVEL4));
  EXPECT_FALSE(t.port.mark(MenuMark::LEVEL3));
  // The rook takes the king at once: the game ends for the computer.
  t.g.event([&] { t.g.computer_turn(); });
  EXPECT_EQ(t.g.record.captured[1], -950);
  ASSERT_GE(t.port.events.size(), 2u);
  EXPECT_EQ(t.port.events[0], "com 5 8 5 9 10");
  EXPECT_EQ(t.port.events[t.port.events.size() - 2], "msg 終了|ｺﾝﾋﾟｭｰﾀの勝ちです");
}

TEST(Level, OtherValuesUncheckAllAndKeepTheLevel) {
  RecordingPort port;
  Game g(port);
  g.start_up();
  g.set_level(2);
  port.texts.clear();
  for (int n : {0, 5, -1}) {
    g.set_level(n);
    EXPECT_EQ(g.engine.com_level, 2) << n;
    EXPECT_FALSE(port.mark(MenuMark::LEVEL1));
    EXPECT_FALSE(port.mark(MenuMark::LEVEL2));
    EXPECT_FALSE(port.mark(MenuMark::LEVEL3));
    EXPECT_FALSE(port.mark(MenuMark::LEVEL4));
  }
  EXPECT_TRUE(port.texts.empty());
  g.flow.game_mode = 1;
  g.choose_level(7);
  EXPECT_EQ(port.texts, (std::vector<std::string>{"LEVEL", "LEVEL", "2", "2"}));
}

}  // namespace
}  // namespace vv
