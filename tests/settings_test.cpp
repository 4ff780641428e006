// The settings file: the first start, files read as they are, files that
// give way to the defaults, and the option menus that rewrite it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "flow/game.h"
#include "flow/recording_port.h"
#include "record/shift_jis.h"

namespace vv {
namespace {

namespace fs = std::filesystem;

// Counts what the music does; the recording port keeps only the effects.
struct MusicPort : RecordingPort {
  int loops = 0, stops = 0;
  void play_looping(Sound s) override { loops += s == Sound::MUSIC; }
  void stop(Sound s) override { stops += s == Sound::MUSIC; }
};

std::string sjis_lines(std::initializer_list<const char*> lines, const char* end = "\r\n") {
  std::string out;
  for (const char* line : lines) {
    std::string encoded;
    EXPECT_TRUE(sjis::from_utf8(line, encoded));
    out += encoded + end;
  }
  return out;
}

const std::string DEFAULTS = sjis_lines({"背景画=緑", "移動指導=OFF", "経過時間=ON", "BGM=ON"});

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::current_path();
    char name[] = "/tmp/veverodu-settings-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(home_);
    fs::remove_all(dir_);
  }
  void write(const std::string& bytes) { std::ofstream("Veverodu.ini", std::ios::binary) << bytes; }
  std::string file() const {
    std::ifstream in("Veverodu.ini", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void start() { g.event([&] { g.start_up(); }); }

  MusicPort port;
  Game g{port};
  fs::path dir_, home_;
};

TEST_F(Settings, FirstStartWritesTheDefaultsAndPlaysNoMusic) {
  start();
  EXPECT_EQ(file(), DEFAULTS);
  EXPECT_TRUE(port.mark(MenuMark::GREEN));
  EXPECT_FALSE(port.mark(MenuMark::TATAMI));
  EXPECT_EQ(g.options.background_code, BACKGROUND_GREEN);
  EXPECT_FALSE(port.mark(MenuMark::MOVE_HINTS));
  EXPECT_TRUE(port.mark(MenuMark::CLOCK));
  EXPECT_TRUE(port.mark(MenuMark::MUSIC));
  EXPECT_EQ(port.loops, 0);
}

TEST_F(Settings, FileIsReadExactlyWithEitherLineEnd) {
  // LF line ends, lower-case "on" counting as off, a last line without its end.
  const std::string bytes = sjis_lines({"背景画=竹", "移動指導=ON", "経過時間=on"}, "\n") + "BGM=ON";
  write(bytes);
  start();
  EXPECT_TRUE(port.mark(MenuMark::BAMBOO));
  EXPECT_FALSE(port.mark(MenuMark::TATAMI));
  EXPECT_EQ(g.options.background_code, BACKGROUND_BAMBOO);
  EXPECT_TRUE(g.options.move_hints);
  EXPECT_EQ(g.options.hint_colour, WHITE);
  EXPECT_FALSE(port.mark(MenuMark::CLOCK));
  EXPECT_EQ(port.loops, 1);
  EXPECT_EQ(file(), bytes);  // read, not rewritten
}

TEST_F(Settings, UnknownBackgroundKeepsTheMarkBeforeReading) {
  // A line that is not even Shift-JIS is just not "ON".
  const std::string bytes = sjis_lines({"背景画=青", "x"}) + "\x81\r\nBGM=OFF\r\n";
  write(bytes);
  start();
  EXPECT_TRUE(port.mark(MenuMark::TATAMI));
  EXPECT_EQ(g.options.background_code, 0);
  EXPECT_FALSE(port.mark(MenuMark::MOVE_HINTS));
  EXPECT_FALSE(port.mark(MenuMark::CLOCK));
  EXPECT_FALSE(port.mark(MenuMark::MUSIC));
  EXPECT_EQ(file(), bytes);
}

TEST_F(Settings, ShortFileGivesWayToTheDefaults) {
  write(sjis_lines({"背景画=煉瓦", "移動指導=ON", "経過時間=OFF"}));
  start();
  EXPECT_EQ(file(), DEFAULTS);
  EXPECT_TRUE(port.mark(MenuMark::GREEN));
  EXPECT_FALSE(port.mark(MenuMark::BRICK));
  EXPECT_EQ(g.options.background_code, BACKGROUND_GREEN);
  // Guidance follows its mark: the short file's "ON" is not half applied.
  EXPECT_FALSE(port.mark(MenuMark::MOVE_HINTS));
  EXPECT_FALSE(g.options.move_hints);
  EXPECT_TRUE(port.mark(MenuMark::CLOCK));
}

TEST_F(Settings, EveryMenuChangeRewritesTheFile) {
  start();
  g.event([&] { g.choose_background(BACKGROUND_BRICK); });
  EXPECT_EQ(g.options.background_code, BACKGROUND_BRICK);
  EXPECT_TRUE(port.mark(MenuMark::BRICK));
  EXPECT_FALSE(port.mark(MenuMark::GREEN));
  EXPECT_EQ(file(), sjis_lines({"背景画=煉瓦", "移動指導=OFF", "経過時間=ON", "BGM=ON"}));

  g.event([&] { g.toggle_move_hints(); });
  EXPECT_EQ(g.options.hint_colour, WHITE);
  const long before = port.drawings;
  g.event([&] { g.toggle_move_hints(); });
  EXPECT_EQ(port.drawings - before, 81 + 8);  // the board's outlines and the top stand's
  EXPECT_EQ(g.options.hint_colour, Game::outline_colour);

  g.event([&] { g.toggle_clock(); });
  EXPECT_FALSE(port.timer_running);
  g.event([&] { g.toggle_music(); });
  EXPECT_EQ(port.stops, 1);
  EXPECT_EQ(file(), sjis_lines({"背景画=煉瓦", "移動指導=OFF", "経過時間=OFF", "BGM=OFF"}));
  g.event([&] { g.toggle_clock(); });
  EXPECT_TRUE(port.timer_running);
  g.event([&] { g.toggle_music(); });
  EXPECT_EQ(port.loops, 1);

  // The item already marked still rewrites the file.
  fs::remove("Veverodu.ini");
  g.event([&] { g.choose_background(BACKGROUND_BRICK); });
  EXPECT_EQ(file(), sjis_lines({"背景画=煉瓦", "移動指導=OFF", "経過時間=ON", "BGM=ON"}));
}

TEST_F(Settings, UnwritableFileLeavesTheProgramRunningOnItsChoices) {
  // A folder in the file's place: it can be neither read nor written.
  fs::create_directory("Veverodu.ini");
  testing::internal::CaptureStderr();
  start();
  EXPECT_TRUE(port.mark(MenuMark::GREEN));
  EXPECT_EQ(g.options.background_code, BACKGROUND_GREEN);
  g.event([&] { g.toggle_music(); });
  g.event([&] { g.choose_background(BACKGROUND_SPACE); });
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(port.mark(MenuMark::MUSIC));
  EXPECT_TRUE(port.mark(MenuMark::SPACE));
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("Veverodu.ini"), std::string::npos);
}

}  // namespace
}  // namespace vv
