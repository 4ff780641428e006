// Record files: the bytes a save writes, save-then-load round trips of real
// games, and files that must be refused without touching the game.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "flow/game.h"
#include "flow/recording_port.h"
#include "record/record_format.h"
#include "record/shift_jis.h"

namespace vv {
namespace {

namespace fs = std::filesystem;

std::string sjis(const std::string& utf8) {
  std::string out;
  EXPECT_TRUE(sjis::from_utf8(utf8, out)) << utf8;
  return out;
}

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void put(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Every test runs in a folder of its own, so no file of the game lands in
// the source tree.
class RecordFile : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::current_path();
    char name[] = "/tmp/veverodu-record-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
    fs::current_path(dir_);
    port.folder = dir_.string();
    g.event([&] { g.start_up(); });
  }
  void TearDown() override {
    fs::current_path(home_);
    fs::remove_all(dir_);
  }

  void click(int x, int y) {
    const size_t before = port.events.size();
    g.event([&] { g.mouse_down(1, 0, 2200 + 600 * x + 300, 520 + 615 * y + 307); });
    // Resuming messages aside, a click of a scripted game is never refused.
    for (size_t i = before; i < port.events.size(); ++i) ASSERT_NE(port.events[i], "sound 禁止") << x << "," << y;
  }
  void move(int fx, int fy, int tx, int ty) {
    const int before = g.record.move_number;
    click(fx, fy);
    click(tx, ty);
    ASSERT_EQ(g.record.move_number, before + 1) << fx << fy << tx << ty;
  }
  void save(const std::string& file, const std::string& game = "", const std::string& first = "",
            const std::string& second = "") {
    g.event([&] { g.show_save_panel(); });
    port.form = {game, first, second, file};
    g.event([&] { g.save_record_file(); });
  }
  void load(const std::string& file) {
    port.events.clear();
    g.event([&] { g.load_record_file(dir_.string(), file); });
  }
  // Two people: captures by both sides, then a drop from each hand (the top
  // side's from its back column, as a person clicks it).
  void play_two_people() {
    g.event([&] { g.start_two_person_game(); });
    move(3, 7, 3, 6);  // pawn turns rook
    move(3, 3, 3, 4);
    move(3, 6, 3, 4);  // takes the rook, back to pawn
    move(4, 3, 4, 4);
    move(12, 6, 5, 5);  // drops the pawn face
    move(4, 4, 3, 4);   // takes the pawn
    move(5, 7, 5, 6);
    move(-3, 4, 5, 4);  // drops the rook face
  }
  fs::path path(const std::string& file) const { return dir_ / (file + ".棋譜"); }

