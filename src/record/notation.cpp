// The move-result line: each side's last move in the record's notation, for
// example ３六飛 (column 3, row 6, rook). The top side's stands left of the
// board below its stand, the bottom side's right of the board above its stand.
#include "flow/game.h"
#include "rules/piece.h"

namespace vv {

std::string notation_text(int value) {
  static const char* const COLUMNS[10] = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  static const char* const ROWS[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
  if (value >= 1 && value <= 9) return COLUMNS[value];
  if (value >= 1001 && value <= 1009) return ROWS[value - 1000];
  switch (iabs(value)) {
    case PAWN: return "歩";
    case TOKIN: return "と";
    case LANCE: return "香";
    case KNIGHT: return "桂";
    case SILVER: return "銀";
    case GOLD: return "金";
    case BISHOP: return "角";
    case ROOK: return "飛";
    case KING: return "王";
    default: return "";
  }
}

namespace {

// Where a side's line stands: the top-left point of its column text, and
// the first of the three cells it is erased from.
struct ResultPlace {
  double x, y;
  int erase_x, erase_y;
};
constexpr ResultPlace COM_RESULT = {-1.6, 6.4, -2, 6};
constexpr ResultPlace MAN_RESULT = {11.4, 2.4, 11, 2};

}  // namespace

void Game::erase_move_result(int side) {
  const ResultPlace* place = side == flow.com_side ? &COM_RESULT : side == flow.man_side ? &MAN_RESULT : nullptr;
  if (!place) return;
  for (int i = 0; i < 3; ++i) paint_background(place->erase_x + i, place->erase_y);
}

void Game::draw_move_result(int side, int to_x, int to_y, int placed, int colour) {
  const ResultPlace* place = side == flow.com_side ? &COM_RESULT : side == flow.man_side ? &MAN_RESULT : nullptr;
  if (!place) return;
  erase_move_result(side);
  // The notation counts columns from the right: grid column x is column 10 - x.
  const std::string texts[3] = {notation_text(10 - to_x), notation_text(1000 + to_y), notation_text(placed)};
  constexpr double OFFSETS[3] = {0, 0.4, 1.0};
  for (int i = 0; i < 3; ++i) {
    draw_text_at(place->x + OFFSETS[i] + 0.1, place->y + 0.1, texts[i], BLACK, 12);
    draw_text_at(place->x + OFFSETS[i], place->y, texts[i], colour, 12);
  }
}

}  // namespace vv
