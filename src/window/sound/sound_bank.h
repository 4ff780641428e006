// The game's four sounds, loaded once at start-up through the sound library
// and released at the end. Without a sound device the game goes on silently.
#pragma once

#include <string>
#include <vector>

#include "flow/port.h"

class QWidget;

namespace vv {

class SoundBank {
 public:
  // Opens the sound library for the window and loads the effects
  // "その他.wav" (Sound::CHIME), "禁止.wav" (REFUSED) and "駒打音.wav"
  // (PIECE_PLACED), then the music "BGM.wav" (MUSIC), in that order.
  // False when there is no sound device (the caller shows its start-up
  // message once; every later call is silent). A file that exists but cannot
  // be read adds the reason to `problems`, for the caller to show; a missing
  // file is silent.
  bool open(QWidget* window, std::vector<std::string>& problems);
  void play(Sound s);          // once from the start, at once
  void play_looping(Sound s);  // until stopped
  void stop(Sound s);
  void close();  // frees the buffers in order, then the library; safe to call twice

 private:
  long library_ = 0;      // 0 while closed
  long buffers_[4] = {};  // by Sound; 0 for a sound not loaded
};

}  // namespace vv
