// The mixer behind the sound library: every loaded buffer is a track of the
// mixer, and the sound device pulls finished frames from it. Playing a sound
// only marks its track, so the caller never waits; the next frames the
// device pulls already carry it. No Qt here: tests drive it without a device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "window/sound/wave_file.h"

namespace vv {

class SoundMixer {
 public:
  // A sound cut short (stopped, or restarted while it still rings) fades out
  // over this long instead of stopping dead, which would be heard as a click.
  static constexpr double kFadeSeconds = 0.004;

  explicit SoundMixer(int rate = 44100, int channels = 2);

  // The device's format, set before the device starts pulling.
  void set_format(int rate, int channels);
  int rate() const { return rate_; }
  int channels() const { return channels_; }

  // An effect restarts from its beginning on every play, while the sound it
  // cuts short fades out; music that is already playing goes on undisturbed
  // (turning the music on twice must not jump back to the start).
  void add(long id, std::shared_ptr<const PcmClip> clip, bool effect);
  void remove(long id);  // cut at once: the buffer is going away
  void play(long id, bool looping);
  void stop(long id);
  bool playing(long id) const;

  // The next `frames` frames, interleaved in the device's channel count.
  // Samples are summed and held within full scale. Allocates nothing.
  void render(float* out, std::size_t frames);
  void render(std::int16_t* out, std::size_t frames);

 private:
  struct Voice {
    bool active = false;
    bool looping = false;
    std::uint64_t position = 0;  // in clip frames, 32.32 fixed point
    float gain = 1.0f;
    float gain_step = 0.0f;  // below zero while fading out
  };
  struct Track {
    long id = 0;
    std::shared_ptr<const PcmClip> clip;
    bool effect = true;
    std::uint64_t step = 0;  // clip frames per device frame, 32.32
    Voice voice;
    Voice fading;  // the sound just cut short, dying away
  };

  Track* find(long id);
  const Track* find(long id) const;
  void start_fade(Voice& v) const;
  void mix_voice(const Track& t, Voice& v, float* out, std::size_t frames) const;
  static std::uint64_t step_for(int clip_rate, int device_rate);

  mutable std::mutex mutex_;
  int rate_;
  int channels_;
  std::vector<Track> tracks_;
  static constexpr std::size_t kChunkFrames = 512;
  std::vector<float> scratch_;  // for the 16-bit render, sized once
};

}  // namespace vv
