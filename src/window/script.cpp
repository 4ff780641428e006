#include "window/script.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "window/main_window.h"

namespace vv {
namespace {

// The text on one line, its line breaks written as \r and \n.
std::string printable(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

constexpr int STEP_MS = 20;  // lets the window paint between two steps

}  // namespace

void ScriptedMessageBoxes::message(const std::string& title, const std::string& text, Icon) {
  std::cout << "msg " << title << '|' << printable(text) << std::endl;
}

bool ScriptedMessageBoxes::ask(const std::string& title, const std::string& text) {
  bool answer = true;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  std::cout << "msg " << title << '|' << printable(text) << (answer ? "|yes" : "|no") << std::endl;
  return answer;
}

void ScriptedMessageBoxes::about(const std::string& title, const std::string& text) { message(title, text, Icon::none); }

ScriptRunner::ScriptRunner(MainWindow& window, ScriptedMessageBoxes& boxes, std::vector<std::string> lines,
                           QString shots)
    : window_(window), boxes_(boxes), lines_(std::move(lines)), shots_(std::move(shots)) {}

void ScriptRunner::start() { QTimer::singleShot(STEP_MS, &window_, [this] { step(); }); }

void ScriptRunner::step() {
  // The step's timer may fire inside a handler's wait (the computer's turn):
  // the step waits until the handler has returned.
  if (window_.handler_running()) {
    QTimer::singleShot(STEP_MS, &window_, [this] { step(); });
    return;
  }
  while (next_ < lines_.size()) {
    std::string line = lines_[next_++];
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    int delay = STEP_MS;
    if (!run(line, delay)) std::cerr << "error " << line << std::endl;
    if (window_.game().ended) return;  // the application is quitting
    screenshot(line);
    QTimer::singleShot(delay, &window_, [this] { step(); });
    return;
  }
  window_.close();
}

bool ScriptRunner::run(const std::string& line, int& delay_ms) {
  std::istringstream in(line);
  std::string word;
  in >> word;
  Game& g = window_.game();
  auto run_handler = [&](void (Game::*handler)()) { window_.dispatch([&] { (g.*handler)(); }); };
  if (word == "start") run_handler(&Game::start_two_person_game);
  else if (word == "sente") run_handler(&Game::start_game_person_first);
  else if (word == "gote") run_handler(&Game::start_game_computer_first);
  else if (word == "forward") run_handler(&Game::step_forward);
  else if (word == "back") run_handler(&Game::step_back);
  else if (word == "cancel") run_handler(&Game::back_to_start);
  else if (word == "flip") run_handler(&Game::flip_board);
  else if (word == "up") run_handler(&Game::raise_handicap);
  else if (word == "down") run_handler(&Game::lower_handicap);
  else if (word == "read") run_handler(&Game::show_load_panel);
  else if (word == "write") run_handler(&Game::show_save_panel);
  else if (word == "about") run_handler(&Game::show_about);
  else if (word == "guidance") run_handler(&Game::toggle_move_hints);
  else if (word == "escape") window_.dispatch([&] { g.key_press(KEY_ESCAPE); });
  else if (word == "shot") {
    // Only the screenshot every step takes, named after the step.
  } else if (word == "level") {
    int n = 0;
    if (!(in >> n)) return false;
    window_.dispatch([&] { g.choose_level(n); });
  } else if (word == "size") {
    // The window's outer size in pixels (without a frame under a bare X server).
    int w = 0, h = 0;
    if (!(in >> w >> h) || w <= 0 || h <= 0) return false;
    window_.resize(w, h);
  } else if (word == "background") {
    int code = 0;
    if (!(in >> code)) return false;
    window_.dispatch([&] { g.choose_background(code); });
  } else if (word == "click") {
    double x = 0, y = 0;
    if (!(in >> x >> y)) return false;
    // The centre of the grid place.
    window_.dispatch([&] { g.mouse_down(1, 0, 2200 + 600 * x + 300, 520 + 615 * y + 307); });
  } else if (word == "answer") {
    std::string a;
    in >> a;
    if (a != "yes" && a != "no") return false;
    boxes_.answers.push_back(a == "yes");
  } else if (word == "wait") {
    double s = -1;
    if (!(in >> s) || s < 0) return false;
    delay_ms = static_cast<int>(s * 1000);
  } else if (word == "close") {
    // Closes the window S seconds from now, whatever runs then.
    double s = -1;
    if (!(in >> s) || s < 0) return false;
    MainWindow* w = &window_;
    QTimer::singleShot(static_cast<int>(s * 1000), w, [w] { w->close(); });
  } else if (word == "save") {
    std::string path, game, first, second;
    if (!(in >> path)) return false;
    in >> game >> first >> second;
    const QFileInfo info(QString::fromStdString(path));
    run_handler(&Game::show_save_panel);
    window_.panel().set_folder(info.absolutePath());
    window_.panel().set_form_texts({game, first, second, info.fileName().toStdString()});
    run_handler(&Game::save_record_file);
  } else if (word == "type") {
    // Types into the open save panel's boxes without pressing RETURN.
    std::string game, first, second, file;
    in >> game >> first >> second >> file;
    window_.panel().set_form_texts({game, first, second, file});
  } else if (word == "load") {
    std::string path;
    if (!(in >> path)) return false;
    const QFileInfo info(QString::fromStdString(path));
    window_.panel().set_folder(info.absolutePath());
    const std::string folder = window_.panel().file_folder().toStdString(), name = info.fileName().toStdString();
    window_.dispatch([&] { g.load_record_file(folder, name); });
  } else {
    return false;
  }
  return true;
}

void ScriptRunner::screenshot(const std::string& line) {
  if (shots_.isEmpty()) return;
  QString name = QString::fromStdString(line).simplified();
  name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
  const QString file = QDir(shots_).filePath(QStringLiteral("%1-%2.png").arg(++shot_number_, 2, 10, QLatin1Char('0')).arg(name));
  if (!window_.grab().save(file)) std::cerr << "cannot write " << file.toStdString() << std::endl;
}

}  // namespace vv
