// The game's window: the menu bar, the drawing surface and the record-file
// panel. Every menu item, click, key, tick and the closing of the window is
// handed to the game object, one handler at a time. Which handler each menu
// caption runs is laid out in one table, MENU_BAR in main_window.cpp.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "flow/game.h"
#include "window/file_panel.h"
#include "window/message_boxes.h"
#include "window/qt_port.h"
#include "window/surface.h"

class QAction;

namespace vv {

struct WindowOptions {
  MessageBoxes* boxes = nullptr;  // nullptr: real message boxes
  bool sound = true;              // false: no sound device is opened
};

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(WindowOptions options = {});
  ~MainWindow() override;

  // Runs one handler of the game. Nothing runs while another handler is
  // running or after the program ended.
  void dispatch(const std::function<void()>& handler);
  bool handler_running() const { return handler_running_; }

  Game& game() { return game_; }
  QtPort& port() { return port_; }
  Surface& surface() { return *surface_; }
  FilePanel& panel() { return *panel_; }
  QAction* mark_action(MenuMark m) const { return marks_[static_cast<int>(m)]; }

  // Outer size of a newly opened window in pixels, frame included (12000 x
  // 8700 twips).
  static constexpr int OPEN_WIDTH = 800, OPEN_HEIGHT = 580;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void build_menus();
  void sync_marks();
  void timer_tick();
  void place_at_start();

  std::unique_ptr<MessageBoxes> own_boxes_;
  MessageBoxes* boxes_;
  Surface* surface_;
  QtPort port_;
  std::unique_ptr<FilePanel> panel_;
  Game game_;
  QAction* marks_[static_cast<int>(MenuMark::COUNT)] = {};
  bool handler_running_ = false;
  bool fitted_to_frame_ = false;  // the first show fitted the opening size to the window's frame
};

}  // namespace vv
