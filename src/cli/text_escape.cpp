#include "cli/text_escape.h"

#include <cstdio>

namespace vv::cli {
namespace {

// Length of the well-formed UTF-8 sequence starting at text[i], 0 if none.
std::size_t utf8_length(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  std::size_t n;
  unsigned min;
  if (c < 0x80) return 1;
  if ((c & 0xE0) == 0xC0) n = 2, min = 0x80;
  else if ((c & 0xF0) == 0xE0) n = 3, min = 0x800;
  else if ((c & 0xF8) == 0xF0) n = 4, min = 0x10000;
  else return 0;
  if (i + n > text.size()) return 0;
  unsigned code = c & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

std::string escape_line(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t n = utf8_length(text, i);
    if (n == 0 || c < 0x20 || c == 0x7F || c == '\\') {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
      out += buffer;
      ++i;
    } else {
      out.append(text, i, n);
      i += n;
    }
  }
  return out;
}

}  // namespace vv::cli
