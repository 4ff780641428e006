// The computer's turn, as the game plays it: think, play the chosen move with
// its sound and turning animation, announce mate or check, pass the turn.
#include "com/escape_mate.h"
#include "com/search.h"
#include "flow/game.h"
#include "influence/survey.h"
#include "rules/move.h"
#include "rules/piece.h"

namespace vv {
namespace {

class TurnHooks : public SearchHooks {
 public:
  TurnHooks(Game& game, Port& port) : game_(game), port_(port) {}
  void before_trials() override {
    port_.refresh();
    game_.待ち時間(0.3);
  }
  void tick() override { game_.Timer1_Timer(); }

 private:
  Game& game_;
  Port& port_;
};

// The turning animation shows the face the piece turns from.
int turning_kind(int face_before) {
  if (face_before == と) return 1;
  if (face_before == 香) return 2;
  return 3;
}

}  // namespace

void Game::com_ban() {
  turn_start_time = port_.clock();
  if (keika_marked) set_timer(true);
  for (int x = -2; x <= 0; ++x) paint_background(x, 6);
  描画_数値(-1.5, 6.5, "思考中", BLACK, 12);
  描画_数値(-1.6, 6.4, "思考中", WHITE, 12);

  if (rec.full()) {
    終了_手数上限();
    return;
  }

  TurnHooks hooks(*this, port_);
  const SearchResult result = com_search(e, hooks);
  if (!result.found) {
    // Nothing on the board or in hand can move: the computer resigns.
    set_timer(false);
    終了("あなた");
    return;
  }

  const Candidate& m = result.best;
  const int face_before = m.piece;
  const bool board_move = m.from_x > 0 && m.from_x < 10;
  const int piece_after = board_move ? 取得_移動後成り駒(m.piece) : m.piece;
  手順保存(rec, e.pos, m.from_x, m.from_y, m.to_x, m.to_y, m.piece, piece_after, man_time_total, man_time_total,
           com_time_total, com_time_total + move_seconds);
  move_count += 1;
  描画_手数(move_count);
  駒移動(m.from_x, m.from_y, m.to_x, m.to_y, piece_after);

  if (board_move && piece_after != 王) {
    port_.draw_picture(m.to_x, m.to_y, face_before);
    port_.draw_outline(board_line_colour, m.to_x, m.to_y);
    port_.refresh();
    port_.play(Sound::駒打音);
    待ち時間(0.2);
    描画_回転駒(turning_kind(face_before), m.to_x, m.to_y);
    port_.draw_picture(m.to_x, m.to_y, e.pos.board[m.to_x][m.to_y]);
    port_.draw_outline(board_line_colour, m.to_x, m.to_y);
  }
  port_.play(Sound::駒打音);
  set_timer(false);

  勢力調査(e.pos, e.inf);
  // A captured king ends the game before anything is said of mate: with the
  // king gone its square is stale, and the mate test would read it.
  if (winner == com_side) {
    終了("ｺﾝﾋﾟｭｰﾀ");
    return;
  }
  if (詰めかMAN(e) == 1) {
    port_.message("詰め ?", "よし！!");
  } else if (e.inf.com_reach_count[e.pos.man_king_x][e.pos.man_king_y] > 0) {
    port_.message("", "   ** 王手 **");
  }

  描画_移動結果(com_side, m.to_x, m.to_y, piece_after, WHITE);
  port_.draw_outline(WHITE, m.to_x, m.to_y);

  com_time_total += move_seconds;
  turn_start_time = port_.clock();
  side_to_move = man_side;
  if (keika_marked) set_timer(true);

  if (rec.full()) 終了_手数上限();
}

}  // namespace vv
