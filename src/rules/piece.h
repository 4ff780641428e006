// Piece codes, face pairs and hand slots.
//
// A piece code is signed: positive codes are the computer's (COM, top side,
// moving toward row 9), negative codes the person's (MAN, bottom side, moving
// toward row 1). The magnitude is both the kind and its material value.
#pragma once

namespace vv {

constexpr int EMPTY = 0;

constexpr int 歩 = 10;
constexpr int と = 11;
constexpr int 香 = 20;
constexpr int 桂 = 30;
constexpr int 銀 = 100;
constexpr int 金 = 110;
constexpr int 角 = 800;
constexpr int 飛 = 900;
constexpr int 王 = 950;

// Sentinels of the piece-valued influence maps: no piece recorded there.
constexpr int NO_PIECE = 999;
constexpr int NO_MAN_CAPTURER = -999;

constexpr int TRUE_VALUE = 1;
constexpr int FALSE_VALUE = 0;

inline bool is_com_piece(int code) { return code >= 10; }
inline bool is_man_piece(int code) { return code <= -10; }

inline int iabs(int v) { return v < 0 ? -v : v; }

// True when the square value `other` is a piece of the side of piece `code`:
// a square no piece may move or be dropped to.
inline bool same_side(int code, int other) { return code >= 10 ? other >= 10 : other <= -10; }

// The nine faces numbered 歩 と 香 桂 銀 金 角 飛 王 = 0..8 whatever the side;
// -1 for a code that is no face.
inline int face_number(int code) {
  switch (iabs(code)) {
    case 歩: return 0;
    case と: return 1;
    case 香: return 2;
    case 桂: return 3;
    case 銀: return 4;
    case 金: return 5;
    case 角: return 6;
    case 飛: return 7;
    case 王: return 8;
    default: return -1;
  }
}

// True for the eighteen codes a square may hold.
inline bool is_piece_code(int code) {
  switch (iabs(code)) {
    case 歩: case と: case 香: case 桂: case 銀: case 金: case 角: case 飛: case 王:
      return true;
    default:
      return false;
  }
}

// Hand slot of a piece's pair: 1 歩/飛, 2 香/と, 3 桂/金, 4 銀/角; 0 for the king or no piece.
inline int hand_slot(int code) {
  switch (iabs(code)) {
    case 歩: case 飛: return 1;
    case 香: case と: return 2;
    case 桂: case 金: return 3;
    case 銀: case 角: return 4;
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

// The COM face shown in a hand column for a slot: front 歩 香 桂 銀, back 飛 と 金 角.
inline int hand_face(int slot, bool back) {
  static constexpr int front[5] = {0, 歩, 香, 桂, 銀};
  static constexpr int rear[5] = {0, 飛, と, 金, 角};
  if (slot < 1 || slot > 4) return 0;
  return back ? rear[slot] : front[slot];
}

}  // namespace vv
