// The elapsed-time display, shown while ｵﾌﾟｼｮﾝ → 経過時間 (Options → Clock)
// is marked: each side's accumulated thinking time as hh:mm:ss, the bottom
// side's below its stand on the right, the top side's below its stand on the
// left, the side to move counting up once a second.
#include <string>

#include "flow/game.h"

namespace vv {

double elapsed_seconds(double start, double now) { return start <= now ? now - start : now + 86400 - start; }

// A clock past 99 hours therefore shows no hours at all: ":mm:ss".
std::string two_digits(long n) {
  const std::string digits = std::to_string(n);
  if (digits.size() == 1) return "0" + digits;
  if (digits.size() == 2) return digits;
  return "";
}

std::string clock_text(double seconds) {
  const long h = seconds >= 3600 ? static_cast<long>(seconds / 3600) : 0;
  const long m = static_cast<long>((seconds - 3600.0 * h) / 60);
  const long s = static_cast<long>(seconds - 3600.0 * h - 60.0 * m);
  return two_digits(h) + ":" + two_digits(m) + ":" + two_digits(s);
}

void Game::erase_elapsed_time(int side) {
  if (side == flow.man_side) {
    for (int x = 12; x <= 14; ++x) paint_background(x, 11);
  } else if (side == flow.com_side) {
    for (int x = -2; x <= 0; ++x) paint_background(x, 7);
  }
}

void Game::draw_elapsed_time(int side, double seconds) {
  if (!options.marked(MenuMark::CLOCK)) return;
  if (side != flow.man_side && side != flow.com_side) return;
  const std::string text = clock_text(seconds);
  erase_elapsed_time(side);
  if (side == flow.man_side) {
    draw_text_at(12.1, 11.1, text, BLACK, 12);
    draw_text_at(12, 11, text, WHITE, 12);
  } else {
    draw_text_at(-1.5, 7.3, text, BLACK, 12);
    draw_text_at(-1.6, 7.2, text, WHITE, 12);
  }
}

// The side to move's total so far, shown when a new whole second begins;
// then a wait of 0.3 s while the window paints.
void Game::timer_tick() {
  const double now = port_.clock();
  time.move_seconds = elapsed_seconds(time.turn_start_time, now);
  const int second = static_cast<int>(time.move_seconds);
  if (second == time.shown_second) return;
  time.shown_second = second;
  if (flow.side_to_move == flow.com_side)
    draw_elapsed_time(flow.com_side, time.move_seconds + time.com_time_total);
  else if (flow.side_to_move == flow.man_side)
    draw_elapsed_time(flow.man_side, time.move_seconds + time.man_time_total);
  port_.refresh();
  wait_seconds(0.3);
}

}  // namespace vv
