// The sound library: buffers made from whole wave file images, played once or
// in a loop, stopped and released, all by integer handles. Handle 0 stands
// for "nothing": every call given it does nothing, so a sound that could not
// be loaded is simply silent. A released handle is never handed out again,
// so releasing twice, or after the library closed, is harmless too.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class QWidget;

namespace vv {

class SoundMixer;

// Buffer flags: an effect starts afresh on every play; music already
// playing goes on when asked to play again.
constexpr int SOUND_EFFECT = 3;
constexpr int SOUND_MUSIC = 1;

// Where the mixed frames go: the sound device, or a stand-in in the tests.
class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // Sets the mixer to the device's format and starts pulling frames from it.
  // False when there is no device to play on.
  virtual bool start(SoundMixer& mixer) = 0;
  // After this the mixer is not called again.
  virtual void stop() = 0;
};

// Opens the library on the default sound device; 0 when there is none or it
// cannot start. Never waits long: a device that does not answer counts as none.
long open_sound_library(QWidget* window);
// The same over a given output (the tests' stand-in for a device).
long open_sound_library(std::unique_ptr<SoundOutput> output);

// A buffer from a whole wave file image of `size` bytes (16-bit PCM, mono or
// stereo). 0 for a zero library handle or an image that is not such a wave;
// the reason then goes to `error` when given.
long create_sound_buffer(long library, const void* image, std::size_t size, int flags, std::string* error = nullptr);

void play_buffer(long buffer);         // from the start, once; returns at once
void loop_buffer(long buffer);  // from the start, until stopped
void stop_buffer(long buffer);
void free_buffer(long buffer);
void close_sound_library(long library);  // also releases the buffers still held

// The mixer of an open library, for the tests to pull frames from; nullptr
// for a handle that names no open library.
SoundMixer* mixer_of_library(long library);

}  // namespace vv
