// Pictures of the window in one language, as a player sees it: the menus
// open, the real message boxes, the handicap label, the record panel, a loaded
// record and the end of a game. Run under an X server (tools/screenshots-lang
// starts a virtual one); the whole screen is grabbed, so open menus and boxes
// are in the pictures.
// usage: veverodu_screens ja|en OUTPUT_FOLDER
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <iostream>

#include "window/artwork.h"
#include "window/main_window.h"
#include "window/translation.h"

namespace {

QString out_folder;
vv::MainWindow* window = nullptr;

void settle(int ms = 150) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// The window's part of the screen, with room below and to the right for
// menus that hang out of it.
void shoot(const QString& name, int extra_width = 0, int extra_height = 0) {
  QApplication::processEvents();
  const QRect frame = window->frameGeometry();
  const QPixmap shot =
      window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width() + extra_width, frame.height() + extra_height);
  const QString file = QDir(out_folder).filePath(name + QStringLiteral(".png"));
  if (!shot.save(file)) std::cerr << "cannot write " << file.toStdString() << '\n';
  std::cout << file.toStdString() << '\n';
}

// Message boxes: each one that opens is photographed under `name` when one is
// wanted, then answered Yes or OK.
QStringList box_names;
void watch_boxes() {
  auto* timer = new QTimer(qApp);
  timer->setInterval(100);
  QObject::connect(timer, &QTimer::timeout, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    // Boxes live on the stack, so a new one may sit where the last one was.
    if (box->property("seen").toBool()) return;
    box->setProperty("seen", true);
    QTimer::singleShot(200, box, [box] {
      if (!box_names.isEmpty()) {
        const QString name = box_names.takeFirst();
        if (!name.isEmpty()) shoot(name);
      }
      QAbstractButton* b = box->button(QMessageBox::Yes);
      if (!b) b = box->button(QMessageBox::Ok);
      if (b) b->click();
    });
  });
  timer->start();
}

QMenu* menu_at(QList<QAction*> actions, const QList<int>& path) {
  QMenu* menu = nullptr;
  for (int index : path) {
    QList<QAction*> visible;
    for (QAction* a : actions)
      if (!a->isSeparator()) visible << a;
    QAction* a = visible.value(index);
    if (!a || !a->menu()) return nullptr;
    menu = a->menu();
    actions = menu->actions();
  }
  return menu;
}

// Opens the menus along `path` (indices from the bar) and photographs them.
void shoot_menu(const QString& name, const QList<int>& path) {
  QMenuBar* bar = window->menuBar();
  QList<QAction*> top;
  for (QAction* a : bar->actions()) top << a;
  QAction* first = top.value(path.first());
  if (!first || !first->menu()) return;
  bar->setActiveAction(first);
  settle(300);
  QMenu* open = first->menu();
  for (int i = 1; i < path.size(); ++i) {
    QMenu* sub = menu_at(open->actions(), {path[i]});
    QList<QAction*> visible;
    for (QAction* a : open->actions())
      if (!a->isSeparator()) visible << a;
    open->setActiveAction(visible.value(path[i]));
    settle(300);
    if (sub) {
      sub->popup(open->mapToGlobal(open->actionGeometry(visible.value(path[i])).topRight()));
      settle(300);
      open = sub;
    }
  }
  shoot(name, 0, 0);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* m = qobject_cast<QMenu*>(w)) m->close();
  bar->setActiveAction(nullptr);
  settle(200);
}

void run(const std::function<void()>& handler) { window->dispatch(handler); }

// A click in the centre of grid place (x, y), in the window's twips.
void click(int x, int y) {
  vv::Game& g = window->game();
  run([&] { g.mouse_down(1, 0, 2200 + 600 * x + 300, 520 + 615 * y + 307); });
  settle(100);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || !vv::language_named(QString::fromUtf8(argv[1]))) {
    std::cerr << "usage: veverodu_screens ja|en OUTPUT_FOLDER\n";
    return 2;
  }
  qputenv("VEVERODU_NO_SOUND", "1");
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QPixmap::fromImage(vv::Artwork::icon(64)));
  const QString suffix = QStringLiteral("-") + QString::fromUtf8(argv[1]);
  out_folder = QDir(QString::fromUtf8(argv[2])).absolutePath();
  QDir().mkpath(out_folder);
  if (!vv::use_language(*vv::language_named(QString::fromUtf8(argv[1])))) return 1;
  // A folder of its own: default settings, and the record files made here.
  QTemporaryDir work;
  QDir::setCurrent(work.path());

  vv::WindowOptions options;
  options.sound = false;
  vv::MainWindow main_window(options);
  window = &main_window;
  main_window.port().on_quit = [] {};
  main_window.show();
  main_window.move(0, 0);
  watch_boxes();
  settle(500);
  vv::Game& g = main_window.game();
  auto n = [&](const char* base) { return QString::fromUtf8(base) + suffix; };

  shoot(n("start"));
  shoot_menu(n("menu-game"), {0, 1});
  shoot_menu(n("menu-level"), {0, 2});
  shoot_menu(n("menu-options"), {7, 0});

  // Handicaps before the first move: the rank label, then a refusal.
  for (int i = 0; i < 3; ++i) run([&] { g.lower_handicap(); });
  settle();
  shoot(n("handicap"));
  run([&] { g.back_to_start(); });

  // A game against the computer: the person moves first.
  box_names = {n("box-your-move")};
  run([&] { g.start_game_person_first(); });
  settle();
  click(7, 7);
  click(7, 6);
  settle(1500);
  click(3, 7);
  click(3, 6);
  settle(1500);
  shoot(n("playing"));
  box_names = {n("box-handicap-refused")};
  run([&] { g.raise_handicap(); });
  settle();

  // The record panel: saving, then the file list.
  run([&] { g.show_save_panel(); });
  main_window.panel().set_form_texts({"Final", "Alice", "Bob", "game1"});
  settle();
  shoot(n("save-panel"));
  box_names = {n("box-saved")};
  run([&] { g.save_record_file(); });
  settle();
  run([&] { g.show_load_panel(); });
  settle();
  shoot(n("load-panel"));
  box_names = {n("box-loaded"), n("box-step")};
  const std::string folder = main_window.panel().file_folder().toStdString();
  run([&] { g.load_record_file(folder, "game1.棋譜"); });
  settle();
  run([&] { g.step_forward(); });
  run([&] { g.step_forward(); });
  settle();
  shoot(n("record-loaded"));

  // The end of a game and the about box.
  box_names = {n("box-result"), n("box-again")};
  run([&] { g.announce_winner("あなた"); });
  settle();
  box_names = {n("box-about")};
  run([&] { g.show_about(); });
  settle();

  // The start-up message about sound, where no sound device can be opened
  // (none under a virtual display without a sound server).
  box_names = {n("box-sound")};
  options.sound = true;
  vv::MainWindow with_sound(options);
  with_sound.port().on_quit = [] {};
  settle();
  return 0;
}
