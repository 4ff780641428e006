#include "window/message_boxes.h"

#include <QMessageBox>

#include "window/translation.h"

namespace vv {
namespace {

// In the window's language; the game breaks its lines with a carriage return alone.
QString shown(const std::string& text) {
  QString s = translate_message(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

}  // namespace

void QtMessageBoxes::message(const std::string& title, const std::string& text, Icon icon) {
  QMessageBox box(icon == Icon::warning ? QMessageBox::Warning : QMessageBox::NoIcon, shown(title),
                  shown(text), QMessageBox::Ok, parent_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool QtMessageBoxes::ask(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, shown(title), shown(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void QtMessageBoxes::about(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Information, shown(title), shown(text), QMessageBox::Ok, parent_);
  box.setTextFormat(Qt::PlainText);
  if (parent_) box.setIconPixmap(parent_->windowIcon().pixmap(64, 64));
  box.exec();
}

}  // namespace vv
