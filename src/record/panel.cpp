// Showing and hiding the record-file panel: the three lists, and the save
// form with its four boxes, captions and the RETURN button.
#include "flow/game.h"

namespace vv {

void Game::show_file_lists(bool drive, bool folder, bool file) { port_.show_file_lists(drive, folder, file); }

void Game::show_save_form() { port_.show_save_form(true); }
// Hiding the save form also empties its boxes.
void Game::hide_save_form() { port_.show_save_form(false); }

void Game::hide_record_panel() {
  show_file_lists(false, false, false);
  hide_save_form();
}

// Opening the menu "棋譜" (Record) leaves the panel alone: its items show it.
void Game::record_menu_opened() {}

}  // namespace vv
