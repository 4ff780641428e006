// Text files of the game are Shift-JIS (Windows code page 932); the program
// itself holds its texts as UTF-8. The conversion goes through the C
// library's converter, so every character the code page holds is covered.
#pragma once

#include <string>
#include <string_view>

namespace vv::sjis {

// UTF-8 to code page 932. False, with `out` unspecified, when the text holds
// a character the code page has no code for, or is not valid UTF-8.
bool from_utf8(std::string_view utf8, std::string& out);

// Code page 932 to UTF-8. False when the bytes are not valid Shift-JIS (a
// lead byte without its trail byte, a byte no character begins with).
bool to_utf8(std::string_view cp932, std::string& out);

}  // namespace vv::sjis
