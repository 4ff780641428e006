// Handicaps: before the first move either side gives up pieces, one for
// each click on "△" or "▽" on the menu bar, in a fixed order. △ takes a
// piece from the top side or, while the bottom side gives pieces, puts one
// of them back; ▽ does the same the other way round. The label beside the
// board names the rank of bottom-side player the handicap suits: ２級 (2 kyu)
// for an even game, down to 12 kyu as the top side gives more, up to 名人
// (master) when the bottom side gives all ten.
#include "flow/game.h"
#include "rules/piece.h"

namespace vv {
namespace {

struct HandicapRow {
  const char* label;
  int x, y;   // the square whose piece is missing from this level on
  int piece;  // what goes back on it when the level returns past this one
};

// Levels -10..10, index level + 10. Both sides lose bishop, rook, then the
// lances, knights, silvers and golds in pairs; the bottom side's squares are
// the top side's turned by half a turn.
constexpr HandicapRow HANDICAP_TABLE[21] = {
    {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:名人", 6, 9, -GOLD}, {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:８段", 4, 9, -GOLD}, {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:７段", 7, 9, -SILVER},
    {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:６段", 3, 9, -SILVER}, {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:５段", 8, 9, -KNIGHT}, {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:４段", 2, 9, -KNIGHT},
    {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:３段", 9, 9, -LANCE}, {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:２段", 1, 9, -LANCE}, {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:初段", 8, 8, -ROOK},
    {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:１級", 2, 8, -BISHOP}, {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:２級", 0, 0, EMPTY},   {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:３級", 8, 2, BISHOP},
    {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:４級", 2, 2, ROOK},  {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:５級", 9, 1, LANCE},   {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:６級", 1, 1, LANCE},
    {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:７級", 8, 1, KNIGHT},  {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:８級", 2, 1, KNIGHT},   {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:９級", 7, 1, SILVER},
    {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:10級", 3, 1, SILVER},  {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:11級", 6, 1, GOLD},   {"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:12級", 4, 1, GOLD},
};
constexpr int HANDICAP_LIMIT = 10;

const HandicapRow& row_of(int level) { return HANDICAP_TABLE[level + HANDICAP_LIMIT]; }

// Why a step is refused, by the number of the reason: 1 a loaded record is
// shown, 2 the game has begun, 3 the board was flipped.
const char* const REFUSALS[4] = {"", "棋譜ﾓｰﾄﾞではできません", "対局途中ではできません", "反転後ではできません"};

}  // namespace

void Game::draw_label(double x, double y, int code, int colour, int size) {
  const char* text = nullptr;
  if (code >= -HANDICAP_LIMIT && code <= HANDICAP_LIMIT)
    text = row_of(code).label;
  else if (code == LABEL_MOVES)
    text = "手目";
  if (!text) return;
  // Fixed texts stand a little inside their grid point.
  port_.draw_text(x + 120.0 / 600, y + 160.0 / 615, text, colour, size, font_bold);
}

// Only places 11, 12, 13 and 16 of the label's row are painted over, not 14
// and 15; players know the label drawn this way, so it stays.
void Game::draw_handicap_level(int level) {
  for (int x : {11, 12, 13, 16}) paint_background(x, 1);
  draw_label(11.1, 1.1, level, BLACK, 10);
  draw_label(11, 1, level, WHITE, 10);
}

// The reason, then "局面→最初にして下さい" (choose Board → Reset first).
void Game::show_handicap_refusal(int reason) {
  port_.message("ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定", std::string(REFUSALS[reason]) + "\r\r局面→最初にして下さい");
}

void Game::raise_handicap() { handicap_step(+1); }
void Game::lower_handicap() { handicap_step(-1); }

void Game::handicap_step(int direction) {
  hide_record_panel();
  const int reason = flow.record_mode ? 1 : record.move_number > 0 ? 2 : flow.board_flipped ? 3 : 0;
  if (reason != 0) {
    port_.play(Sound::REFUSED);
    show_handicap_refusal(reason);
    return;
  }
  record.record_length = 0;  // entries left in the record were made on another board
  const int old_level = handicap.handicap_level;
  if (old_level * direction < HANDICAP_LIMIT) {
    const int new_level = old_level + direction;
    handicap.handicap_level = new_level;
    draw_handicap_level(new_level);
    // Moving away from 0 empties the new level's square; moving toward 0
    // puts back the piece of the level left.
    const bool away = new_level * direction > 0;
    const HandicapRow& row = away ? row_of(new_level) : row_of(old_level);
    engine.pos.board[row.x][row.y] = away ? EMPTY : row.piece;
    draw_picture_at(engine.pos.board[row.x][row.y], row.x, row.y);
    draw_square_outline(board_line_colour, row.x, row.y);
    port_.play(Sound::PIECE_PLACED);
  }
  handicap.handicap_set = true;
}

}  // namespace vv
