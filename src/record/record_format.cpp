#include "record/record_format.h"

#include <array>
#include <string>

#include "record/shift_jis.h"
#include "rules/move.h"
#include "rules/piece.h"
#include "rules/position.h"
#include "rules/start_position.h"

namespace vv::record_format {
namespace {

constexpr const char* LINE_END = "\r\n";
constexpr int HEADER_LINES = 3;

// The eleven columns of a move line, left to right.
struct Column {
  int first, width;  // first character 0-based
  const char* name;  // its characters counted from 1, as error messages name them
};
constexpr std::array<Column, 11> COLUMNS = {{
    {0, 2, "1-2"},
    {2, 1, "3"},
    {3, 1, "4"},
    {4, 1, "5"},
    {5, 4, "6-9"},
    {9, 4, "10-13"},
    {13, 4, "14-17"},
    {17, 5, "18-22"},
    {22, 5, "23-27"},
    {27, 5, "28-32"},
    {32, 5, "33-37"},
}};

long whole_seconds(double t) {
  // A time is never negative and never NaN; should one be, write 0 so the
  // line keeps its columns.
  if (!(t >= 0)) return 0;
  if (t >= static_cast<double>(LONGEST_TIME)) return LONGEST_TIME;
  return static_cast<long>(t);
}

void pad_left(std::string& out, long value, int width) {
  const std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), ' ');
  out += digits;
}

// A column is the number it holds: blanks on the left, an optional minus,
// then digits to its end. Anything else is not a number.
bool column_value(std::string_view s, long& value) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  const bool negative = i < s.size() && s[i] == '-';
  if (negative) ++i;
  if (i == s.size()) return false;
  long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  value = negative ? -v : v;
  return true;
}

std::string place_text(int x, int y) {
  std::string text = "(";
  text += std::to_string(x);
  text += ", ";
  text += std::to_string(y);
  text += ")";
  return text;
}

// The source of a move: a board square, or a hand place. A person's drop
// from the MAN hand gives the grid row 6..9; a drop from the COM hand gives
// the slot 1..4 when the computer plays it and the grid row 1..4 when a
// person does, so 1..4 either way.
bool valid_source(int x, int y) {
  if (is_board_column(x)) return y >= 1 && y <= 9;
  if (x == MAN_FRONT_COLUMN || x == MAN_BACK_COLUMN) return y >= 6 && y <= 9;
  if (x == COM_FRONT_COLUMN || x == COM_BACK_COLUMN) return y >= 1 && y <= 4;
  return false;
}

bool check_ranges(const MoveLine& m, std::string& why) {
  if (!valid_source(m.from_x, m.from_y)) {
    why = "移動元 " + place_text(m.from_x, m.from_y) + " は盤にも駒台にもありません";
    return false;
  }
  if (!is_board_column(m.to_x) || m.to_y < 1 || m.to_y > 9) {
    why = "移動先 " + place_text(m.to_x, m.to_y) + " は盤の外です";
    return false;
  }
  if (!is_piece_code(m.piece)) {
    why = "駒 " + std::to_string(m.piece) + " はありません";
    return false;
  }
  if (!is_piece_code(m.placed)) {
    why = "置いた駒 " + std::to_string(m.placed) + " はありません";
    return false;
  }
  // Only the other side's piece can be taken.
  const bool capture_ok = m.captured == EMPTY || (is_piece_code(m.captured) && (m.captured > 0) != (m.piece > 0));
  if (!capture_ok) {
    why = "取った駒 " + std::to_string(m.captured) + " は相手の駒ではありません";
    return false;
  }
  if (m.man_before < 0 || m.man_after < 0 || m.com_before < 0 || m.com_after < 0) {
    why = "時間が負です";
    return false;
  }
  return true;
}

