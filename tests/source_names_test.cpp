// The code names things in English: Japanese (or any other non-ASCII text)
// belongs in string literals, which hold what the player sees, and in
// comments. A non-ASCII identifier slipping back in fails here, named by
// file and line.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The places in C++ source where a byte outside ASCII stands outside every
// comment, string literal and character literal, as "line N".
std::vector<std::string> non_ascii_code(const std::string& code) {
  std::vector<std::string> found;
  int line = 1;
  const size_t n = code.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = code[i];
    if (c == '\n') {
      ++line;
    } else if (c == '/' && i + 1 < n && code[i + 1] == '/') {
      while (i + 1 < n && code[i + 1] != '\n') ++i;
    } else if (c == '/' && i + 1 < n && code[i + 1] == '*') {
      const size_t end = code.find("*/", i + 2);
      const size_t stop = end == std::string::npos ? n : end + 1;
      for (; i < stop; ++i) line += code[i] == '\n';
    } else if (c == 'R' && i + 1 < n && code[i + 1] == '"') {
      // A raw string: R"DELIMITER( ... )DELIMITER"
      const size_t open = code.find('(', i + 2);
      if (open == std::string::npos) break;
      std::string close = ")";
      close.append(code, i + 2, open - (i + 2));
      close += '"';
      const size_t end = code.find(close, open);
      const size_t stop = end == std::string::npos ? n : end + close.size() - 1;
      for (; i < stop; ++i) line += code[i] == '\n';
    } else if (c == '"' || (c == '\'' && !(i > 0 && std::isxdigit(static_cast<unsigned char>(code[i - 1]))))) {
      // A quote after a digit separates digits (1'000); any other opens a literal.
      for (++i; i < n && code[i] != c && code[i] != '\n'; ++i)
        if (code[i] == '\\') ++i;
    } else if (static_cast<unsigned char>(c) > 0x7f) {
      found.push_back("line " + std::to_string(line));
      while (i + 1 < n && static_cast<unsigned char>(code[i + 1]) > 0x7f) ++i;
    }
  }
  return found;
}

TEST(SourceNames, NoNonAsciiCharacterOutsideStringsAndComments) {
  EXPECT_TRUE(non_ascii_code("int a = 1; // 歩\nconst char* s = \"飛\"; /* 角\n金 */ char c = 'x';").empty());
  EXPECT_EQ(non_ascii_code("int a;\nconstexpr int 歩 = 10;"), std::vector<std::string>{"line 2"});
  EXPECT_EQ(non_ascii_code("auto s = R\"(\"歩)\"; int 飛;"), std::vector<std::string>{"line 1"});

  int files = 0;
  for (const char* folder : {"src", "tests", "bench", "fuzz", "tools"}) {
    const std::filesystem::path root = std::filesystem::path(VEVERODU_SOURCE_DIR) / folder;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string code((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      for (const std::string& place : non_ascii_code(code)) ADD_FAILURE() << entry.path().string() << ", " << place;
      ++files;
    }
  }
  EXPECT_GT(files, 100);
}

}  // namespace
