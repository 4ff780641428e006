#include "window/sound/wave_file.h"

#include <gtest/gtest.h>

namespace vv {
namespace {

PcmClip ramp(int channels, int frames) {
  PcmClip c;
  c.rate = 22050;
  c.channels = channels;
  for (int i = 0; i < frames * channels; ++i) c.samples.push_back(std::int16_t(i * 37 - 3000));
  return c;
}

void put16(std::string& s, std::size_t at, std::uint16_t v) {
  s[at] = char(v & 0xFF);
  s[at + 1] = char(v >> 8);
}

bool parses(const std::string& image, PcmClip* out = nullptr) {
  PcmClip clip;
  std::string error;
  const bool ok = parse_wave(image.data(), image.size(), clip, error);
  EXPECT_EQ(ok, error.empty()) << error;
  if (out != nullptr) *out = clip;
  return ok;
}

TEST(WaveFile, WrittenImagesReadBackSampleForSample) {
  for (int channels : {1, 2}) {
    PcmClip back;
    ASSERT_TRUE(parses(wave_image(ramp(channels, 101)), &back));
    EXPECT_EQ(back.rate, 22050);
    EXPECT_EQ(back.channels, channels);
    EXPECT_EQ(back.samples, ramp(channels, 101).samples);
  }
}

TEST(WaveFile, ImageCutShortAnywhereIsRefused) {
  const std::string whole = wave_image(ramp(2, 20));
  for (std::size_t size = 0; size < whole.size(); ++size)
    EXPECT_FALSE(parses(whole.substr(0, size))) << "cut at " << size;
  // A data chunk longer than the wave that holds it, though the bytes follow.
  std::string overlong = whole + std::string(64, '\0');
  put16(overlong, 40, std::uint16_t(whole.size() - 44 + 2));
  EXPECT_FALSE(parses(overlong));
}

TEST(WaveFile, OnlySixteenBitPcmOfOneOrTwoChannels) {
  const std::string good = wave_image(ramp(1, 8));
  std::string floating = good;
  put16(floating, 20, 3);  // IEEE float
  std::string eight_bit = good;
  put16(eight_bit, 34, 8);
  std::string three = good;
  put16(three, 22, 3);
  put16(three, 32, 6);
  std::string not_wave = good;
  not_wave[8] = 'X';
  for (const std::string& bad : {floating, eight_bit, three, not_wave}) EXPECT_FALSE(parses(bad));
  PcmClip clip;
  std::string error;
  EXPECT_FALSE(parse_wave(nullptr, 100, clip, error));
}

TEST(WaveFile, OtherChunksAndTrailingBytesAreSkipped) {
  std::string image = wave_image(ramp(1, 8));
  // An odd-length LIST chunk before the data (padded to even), then bytes
  // after the RIFF end that are no part of the wave.
  const std::string list = std::string("LIST") + char(3) + std::string(3, '\0') + "abc" + '\0';
  image.insert(36, list);
  put16(image, 4, std::uint16_t(image.size() - 8));
  image += "trailing tag";
  PcmClip back;
  ASSERT_TRUE(parses(image, &back));
  EXPECT_EQ(back.samples, ramp(1, 8).samples);
}

}  // namespace
}  // namespace vv
