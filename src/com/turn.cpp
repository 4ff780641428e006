// The computer's turn, as the game plays it: think, play the chosen move with
// its sound and turning animation, announce mate or check, pass the turn.

#include "com/deep/deep_search.h"
#include "com/escape_mate.h"
#include "com/search.h"
#include "flow/game.h"
#include "influence/survey.h"
#include "rules/move.h"
#include "rules/piece.h"

namespace vv {
namespace {

class TurnHooks : public QuietHooks {
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

// The searching level keeps the clock display going while it thinks, and
// measures its time on a real clock: the game's own clock only moves by its
// waits where it has no window. A tick that would wait past the end of the
// thinking time is left out, so the time limit holds.
class DeepTurnHooks : public DeepHooks {
 public:
  DeepTurnHooks(Game& game, double limit) : game_(game), deadline_(monotonic_seconds() + limit) {}
  double seconds() override { return monotonic_seconds(); }
  void tick() override {
    constexpr double TICK_WAIT = 0.3;  // what a tick that shows a new second waits
    if (deadline_ - seconds() > TICK_WAIT) game_.Timer1_Timer();
  }

 private:
  Game& game_;
  double deadline_;
};

// The turning animation shows the face the piece turns from.
int turning_kind(int face_before) {
  if (face_before == と) return 1;
  if (face_before == 香) return 2;
  return 3;
}

}  // namespace

void Game::com_ban() {
  time.turn_start_time = port_.clock();
  if (opt.marked(MenuMark::KEIKA)) set_timer(true);
  for (int x = -2; x <= 0; ++x) paint_background(x, 6);
  描画_数値(-1.5, 6.5, "思考中", BLACK, 12);
  描画_数値(-1.6, 6.4, "思考中", WHITE, 12);

  if (rec.full()) {
    終了_手数上限();
    return;
  }

  SearchResult result;
  if (e.com_level == SEARCHING_LEVEL) {
    port_.refresh();
    待ち時間(0.3);
    DeepTurnHooks hooks(*this, SEARCHING_LEVEL_SECONDS);
    result = deep_search(e, SEARCHING_LEVEL_SECONDS, RECORD_CAPACITY - rec.move_number, hooks);
  } else {
    TurnHooks hooks(*this, port_);
    result = com_search(e, hooks);
  }
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
  手順保存(rec, e.pos, m.from_x, m.from_y, m.to_x, m.to_y, m.piece, piece_after, time.man_time_total, time.man_time_total,
           time.com_time_total, time.com_time_total + time.move_seconds);
  port_.computer_moved(m.from_x, m.from_y, m.to_x, m.to_y, piece_after);
  flow.move_count += 1;
  描画_手数(flow.move_count);
  駒移動(m.from_x, m.from_y, m.to_x, m.to_y, piece_after);

  if (board_move && piece_after != 王) {
    描画_絵(face_before, m.to_x, m.to_y);
    描画_桝輪郭(board_line_colour, m.to_x, m.to_y);
    port_.refresh();
    port_.play(Sound::駒打音);
    待ち時間(0.2);
    描画_回転駒(turning_kind(face_before), m.to_x, m.to_y);
    描画_絵(e.pos.board[m.to_x][m.to_y], m.to_x, m.to_y);
    描画_桝輪郭(board_line_colour, m.to_x, m.to_y);
  }
  port_.play(Sound::駒打音);
  set_timer(false);

  勢力調査(e.pos, e.inf);
  // A captured king ends the game before anything is said of mate: with the
  // king gone its square is stale, and the mate test would read it.
  if (flow.winner == flow.com_side) {
    終了("ｺﾝﾋﾟｭｰﾀ");
    return;
  }
  if (詰めかMAN(e) == 1) {
    port_.message("詰め ?", "よし！!");
  } else if (e.inf.com_reach_count[e.pos.man_king_x][e.pos.man_king_y] > 0) {
    port_.message("", "   ** 王手 **");
  }

  描画_移動結果(flow.com_side, m.to_x, m.to_y, piece_after, WHITE);
  描画_桝輪郭(WHITE, m.to_x, m.to_y);

  time.com_time_total += time.move_seconds;
  time.turn_start_time = port_.clock();
  flow.side_to_move = flow.man_side;
  if (opt.marked(MenuMark::KEIKA)) set_timer(true);

  if (rec.full()) 終了_手数上限();
}

}  // namespace vv
