// The game's window program. Besides the game itself it has a few modes for
// building and testing: writing the icon, a script that drives the window,
// and quitting as soon as the window is drawn.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "window/artwork.h"
#include "window/main_window.h"
#include "window/script.h"

namespace {

constexpr const char* USAGE =
    "usage: veverodu [--script FILE [--screenshot DIR]] [--quit-after-first-draw]\n"
    "       veverodu --write-icon PATH\n";

struct Arguments {
  std::string script, screenshots, icon;
  bool quit_after_first_draw = false;
};

std::optional<Arguments> parse(int argc, char** argv) {
  Arguments a;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    if (arg == "--script") {
      if (!value(a.script)) return std::nullopt;
    } else if (arg == "--screenshot") {
      if (!value(a.screenshots)) return std::nullopt;
    } else if (arg == "--write-icon") {
      if (!value(a.icon)) return std::nullopt;
    } else if (arg == "--quit-after-first-draw") {
      a.quit_after_first_draw = true;
    } else {
      return std::nullopt;
    }
  }
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Arguments> args = parse(argc, argv);
  if (!args) {
    std::cerr << USAGE;
    return 2;
  }
  // The icon is written while building, where there may be no display.
  if (!args->icon.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Veverodu"));
  QApplication::setApplicationVersion(QStringLiteral(VEVERODU_VERSION));
  // Small: it is drawn at every start.
  QApplication::setWindowIcon(QPixmap::fromImage(vv::Artwork::icon(64)));

  if (!args->icon.empty()) {
    if (!vv::Artwork::icon(256).save(QString::fromStdString(args->icon), "PNG")) {
      std::cerr << "veverodu: cannot write the icon to " << args->icon << '\n';
      return 1;
    }
    return 0;
  }

  std::vector<std::string> script;
  if (!args->script.empty()) {
    std::ifstream in(args->script);
    if (!in) {
      std::cerr << "veverodu: cannot read the script " << args->script << '\n';
      return 2;
    }
    for (std::string line; std::getline(in, line);) script.push_back(line);
  }
  if (!args->screenshots.empty() && !QDir().mkpath(QString::fromStdString(args->screenshots))) {
    std::cerr << "veverodu: cannot make the folder " << args->screenshots << '\n';
    return 2;
  }

  vv::ScriptedMessageBoxes scripted;
  vv::WindowOptions options;
  options.sound = qgetenv("VEVERODU_NO_SOUND") != "1";
  if (!args->script.empty()) options.boxes = &scripted;
  vv::MainWindow window(options);
  if (window.game().ended) return 0;  // the game ended the program while starting

  if (args->quit_after_first_draw) {
    window.surface().on_first_paint = [&window] {
      QTimer::singleShot(0, &window, [&window] { window.close(); });
    };
  }
  std::optional<vv::ScriptRunner> runner;
  if (!args->script.empty()) {
    runner.emplace(window, scripted, std::move(script), QString::fromStdString(args->screenshots));
    runner->start();
  }
  window.show();
  return app.exec();
}
