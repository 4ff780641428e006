// A port with no window: it records what the game asked of it as event
// lines, answers Yes/No questions from a script (Yes when the script is
// empty), and keeps a virtual clock that moves only by waits.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "flow/port.h"

namespace vv {

class RecordingPort : public Port {
 public:
  void draw_picture(double, double, int) override { ++drawings; }
  void draw_outline(int, int, int) override { ++drawings; }
  void draw_text(double, double, const std::string& text, int, int, bool) override;
  void refresh() override {}
  void set_mark(MenuMark item, bool checked) override { marks[static_cast<int>(item)] = checked; }

  void message(const std::string& title, const std::string& text) override;
  bool ask(const std::string& title, const std::string& text) override;
  void play(Sound s) override;

  double clock() override { return now; }
  void wait(double seconds) override;
  void set_timer(bool running) override { timer_running = running; }
  void quit() override { quit_requested = true; }
  void computer_moved(int from_x, int from_y, int to_x, int to_y, int placed) override;
  bool read_file(const std::string& path, std::string& bytes, std::string& error) override;
  bool write_file(const std::string& path, const std::string& bytes, std::string& error) override;

  void show_file_lists(bool drive, bool folder, bool file) override { lists_shown = drive || folder || file; }
  void show_save_form(bool visible) override;
  SaveFormTexts save_form_texts() override { return form; }
  std::string file_list_folder() override { return folder; }

  bool mark(MenuMark item) const { return marks[static_cast<int>(item)]; }

  std::vector<std::string> events;  // "msg TITLE|TEXT[|yes|no]", "sound NAME", "com FX FY TX TY PLACED"
  std::vector<std::string> texts;   // every text drawn, in order
  std::deque<bool> answers;         // scripted answers to the next questions
  double now = 0;
  bool timer_running = false;
  bool quit_requested = false;
  long drawings = 0;
  // The record-file panel as a script fills it.
  bool lists_shown = false;
  bool save_form_shown = false;
  SaveFormTexts form;
  std::string folder = ".";
  // Off for the one-shot commands: no file is read, and writing one succeeds
  // without touching the disk, so they never create a settings file.
  bool real_files = true;

 private:
  bool marks[static_cast<int>(MenuMark::COUNT)] = {};
};

}  // namespace vv
