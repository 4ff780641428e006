#include "window/sound/wave_file.h"

#include <cstring>

namespace vv {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr int kLowestRate = 4000;
constexpr int kHighestRate = 192000;

std::uint32_t le32(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t le16(const unsigned char* p) { return std::uint16_t(p[0] | p[1] << 8); }

void put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}
void put16(std::string& out, std::uint16_t v) {
  out.push_back(char(v & 0xFF));
  out.push_back(char(v >> 8));
}

}  // namespace

bool parse_wave(const void* image, std::size_t size, PcmClip& clip, std::string& error) {
  const auto* bytes = static_cast<const unsigned char*>(image);
  if (bytes == nullptr || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
    error = "WAVEファイルではありません。";
    return false;
  }
  // The RIFF size says where the wave ends; an image shorter than that was
  // cut off, and bytes after it (some editors append tags) are ignored.
  const std::uint64_t riff_end = std::uint64_t(le32(bytes + 4)) + 8;
  if (riff_end > size) {
    error = "WAVEファイルが途中で切れています。";
    return false;
  }
  const std::size_t end = std::size_t(riff_end);

  bool have_format = false;
  std::uint16_t channels = 0, bits = 0, block_align = 0;
  std::uint32_t rate = 0;
  for (std::size_t at = 12; at + 8 <= end;) {
    const unsigned char* chunk = bytes + at;
    const std::uint32_t length = le32(chunk + 4);
    const std::size_t body = at + 8;
    if (length > end - body) {
      error = "WAVEファイルが途中で切れています。";
      return false;
    }
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (length < 16) {
        error = "WAVEファイルの形式情報が壊れています。";
        return false;
      }
      const unsigned char* f = bytes + body;
      std::uint16_t tag = le16(f);
      // The extensible header names the real format in its sub-format GUID,
      // whose first two bytes are the plain format tag.
      if (tag == kFormatExtensible && length >= 40) tag = le16(f + 24);
      if (tag != kFormatPcm) {
        error = "PCM形式のWAVEファイルではありません。";
        return false;
      }
      channels = le16(f + 2);
      rate = le32(f + 4);
      block_align = le16(f + 12);
      bits = le16(f + 14);
      if (bits != 16 || (channels != 1 && channels != 2) || block_align != channels * 2 || rate < kLowestRate ||
          rate > kHighestRate) {
        error = "16ビットのモノラルかステレオのPCMではありません。";
        return false;
      }
      have_format = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!have_format) {
        error = "WAVEファイルの形式情報がありません。";
        return false;
      }
      const std::size_t frames = length / block_align;
      if (frames == 0) {
        error = "WAVEファイルに音がありません。";
        return false;
      }
      clip.rate = int(rate);
      clip.channels = channels;
      clip.samples.resize(frames * channels);
      const unsigned char* s = bytes + body;
      for (std::size_t i = 0; i < clip.samples.size(); ++i) clip.samples[i] = std::int16_t(le16(s + 2 * i));
      return true;
    }
    at = body + length + (length & 1);  // chunks are padded to an even length
  }
  error = have_format ? "WAVEファイルに音のデータがありません。" : "WAVEファイルの形式情報がありません。";
  return false;
}

std::string wave_image(const PcmClip& clip) {
  const std::uint32_t data_bytes = std::uint32_t(clip.samples.size() * 2);
  const auto channels = std::uint16_t(clip.channels);
  std::string out;
  out.reserve(44 + data_bytes);
  out += "RIFF";
  put32(out, 36 + data_bytes);
  out += "WAVE";
  out += "fmt ";
  put32(out, 16);
  put16(out, kFormatPcm);
  put16(out, channels);
  put32(out, std::uint32_t(clip.rate));
  put32(out, std::uint32_t(clip.rate) * channels * 2);
  put16(out, std::uint16_t(channels * 2));
  put16(out, 16);
  out += "data";
  put32(out, data_bytes);
  for (std::int16_t s : clip.samples) put16(out, std::uint16_t(s));
  return out;
}

}  // namespace vv
