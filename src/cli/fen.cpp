#include "cli/fen.h"

#include <sstream>
#include <vector>

#include "rules/move.h"
#include "rules/move_check.h"
#include "rules/piece.h"

namespace vv::cli {
namespace {

// The letter of each hand slot's pair: its front face's.
constexpr char LETTER_OF_SLOT[5] = {'?', 'P', 'L', 'N', 'S'};
// The order of the pairs in a written hand: N, L, P, S.
constexpr int HAND_ORDER[4] = {3, 2, 1, 4};

bool is_back_face(int code) {
  switch (iabs(code)) {
    case TOKIN: case GOLD: case BISHOP: case ROOK: return true;
    default: return false;
  }
}

// The upper-case letter of a face (its front face's letter); 0 for no piece.
char letter_of(int code) {
  if (iabs(code) == KING) return 'K';
  const int slot = hand_slot(code);
  return slot == 0 ? 0 : LETTER_OF_SLOT[slot];
}

// The slot of an upper-case front letter, 0 for another character.
int slot_of_letter(char c) {
  for (int s = 1; s <= 4; ++s)
    if (LETTER_OF_SLOT[s] == c) return s;
  return 0;
}

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string square_text(int x, int y) {
  return std::string(1, static_cast<char>('a' + x - 1)) + static_cast<char>('0' + 10 - y);
}

// "a1" .. "i9" in t at `at`, as board x and y.
bool read_square(const std::string& t, std::size_t at, int& x, int& y) {
  if (at + 2 > t.size() || t[at] < 'a' || t[at] > 'i' || t[at + 1] < '1' || t[at + 1] > '9') return false;
  x = t[at] - 'a' + 1;
  y = 10 - (t[at + 1] - '0');
  return true;
}

// A decimal number low..high of at most six digits.
bool read_count(const std::string& t, int low, int high, int& out) {
  if (t.empty() || t.size() > 6) return false;
  int v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < low || v > high) return false;
  out = v;
  return true;
}

// The board part of a FEN: nine rows from the top (y = 1), '/' between them.
bool parse_board(const std::string& text, Position& p, std::string& error) {
  int y = 1, x = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '/') {
      if (x != 10) {
        error = "row " + std::to_string(y) + " does not cover nine squares";
        return false;
      }
      if (++y > 9) {
        error = "more than nine rows";
        return false;
      }
      x = 1;
      continue;
    }
    if (c >= '1' && c <= '9') {
      x += c - '0';
      if (x > 10) {
        error = "row " + std::to_string(y) + " covers more than nine squares";
        return false;
      }
      continue;
    }
    bool back = false;
    char letter = c;
    if (c == '+') {
      if (i + 1 >= text.size()) {
        error = "'+' at the end of the board";
        return false;
      }
      back = true;
      letter = text[++i];
    }
    const bool bottom = letter >= 'A' && letter <= 'Z';
    const char u = upper(letter);
    int code = 0;
    if (u == 'K' && !back) {
      code = KING;
    } else if (const int slot = slot_of_letter(u)) {
      code = hand_face(slot, back);
    }
    if (code == 0) {
      error = std::string("unknown piece '") + (back ? "+" : "") + letter + "'";
      return false;
    }
    if (x > 9) {
      error = "row " + std::to_string(y) + " covers more than nine squares";
      return false;
    }
    p.board[x][y] = bottom ? -code : code;
    ++x;
  }
  if (y != 9 || x != 10) {
    error = y != 9 ? "the board does not have nine rows" : "row 9 does not cover nine squares";
    return false;
  }
  return true;
}

// The hand part of a FEN (between the brackets, or "-"): a letter a piece,
// upper case the bottom side's.
bool parse_hand(const std::string& text, Position& p, std::string& error) {
  if (text == "-") return true;
  for (char c : text) {
    const int slot = slot_of_letter(upper(c));
    if (slot == 0) {
      error = std::string("unknown piece in hand '") + c + "'";
      return false;
    }
    int* hand = c >= 'A' && c <= 'Z' ? p.man_hand : p.com_hand;
    if (hand[slot] >= 99) {
      error = "more than 99 pieces of one pair in hand";
      return false;
    }
    ++hand[slot];
  }
  p.man_hand_count = p.man_hand[1] + p.man_hand[2] + p.man_hand[3] + p.man_hand[4];
  p.com_hand_count = p.com_hand[1] + p.com_hand[2] + p.com_hand[3] + p.com_hand[4];
  return true;
}

bool is_drop(const Candidate& c) { return is_hand_column(c.from_x); }

}  // namespace

