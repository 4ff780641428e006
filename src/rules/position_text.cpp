#include "rules/position_text.h"

#include <cctype>

#include "rules/piece.h"

namespace vv {
namespace {

constexpr char LETTERS[] = "PTLNSGBRK";
constexpr int KINDS[] = {PAWN, TOKIN, LANCE, KNIGHT, SILVER, GOLD, BISHOP, ROOK, KING};

int code_of_letter(char c) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (int i = 0; i < 9; ++i)
    if (LETTERS[i] == upper) return std::isupper(static_cast<unsigned char>(c)) ? -KINDS[i] : KINDS[i];
  return 0;
}

char letter_of_code(int code) {
  for (int i = 0; i < 9; ++i) {
    if (KINDS[i] == code) return static_cast<char>(std::tolower(LETTERS[i]));
    if (-KINDS[i] == code) return LETTERS[i];
  }
  return '?';
}

bool parse_board(const std::string& text, int (&board)[10][10], std::string& error) {
  int y = 1;
  int x = 1;
  for (char c : text) {
    if (c == '/') {
      if (x != 10) {
        error = "row " + std::to_string(y) + " does not cover nine squares";
        return false;
      }
      if (++y > 9) {
        error = "the board has more than nine rows";
        return false;
      }
      x = 1;
    } else if (c >= '1' && c <= '9') {
      x += c - '0';
      if (x > 10) {
        error = "row " + std::to_string(y) + " covers more than nine squares";
        return false;
      }
    } else {
      const int code = code_of_letter(c);
      if (code == 0) {
        error = std::string("unknown piece letter '") + c + "'";
        return false;
      }
      if (x > 9) {
        error = "row " + std::to_string(y) + " covers more than nine squares";
        return false;
      }
      board[x++][y] = code;
    }
  }
  if (y != 9 || x != 10) {
    error = y != 9 ? "the board has fewer than nine rows" : "row 9 does not cover nine squares";
    return false;
  }
  return true;
}

bool parse_hand(const std::string& text, int (&hand)[5], int& total, const char* name, std::string& error) {
  int slot = 1;
  int value = 0;
  int digits = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ',';
    if (c == ',') {
      if (digits == 0 || slot > 4) {
        error = std::string(name) + " hand must be four counts s1,s2,s3,s4";
        return false;
      }
      hand[slot++] = value;
      value = 0;
      digits = 0;
    } else if (c >= '0' && c <= '9') {
      if (++digits > 2) {
        error = std::string(name) + " hand count out of range 0..99";
        return false;
      }
      value = value * 10 + (c - '0');
    } else {
      error = std::string(name) + " hand must be four counts s1,s2,s3,s4";
      return false;
    }
  }
  if (slot != 5) {
    error = std::string(name) + " hand must be four counts s1,s2,s3,s4";
    return false;
  }
  total = hand[1] + hand[2] + hand[3] + hand[4];
  return true;
}

}  // namespace

bool parse_position(const std::string& text, Position& p, std::string& error) {
  const std::size_t first = text.find(' ');
  const std::size_t second = first == std::string::npos ? first : text.find(' ', first + 1);
  if (first == std::string::npos || second == std::string::npos || text.find(' ', second + 1) != std::string::npos) {
    error = "a position is three fields separated by single blanks: BOARD COMHAND MANHAND";
    return false;
  }
  Position parsed = p;
  parsed.clear_board();
  if (!parse_board(text.substr(0, first), parsed.board, error)) return false;
  if (!parse_hand(text.substr(first + 1, second - first - 1), parsed.com_hand, parsed.com_hand_count, "COM", error))
    return false;
  if (!parse_hand(text.substr(second + 1), parsed.man_hand, parsed.man_hand_count, "MAN", error)) return false;
  p = parsed;
  return true;
}

std::string format_position(const Position& p) {
  std::string out;
  for (int y = 1; y <= 9; ++y) {
    if (y > 1) out += '/';
    int empties = 0;
    for (int x = 1; x <= 9; ++x) {
      const int code = p.board[x][y];
      if (code == EMPTY) {
        ++empties;
        continue;
      }
      if (empties > 0) out += static_cast<char>('0' + empties);
      empties = 0;
      out += letter_of_code(code);
    }
    if (empties > 0) out += static_cast<char>('0' + empties);
  }
  for (const auto* hand : {p.com_hand, p.man_hand}) {
    out += ' ';
    for (int s = 1; s <= 4; ++s) {
      if (s > 1) out += ',';
      out += std::to_string(hand[s]);
    }
  }
  return out;
}

}  // namespace vv
