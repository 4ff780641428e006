// Everything the game asks of the world outside it: drawing on the window's
// grid, message boxes, sounds, the clock, waits, the timer, files and the
// record-file panel. The window implements it for real; the command line and
// the tests headless.
#pragma once

#include <string>

namespace vv {

enum class Sound { CHIME, REFUSED, PIECE_PLACED, MUSIC };

// The name a sound goes by in a headless run's event lines ("sound NAME"),
// which play scripts compare: the chime (その他), the refusal (禁止), a piece
// put down (駒打音) and the music (BGM).
inline const char* sound_name(Sound s) {
  switch (s) {
    case Sound::CHIME: return "その他";
    case Sound::REFUSED: return "禁止";
    case Sound::PIECE_PLACED: return "駒打音";
    case Sound::MUSIC: return "BGM";
  }
  return "";
}

// Menu items whose check marks the game sets.
enum class MenuMark { LEVEL1, LEVEL2, LEVEL3, LEVEL4, CLOCK, MUSIC, MOVE_HINTS, GREEN, TATAMI, BAMBOO, SPACE, BRICK, COUNT };

// What was typed into the four boxes of the save form.
struct SaveFormTexts {
  std::string game;    // 対局名, the game's name
  std::string first;   // 先手, the first player
  std::string second;  // 後手, the second player
  std::string file;    // ファイル名, the file name without folder and extension
};

class Port {
 public:
  virtual ~Port() = default;

  // Drawing. Places are on the window's grid: place (x, y) covers the
  // rectangle from (2200 + 600 x, 520 + 615 y) twips; pictures and texts may
  // sit at fractional places. Colours are indices of the 16-colour palette.
  // A picture code that names no image draws nothing.
  virtual void draw_picture(double x, double y, int picture) = 0;
  virtual void draw_outline(int colour, int x, int y) = 0;
  // Text with its top-left point at (x, y), size in points, no background box.
  virtual void draw_text(double x, double y, const std::string& text, int colour, int size, bool bold) = 0;
  virtual void refresh() = 0;  // make the window show what was drawn
  virtual void set_mark(MenuMark item, bool checked) = 0;

  // Modal message boxes: one with an OK button, one asking Yes or No.
  virtual void message(const std::string& title, const std::string& text) = 0;
  virtual bool ask(const std::string& title, const std::string& text) = 0;
  // The about box, from "その他" (About) on the menu bar.
  virtual void about(const std::string& text) { message("Veverodu", text); }

  // The sound effects and the music are loaded at start-up and released at
  // the end; playing a sound that could not be loaded does nothing.
  virtual void open_sounds() {}
  virtual void close_sounds() {}
  virtual void play(Sound s) = 0;
  virtual void play_looping(Sound) {}
  virtual void stop(Sound) {}

  // Seconds since midnight, and a wait that holds the caller while the
  // window keeps painting and accepts no input.
  virtual double clock() = 0;
  virtual void wait(double seconds) = 0;
  virtual void set_timer(bool running) = 0;
  // True once the person has closed the window during a wait: the game then
  // ends the program as closing the window does.
  virtual bool close_requested() { return false; }

  // The record-file panel: the drive, folder and file lists, and the save
  // form (four boxes, their captions and the RETURN button that saves).
  // Hiding the form empties its boxes.
  virtual void show_file_lists(bool /*drive*/, bool /*folder*/, bool /*file*/) {}
  virtual void show_save_form(bool /*visible*/) {}
  virtual SaveFormTexts save_form_texts() { return {}; }
  virtual std::string file_list_folder() { return "."; }  // where the file list looks
  virtual void refresh_file_list() {}

  // Whole files, read or written at once; false with a reason on failure.
  virtual bool read_file(const std::string& path, std::string& bytes, std::string& error);
  virtual bool write_file(const std::string& path, const std::string& bytes, std::string& error);

  // The computer has played a move, as the record holds it (a drop with the
  // slot as from_y). Only a headless port has use for it.
  virtual void computer_moved(int /*from_x*/, int /*from_y*/, int /*to_x*/, int /*to_y*/, int /*placed*/) {}

  // The game asks the program to end.
  virtual void quit() = 0;
};

}  // namespace vv
