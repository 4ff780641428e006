#include "record/shift_jis.h"

#include <iconv.h>

#include <cerrno>

namespace vv::sjis {
namespace {

bool convert(const char* to, const char* from, std::string_view in, std::string& out) {
  out.clear();
  if (in.empty()) return true;
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  // No text grows by more than four times in either direction; the loop
  // still copes with a converter that needs more.
  std::string buffer(in.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  size_t done = 0;
  bool ok = true;
  while (src_left > 0) {
    char* dst = buffer.data() + done;
    size_t dst_left = buffer.size() - done;
    const size_t inexact = iconv(converter, &src, &src_left, &dst, &dst_left);
    done = buffer.size() - dst_left;
    if (inexact != static_cast<size_t>(-1)) {
      // A character converted only approximately has no exact code.
      if (inexact > 0) ok = false;
      break;
    }
    if (errno == E2BIG) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    ok = false;  // EILSEQ: an invalid or unconvertible character; EINVAL: cut short
    break;
  }
  iconv_close(converter);
  if (!ok) return false;
  buffer.resize(done);
  out = std::move(buffer);
  return true;
}

}  // namespace

bool from_utf8(std::string_view utf8, std::string& out) { return convert("CP932", "UTF-8", utf8, out); }

bool to_utf8(std::string_view cp932, std::string& out) { return convert("UTF-8", "CP932", cp932, out); }

}  // namespace vv::sjis
