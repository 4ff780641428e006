// The game's four sounds, synthesised from nothing but arithmetic: a wooden
// click for a piece set down, a low buzz for a refusal, a chime for the
// about box and the music loop. The same input always gives the same samples.
// No Qt here: the sound generator runs at build time.
#pragma once

#include "window/sound/wave_file.h"

namespace vv::synth {

constexpr int kRate = 44100;

// Peak levels in dB of full scale, set so the four sound about equally loud
// (the buzz, a near-square wave, is dense and peaks lowest) and the music
// stays under the effects, so a click is always heard over it.
constexpr double kClickPeakDb = -1.5;
constexpr double kBuzzPeakDb = -9.0;
constexpr double kChimePeakDb = -3.0;
constexpr double kMusicPeakDb = -3.0;

PcmClip piece_click();   // 駒打音.wav, Sound::PIECE_PLACED: ~120 ms, mono
PcmClip refusal_buzz();  // 禁止.wav, Sound::REFUSED: 250 ms, mono
PcmClip about_chime();   // その他.wav, Sound::CHIME: 600 ms, mono
// BGM.wav, Sound::MUSIC: 64 s, stereo. Played in a loop its last frame runs
// into its first as any two neighbouring frames do, so the seam cannot be
// heard.
PcmClip music_loop();
constexpr double kMusicSeconds = 64.0;  // a whole number of 8-second swells

}  // namespace vv::synth
