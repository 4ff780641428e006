// The port for real: drawing into the window's surface, message boxes, the
// sound bank, the clock, waits that keep the window painting, the 50 ms
// timer and the record-file panel.
#pragma once

#include <QFont>
#include <QTimer>
#include <functional>
#include <map>
#include <utility>

#include "flow/port.h"
#include "window/artwork.h"
#include "window/message_boxes.h"
#include "window/text_painter.h"
#include "window/sound/sound_bank.h"

class QEventLoop;
class QWidget;

namespace vv {

class FilePanel;
class Surface;

class QtPort : public Port {
 public:
  // With `sound` false no sound device is opened: every sound is silent.
  QtPort(Surface& surface, MessageBoxes& boxes, bool sound);
  ~QtPort() override;

  void draw_picture(double x, double y, int picture) override;
  void draw_outline(int colour, int x, int y) override;
  void draw_text(double x, double y, const std::string& text, int colour, int size, bool bold) override;
  void refresh() override;
  void set_mark(MenuMark item, bool checked) override;

  void message(const std::string& title, const std::string& text) override;
  bool ask(const std::string& title, const std::string& text) override;
  void about(const std::string& text) override;

  void open_sounds() override;
  void close_sounds() override;
  void play(Sound s) override;
  void play_looping(Sound s) override;
  void stop(Sound s) override;

  double clock() override;
  void wait(double seconds) override;
  void set_timer(bool running) override;
  bool close_requested() override { return close_requested_; }

  void show_file_lists(bool drive, bool folder, bool file) override;
  void show_save_form(bool visible) override;
  SaveFormTexts save_form_texts() override;
  std::string file_list_folder() override;
  void refresh_file_list() override;

  void quit() override;

  // --- The window's side ----------------------------------------------------
  void set_panel(FilePanel* panel) { panel_ = panel; }
  void set_sound_window(QWidget* w) { sound_window_ = w; }
  // Runs on every tick of the timer.
  std::function<void()> on_tick;
  // Runs when a mark changes.
  std::function<void(MenuMark, bool)> on_mark;
  // Ends the application; by default a queued exit of the event loop, so
  // that the running handler unwinds first.
  std::function<void()> on_quit;

  // The window was closed while a handler ran: the current wait ends at once
  // and every later one returns at once.
  void request_close();
  bool mark(MenuMark item) const { return marks_[static_cast<int>(item)]; }
  bool quit_requested() const { return quit_requested_; }
  bool timer_running() const { return timer_.isActive(); }
  int sound_closes() const { return sound_closes_; }

 private:
  const QFont& font(int size, bool bold);

  Surface& surface_;
  MessageBoxes& boxes_;
  Artwork artwork_;
  QString font_family_;
  std::map<std::pair<int, bool>, QFont> fonts_;
  TextPainter text_painter_;
  FilePanel* panel_ = nullptr;
  QWidget* sound_window_ = nullptr;
  bool sound_;
  bool sound_open_ = false;
  int sound_closes_ = 0;
  SoundBank bank_;
  QTimer timer_;
  QEventLoop* current_wait_ = nullptr;
  bool close_requested_ = false;
  bool quit_requested_ = false;
  bool marks_[static_cast<int>(MenuMark::COUNT)] = {};
};

}  // namespace vv
