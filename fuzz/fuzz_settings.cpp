// Any bytes as the settings file. Whatever it holds, exactly one background
// is marked, move hints are on exactly when their item is marked, and the
// file written afterwards brings every mark back unchanged at the next start.
#include <cstdint>
#include <string>
#include <string_view>

#include "flow/game.h"
#include "flow/recording_port.h"

namespace {

class SettingsPort : public vv::RecordingPort {
 public:
  explicit SettingsPort(std::string bytes) : file(std::move(bytes)) {}
  bool read_file(const std::string&, std::string& bytes, std::string&) override {
    bytes = file;
    return true;
  }
  bool write_file(const std::string&, const std::string& bytes, std::string&) override {
    file = bytes;
    return true;
  }
  std::string file;
};

void require(bool condition) {
  if (!condition) __builtin_trap();
}

// The marks the settings file holds: the five backgrounds first, then move
// hints, the clock and the music.
constexpr vv::MenuMark SETTINGS_MARKS[] = {vv::MenuMark::GREEN, vv::MenuMark::TATAMI,     vv::MenuMark::BAMBOO,
                                           vv::MenuMark::SPACE, vv::MenuMark::BRICK,      vv::MenuMark::MOVE_HINTS,
                                           vv::MenuMark::CLOCK, vv::MenuMark::MUSIC};
constexpr int BACKGROUND_MARKS = 5;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SettingsPort port(std::string(reinterpret_cast<const char*>(data), size));
  vv::Game g(port);
  g.event([&] { g.start_up(); });
  int backgrounds = 0;
  for (int i = 0; i < BACKGROUND_MARKS; ++i) backgrounds += g.options.marked(SETTINGS_MARKS[i]);
  require(backgrounds == 1);
  require(g.options.move_hints == g.options.marked(vv::MenuMark::MOVE_HINTS));

  // What the menus write, the next start reads back.
  g.event([&] { g.write_settings_file(); });
  SettingsPort next(port.file);
  vv::Game h(next);
  h.event([&] { h.start_up(); });
  for (vv::MenuMark m : SETTINGS_MARKS) require(h.options.marked(m) == g.options.marked(m));
  require(next.file == port.file);
  return 0;
}
