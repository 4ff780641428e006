// Showing and hiding the record-file panel: the three lists, and the save
// form with its four boxes, captions and the RETURN button.
#include "flow/game.h"

namespace vv {

void Game::show_file_lists(bool drive, bool folder, bool file) { port_.show_file_lists(drive, folder, file); }

// Mode 0 shows the save form; any other mode empties its boxes and hides it.
void Game::set_save_form(int mode) { port_.show_save_form(mode == 0); }

// Opening the menu "棋譜" (Record) leaves the panel alone: its items show it.
void Game::record_menu_opened() {}

}  // namespace vv
