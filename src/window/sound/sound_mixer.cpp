#include "window/sound/sound_mixer.h"

#include <algorithm>

namespace vv {

namespace {

constexpr int kFractionBits = 32;
constexpr std::uint64_t kOne = std::uint64_t(1) << kFractionBits;
constexpr float kSampleScale = 1.0f / 32768.0f;

}  // namespace

SoundMixer::SoundMixer(int rate, int channels) : rate_(rate), channels_(std::max(1, channels)) {
  scratch_.resize(kChunkFrames * channels_);
}

std::uint64_t SoundMixer::step_for(int clip_rate, int device_rate) {
  return (std::uint64_t(clip_rate) << kFractionBits) / std::uint64_t(std::max(1, device_rate));
}

void SoundMixer::set_format(int rate, int channels) {
  std::lock_guard lock(mutex_);
  rate_ = std::max(1, rate);
  channels_ = std::max(1, channels);
  scratch_.assign(kChunkFrames * channels_, 0.0f);
  for (Track& t : tracks_) t.step = step_for(t.clip->rate, rate_);
}

SoundMixer::Track* SoundMixer::find(long id) {
  for (Track& t : tracks_)
    if (t.id == id) return &t;
  return nullptr;
}

const SoundMixer::Track* SoundMixer::find(long id) const {
  for (const Track& t : tracks_)
    if (t.id == id) return &t;
  return nullptr;
}

void SoundMixer::add(long id, std::shared_ptr<const PcmClip> clip, bool effect) {
  if (!clip || clip->frames() == 0) return;
  std::lock_guard lock(mutex_);
  Track t;
  t.id = id;
  t.step = step_for(clip->rate, rate_);
  t.clip = std::move(clip);
  t.effect = effect;
  tracks_.push_back(std::move(t));
}

void SoundMixer::remove(long id) {
  std::lock_guard lock(mutex_);
  std::erase_if(tracks_, [id](const Track& t) { return t.id == id; });
}

void SoundMixer::start_fade(Voice& v) const {
  const float fade_frames = std::max(1.0f, float(kFadeSeconds * rate_));
  v.gain_step = -v.gain / fade_frames;
}

void SoundMixer::play(long id, bool looping) {
  std::lock_guard lock(mutex_);
  Track* t = find(id);
  if (t == nullptr) return;
  if (t->voice.active && !t->effect) {
    t->voice.looping = looping;
    return;
  }
  if (t->voice.active) {
    t->fading = t->voice;
    start_fade(t->fading);
  }
  t->voice = Voice{true, looping, 0, 1.0f, 0.0f};
}

void SoundMixer::stop(long id) {
  std::lock_guard lock(mutex_);
  Track* t = find(id);
  if (t == nullptr || !t->voice.active) return;
  t->fading = t->voice;
  start_fade(t->fading);
  t->voice.active = false;
}

bool SoundMixer::playing(long id) const {
  std::lock_guard lock(mutex_);
  const Track* t = find(id);
  return t != nullptr && t->voice.active;
}

void SoundMixer::mix_voice(const Track& t, Voice& v, float* out, std::size_t frames) const {
  const PcmClip& clip = *t.clip;
  const std::size_t clip_frames = clip.frames();
  const std::uint64_t end = std::uint64_t(clip_frames) << kFractionBits;
  const std::int16_t* s = clip.samples.data();
  const int in_channels = clip.channels;
  for (std::size_t f = 0; f < frames; ++f) {
    if (v.position >= end) {
      if (!v.looping) {
        v.active = false;
        return;
      }
      v.position -= end;
    }
    const std::size_t i = std::size_t(v.position >> kFractionBits);
    const float frac = float(v.position & (kOne - 1)) * (1.0f / float(kOne));
    // The frame after the last one is the first again in a loop, silence
    // otherwise, so a loop's seam is interpolated like any other step.
    std::size_t next = i + 1;
    const bool past_end = next == clip_frames;
    if (past_end) next = 0;
    const float next_gain = past_end && !v.looping ? 0.0f : 1.0f;
    float left, right;
    {
      const float a = s[i * in_channels], b = s[next * in_channels] * next_gain;
      left = a + (b - a) * frac;
    }
    if (in_channels == 2) {
      const float a = s[i * 2 + 1], b = s[next * 2 + 1] * next_gain;
      right = a + (b - a) * frac;
    } else {
      right = left;
    }
    const float g = v.gain * kSampleScale;
    float* o = out + f * channels_;
    if (channels_ == 1) {
      o[0] += 0.5f * (left + right) * g;
    } else {
      o[0] += left * g;
      o[1] += right * g;
    }
    v.position += t.step;
    if (v.gain_step != 0.0f) {
      v.gain += v.gain_step;
      if (v.gain <= 0.0f) {
        v.active = false;
        return;
      }
    }
  }
}

void SoundMixer::render(float* out, std::size_t frames) {
  std::lock_guard lock(mutex_);
  std::fill(out, out + frames * channels_, 0.0f);
  for (Track& t : tracks_) {
    if (t.fading.active) mix_voice(t, t.fading, out, frames);
    if (t.voice.active) mix_voice(t, t.voice, out, frames);
  }
  for (std::size_t i = 0; i < frames * channels_; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void SoundMixer::render(std::int16_t* out, std::size_t frames) {
  while (frames > 0) {
    const std::size_t n = std::min(frames, kChunkFrames);
    int channels;
    {
      std::lock_guard lock(mutex_);
      channels = channels_;
    }
    render(scratch_.data(), n);
    for (std::size_t i = 0; i < n * channels; ++i) {
      const float v = scratch_[i] * 32768.0f;
      out[i] = std::int16_t(std::clamp(v < 0 ? v - 0.5f : v + 0.5f, -32768.0f, 32767.0f));
    }
    out += n * channels;
    frames -= n;
  }
}

}  // namespace vv
