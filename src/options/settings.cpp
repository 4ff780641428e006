// The settings file and the option menus. (Being written: for now the
// defaults apply and nothing is stored.)
#include "flow/game.h"

namespace vv {

void Game::チェック設定(int code) {
  static constexpr MenuMark ITEMS[5] = {MenuMark::MIDORI, MenuMark::TATAMI, MenuMark::TAKE, MenuMark::UCHU,
                                        MenuMark::RENGA};
  for (MenuMark m : ITEMS) set_mark(m, false);
  if (code >= BACKGROUND_GREEN && code <= BACKGROUND_BRICK) set_mark(ITEMS[code - BACKGROUND_GREEN], true);
}

void Game::読込_環境設定ファイル() {
  チェック設定(BACKGROUND_GREEN);
  描画_背景(BACKGROUND_GREEN);
  opt.background_code = BACKGROUND_GREEN;
  set_mark(MenuMark::SIDOU, false);
  set_mark(MenuMark::KEIKA, true);
  set_mark(MenuMark::BGM, true);
}

void Game::書込_環境設定ファイル() {}
void Game::OPTION_Click() {
  描画_可視(false, false, false);
  描画_棋譜_IO(1);
}
void Game::BACKGROUND_Click(int) {}
void Game::SIDOU_Click() {}
void Game::KEIKA_Click() {}
void Game::BGM_Click() {}

}  // namespace vv
