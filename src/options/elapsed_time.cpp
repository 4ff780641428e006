// The elapsed-time display: each side's accumulated thinking time as
// hh:mm:ss, the side to move counting up once a second.
#include <string>

#include "flow/game.h"

namespace vv {

double 調査_経過秒(double start, double now) { return start <= now ? now - start : now + 86400 - start; }

std::string 変換_数字から文字(long n) {
  const std::string digits = std::to_string(n);
  if (digits.size() == 1) return "0" + digits;
  if (digits.size() == 2) return digits;
  return "";
}

std::string 調査_時間秒追加結果(double seconds) {
  const long h = seconds >= 3600 ? static_cast<long>(seconds / 3600) : 0;
  const long m = static_cast<long>((seconds - 3600.0 * h) / 60);
  const long s = static_cast<long>(seconds - 3600.0 * h - 60.0 * m);
  return 変換_数字から文字(h) + ":" + 変換_数字から文字(m) + ":" + 変換_数字から文字(s);
}

void Game::消去_所有時間(int side) {
  if (side == flow.man_side) {
    for (int x = 12; x <= 14; ++x) paint_background(x, 11);
  } else if (side == flow.com_side) {
    for (int x = -2; x <= 0; ++x) paint_background(x, 7);
  }
}

void Game::描画_所有時間(int side, double seconds) {
  if (!opt.marked(MenuMark::KEIKA)) return;
  if (side != flow.man_side && side != flow.com_side) return;
  const std::string text = 調査_時間秒追加結果(seconds);
  消去_所有時間(side);
  if (side == flow.man_side) {
    描画_数値(12.1, 11.1, text, BLACK, 12);
    描画_数値(12, 11, text, WHITE, 12);
  } else {
    描画_数値(-1.5, 7.3, text, BLACK, 12);
    描画_数値(-1.6, 7.2, text, WHITE, 12);
  }
}

void Game::Timer1_Timer() {
  const double now = port_.clock();
  time.move_seconds = 調査_経過秒(time.turn_start_time, now);
  const int whole = static_cast<int>(time.move_seconds);
  if (whole == time.shown_second) return;
  time.shown_second = whole;
  if (flow.side_to_move == flow.com_side)
    描画_所有時間(flow.com_side, time.move_seconds + time.com_time_total);
  else if (flow.side_to_move == flow.man_side)
    描画_所有時間(flow.man_side, time.move_seconds + time.man_time_total);
  port_.refresh();
  待ち時間(0.3);
}

}  // namespace vv
