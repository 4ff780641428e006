// A window for the rendering and record-panel tests: in an empty folder of
// its own, message boxes answered Yes and remembered, no sound.
#pragma once

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "window/main_window.h"

namespace vv::looks {

class RememberingBoxes : public MessageBoxes {
 public:
  void message(const std::string& title, const std::string& text, Icon) override { shown.push_back(title + "|" + text); }
  bool ask(const std::string& title, const std::string& text) override {
    shown.push_back(title + "|" + text);
    return true;
  }
  void about(const std::string& title, const std::string& text) override { shown.push_back(title + "|" + text); }
  std::vector<std::string> shown;
};

struct Window {
  QTemporaryDir folder;
  bool in_folder = QDir::setCurrent(folder.path());
  RememberingBoxes boxes;
  std::unique_ptr<MainWindow> window;

  explicit Window(QSize size = QSize(MainWindow::OPEN_WIDTH, MainWindow::OPEN_HEIGHT)) {
    WindowOptions o;
    o.boxes = &boxes;
    o.sound = false;
    window = std::make_unique<MainWindow>(o);
    window->show();
    resize(size);
  }
  ~Window() { QDir::setCurrent(QDir::tempPath()); }
  void resize(QSize size) {
    window->resize(size);
    QApplication::processEvents();
  }
  Game& game() { return window->game(); }
  Surface& surface() { return window->surface(); }
  QtPort& port() { return window->port(); }
  // What the surface shows now, at its device pixels.
  QImage shown() { return surface().grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

}  // namespace vv::looks
