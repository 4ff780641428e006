#include "cli/play.h"

#include <cmath>
#include <cstdlib>
#include <istream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/text_escape.h"
#include "flow/game.h"
#include "flow/recording_port.h"
#include "record/record_format.h"
#include "rules/position_text.h"

namespace vv::cli {
namespace {

std::vector<std::string> words_of(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// A whole number of up to six characters, a sign allowed.
bool parse_int(const std::string& text, int& out) {
  if (text.empty() || text.size() > 6) return false;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0') return false;
  out = static_cast<int>(v);
  return true;
}

bool parse_seconds(const std::string& text, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(v) || v < 0 || v > 1e9) return false;
  out = v;
  return true;
}

// The window lays the screen out on a grid in twips: place (x, y) starts at
// (2200 + 600 x, 520 + 615 y) and is 600 by 615. A click lands in its centre.
double click_x(int x) { return 2200 + 600.0 * x + 300; }
double click_y(int y) { return 520 + 615.0 * y + 307; }

// The answer to `state`: the game's state, one name=value a field.
std::string state_line(const Game& g) {
  const FlowState& f = g.flow;
  std::ostringstream s;
  s << "state side_to_move=" << f.side_to_move << " move_count=" << f.move_count
    << " move_number=" << g.record.move_number << " record_length=" << g.record.record_length << " winner=" << f.winner
    << " game_mode=" << f.game_mode << " man_side=" << f.man_side << " com_side=" << f.com_side
    << " first_side=" << f.first_side << " second_side=" << f.second_side
    << " handicap_level=" << g.handicap.handicap_level << " record_mode=" << (f.record_mode ? 1 : 0)
    << " board_flipped=" << (f.board_flipped ? 1 : 0);
  return s.str();
}

// Splits a path into the folder the file list shows and the file's name.
struct FolderAndName {
  std::string folder, name;
};
FolderAndName split_path(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {std::string(1, '.'), path};
  return {slash == 0 ? std::string(1, '/') : path.substr(0, slash), path.substr(slash + 1)};
}

// One game object driven as the window drives it: each command runs the
// window's handlers inside one event, and the events the game reports
// through its port are printed.
class Driver {
 public:
  Driver(std::ostream& out, bool random_term) : out_(out) {
    game_.engine.random_term = random_term;
    game_.event([&] { game_.start_up(); });
    flush();
  }

  bool ended() const { return game_.ended; }

  // One line of the script; false when it is not a command.
  bool run(const std::vector<std::string>& w) {
    const std::string& c = w[0];
    const std::size_t n = w.size();
    Game& g = game_;
    if (n == 1 && c == "start") {
      g.event([&] { g.game_menu_opened(); g.start_two_person_game(); });
    } else if (n == 1 && c == "sente") {
      g.event([&] { g.game_menu_opened(); g.start_game_person_first(); });
    } else if (n == 1 && c == "gote") {
      g.event([&] { g.game_menu_opened(); g.start_game_computer_first(); });
    } else if (n == 2 && c == "level") {
      int level;
      if (!parse_int(w[1], level) || level < 1 || level > 4) return false;
      g.event([&] { g.game_menu_opened(); g.choose_level(level); });
    } else if (n == 3 && c == "click") {
      int x, y;
      if (!parse_int(w[1], x) || !parse_int(w[2], y)) return false;
      g.event([&] { g.mouse_down(1, 0, click_x(x), click_y(y)); });
    } else if (n == 1 && c == "forward") {
      g.event([&] { g.step_forward(); });
    } else if (n == 1 && c == "back") {
      g.event([&] { g.step_back(); });
    } else if (n == 1 && c == "cancel") {
      g.event([&] { g.board_menu_opened(); g.back_to_start(); });
    } else if (n == 1 && c == "flip") {
      g.event([&] { g.board_menu_opened(); g.flip_board(); });
    } else if (n == 1 && c == "up") {
      g.event([&] { g.raise_handicap(); });
    } else if (n == 1 && c == "down") {
      g.event([&] { g.lower_handicap(); });
    } else if (n == 2 && c == "answer" && (w[1] == "yes" || w[1] == "no")) {
      port_.answers.push_back(w[1] == "yes");
    } else if (n == 2 && c == "wait") {
      double seconds;
      if (!parse_seconds(w[1], seconds)) return false;
      port_.wait(seconds);
      if (port_.timer_running) g.event([&] { g.timer_tick(); });
    } else if (n >= 2 && n <= 5 && c == "save") {
      save(w);
    } else if (n == 2 && c == "load") {
      const FolderAndName file = split_path(w[1]);
      g.event([&] {
        g.record_menu_opened();
        g.show_load_panel();
        g.load_record_file(file.folder, file.name);
      });
    } else if (n == 1 && c == "board") {
      out_ << "board " << format_position(g.engine.pos) << '\n';
    } else if (n == 1 && c == "record") {
      for (int i = 1; i <= g.record.move_number; ++i) out_ << "record " << record_format::format_move_line(g.record, i) << '\n';
    } else if (n == 1 && c == "state") {
      out_ << state_line(g) << '\n';
    } else {
      return false;
    }
    flush();
    return true;
  }

  void flush() {
    for (const std::string& e : port_.events) out_ << e << '\n';
    port_.events.clear();
  }

 private:
  // As a player saves: the panel opened from the record menu's 書込 ("write")
  // item, the boxes filled in, then Return pressed.
  void save(const std::vector<std::string>& w) {
    Game& g = game_;
    const FolderAndName file = split_path(w[1]);
    g.event([&] {
      g.record_menu_opened();
      g.show_save_panel();
      if (!port_.save_form_shown) return;
      port_.folder = file.folder;
      port_.form.file = file.name;
      port_.form.game = w.size() > 2 ? w[2] : "";
      port_.form.first = w.size() > 3 ? w[3] : "";
      port_.form.second = w.size() > 4 ? w[4] : "";
      g.save_record_file();
    });
  }

  std::ostream& out_;
  RecordingPort port_;
  Game game_{port_};
};

}  // namespace

int play(std::istream& in, std::ostream& out, bool random_term) {
  auto driver = std::make_unique<Driver>(out, random_term);
  std::string line;
  while (!driver->ended() && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> words = words_of(line);
    if (words.empty() || words[0][0] == '#') continue;
    if (!driver->run(words)) out << "error " << escape_line(line) << '\n';
  }
  if (in.bad()) return 2;
  return 0;
}

}  // namespace vv::cli
