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
    game_.wait_seconds(0.3);
  }
  void tick() override { game_.timer_tick(); }

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
    if (deadline_ - seconds() > TICK_WAIT) game_.timer_tick();
  }

 private:
  Game& game_;
  double deadline_;
};

// The turning animation has three drawings, chosen by the face the piece
// turns from: tokin 1, lance 2, any other 3.
int turning_kind(int face_before) {
  if (face_before == TOKIN) return 1;
  if (face_before == LANCE) return 2;
  return 3;
}

}  // namespace

void Game::computer_turn() {
  time.turn_start_time = port_.clock();
  if (options.marked(MenuMark::CLOCK)) set_timer(true);
  for (int x = -2; x <= 0; ++x) paint_background(x, 6);
  draw_text_at(-1.5, 6.5, "思考中", BLACK, 12);
  draw_text_at(-1.6, 6.4, "思考中", WHITE, 12);

  if (record.full()) {
    announce_move_limit_draw();
    return;
  }

  SearchResult result;
  if (engine.com_level == SEARCHING_LEVEL) {
    port_.refresh();
    wait_seconds(0.3);
    DeepTurnHooks hooks(*this, SEARCHING_LEVEL_SECONDS);
    result = deep_search(engine, SEARCHING_LEVEL_SECONDS, RECORD_CAPACITY - record.move_number, hooks);
  } else {
    TurnHooks hooks(*this, port_);
    result = com_search(engine, hooks);
  }
  if (!result.found) {
    // Nothing on the board or in hand can move: the computer resigns.
    set_timer(false);
    announce_winner("あなた");
    return;
  }

  const Candidate& m = result.best;
  const int face_before = m.piece;
  const bool board_move = m.from_x > 0 && m.from_x < 10;
  const int piece_after = board_move ? face_after_move(m.piece) : m.piece;
  record_move(record, engine.pos, m.from_x, m.from_y, m.to_x, m.to_y, m.piece, piece_after, time.man_time_total,
              time.man_time_total, time.com_time_total, time.com_time_total + time.move_seconds);
  port_.computer_moved(m.from_x, m.from_y, m.to_x, m.to_y, piece_after);
  flow.move_count += 1;
  draw_move_count(flow.move_count);
  carry_out_move(m.from_x, m.from_y, m.to_x, m.to_y, piece_after);

  if (board_move && piece_after != KING) {
    draw_picture_at(face_before, m.to_x, m.to_y);
    draw_square_outline(board_line_colour, m.to_x, m.to_y);
    port_.refresh();
    port_.play(Sound::PIECE_PLACED);
    wait_seconds(0.2);
    animate_turning_piece(turning_kind(face_before), m.to_x, m.to_y);
    draw_picture_at(engine.pos.board[m.to_x][m.to_y], m.to_x, m.to_y);
    draw_square_outline(board_line_colour, m.to_x, m.to_y);
  }
  port_.play(Sound::PIECE_PLACED);
  set_timer(false);

  survey_influence(engine.pos, engine.influence);
  // A captured king ends the game before anything is said of mate: with the
  // king gone its square is stale, and the mate test would read it.
  if (flow.winner == flow.com_side) {
    announce_winner("ｺﾝﾋﾟｭｰﾀ");
    return;
  }
  if (man_is_mated(engine) == 1) {
    port_.message("詰め ?", "よし！!");
  } else if (engine.influence.com_reach_count[engine.pos.man_king_x][engine.pos.man_king_y] > 0) {
    port_.message("", "   ** 王手 **");
  }

  draw_move_result(flow.com_side, m.to_x, m.to_y, piece_after, WHITE);
  draw_square_outline(WHITE, m.to_x, m.to_y);

  time.com_time_total += time.move_seconds;
  time.turn_start_time = port_.clock();
  flow.side_to_move = flow.man_side;
  if (options.marked(MenuMark::CLOCK)) set_timer(true);

  if (record.full()) announce_move_limit_draw();
}

}  // namespace vv
