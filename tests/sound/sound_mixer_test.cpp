#include "window/sound/sound_mixer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vv {
namespace {

std::shared_ptr<PcmClip> clip(int rate, int channels, std::vector<std::int16_t> samples) {
  auto c = std::make_shared<PcmClip>();
  c->rate = rate;
  c->channels = channels;
  c->samples = std::move(samples);
  return c;
}

std::shared_ptr<PcmClip> level(std::int16_t value, int frames) {
  return clip(44100, 1, std::vector<std::int16_t>(frames, value));
}

// Pulls `frames` frames in uneven pieces, as a device does.
std::vector<std::int16_t> pull(SoundMixer& m, std::size_t frames) {
  std::vector<std::int16_t> out(frames * m.channels());
  for (std::size_t at = 0, piece = 1; at < frames; at += piece, piece = piece * 3 % 701 + 1) {
    piece = std::min(piece, frames - at);
    m.render(out.data() + at * m.channels(), piece);
  }
  return out;
}

TEST(SoundMixer, SameRateMonoPlaysExactlyOnBothChannelsThenFallsSilent) {
  SoundMixer m(44100, 2);
  m.add(1, clip(44100, 1, {100, -200, 300}), true);
  m.play(1, false);
  EXPECT_EQ(pull(m, 5), (std::vector<std::int16_t>{100, 100, -200, -200, 300, 300, 0, 0, 0, 0}));
  EXPECT_FALSE(m.playing(1));
}

TEST(SoundMixer, SoundsAddUpAndHoldAtFullScale) {
  SoundMixer m(44100, 1);
  m.add(1, level(30000, 4), true);
  m.add(2, level(-1000, 2), true);
  m.add(3, level(20000, 1), true);
  for (long id : {1, 2, 3}) m.play(id, false);
  EXPECT_EQ(pull(m, 4), (std::vector<std::int16_t>{32767, 29000, 30000, 30000}));
}

TEST(SoundMixer, StereoOnAMonoDeviceIsTheAverage) {
  SoundMixer m(44100, 1);
  m.add(1, clip(44100, 2, {1000, 3000, -500, 500}), true);
  m.play(1, false);
  EXPECT_EQ(pull(m, 2), (std::vector<std::int16_t>{2000, 0}));
}

TEST(SoundMixer, HalfRateClipIsInterpolatedAndLoopsAcrossItsSeam) {
  SoundMixer m(44100, 1);
  m.add(1, clip(22050, 1, {0, 1000, 2000, 3000}), false);
  m.play(1, true);
  // Each clip frame becomes two; the step from the last frame back to the
  // first is interpolated like any other, so the loop has no seam.
  EXPECT_EQ(pull(m, 12), (std::vector<std::int16_t>{0, 500, 1000, 1500, 2000, 2500, 3000, 1500, 0, 500, 1000, 1500}));
  EXPECT_TRUE(m.playing(1));
}

TEST(SoundMixer, LongLoopRepeatsExactlyWhateverThePieceSizes) {
  SoundMixer m(44100, 1);
  std::vector<std::int16_t> wave(997);
  for (std::size_t i = 0; i < wave.size(); ++i) wave[i] = std::int16_t(8000 * std::sin(0.05 * double(i)));
  m.add(1, clip(44100, 1, wave), false);
  m.play(1, true);
  const auto out = pull(m, 3 * wave.size());
  for (std::size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], wave[i % wave.size()]) << i;
}

// Frames a cut-short sound takes to die away at 44100 Hz.
const int kFade = int(SoundMixer::kFadeSeconds * 44100);

TEST(SoundMixer, AnEffectPlayedAgainStartsAtOnceWhileTheOldOneFadesOut) {
  SoundMixer m(44100, 1);
  m.add(1, level(10000, 4000), true);
  m.play(1, false);
  pull(m, 100);
  m.play(1, false);
  const auto out = pull(m, 2 * kFade);
  // The new sound is there from the very first frame; the old one falls
  // away smoothly instead of stopping dead.
  EXPECT_GT(out[0], 19000);
  for (int i = 1; i < 2 * kFade; ++i) {
    EXPECT_LE(out[i], out[i - 1]) << i;
    EXPECT_LT(out[i - 1] - out[i], 10000 / kFade + 2) << i;
  }
  EXPECT_EQ(out.back(), 10000);
}

TEST(SoundMixer, StoppingFadesAndMusicPlayedTwiceGoesOn) {
  SoundMixer m(44100, 1);
  std::vector<std::int16_t> rising(5000);
  for (std::size_t i = 0; i < rising.size(); ++i) rising[i] = std::int16_t(i);
  m.add(1, clip(44100, 1, rising), false);
  m.play(1, true);
  pull(m, 1000);
  m.play(1, true);  // already playing: no jump back to the start
  EXPECT_EQ(pull(m, 1)[0], 1000);
  m.stop(1);
  EXPECT_FALSE(m.playing(1));
  const auto out = pull(m, 2 * kFade);
  EXPECT_GT(out[0], 900);
  EXPECT_EQ(out[kFade + 1], 0);
  m.play(1, false);  // stopped music starts again from its beginning
  EXPECT_EQ(pull(m, 1)[0], 0);
  m.remove(1);
  EXPECT_EQ(pull(m, 3), (std::vector<std::int16_t>{0, 0, 0}));
}

}  // namespace
}  // namespace vv
