// Placeholder until the sound library lands: every call is silent.
#include "window/sound/sound_bank.h"

namespace vv {

bool SoundBank::open(QWidget*, std::vector<std::string>&) { return true; }
void SoundBank::play(Sound) {}
void SoundBank::play_looping(Sound) {}
void SoundBank::stop(Sound) {}
void SoundBank::close() {}

}  // namespace vv
