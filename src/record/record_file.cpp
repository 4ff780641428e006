// Record files: saving from the panel, loading from the file list. (Being
// written.)
#include "flow/game.h"

namespace vv {

void Game::KIFU_READ_Click() {
  描画_可視(true, true, true);
  描画_棋譜_IO(1);
}
void Game::KIFU_WRITE_Click() {}
void Game::Command1_Click() {}
void Game::File1_Click(const std::string&, const std::string&) {}

}  // namespace vv
