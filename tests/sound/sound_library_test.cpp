#include "window/sound/sound_library.h"

#include <gtest/gtest.h>

#include "window/sound/sound_mixer.h"
#include "window/sound/wave_file.h"

namespace vv {
namespace {

// Stands in for the sound device: the test pulls the frames itself.
struct FakeOutput : SoundOutput {
  bool works = true;
  int* stops = nullptr;
  bool start(SoundMixer& mixer) override {
    mixer.set_format(48000, 2);
    return works;
  }
  void stop() override { ++*stops; }
};

std::string level_image(std::int16_t value, int frames) {
  PcmClip c;
  c.rate = 48000;
  c.channels = 1;
  c.samples.assign(frames, value);
  return wave_image(c);
}

class SoundLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    auto out = std::make_unique<FakeOutput>();
    out->stops = &stops;
    library = open_sound_library(std::move(out));
    ASSERT_NE(library, 0);
  }
  void TearDown() override { close_sound_library(library); }

  long buffer(std::int16_t value = 1000, int frames = 4800) {
    const std::string image = level_image(value, frames);
    return create_sound_buffer(library, image.data(), image.size(), SOUND_EFFECT);
  }
  // The first 20 ms the device would take after the call.
  std::vector<std::int16_t> pull() {
    std::vector<std::int16_t> out(960 * 2);
    mixer_of_library(library)->render(out.data(), 960);
    return out;
  }

  int stops = 0;
  long library = 0;
};

TEST(SoundLibraryWithoutDevice, GivesNoHandlesAndIgnoresZero) {
  int stops = 0;
  auto refusing = std::make_unique<FakeOutput>();
  refusing->works = false;
  refusing->stops = &stops;
  EXPECT_EQ(open_sound_library(std::move(refusing)), 0);
  EXPECT_EQ(open_sound_library(std::unique_ptr<SoundOutput>()), 0);
  const std::string image = level_image(1, 10);
  EXPECT_EQ(create_sound_buffer(0, image.data(), image.size(), SOUND_EFFECT), 0);
  // What the game does with the handles of sounds that never loaded.
  play_buffer(0);
  loop_buffer(0);
  stop_buffer(0);
  free_buffer(0);
  close_sound_library(0);
  EXPECT_EQ(mixer_of_library(0), nullptr);
}

TEST_F(SoundLibrary, BadImagesGiveNoBufferAndSayWhy) {
  const std::string good = level_image(1, 10);
  std::string cut = good.substr(0, good.size() - 2), floating = good, why;
  floating[20] = 3;
  EXPECT_EQ(create_sound_buffer(library, cut.data(), cut.size(), SOUND_EFFECT, &why), 0);
  EXPECT_FALSE(why.empty());
  why.clear();
  EXPECT_EQ(create_sound_buffer(library, floating.data(), floating.size(), SOUND_MUSIC, &why), 0);
  EXPECT_FALSE(why.empty());
  EXPECT_EQ(create_sound_buffer(library, nullptr, 0, SOUND_EFFECT), 0);
}

TEST_F(SoundLibrary, AnEffectIsInTheVeryNextFramesTheDeviceTakes) {
  const long click = buffer(1234);
  EXPECT_EQ(pull()[0], 0);
  play_buffer(click);
  const auto out = pull();
  EXPECT_EQ(out[0], 1234);
  EXPECT_EQ(out[1], 1234);
  stop_buffer(click);
  EXPECT_EQ(pull().back(), 0);
}

TEST_F(SoundLibrary, FreeingIsSafeTwiceInAnyOrderAndHandlesAreNeverReused) {
  const long a = buffer(100), b = buffer(200), c = buffer(400);
  loop_buffer(b);
  free_buffer(b);
  free_buffer(b);
  free_buffer(a);
  const long d = buffer(800);
  EXPECT_NE(d, a);
  EXPECT_NE(d, b);
  play_buffer(a);  // a stale handle reaches nothing, least of all d
  play_buffer(b);
  EXPECT_EQ(pull()[0], 0);
  play_buffer(c);
  EXPECT_EQ(pull()[0], 400);
}

TEST(SoundLibraryClosing, TerminateStopsTheDeviceOnceAndReleasesItsBuffers) {
  int stops = 0;
  auto out = std::make_unique<FakeOutput>();
  out->stops = &stops;
  const long library = open_sound_library(std::move(out));
  const std::string image = level_image(5, 100);
  const long music = create_sound_buffer(library, image.data(), image.size(), SOUND_MUSIC);
  ASSERT_NE(music, 0);
  loop_buffer(music);
  close_sound_library(library);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(mixer_of_library(library), nullptr);
  // The shutdown order may free the buffers after the library is gone.
  stop_buffer(music);
  free_buffer(music);
  close_sound_library(library);
  EXPECT_EQ(stops, 1);
}

}  // namespace
}  // namespace vv
