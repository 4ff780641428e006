// What the sound device's thread spends per 20 ms of output with the music
// and an effect playing, and what a play call costs the window's thread.
#include <benchmark/benchmark.h>

#include "window/sound/sound_library.h"
#include "window/sound/sound_mixer.h"
#include "window/sound/wave_synth.h"

namespace {

using namespace vv;

constexpr std::size_t kBlockFrames = 882;  // 20 ms at 44100 Hz

void BM_MixOneBlockOfMusicAndClick(benchmark::State& state) {
  SoundMixer mixer(int(state.range(0)), 2);
  mixer.add(1, std::make_shared<PcmClip>(synth::music_loop()), false);
  mixer.add(2, std::make_shared<PcmClip>(synth::piece_click()), true);
  mixer.play(1, true);
  std::vector<std::int16_t> out(kBlockFrames * 2);
  for (auto _ : state) {
    mixer.play(2, false);
    mixer.render(out.data(), kBlockFrames);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_MixOneBlockOfMusicAndClick)->Arg(44100)->Arg(48000)->Unit(benchmark::kMicrosecond);

struct Quiet : SoundOutput {
  bool start(SoundMixer&) override { return true; }
  void stop() override {}
};

void BM_PlayCall(benchmark::State& state) {
  const long library = open_sound_library(std::make_unique<Quiet>());
  const std::string image = wave_image(synth::piece_click());
  const long click = create_sound_buffer(library, image.data(), image.size(), SOUND_EFFECT);
  for (auto _ : state) play_buffer(click);
  close_sound_library(library);
}
BENCHMARK(BM_PlayCall);

}  // namespace

BENCHMARK_MAIN();
