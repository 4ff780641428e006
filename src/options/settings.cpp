// The settings file and the menu "ｵﾌﾟｼｮﾝ" (Options). The file mirrors the
// menu marks: it is read once at start-up and rewritten after every change.
// A file that cannot be read whole gives way to the defaults; a folder where
// not even the defaults can be written leaves the program running on what it
// has. The file, Veverodu.ini in the folder the program works in, holds four
// lines in Shift-JIS: 背景画= (Background) and the background's caption,
// then 移動指導= (Move Hints), 経過時間= (Clock) and BGM= (Music), each ON or
// OFF.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "flow/game.h"
#include "record/shift_jis.h"
#include "rules/piece.h"

namespace vv {
namespace {

constexpr const char* SETTINGS_FILE = "Veverodu.ini";
constexpr int SETTINGS_LINES = 4;

struct BackgroundLine {
  int code;
  MenuMark item;
  const char* text;
};
// In this order the first marked background is looked for when the file is written.
constexpr BackgroundLine BACKGROUNDS[5] = {
    {BACKGROUND_GREEN, MenuMark::GREEN, "背景画=緑"}, {BACKGROUND_BAMBOO, MenuMark::BAMBOO, "背景画=竹"},
    {BACKGROUND_TATAMI, MenuMark::TATAMI, "背景画=畳"}, {BACKGROUND_SPACE, MenuMark::SPACE, "背景画=宇宙"},
    {BACKGROUND_BRICK, MenuMark::BRICK, "背景画=煉瓦"},
};
constexpr const char* GUIDANCE_ON = "移動指導=ON";
constexpr const char* GUIDANCE_OFF = "移動指導=OFF";
constexpr const char* ELAPSED_ON = "経過時間=ON";
constexpr const char* ELAPSED_OFF = "経過時間=OFF";
constexpr const char* MUSIC_ON = "BGM=ON";
constexpr const char* MUSIC_OFF = "BGM=OFF";

const std::vector<std::string> DEFAULT_LINES = {"背景画=緑", GUIDANCE_OFF, ELAPSED_ON, MUSIC_ON};

const BackgroundLine* background_of(int code) {
  for (const BackgroundLine& b : BACKGROUNDS)
    if (b.code == code) return &b;
  return nullptr;
}

// The file's first four lines, still in Shift-JIS; false when it has fewer.
// CR LF and LF both end a line.
bool first_lines(std::string_view bytes, std::string_view (&lines)[SETTINGS_LINES]) {
  size_t start = 0;
  for (int i = 0; i < SETTINGS_LINES; ++i) {
    if (start >= bytes.size()) return false;
    size_t end = bytes.find('\n', start);
    const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines[i] = line;
    start = next;
  }
  return true;
}

// Lines compare exactly, byte for byte with the Shift-JIS form of the text:
// "経過時間=on" is not "経過時間=ON".
bool line_is(std::string_view line, const char* text) {
  std::string encoded;
  return sjis::from_utf8(text, encoded) && line == encoded;
}

bool write_lines(Port& port, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    std::string encoded;
    if (!sjis::from_utf8(line, encoded)) return false;
    bytes += encoded;
    bytes += "\r\n";
  }
  std::string reason;
  if (port.write_file(SETTINGS_FILE, bytes, reason)) return true;
  // Said once: the options still work for this run, they are just not kept.
  static bool told = false;
  if (!told) {
    told = true;
    std::cerr << "veverodu: cannot write " << SETTINGS_FILE << " (" << reason
              << "); the options of this run will not be kept\n";
  }
  return false;
}

}  // namespace

void Game::mark_background(int code) {
  for (const BackgroundLine& b : BACKGROUNDS) set_mark(b.item, false);
  if (const BackgroundLine* b = background_of(code)) set_mark(b->item, true);
}

