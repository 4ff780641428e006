// Any bytes as a record file. What the reader accepts must load into a game,
// replay to its end with consistent hands, and save to a file that reads back
// the same; what it refuses must say which line and why.
#include <cstdint>
#include <string>
#include <string_view>

#include "flow/game.h"
#include "flow/recording_port.h"
#include "record/record_format.h"

namespace {

// The file list offers one file, holding the fuzzer's bytes.
class FilePort : public vv::RecordingPort {
 public:
  explicit FilePort(std::string_view bytes) : bytes_(bytes) {}
  bool read_file(const std::string&, std::string& bytes, std::string&) override {
    bytes = bytes_;
    return true;
  }
  bool write_file(const std::string&, const std::string& bytes, std::string&) override {
    written = bytes;
    return true;
  }
  std::string written;

 private:
  std::string bytes_;
};

void require(bool condition) {
  if (!condition) __builtin_trap();
}

bool has_line_break(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vv::record_format::RecordFile file;
  vv::record_format::ReadError error;
  const bool accepted = vv::record_format::read_record_file(bytes, file, error);
  if (!accepted) {
    require(error.line >= 1 && !error.why.empty());
  } else {
    require(file.moves.size() <= static_cast<size_t>(vv::RECORD_CAPACITY));
    for (const vv::record_format::MoveLine& m : file.moves)
      require(vv::record_format::format_move_line(m).size() == static_cast<size_t>(vv::record_format::MOVE_LINE_WIDTH));
    // A header may end in a stray CR, which the save form could never hold.
    if (!has_line_break(file.game) && !has_line_break(file.top) && !has_line_break(file.bottom)) {
      std::string again;
      int bad_header = 0;
      require(vv::record_format::format_record_file(file, again, bad_header));
      vv::record_format::RecordFile reread;
      require(vv::record_format::read_record_file(again, reread, error));
      require(reread.game == file.game && reread.top == file.top && reread.bottom == file.bottom);
      require(reread.moves == file.moves);
    }
  }

  // The same bytes clicked in the file list of a game in progress.
  FilePort port(bytes);
  vv::Game g(port);
  g.event([&] { g.start_up(); });
  g.event([&] { g.start_two_person_game(); });
  const vv::MoveRecord before = g.record;
  g.event([&] { g.load_record_file("folder", "file.棋譜"); });
  if (!accepted) {
    require(!g.flow.record_mode && g.record.move_number == before.move_number);
    return 0;
  }
  require(g.flow.record_mode && g.record.record_length == static_cast<int>(file.moves.size()));
  for (size_t i = 0; i < file.moves.size(); ++i) {
    g.event([&] { g.step_forward(); });
    const vv::Position& p = g.engine.pos;
    require(p.hands_consistent());
    for (int s = 1; s <= 4; ++s) require(p.man_hand[s] >= 0 && p.com_hand[s] >= 0);
  }
  require(g.record.move_number == static_cast<int>(file.moves.size()));
  return 0;
}
