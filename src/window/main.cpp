// The game's window program. Besides the game itself it has a few modes for
// building and testing: writing the icons, a script that drives the window,
// and quitting as soon as the window is drawn.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
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
#include "window/translation.h"

namespace {

constexpr const char* USAGE =
    "usage: veverodu [--lang ja|en] [--data-folder] [--script FILE [--screenshot DIR]] [--quit-after-first-draw]\n"
    "       veverodu --write-icon PATH [--icon-size N]\n"
    "       veverodu --write-icons DIR\n"
    "       veverodu --help | --version\n";

constexpr const char* HELP =
    "Veverodu, a board game of the shogi family: every piece that moves turns over.\n"
    "\n"
    "Options:\n"
    "  --lang ja|en            Japanese or English; by default the first of the\n"
    "                          preferred languages that is Japanese or else English\n"
    "  --data-folder           work in $XDG_DATA_HOME/veverodu (~/.local/share/veverodu),\n"
    "                          made when missing, instead of the current folder: the\n"
    "                          settings file Veverodu.ini and the record files live there\n"
    "  --script FILE           drive the window with the commands of veverodu-cli play\n"
    "  --screenshot DIR        with --script: save the window after every step in DIR\n"
    "  --quit-after-first-draw close the window as soon as it is drawn\n"
    "  --write-icon PATH       draw the icon into the PNG file PATH and quit\n"
    "  --icon-size N           the size of that icon in pixels (default 256)\n"
    "  --write-icons DIR       draw the icon in every size into DIR/NxN/apps/veverodu.png\n"
    "  --help                  show this help and quit\n"
    "  --version               show the version and quit\n";

// The sizes of the icon theme's folders.
constexpr int ICON_SIZES[] = {16, 32, 48, 64, 128, 256, 512};

struct Arguments {
  std::string script, screenshots, icon, icons, lang;
  int icon_size = 256;
  bool quit_after_first_draw = false, data_folder = false, help = false, version = false;
};

// Nothing for a command line it does not understand, with the reason in `problem`.
std::optional<Arguments> parse(int argc, char** argv, std::string& problem) {
  Arguments a;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) {
        problem = arg + " needs a value";
        return false;
      }
      into = argv[++i];
      return true;
    };
    if (arg == "--script") {
      if (!value(a.script)) return std::nullopt;
    } else if (arg == "--screenshot") {
      if (!value(a.screenshots)) return std::nullopt;
    } else if (arg == "--write-icon") {
      if (!value(a.icon)) return std::nullopt;
    } else if (arg == "--write-icons") {
      if (!value(a.icons)) return std::nullopt;
    } else if (arg == "--icon-size") {
      std::string n;
      if (!value(n)) return std::nullopt;
      a.icon_size =
          n.empty() || n.size() > 4 || n.find_first_not_of("0123456789") != std::string::npos ? 0 : std::stoi(n);
      if (a.icon_size < 1 || a.icon_size > 1024) {
        problem = "--icon-size takes a number of pixels from 1 to 1024, not \"" + n + "\"";
        return std::nullopt;
      }
    } else if (arg == "--lang") {
      if (!value(a.lang)) return std::nullopt;
      if (!vv::language_named(QString::fromStdString(a.lang))) {
        problem = "--lang takes ja or en, not \"" + a.lang + "\"";
        return std::nullopt;
      }
    } else if (arg == "--data-folder") {
      a.data_folder = true;
    } else if (arg == "--quit-after-first-draw") {
      a.quit_after_first_draw = true;
    } else if (arg == "--help" || arg == "-h") {
      a.help = true;
    } else if (arg == "--version") {
      a.version = true;
    } else {
      problem = "unknown option " + arg;
      return std::nullopt;
    }
  }
  return a;
}

// $XDG_DATA_HOME/veverodu; a relative or empty XDG_DATA_HOME counts as unset.
QString data_folder() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + QStringLiteral("/.local/share");
  return base + QStringLiteral("/veverodu");
}

bool write_icons(const QString& folder) {
  for (int size : ICON_SIZES) {
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
    if (!QDir().mkpath(dir) || !vv::Artwork::icon(size).save(dir + QStringLiteral("/veverodu.png"), "PNG")) {
      std::cerr << "veverodu: cannot write the icons to " << dir.toStdString() << '\n';
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string problem;
  const std::optional<Arguments> args = parse(argc, argv, problem);
  if (!args) {
    std::cerr << "veverodu: " << problem << '\n' << USAGE;
    return 2;
  }
  if (args->help) {
    std::cout << USAGE << '\n' << HELP;
    return 0;
  }
  if (args->version) {
    std::cout << "veverodu " << VEVERODU_VERSION << '\n';
    return 0;
  }
  // The icons are written while building, where there may be no display.
  const bool drawing_icons = !args->icon.empty() || !args->icons.empty();
  if (drawing_icons && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Veverodu"));
  QApplication::setApplicationVersion(QStringLiteral(VEVERODU_VERSION));
  // Small: it is drawn at every start.
  QApplication::setWindowIcon(QPixmap::fromImage(vv::Artwork::icon(64)));

  if (!args->icon.empty()) {
    if (!vv::Artwork::icon(args->icon_size).save(QString::fromStdString(args->icon), "PNG")) {
      std::cerr << "veverodu: cannot write the icon to " << args->icon << '\n';
      return 1;
    }
    if (args->icons.empty()) return 0;
  }
  if (!args->icons.empty()) return write_icons(QString::fromStdString(args->icons)) ? 0 : 1;

  // --lang was checked with the other arguments.
  const vv::Language language =
      *vv::choose_language(QString::fromStdString(args->lang), QLocale::system().uiLanguages());
  if (!vv::use_language(language))
    std::cerr << "veverodu: the translation for \"" << vv::language_code(language) << "\" is missing\n";

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
  const QString shots =
      args->screenshots.empty() ? QString() : QDir(QString::fromStdString(args->screenshots)).absolutePath();

  // Started from the desktop's menu the game keeps its settings and records
  // in a folder of its own; from a terminal it works where it was started.
  if (args->data_folder) {
    const QString folder = data_folder();
    if (!QDir().mkpath(folder) || !QDir::setCurrent(folder)) {
      std::cerr << "veverodu: cannot work in the folder " << folder.toStdString() << '\n';
      return 1;
    }
  }

  vv::ScriptedMessageBoxes scripted;
  vv::WindowOptions options;
  options.sound = qgetenv("VEVERODU_NO_SOUND") != "1";
  if (!args->script.empty()) options.boxes = &scripted;
  vv::MainWindow window(options);
  if (window.game().ended) return 0;  // the game ended the program while starting

  if (args->quit_after_first_draw) {
    window.surface().on_first_paint = [&window] { QTimer::singleShot(0, &window, [&window] { window.close(); }); };
  }
  std::optional<vv::ScriptRunner> runner;
  if (!args->script.empty()) {
    runner.emplace(window, scripted, std::move(script), shots);
    runner->start();
  }
  window.show();
  return app.exec();
}
