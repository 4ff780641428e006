// Record files: three header lines (the game name, the top side's player,
// the bottom side's player) and one 37-column line of numbers per move, in
// Shift-JIS with CR LF after every line. Pure functions: formatting,
// reading, and the replay check that a file really describes a game.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/record.h"

namespace vv::record_format {

constexpr int MOVE_LINE_WIDTH = 37;
// A time column holds five digits; a longer game is written as this many seconds.
constexpr long LONGEST_TIME = 99999;
constexpr const char* EXTENSION = ".棋譜";

// One move line, field by field in record terms; times in whole seconds.
struct MoveLine {
  int from_x = 0, from_y = 0, to_x = 0, to_y = 0;
  int placed = 0, piece = 0, captured = 0;
  long man_before = 0, man_after = 0, com_before = 0, com_after = 0;

  bool operator==(const MoveLine&) const = default;
};

// Entry n of the record as a line holds it: the fractions of the times
// dropped, times beyond the columns capped.
MoveLine line_of(const MoveRecord& r, int n);
// Entry n of the move record as its 37 characters.
std::string format_move_line(const MoveLine& m);
inline std::string format_move_line(const MoveRecord& r, int n) { return format_move_line(line_of(r, n)); }

// The texts of a record file, as UTF-8.
struct RecordFile {
  std::string game;    // line 1
  std::string top;     // line 2: the top side's player
  std::string bottom;  // line 3: the bottom side's player
  std::vector<MoveLine> moves;
};

// Moves 1..move_number of the record.
std::vector<MoveLine> lines_of(const MoveRecord& r);

// The whole file as bytes. False, giving no bytes, when a header text cannot
// be written as Shift-JIS or holds a line break (it would split the header
// and shift every move line); `bad_header` then names its line (1..3).
bool format_record_file(const RecordFile& file, std::string& bytes, int& bad_header);

// Why a file cannot be loaded: the line (1-based) and a reason to show.
struct ReadError {
  int line = 0;
  std::string why;
};

// Reads a whole file: header lines as they are (missing ones empty), every
// move line strictly (fully numeric columns, values in range), each move
// replayed from the starting position. Accepts CR LF and LF line ends and a
// last line without one. False with the first fault found.
bool read_record_file(std::string_view bytes, RecordFile& out, ReadError& error);

// One move line's columns, without the replay. False with a reason.
bool parse_move_line(std::string_view line, MoveLine& out, std::string& why);

// Where a header line is printed: centred over the board, 4900 twips less 30
// for every character.
double header_x_twips(const std::string& utf8_text);

}  // namespace vv::record_format