std::string format_fen(const FenPosition& f) {
  std::string out;
  for (int y = 1; y <= 9; ++y) {
    int empty = 0;
    for (int x = 1; x <= 9; ++x) {
      const int code = f.pos.board[x][y];
      const char letter = letter_of(code);
      if (code == 0 || letter == 0) {
        ++empty;
        continue;
      }
      if (empty > 0) out += static_cast<char>('0' + empty);
      empty = 0;
      if (is_back_face(code)) out += '+';
      out += code < 0 ? letter : static_cast<char>(letter - 'A' + 'a');
    }
    if (empty > 0) out += static_cast<char>('0' + empty);
    if (y < 9) out += '/';
  }
  out += '[';
  for (int side = 0; side < 2; ++side) {
    const int* hand = side == 0 ? f.pos.man_hand : f.pos.com_hand;
    for (int slot : HAND_ORDER) {
      const char letter = LETTER_OF_SLOT[slot];
      out.append(hand[slot] > 0 ? hand[slot] : 0, side == 0 ? letter : static_cast<char>(letter - 'A' + 'a'));
    }
  }
  out += "] ";
  out += f.top_to_move ? 'b' : 'w';
  out += " - - 0 " + std::to_string(f.fullmove);
  return out;
}

bool parse_fen(const std::string& text, FenPosition& f, std::string& error) {
  std::istringstream in(text);
  std::vector<std::string> fields;
  for (std::string w; in >> w;) fields.push_back(w);
  if (fields.empty()) {
    error = "empty FEN";
    return false;
  }
  FenPosition r;
  std::string board = fields[0];
  std::size_t next = 1;
  const std::size_t open = board.find('[');
  std::string hand;
  if (open != std::string::npos) {
    if (board.back() != ']') {
      error = "the hand has no closing ']'";
      return false;
    }
    hand = board.substr(open + 1, board.size() - open - 2);
    board = board.substr(0, open);
  }
  if (!parse_board(board, r.pos, error) || !parse_hand(hand, r.pos, error)) return false;
  if (next >= fields.size() || (fields[next] != "w" && fields[next] != "b")) {
    error = "the side to move is not 'w' or 'b'";
    return false;
  }
  r.top_to_move = fields[next] == "b";
  ++next;
  // The protocol's castling and en passant fields mean nothing here: when
  // present they are '-'. Of the numbers after them the last is the move
  // number.
  while (next < fields.size() && fields[next] == "-") ++next;
  std::vector<int> numbers;
  for (; next < fields.size(); ++next) {
    int v = 0;
    if (!read_count(fields[next], 0, 100000, v) || numbers.size() == 2) {
      error = "unexpected field '" + fields[next] + "'";
      return false;
    }
    numbers.push_back(v);
  }
  if (!numbers.empty()) r.fullmove = numbers.back() < 1 ? 1 : numbers.back();
  f = r;
  return true;
}

int placed_code(const Candidate& c) { return is_drop(c) ? c.piece : face_after_move(c.piece); }

std::string format_move(const Candidate& c) {
  if (is_drop(c)) {
    return std::string(is_back_face(c.piece) ? "+" : "") + letter_of(c.piece) + '@' + square_text(c.to_x, c.to_y);
  }
  std::string s = square_text(c.from_x, c.from_y) + square_text(c.to_x, c.to_y);
  if (iabs(c.piece) != KING) s += is_back_face(placed_code(c)) ? '+' : '-';
  return s;
}