// Plays one move on the scratch position, as the record steps replay it:
// the board move turns the piece over, the drop takes the pair out of the
// hand of its face's slot, a capture sends the pair to the capturer's hand.
bool replay(Position& p, const MoveLine& m, std::string& why) {
  const int target = p.board[m.to_x][m.to_y];
  int slot = 0;  // stays 0 for a board move
  if (is_board_column(m.from_x)) {
    const int source = p.board[m.from_x][m.from_y];
    if (source != m.piece) {
      why = "移動元 " + place_text(m.from_x, m.from_y) + " に駒 " + std::to_string(m.piece) + " がありません";
      return false;
    }
    if (m.placed != face_after_move(m.piece)) {
      why = "置いた駒 " + std::to_string(m.placed) + " は駒 " + std::to_string(m.piece) + " の裏の面ではありません";
      return false;
    }
  } else {
    if (m.placed != m.piece) {
      why = "打った駒 " + std::to_string(m.placed) + " が駒 " + std::to_string(m.piece) + " と違います";
      return false;
    }
    const bool man_hand = m.from_x == MAN_FRONT_COLUMN || m.from_x == MAN_BACK_COLUMN;
    const bool back = m.from_x == MAN_BACK_COLUMN || m.from_x == COM_BACK_COLUMN;
    slot = hand_slot(m.piece);
    const int face = (man_hand ? -1 : 1) * hand_face(slot, back);
    const bool slot_matches = man_hand ? m.from_y - 5 == slot : (m.from_y == slot || m.from_y == 5 - slot);
    if (slot == 0 || face != m.piece || !slot_matches) {
      why = "駒台の " + place_text(m.from_x, m.from_y) + " に駒 " + std::to_string(m.piece) + " は置かれません";
      return false;
    }
    if ((man_hand ? p.man_hand[slot] : p.com_hand[slot]) <= 0) {
      why = "持ち駒に駒 " + std::to_string(m.piece) + " がありません";
      return false;
    }
    if (target != EMPTY) {
      why = "駒のある桝 " + place_text(m.to_x, m.to_y) + " には打てません";
      return false;
    }
  }
  if (target != m.captured) {
    why = "取った駒 " + std::to_string(m.captured) + " が盤の " + place_text(m.to_x, m.to_y) + " の駒 " +
          std::to_string(target) + " と違います";
    return false;
  }

  if (slot == 0) {
    p.board[m.from_x][m.from_y] = EMPTY;
  } else if (m.from_x == MAN_FRONT_COLUMN || m.from_x == MAN_BACK_COLUMN) {
    p.man_hand[slot] -= 1;
    p.man_hand_count -= 1;
  } else {
    p.com_hand[slot] -= 1;
    p.com_hand_count -= 1;
  }
  if (m.captured != EMPTY) capture_to_hand(p, m.captured);  // a king goes to no hand
  p.board[m.to_x][m.to_y] = m.placed;
  return true;
}

// The file's lines: LF ends a line, a CR before it belongs to the line end;
// a last line without a line end still counts. Shift-JIS trail bytes never
// take the values of CR or LF, so the bytes can be split before decoding.
std::vector<std::string_view> split_lines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = next;
  }
  return lines;
}

}  // namespace

MoveLine line_of(const MoveRecord& r, int n) {
  MoveLine m;
  m.from_x = r.from_x[n];
  m.from_y = r.from_y[n];
  m.to_x = r.to_x[n];
  m.to_y = r.to_y[n];
  m.placed = r.placed[n];
  m.piece = r.piece[n];
  m.captured = r.captured[n];
  m.man_before = whole_seconds(r.man_time_before[n]);
  m.man_after = whole_seconds(r.man_time_after[n]);
  m.com_before = whole_seconds(r.com_time_before[n]);
  m.com_after = whole_seconds(r.com_time_after[n]);
  return m;
}

std::vector<MoveLine> lines_of(const MoveRecord& r) {
  std::vector<MoveLine> lines;
  for (int n = 1; n <= r.move_number && n <= RECORD_CAPACITY; ++n) lines.push_back(line_of(r, n));
  return lines;
}

