// Wave files as the sound library takes them: RIFF/WAVE with 16-bit PCM
// samples, mono or stereo, read from a whole file image in memory and written
// back the same way by the sound generator. No Qt here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vv {

// Decoded samples, interleaved left/right when stereo.
struct PcmClip {
  int rate = 0;
  int channels = 0;
  std::vector<std::int16_t> samples;

  std::size_t frames() const { return channels > 0 ? samples.size() / channels : 0; }
};

// Reads a whole wave file image of `size` bytes. False with a reason (in the
// program's language, for a message box) when the image is not a complete
// 16-bit PCM wave of one or two channels; `clip` is then left untouched.
bool parse_wave(const void* image, std::size_t size, PcmClip& clip, std::string& error);

// The file image of a clip: a 44-byte header and the samples, little-endian.
std::string wave_image(const PcmClip& clip);

}  // namespace vv
