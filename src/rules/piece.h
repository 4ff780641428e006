// Piece codes, face pairs and hand slots.
//
// A piece code is signed: positive codes are the computer's (COM, top side,
// moving toward row 9), negative codes the person's (MAN, bottom side, moving
// toward row 1). The magnitude is both the kind and its material value.
//
// Every piece has two faces and turns over after each board move (see
// face_after_move): pawn and rook, lance and tokin, knight and gold, silver
// and bishop share a piece; the king has one face. A captured piece goes to
// the capturer's hand by its pair, one hand slot a pair.
#pragma once

namespace vv {

constexpr int EMPTY = 0;

constexpr int PAWN = 10;
constexpr int TOKIN = 11;
constexpr int LANCE = 20;
constexpr int KNIGHT = 30;
constexpr int SILVER = 100;
constexpr int GOLD = 110;
constexpr int BISHOP = 800;
constexpr int ROOK = 900;
constexpr int KING = 950;

// Sentinels of the piece-valued influence maps: no piece recorded there.
constexpr int NO_PIECE = 999;
constexpr int NO_MAN_CAPTURER = -999;

inline bool is_com_piece(int code) { return code >= 10; }
inline bool is_man_piece(int code) { return code <= -10; }

inline int iabs(int v) { return v < 0 ? -v : v; }

// True when the square value `other` is a piece of the side of piece `code`:
// a square no piece may move or be dropped to.
inline bool same_side(int code, int other) { return code >= 10 ? other >= 10 : other <= -10; }

// The nine faces numbered 0..8 whatever the side: pawn 歩, tokin と, lance 香,
// knight 桂, silver 銀, gold 金, bishop 角, rook 飛, king 王; -1 for a code
// that is no face.
inline int face_number(int code) {
  switch (iabs(code)) {
    case PAWN: return 0;
    case TOKIN: return 1;
    case LANCE: return 2;
    case KNIGHT: return 3;
    case SILVER: return 4;
    case GOLD: return 5;
    case BISHOP: return 6;
    case ROOK: return 7;
    case KING: return 8;
    default: return -1;
  }
}

// True for the eighteen codes a square may hold.
inline bool is_piece_code(int code) {
  switch (iabs(code)) {
    case PAWN: case TOKIN: case LANCE: case KNIGHT: case SILVER: case GOLD: case BISHOP: case ROOK: case KING:
      return true;
    default:
      return false;
  }
}

// Hand slot of a piece's pair: 1 pawn/rook (歩/飛), 2 lance/tokin (香/と),
// 3 knight/gold (桂/金), 4 silver/bishop (銀/角); 0 for the king or no piece.
inline int hand_slot(int code) {
  switch (iabs(code)) {
    case PAWN: case ROOK: return 1;
    case LANCE: case TOKIN: return 2;
    case KNIGHT: case GOLD: return 3;
    case SILVER: case BISHOP: return 4;
    default: return 0;
  }
}

// Hand places on the screen grid. The MAN hand stands right of the board
// (column 12 front faces, 14 back faces, slot s on row s + 5); the COM hand
// left of it (column -1 front, -3 back, slot s on row 5 - s).
constexpr int MAN_FRONT_COLUMN = 12;
constexpr int MAN_BACK_COLUMN = 14;
constexpr int COM_FRONT_COLUMN = -1;
constexpr int COM_BACK_COLUMN = -3;

// Columns 1..9 are the board; a move from any other column is a drop.
inline bool is_board_column(int x) { return x >= 1 && x <= 9; }

inline bool is_hand_column(int x) {
  return x == MAN_FRONT_COLUMN || x == MAN_BACK_COLUMN || x == COM_FRONT_COLUMN || x == COM_BACK_COLUMN;
}

// The COM face shown in a hand column for a slot: the front column shows
// pawn, lance, knight, silver; the back column rook, tokin, gold, bishop.
inline int hand_face(int slot, bool back) {
  static constexpr int front[5] = {0, PAWN, LANCE, KNIGHT, SILVER};
  static constexpr int rear[5] = {0, ROOK, TOKIN, GOLD, BISHOP};
  if (slot < 1 || slot > 4) return 0;
  return back ? rear[slot] : front[slot];
}

}  // namespace vv