bool parse_move(const std::string& text, const FenPosition& f, Candidate& out, std::string& error) {
  const Position& p = f.pos;
  const int sign = f.top_to_move ? 1 : -1;
  Candidate c;
  const std::size_t at = text.find('@');
  if (at != std::string::npos) {
    const bool back = at == 2 && text[0] == '+';
    const int slot = at == 1 || back ? slot_of_letter(upper(text[at - 1])) : 0;
    if (slot == 0 || text.size() != at + 3 || !read_square(text, at + 1, c.to_x, c.to_y)) {
      error = "'" + text + "' is not a move";
      return false;
    }
    const int* hand = f.top_to_move ? p.com_hand : p.man_hand;
    if (hand[slot] <= 0) {
      error = "illegal move '" + text + "': no such piece in hand";
      return false;
    }
    if (p.board[c.to_x][c.to_y] != 0) {
      error = "illegal move '" + text + "': the square is not empty";
      return false;
    }
    c.piece = sign * hand_face(slot, back);
    if (f.top_to_move) {
      c.from_x = back ? COM_BACK_COLUMN : COM_FRONT_COLUMN;
      c.from_y = slot;
    } else {
      c.from_x = back ? MAN_BACK_COLUMN : MAN_FRONT_COLUMN;
      c.from_y = slot + 5;
    }
    out = c;
    return true;
  }
  if ((text.size() != 4 && text.size() != 5) || !read_square(text, 0, c.from_x, c.from_y) ||
      !read_square(text, 2, c.to_x, c.to_y) || (text.size() == 5 && text[4] != '+' && text[4] != '-')) {
    error = "'" + text + "' is not a move";
    return false;
  }
  c.piece = p.board[c.from_x][c.from_y];
  if (c.piece == 0 || (c.piece > 0) != f.top_to_move) {
    error = "illegal move '" + text + "': no piece of the side to move there";
    return false;
  }
  if (move_allowed(p.board, c.from_x, c.from_y, c.to_x, c.to_y, c.piece) != 1) {
    error = "illegal move '" + text + "'";
    return false;
  }
  // The face it lands on is written for every piece but the king.
  const bool king = iabs(c.piece) == KING;
  if (king != (text.size() == 4) ||
      (!king && (text[4] == '+') != is_back_face(face_after_move(c.piece)))) {
    error = "illegal move '" + text + "': " +
            (king ? "a king has one face" : "the piece lands on its " +
                                                std::string(is_back_face(face_after_move(c.piece)) ? "back (+)" : "front (-)") +
                                                " face");
    return false;
  }
  out = c;
  return true;
}

int play_move(FenPosition& f, const Candidate& c) {
  const int captured = apply_move(f.pos, c.from_x, c.from_y, c.to_x, c.to_y, placed_code(c));
  if (f.top_to_move) ++f.fullmove;
  f.top_to_move = !f.top_to_move;
  return captured;
}

std::string list_moves(const FenPosition& f) {
  const Position& p = f.pos;
  const int sign = f.top_to_move ? 1 : -1;
  std::string out;
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      const int code = p.board[x][y];
      if (code == 0 || (code > 0) != f.top_to_move) continue;
      for (int tx = 1; tx <= 9; ++tx)
        for (int ty = 1; ty <= 9; ++ty)
          if (move_allowed(p.board, x, y, tx, ty, code) == 1) {
            Candidate c;
            c.from_x = x, c.from_y = y, c.to_x = tx, c.to_y = ty, c.piece = code;
            out += format_move(c) + '\n';
          }
    }
  const int* hand = f.top_to_move ? p.com_hand : p.man_hand;
  for (int slot = 1; slot <= 4; ++slot) {
    if (hand[slot] <= 0) continue;
    for (int back = 0; back < 2; ++back)
      for (int tx = 1; tx <= 9; ++tx)
        for (int ty = 1; ty <= 9; ++ty) {
          if (p.board[tx][ty] != 0) continue;
          Candidate c;
          c.from_x = f.top_to_move ? (back ? COM_BACK_COLUMN : COM_FRONT_COLUMN)
                                   : (back ? MAN_BACK_COLUMN : MAN_FRONT_COLUMN);
          c.from_y = f.top_to_move ? slot : slot + 5;
          c.to_x = tx, c.to_y = ty;
          c.piece = sign * hand_face(slot, back);
          out += format_move(c) + '\n';
        }
  }
  return out;
}

void turn_over(const Position& from, Position& to) {
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) to.board[x][y] = -from.board[10 - x][10 - y];
  for (int slot = 0; slot < 5; ++slot) {
    to.com_hand[slot] = from.man_hand[slot];
    to.man_hand[slot] = from.com_hand[slot];
  }
  to.com_hand_count = from.man_hand_count;
  to.man_hand_count = from.com_hand_count;
}

Candidate turn_move(const Candidate& c) {
  Candidate r = c;
  r.piece = -c.piece;
  r.to_x = 10 - c.to_x;
  r.to_y = 10 - c.to_y;
  if (!is_drop(c)) {
    r.from_x = 10 - c.from_x;
    r.from_y = 10 - c.from_y;
  } else if (c.from_x == COM_FRONT_COLUMN || c.from_x == COM_BACK_COLUMN) {
    r.from_x = c.from_x == COM_FRONT_COLUMN ? MAN_FRONT_COLUMN : MAN_BACK_COLUMN;
    r.from_y = c.from_y + 5;
  } else {
    r.from_x = c.from_x == MAN_FRONT_COLUMN ? COM_FRONT_COLUMN : COM_BACK_COLUMN;
    r.from_y = c.from_y - 5;
  }
  return r;
}

}  // namespace vv::cli
