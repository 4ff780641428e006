// The window's modal message boxes, behind an interface so that tests and
// the script mode can answer them.
#pragma once

#include <string>

class QWidget;

namespace vv {

class MessageBoxes {
 public:
  enum class Icon { none, warning };
  virtual ~MessageBoxes() = default;
  // Texts and titles are UTF-8, as the game says them.
  virtual void message(const std::string& title, const std::string& text, Icon icon) = 0;
  virtual bool ask(const std::string& title, const std::string& text) = 0;  // Yes is true
  virtual void about(const std::string& title, const std::string& text) = 0;
};

// Real boxes, modal over the window, in the window's language.
class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent) : parent_(parent) {}
  void message(const std::string& title, const std::string& text, Icon icon) override;
  bool ask(const std::string& title, const std::string& text) override;
  void about(const std::string& title, const std::string& text) override;

 private:
  QWidget* parent_;
};

}  // namespace vv
