// Everything the game asks of the world outside it: drawing on the window's
// grid, message boxes, sounds, the clock, waits and the timer. The window
// implements it for real; the command line and the tests headless.
#pragma once

#include <string>

namespace vv {

enum class Sound { その他, 禁止, 駒打音, BGM };

inline const char* sound_name(Sound s) {
  switch (s) {
    case Sound::その他: return "その他";
    case Sound::禁止: return "禁止";
    case Sound::駒打音: return "駒打音";
    case Sound::BGM: return "BGM";
  }
  return "";
}

// Menu items whose check marks the game sets.
enum class MenuMark { LEVEL1, LEVEL2, LEVEL3, KEIKA, BGM, SIDOU, MIDORI, TATAMI, TAKE, UCHU, RENGA };

class Port {
 public:
  virtual ~Port() = default;

  // Drawing. Places are on the window's grid: place (x, y) covers the
  // rectangle from (2200 + 600 x, 520 + 615 y) twips; texts may sit at
  // fractional places. Colours are indices of the 16-colour palette.
  virtual void draw_picture(int x, int y, int picture) = 0;
  virtual void draw_outline(int colour, int x, int y) = 0;
  virtual void draw_text(double x, double y, const std::string& text, int colour, int size) = 0;
  virtual void refresh() = 0;  // make the window show what was drawn
  virtual void set_mark(MenuMark item, bool checked) = 0;

  // Modal message boxes: one with an OK button, one asking Yes or No.
  virtual void message(const std::string& title, const std::string& text) = 0;
  virtual bool ask(const std::string& title, const std::string& text) = 0;

  // The sound effects and the music are loaded at start-up and released at
  // the end; playing a sound that could not be loaded does nothing.
  virtual void open_sounds() {}
  virtual void close_sounds() {}
  virtual void play(Sound s) = 0;

  // Seconds since midnight, and a wait that holds the caller.
  virtual double clock() = 0;
  virtual void wait(double seconds) = 0;
  virtual void set_timer(bool running) = 0;

  // The game asks the program to end.
  virtual void quit() = 0;
};

}  // namespace vv
