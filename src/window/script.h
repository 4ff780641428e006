// A hidden mode of the window for screenshots and smoke runs: commands read
// from a file, in the words of `veverodu-cli play`, drive the window one
// step at a time while the event loop runs; message boxes are answered from
// the script (Yes unless told otherwise) and printed as events. Besides
// those words: `guidance` (the 移動指導 move-hints item), `size W H` (the
// window's size) and `shot NAME` (a step that only takes its screenshot).
#pragma once

#include <QString>
#include <deque>
#include <string>
#include <vector>

#include "window/message_boxes.h"

namespace vv {

class MainWindow;

class ScriptedMessageBoxes : public MessageBoxes {
 public:
  void message(const std::string& title, const std::string& text, Icon icon) override;
  bool ask(const std::string& title, const std::string& text) override;
  void about(const std::string& title, const std::string& text) override;
  std::deque<bool> answers;
};

class ScriptRunner {
 public:
  // Screenshots of the whole window go to `shots` after each step when it is
  // not empty, named by step number and command.
  ScriptRunner(MainWindow& window, ScriptedMessageBoxes& boxes, std::vector<std::string> lines, QString shots);
  void start();  // runs the steps from the event loop; closes the window after the last

 private:
  void step();
  // Carries out one command; false for one it does not know. `delay_ms` is
  // how long the window runs on before the next step.
  bool run(const std::string& line, int& delay_ms);
  void screenshot(const std::string& line);

  MainWindow& window_;
  ScriptedMessageBoxes& boxes_;
  std::vector<std::string> lines_;
  QString shots_;
  size_t next_ = 0;
  int shot_number_ = 0;
};

}  // namespace vv
