// The wave files the build made, read as the game reads them.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "window/sound/wave_file.h"

namespace vv {
namespace {

std::string file_bytes(const char* name) {
  std::ifstream in(std::string(VEVERODU_BUILT_SOUNDS) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | std::uint8_t(s[at + i]);
  return v;
}

struct Expected {
  const char* name;
  int channels;
  double shortest, longest;  // seconds
};

// Below -1 dBFS, so no sample reaches full scale.
const int kHighestSample = int(32767 * std::pow(10.0, -1.0 / 20));

TEST(GeneratedSounds, AreWholePcmWavesOfTheirLengthsBelowFullScale) {
  for (const Expected& e : {Expected{"駒打音.wav", 1, 0.08, 0.15}, Expected{"禁止.wav", 1, 0.24, 0.26},
                            Expected{"その他.wav", 1, 0.55, 0.65}, Expected{"BGM.wav", 2, 30, 90}}) {
    SCOPED_TRACE(e.name);
    const std::string image = file_bytes(e.name);
    ASSERT_GT(image.size(), 44u);
    EXPECT_EQ(image.substr(0, 4), "RIFF");
    EXPECT_EQ(le32(image, 4), image.size() - 8);
    EXPECT_EQ(image.substr(8, 8), "WAVEfmt ");
    PcmClip clip;
    std::string error;
    ASSERT_TRUE(parse_wave(image.data(), image.size(), clip, error)) << error;
    EXPECT_TRUE(clip.rate == 44100 || clip.rate == 22050);
    EXPECT_EQ(clip.channels, e.channels);
    const double seconds = double(clip.frames()) / clip.rate;
    EXPECT_GE(seconds, e.shortest);
    EXPECT_LE(seconds, e.longest);
    int peak = 0;
    for (std::int16_t s : clip.samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_LT(peak, kHighestSample);
    EXPECT_GT(peak, kHighestSample / 4) << "far too quiet";
    if (e.channels == 1) {  // an effect starts and ends in silence, or it clicks
      EXPECT_LT(std::abs(clip.samples.front()), 64);
      EXPECT_LT(std::abs(clip.samples.back()), 64);
    }
  }
}

TEST(GeneratedSounds, TheClickIsOverInThirtyMilliseconds) {
  PcmClip clip;
  std::string error, image = file_bytes("駒打音.wav");
  ASSERT_TRUE(parse_wave(image.data(), image.size(), clip, error));
  double early = 0, all = 0;
  for (std::size_t i = 0; i < clip.samples.size(); ++i) {
    const double e = double(clip.samples[i]) * clip.samples[i];
    all += e;
    if (i < std::size_t(clip.rate * 0.03)) early += e;
  }
  EXPECT_GT(early / all, 0.9);
}

TEST(GeneratedSounds, TheMusicLoopsWithoutAJumpAndHasNoDc) {
  PcmClip clip;
  std::string error, image = file_bytes("BGM.wav");
  ASSERT_TRUE(parse_wave(image.data(), image.size(), clip, error));
  const std::size_t n = clip.frames();
  ASSERT_GT(n, 4u);
  for (int c = 0; c < clip.channels; ++c) {
    auto at = [&](std::size_t f) { return double(clip.samples[f * clip.channels + c]); };
    // Played in a loop, last frame then first frame: the step and the change
    // of slope there are no larger than a quiet passage's.
    EXPECT_LT(std::abs(at(0) - at(n - 1)), 0.01 * 32768) << "channel " << c;
    EXPECT_LT(std::abs((at(1) - at(0)) - (at(n - 1) - at(n - 2))), 0.002 * 32768) << "channel " << c;
    double sum = 0;
    for (std::size_t f = 0; f < n; ++f) sum += at(f);
    EXPECT_LT(std::abs(sum / double(n)), 0.001 * 32768) << "channel " << c;
  }
}

}  // namespace
}  // namespace vv