  RecordingPort port;
  Game g{port};
  fs::path dir_, home_;
};

struct Snapshot {
  Position pos;
  MoveRecord record;
  FlowState flow;
  explicit Snapshot(const Game& g) : pos(g.engine.pos), record(g.record), flow(g.flow) {}
  void expect_same(const Game& g) const {
    EXPECT_EQ(std::memcmp(&pos, &g.engine.pos, sizeof pos), 0);
    EXPECT_EQ(std::memcmp(&record, &g.record, sizeof record), 0);
    EXPECT_EQ(flow.side_to_move, g.flow.side_to_move);
    EXPECT_EQ(flow.move_count, g.flow.move_count);
    EXPECT_EQ(flow.record_mode, g.flow.record_mode);
    EXPECT_EQ(flow.game_mode, g.flow.game_mode);
    EXPECT_EQ(flow.first_side, g.flow.first_side);
    EXPECT_EQ(flow.man_side, g.flow.man_side);
  }
};

TEST_F(RecordFile, SavedFileHasHeadersInSideOrderAndFixedColumns) {
  g.event([&] { g.start_two_person_game(); });
  move(7, 7, 7, 6);
  MoveRecord& r = g.record;
  r.man_time_after[1] = 3.9;  // the fraction is dropped
  // A drop from the person's hand taking nothing, and a capture of a gold,
  // with the times at the edges of their columns.
  r.from_x[2] = 12, r.from_y[2] = 8, r.to_x[2] = 5, r.to_y[2] = 5;
  r.piece[2] = r.placed[2] = -110;
  r.man_time_before[2] = 1234.8, r.man_time_after[2] = 99999.9;
  r.com_time_before[2] = 123456, r.com_time_after[2] = 7;
  r.from_x[3] = 5, r.from_y[3] = 1, r.to_x[3] = 4, r.to_y[3] = 1;
  r.piece[3] = 950, r.placed[3] = 950, r.captured[3] = -110;
  r.move_number = 3;
  const Snapshot before(g);

  save("a", "名人戦", "先手さん", "後手さん");
  const std::string expected = sjis("名人戦\r\n後手さん\r\n先手さん\r\n") +
                               " 7776-900 -10   0    0    3    0    0\r\n"
                               "12855-110-110   0 12349999999999    7\r\n"
                               " 5141 950 950-110    0    0    0    0\r\n";
  EXPECT_EQ(slurp(path("a")), expected);
  EXPECT_EQ(port.events.back(), "msg   |棋譜を書き込みました");
  EXPECT_FALSE(port.save_form_shown);
  before.expect_same(g);

  // With the person moving second, line 2 is the first player's box.
  g.flow.man_side = g.flow.second_side;
  save("b", "", "先手さん", "後手さん");
  EXPECT_EQ(slurp(path("b")).substr(0, 22), sjis("\r\n先手さん\r\n後手さん\r\n"));
}

TEST_F(RecordFile, SaveRefusalsLeaveEverythingAsItWas) {
  g.event([&] { g.start_two_person_game(); });
  save("", "", "", "");
  EXPECT_EQ(port.events.back(), "msg   |ﾌｧｲﾙ名が入力されていません");  // checked before the moves
  save("x");
  EXPECT_EQ(port.events.back(), "msg 棋譜保存|保存するデータがありません");
  move(7, 7, 7, 6);
  g.flow.board_flipped = true;
  g.event([&] { g.show_save_panel(); });
  EXPECT_EQ(port.events.back(), "msg 棋譜書込|反転後は書き込みできません");
  g.flow.board_flipped = false;
  g.handicap.handicap_set = true;
  g.event([&] { g.show_save_panel(); });
  EXPECT_EQ(port.events.back(), "msg 棋譜書込|ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません");
  EXPECT_FALSE(port.save_form_shown);
  g.handicap.handicap_set = false;

  // A name Shift-JIS has no code for, and a folder that does not exist.
  const Snapshot before(g);
  save("x", "대국");
  EXPECT_EQ(port.events.back(), "msg 棋譜書込|「대국」には棋譜ファイルに書けない文字があります");
  save("😀");
  EXPECT_NE(port.events.back().find("ファイル名「😀」"), std::string::npos);
  EXPECT_FALSE(fs::exists(path("x")));
  port.folder = (dir_ / "gone").string();
  save("x", "対局");
  EXPECT_EQ(port.events.back().rfind("msg 棋譜書込|" + (dir_ / "gone" / "x.棋譜").string() + " に書き込めません: ", 0), 0u)
      << port.events.back();
  EXPECT_TRUE(port.save_form_shown);
  EXPECT_EQ(port.form.game, "対局");
  before.expect_same(g);
}

TEST_F(RecordFile, TwoPeopleGameRoundTripsByteForByte) {
  play_two_people();
  // Long games: the times as a game of many hours writes them, one beyond the columns.
  g.record.man_time_after[7] = 45296.7;
  g.record.com_time_after[8] = 250000;
  const Position final_position = g.engine.pos;
  save("game", "練習", "甲", "乙");
  const std::string written = slurp(path("game"));

  load("game.棋譜");
  ASSERT_EQ(port.events, (std::vector<std::string>{"msg 棋譜| 読み込みました", "msg 棋譜|棋譜を '進 'で進めて下さい"}));
  EXPECT_TRUE(g.flow.record_mode);
  EXPECT_EQ(g.flow.game_mode, 0);
  EXPECT_EQ(g.flow.side_to_move, g.flow.man_side);
  EXPECT_EQ(g.record.record_length, 8);
  EXPECT_EQ(g.record.com_time_after[8], 99999);
  for (const char* header : {"練習", "乙", "甲"})
    EXPECT_NE(std::find(port.texts.begin(), port.texts.end(), header), port.texts.end()) << header;

  for (int i = 0; i < 8; ++i) g.event([&] { g.step_forward(); });
  EXPECT_EQ(std::memcmp(g.engine.pos.board, final_position.board, sizeof final_position.board), 0);
  EXPECT_EQ(std::memcmp(g.engine.pos.man_hand, final_position.man_hand, sizeof final_position.man_hand), 0);
  EXPECT_EQ(std::memcmp(g.engine.pos.com_hand, final_position.com_hand, sizeof final_position.com_hand), 0);
  save("again", "練習", "甲", "乙");
  EXPECT_EQ(slurp(path("again")), written);
}

TEST_F(RecordFile, ComputerFirstGameLoadsAsComputerGame) {
  g.event([&] { g.start_game_computer_first(); });
  ASSERT_EQ(g.record.move_number, 1);
  const int to_x = g.record.to_x[1];
  // Any pawn of the person's that is free to step.
  const int x = to_x == 1 ? 9 : 1;
  click(x, 7);
  click(x, 6);  // the computer answers at once
  ASSERT_EQ(g.record.move_number, 3);
  const MoveRecord played = g.record;
  save("com");
  const std::string written = slurp(path("com"));

  load("com.棋譜");
  EXPECT_EQ(g.flow.game_mode, 1);
  EXPECT_EQ(g.flow.side_to_move, g.flow.com_side);
  EXPECT_EQ(g.flow.first_side, g.flow.com_side);
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(record_format::line_of(g.record, n), record_format::line_of(played, n)) << n;
  for (int i = 0; i < 3; ++i) g.event([&] { g.step_forward(); });
  save("com2");
  EXPECT_EQ(slurp(path("com2")), written);
}

TEST_F(RecordFile, KingCaptureShortFilesAndLineEndsLoad) {
  // The last move of a finished game takes the king.
  const std::string king = " 8851 -10-900 950    0    0    0    0";
  put(dir_ / "king.棋譜", "\n\n\n" + king);  // LF only, no line end after the last line
  load("king.棋譜");
  ASSERT_EQ(g.record.record_length, 1) << port.events.back();
  g.event([&] { g.step_forward(); });
  EXPECT_EQ(g.engine.pos.board[5][1], -10);
  EXPECT_EQ(g.engine.pos.man_hand_count, 0);

  put(dir_ / "short.棋譜", sjis("対局だけ") + "\r\n");
  load("short.棋譜");
  EXPECT_EQ(port.events, (std::vector<std::string>{"msg 棋譜|棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません"}));
  EXPECT_TRUE(g.flow.record_mode);
  EXPECT_EQ(g.record.record_length, 0);
  EXPECT_EQ(record_format::header_x_twips("対局だけ"), 4780);
  EXPECT_EQ(record_format::header_x_twips(""), 4900);
}

TEST_F(RecordFile, BadFilesNameTheLineAndChangeNothing) {
  g.event([&] { g.start_two_person_game(); });
  move(7, 7, 7, 6);
  const std::string ok = " 7776-900 -10   0    0    0    0    0";
  const std::string head = "a\r\nb\r\nc\r\n";
  std::string too_long = head;
  // 501 moves of one rook and back: replays, but the record holds 500.
  for (int n = 0; n < 501; ++n) too_long += (n % 2 ? " 7888-900 -10   0    0    0    0    0\r\n"
                                                   : " 8878 -10-900   0    0    0    0    0\r\n");
  const struct {
    std::string bytes;
    int line;
    const char* why;
  } cases[] = {
      {head + " 7776-9x0 -10   0    0    0    0    0", 4, "6-9 桁目が数ではありません"},
      {head + ok + "\r\n 7776", 5, "手の行が 37 桁ではありません"},
      {head + "10776-900 -10   0    0    0    0    0", 4, "(10, 7) は盤にも駒台にもありません"},
      {head + "12576 -10 -10   0    0    0    0    0", 4, "(12, 5) は盤にも駒台にもありません"},
      {head + " 7770-900 -10   0    0    0    0    0", 4, "移動先 (7, 0) は盤の外です"},
      {head + " 7776-900 -15   0    0    0    0    0", 4, "駒 -15 はありません"},
      {head + " 7776-900 -10 -10    0    0    0    0", 4, "相手の駒ではありません"},
      {head + " 7776-900 -10   0    0   -3    0    0", 4, "時間が負です"},
      {head + " 7676-900 -10   0    0    0    0    0", 4, "移動元 (7, 6) に駒 -10 がありません"},
      {head + " 7776 -10 -10   0    0    0    0    0", 4, "裏の面ではありません"},
      {head + "12655 -10 -10   0    0    0    0    0", 4, "持ち駒に駒 -10 がありません"},
      {head + " 7776-900 -10  10    0    0    0    0", 4, "取った駒 10 が盤の (7, 6) の駒 0 と違います"},
      {head + "12655 -10-900   0    0    0    0    0", 4, "打った駒 -10 が駒 -900 と違います"},
      {"\x81\x20\r\n", 1, "Shift-JIS"},
      {too_long, 504, "500 手まで"},
  };
  put(dir_ / "keep.棋譜", "x");
  for (const auto& c : cases) {
    const Snapshot before(g);
    put(dir_ / "bad.棋譜", c.bytes);
    load("bad.棋譜");
    ASSERT_EQ(port.events.size(), 1u);
    const std::string prefix = "msg 棋譜|" + (dir_ / "bad.棋譜").string() + " の " + std::to_string(c.line) + " 行目が読めません: ";
    EXPECT_EQ(port.events[0].rfind(prefix, 0), 0u) << port.events[0];
    EXPECT_NE(port.events[0].find(c.why), std::string::npos) << port.events[0];
    before.expect_same(g);
    EXPECT_EQ(slurp(dir_ / "bad.棋譜"), c.bytes);
  }
  load("missing.棋譜");
  EXPECT_EQ(port.events[0].rfind("msg 棋譜|" + (dir_ / "missing.棋譜").string() + " を開けません: ", 0), 0u);
}

}  // namespace
}  // namespace vv