void Game::read_settings_file() {
  std::string bytes, reason;
  std::string_view lines[SETTINGS_LINES];
  // The whole file is checked before anything is applied, so a short file
  // leaves no option half set from its first lines.
  if (port_.read_file(SETTINGS_FILE, bytes, reason) && first_lines(bytes, lines)) {
    // A first line naming no background leaves marks and picture as start_up set them.
    for (const BackgroundLine& b : BACKGROUNDS) {
      if (line_is(lines[0], b.text)) {
        mark_background(b.code);
        draw_background(b.code);
        options.background_code = b.code;
        break;
      }
    }
    const bool guidance = line_is(lines[1], GUIDANCE_ON);
    options.hint_colour = guidance ? WHITE : board_line_colour;
    set_mark(MenuMark::MOVE_HINTS, guidance);
    options.move_hints = guidance;
    set_mark(MenuMark::CLOCK, line_is(lines[2], ELAPSED_ON));
    const bool music = line_is(lines[3], MUSIC_ON);
    set_mark(MenuMark::MUSIC, music);
    if (music) port_.play_looping(Sound::MUSIC);
    return;
  }

  // A missing, short or unreadable file: the defaults, written anew. The
  // music is marked but does not start: on a first run it plays only once
  // its item is chosen twice, off and on again.
  write_lines(port_, DEFAULT_LINES);
  mark_background(BACKGROUND_GREEN);
  draw_background(BACKGROUND_GREEN);
  options.background_code = BACKGROUND_GREEN;
  set_mark(MenuMark::MOVE_HINTS, false);
  options.move_hints = false;
  options.hint_colour = board_line_colour;
  set_mark(MenuMark::CLOCK, true);
  set_mark(MenuMark::MUSIC, true);
}

void Game::write_settings_file() {
  std::vector<std::string> lines;
  for (const BackgroundLine& b : BACKGROUNDS) {
    if (options.marked(b.item)) {
      lines.push_back(b.text);
      break;
    }
  }
  lines.push_back(options.marked(MenuMark::MOVE_HINTS) ? GUIDANCE_ON : GUIDANCE_OFF);
  lines.push_back(options.marked(MenuMark::CLOCK) ? ELAPSED_ON : ELAPSED_OFF);
  lines.push_back(options.marked(MenuMark::MUSIC) ? MUSIC_ON : MUSIC_OFF);
  if (write_lines(port_, lines)) return;
  // The defaults replace a file that could not be written. Where even they
  // cannot be written, the marks keep showing what the player chose, which
  // is what the program goes on doing.
  if (!write_lines(port_, DEFAULT_LINES)) return;
  mark_background(BACKGROUND_GREEN);
  set_mark(MenuMark::MOVE_HINTS, false);
  set_mark(MenuMark::CLOCK, true);
  set_mark(MenuMark::MUSIC, true);
}

// Opening the menu hides the record-file panel and empties its save form.
void Game::options_menu_opened() {
  hide_record_panel();
}

void Game::choose_background(int code) {
  const BackgroundLine* b = background_of(code);
  if (b == nullptr) return;
  if (!options.marked(b->item)) {
    mark_background(code);
    options.background_code = code;
  }
  write_settings_file();
  redraw_screen();
}

void Game::toggle_move_hints() {
  if (options.marked(MenuMark::MOVE_HINTS)) {
    // The hint outlines go: the board's squares and the top side's stand get
    // their plain outlines back. The bottom side's stand keeps what it has
    // until it is next drawn.
    for (int x = 1; x <= 9; ++x)
      for (int y = 1; y <= 9; ++y) draw_square_outline(outline_colour, x, y);
    for (int r = 1; r <= 4; ++r) {
      draw_square_outline(outline_colour, COM_FRONT_COLUMN, r);
      draw_square_outline(outline_colour, COM_BACK_COLUMN, r);
    }
    set_mark(MenuMark::MOVE_HINTS, false);
    options.move_hints = false;
    options.hint_colour = outline_colour;
  } else {
    set_mark(MenuMark::MOVE_HINTS, true);
    options.move_hints = true;
    options.hint_colour = WHITE;
  }
  write_settings_file();
}

void Game::toggle_clock() {
  if (options.marked(MenuMark::CLOCK)) {
    set_mark(MenuMark::CLOCK, false);
    set_timer(false);
    erase_elapsed_time(flow.man_side);
    erase_elapsed_time(flow.com_side);
  } else {
    set_mark(MenuMark::CLOCK, true);
    set_timer(true);
    draw_elapsed_time(flow.com_side, time.com_time_total);
    draw_elapsed_time(flow.man_side, time.man_time_total);
  }
  write_settings_file();
}

void Game::toggle_music() {
  if (options.marked(MenuMark::MUSIC)) {
    set_mark(MenuMark::MUSIC, false);
    port_.stop(Sound::MUSIC);
  } else {
    set_mark(MenuMark::MUSIC, true);
    port_.play_looping(Sound::MUSIC);
  }
  write_settings_file();
}

}  // namespace vv
