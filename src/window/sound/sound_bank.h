// The game's four sounds, loaded once at start-up through the sound library
// and released at the end. Without a sound device the game goes on silently.
#pragma once

#include "flow/port.h"

class QWidget;

namespace vv {

class SoundBank {
 public:
  // Opens the sound library for the window and loads "その他.wav",
  // "禁止.wav", "駒打音.wav" (effects) and "BGM.wav" (music), in that order.
  void open(QWidget* window);
  void play(Sound s);          // once from the start, at once
  void play_looping(Sound s);  // until stopped
  void stop(Sound s);
  void close();  // frees the buffers in order, then the library; safe to call twice

 private:
  long library_ = 0;
  long buffers_[4] = {};
};

}  // namespace vv
