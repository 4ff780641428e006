// The computer's strength, chosen from the level menu.
#include "flow/game.h"

namespace vv {

void Game::choose_level(int n) {
  for (int x = -2; x <= 0; ++x) paint_background(x, 0);
  set_level(n);
}

void Game::set_level(int n) {
  static constexpr MenuMark ITEMS[HIGHEST_LEVEL + 1] = {MenuMark::LEVEL1, MenuMark::LEVEL1, MenuMark::LEVEL2,
                                                         MenuMark::LEVEL3, MenuMark::LEVEL4};
  for (int level = 1; level <= HIGHEST_LEVEL; ++level) set_mark(ITEMS[level], false);
  if (n >= 1 && n <= HIGHEST_LEVEL) {
    set_mark(ITEMS[n], true);
    engine.com_level = n;
  }
  if (flow.game_mode == AGAINST_COMPUTER) draw_level(engine.com_level);
}

void Game::draw_level(int level) {
  draw_text_at(-1.9, 0.2, "LEVEL", BLACK, 10);
  draw_text_at(-2, 0.1, "LEVEL", WHITE, 10);
  draw_text_at(-0.6, 0.2, std::to_string(level), BLACK, 12);
  draw_text_at(-0.7, 0.1, std::to_string(level), WHITE, 12);
}

}  // namespace vv