std::string format_move_line(const MoveLine& m) {
  const long values[11] = {m.from_x,     m.from_y,    m.to_x,       m.to_y,      m.placed,   m.piece,
                           m.captured,   m.man_before, m.man_after, m.com_before, m.com_after};
  std::string out;
  out.reserve(MOVE_LINE_WIDTH);
  for (size_t i = 0; i < COLUMNS.size(); ++i) pad_left(out, values[i], COLUMNS[i].width);
  return out;
}

bool format_record_file(const RecordFile& file, std::string& bytes, int& bad_header) {
  const std::string* headers[HEADER_LINES] = {&file.game, &file.top, &file.bottom};
  std::string out;
  for (int i = 0; i < HEADER_LINES; ++i) {
    std::string encoded;
    if (headers[i]->find_first_of("\r\n") != std::string::npos || !sjis::from_utf8(*headers[i], encoded)) {
      bad_header = i + 1;
      return false;
    }
    out += encoded;
    out += LINE_END;
  }
  for (const MoveLine& m : file.moves) {
    out += format_move_line(m);  // digits, blanks and minus signs: the same in Shift-JIS
    out += LINE_END;
  }
  bytes = std::move(out);
  bad_header = 0;
  return true;
}

bool parse_move_line(std::string_view line, MoveLine& out, std::string& why) {
  if (line.size() != static_cast<size_t>(MOVE_LINE_WIDTH)) {
    why = "手の行が " + std::to_string(MOVE_LINE_WIDTH) + " 桁ではありません";
    return false;
  }
  long values[11];
  for (size_t i = 0; i < COLUMNS.size(); ++i) {
    if (!column_value(line.substr(COLUMNS[i].first, COLUMNS[i].width), values[i])) {
      why = std::string(COLUMNS[i].name) + " 桁目が数ではありません";
      return false;
    }
  }
  MoveLine m;
  m.from_x = static_cast<int>(values[0]);
  m.from_y = static_cast<int>(values[1]);
  m.to_x = static_cast<int>(values[2]);
  m.to_y = static_cast<int>(values[3]);
  m.placed = static_cast<int>(values[4]);
  m.piece = static_cast<int>(values[5]);
  m.captured = static_cast<int>(values[6]);
  m.man_before = values[7];
  m.man_after = values[8];
  m.com_before = values[9];
  m.com_after = values[10];
  if (!check_ranges(m, why)) return false;
  out = m;
  return true;
}

bool read_record_file(std::string_view bytes, RecordFile& out, ReadError& error) {
  const std::vector<std::string_view> lines = split_lines(bytes);
  RecordFile file;
  std::string* headers[HEADER_LINES] = {&file.game, &file.top, &file.bottom};
  Position p;
  place_start_position(p);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int line_number = static_cast<int>(i) + 1;
    std::string text;
    if (!sjis::to_utf8(lines[i], text)) {
      error = {line_number, "Shift-JIS として読めない文字があります"};
      return false;
    }
    if (i < HEADER_LINES) {
      *headers[i] = std::move(text);
      continue;
    }
    if (file.moves.size() >= static_cast<size_t>(RECORD_CAPACITY)) {
      error = {line_number, "棋譜は " + std::to_string(RECORD_CAPACITY) + " 手までです"};
      return false;
    }
    MoveLine m;
    std::string why;
    if (!parse_move_line(text, m, why) || !replay(p, m, why)) {
      error = {line_number, why};
      return false;
    }
    file.moves.push_back(m);
  }
  out = std::move(file);
  return true;
}

double header_x_twips(const std::string& utf8_text) {
  long characters = 0;
  for (unsigned char c : utf8_text)
    if ((c & 0xC0) != 0x80) ++characters;  // continuation bytes belong to the character before
  return 2200 + 4.5 * 600 - 0.05 * 600 * static_cast<double>(characters);
}

}  // namespace vv::record_format
