#include "window/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>

namespace vv {
namespace {

// One entry of the menu bar: a menu, which opens and may run a handler as it
// opens; an item, which runs its handler when clicked; or an item that also
// carries a check mark the game sets, alone or as one of a set of which at
// most one is marked (a radio set).
enum class EntryKind { MENU, ITEM, CHECK_ITEM, RADIO_ITEM };
using Handler = void (*)(Game&);
constexpr MenuMark NO_MARK = MenuMark::COUNT;

struct MenuEntry {
  int depth;            // 0 on the menu bar, 1 in one of its menus, 2 in a submenu
  const char* caption;  // Japanese, translated as the menus are built
  EntryKind kind;
  Handler handler;  // nullptr: a menu that runs nothing as it opens
  MenuMark mark;    // the check mark of a CHECK_ITEM or RADIO_ITEM
};

constexpr MenuEntry menu(int depth, const char* caption, Handler opened = nullptr) {
  return {depth, caption, EntryKind::MENU, opened, NO_MARK};
}
constexpr MenuEntry item(int depth, const char* caption, Handler clicked) {
  return {depth, caption, EntryKind::ITEM, clicked, NO_MARK};
}
constexpr MenuEntry check_item(int depth, const char* caption, Handler clicked, MenuMark mark) {
  return {depth, caption, EntryKind::CHECK_ITEM, clicked, mark};
}
constexpr MenuEntry radio_item(int depth, const char* caption, Handler clicked, MenuMark mark) {
  return {depth, caption, EntryKind::RADIO_ITEM, clicked, mark};
}

// The menu bar, top to bottom, indented by depth: the one place that ties
// each Japanese menu caption to the Game handler it runs, so the code behind
// a menu item is found from its caption here. The entries that follow a menu
// at one depth more are its items. The English caption (from the translation
// file) follows each entry whose code does not already say it.
constexpr MenuEntry MENU_BAR[] = {
    menu(0, QT_TRANSLATE_NOOP("Menu", "対局"), [](Game& g) { g.game_menu_opened(); }),  // Game
      menu(1, QT_TRANSLATE_NOOP("Menu", "対局(人間)"), [](Game& g) { g.two_person_menu_opened(); }),  // Two Players
        item(2, QT_TRANSLATE_NOOP("Menu", "スタート"), [](Game& g) { g.start_two_person_game(); }),  // Start
      menu(1, QT_TRANSLATE_NOOP("Menu", "対局(COM)")),  // Against Computer
        item(2, QT_TRANSLATE_NOOP("Menu", "先手"), [](Game& g) { g.start_game_person_first(); }),  // Move First
        item(2, QT_TRANSLATE_NOOP("Menu", "後手"), [](Game& g) { g.start_game_computer_first(); }),  // Move Second
      menu(1, QT_TRANSLATE_NOOP("Menu", "COM対局ﾚﾍﾞﾙ")),  // Computer Level
        radio_item(2, QT_TRANSLATE_NOOP("Menu", "LEVEL1"), [](Game& g) { g.choose_level(1); }, MenuMark::LEVEL1),
        radio_item(2, QT_TRANSLATE_NOOP("Menu", "LEVEL2"), [](Game& g) { g.choose_level(2); }, MenuMark::LEVEL2),
        radio_item(2, QT_TRANSLATE_NOOP("Menu", "LEVEL3"), [](Game& g) { g.choose_level(3); }, MenuMark::LEVEL3),
        radio_item(2, QT_TRANSLATE_NOOP("Menu", "LEVEL4"), [](Game& g) { g.choose_level(4); }, MenuMark::LEVEL4),
      item(1, QT_TRANSLATE_NOOP("Menu", "終わり"), [](Game& g) { g.quit_game(); }),  // Quit
    menu(0, QT_TRANSLATE_NOOP("Menu", "局面"), [](Game& g) { g.board_menu_opened(); }),  // Board
      item(1, QT_TRANSLATE_NOOP("Menu", "最初"), [](Game& g) { g.back_to_start(); }),  // Reset
      item(1, QT_TRANSLATE_NOOP("Menu", "反転"), [](Game& g) { g.flip_board(); }),  // Flip
    item(0, QT_TRANSLATE_NOOP("Menu", "戻"), [](Game& g) { g.step_back(); }),  // Back
    item(0, QT_TRANSLATE_NOOP("Menu", "進"), [](Game& g) { g.step_forward(); }),  // Forward
    item(0, QT_TRANSLATE_NOOP("Menu", "△"), [](Game& g) { g.raise_handicap(); }),
    item(0, QT_TRANSLATE_NOOP("Menu", "▽"), [](Game& g) { g.lower_handicap(); }),
    menu(0, QT_TRANSLATE_NOOP("Menu", "棋譜"), [](Game& g) { g.record_menu_opened(); }),  // Record
      item(1, QT_TRANSLATE_NOOP("Menu", "読込"), [](Game& g) { g.show_load_panel(); }),  // Load
      item(1, QT_TRANSLATE_NOOP("Menu", "書込"), [](Game& g) { g.show_save_panel(); }),  // Save
    menu(0, QT_TRANSLATE_NOOP("Menu", "ｵﾌﾟｼｮﾝ"), [](Game& g) { g.options_menu_opened(); }),  // Options
      menu(1, QT_TRANSLATE_NOOP("Menu", "背景画")),  // Background
        check_item(2, QT_TRANSLATE_NOOP("Menu", "緑"), [](Game& g) { g.choose_background(BACKGROUND_GREEN); }, MenuMark::GREEN),
        check_item(2, QT_TRANSLATE_NOOP("Menu", "畳"), [](Game& g) { g.choose_background(BACKGROUND_TATAMI); }, MenuMark::TATAMI),
        check_item(2, QT_TRANSLATE_NOOP("Menu", "竹"), [](Game& g) { g.choose_background(BACKGROUND_BAMBOO); }, MenuMark::BAMBOO),
        check_item(2, QT_TRANSLATE_NOOP("Menu", "宇宙"), [](Game& g) { g.choose_background(BACKGROUND_SPACE); }, MenuMark::SPACE),
        check_item(2, QT_TRANSLATE_NOOP("Menu", "煉瓦"), [](Game& g) { g.choose_background(BACKGROUND_BRICK); }, MenuMark::BRICK),
      check_item(1, QT_TRANSLATE_NOOP("Menu", "移動指導"), [](Game& g) { g.toggle_move_hints(); }, MenuMark::MOVE_HINTS),  // Move Hints
      check_item(1, QT_TRANSLATE_NOOP("Menu", "経過時間"), [](Game& g) { g.toggle_clock(); }, MenuMark::CLOCK),  // Clock
      check_item(1, QT_TRANSLATE_NOOP("Menu", "BGM"), [](Game& g) { g.toggle_music(); }, MenuMark::MUSIC),  // Music
    item(0, QT_TRANSLATE_NOOP("Menu", "その他"), [](Game& g) { g.show_about(); }),  // About
};

constexpr int MAX_DEPTH = 3;  // depths 0 to 2

}  // namespace

MainWindow::MainWindow(WindowOptions options)
    : own_boxes_(options.boxes ? nullptr : std::make_unique<QtMessageBoxes>(this)),
      boxes_(options.boxes ? options.boxes : own_boxes_.get()),
      surface_(new Surface(this)),
      port_(*surface_, *boxes_, options.sound),
      game_(port_) {
  setWindowTitle(QStringLiteral("Veverodu"));
  setCentralWidget(surface_);
  panel_ = std::make_unique<FilePanel>(*surface_);
  port_.set_panel(panel_.get());
  port_.set_sound_window(this);
  build_menus();

  port_.on_mark = [this](MenuMark m, bool on) {
    if (QAction* a = marks_[static_cast<int>(m)]) a->setChecked(on);
  };
  port_.on_tick = [this] { timer_tick(); };
  surface_->on_mouse_down = [this](int button, int shift, double x, double y) {
    dispatch([&] { game_.mouse_down(button, shift, x, y); });
  };
  surface_->on_layout = [this] { panel_->place(); };
  panel_->on_file_clicked = [this](const QString& folder, const QString& name) {
    const std::string f = folder.toStdString(), n = name.toStdString();
    dispatch([&] { game_.load_record_file(f, n); });
  };
  panel_->on_return = [this] { dispatch([&] { game_.save_record_file(); }); };
  panel_->on_drive_not_ready = [this] { dispatch([&] { port_.message("ｴﾗｰ", "ﾃﾞﾊﾞｲｽが準備できていません"); }); };

  dispatch([&] { game_.start_up(); });
  place_at_start();
}

MainWindow::~MainWindow() {
  port_.on_mark = nullptr;
  port_.on_tick = nullptr;
  port_.set_timer(false);
}

void MainWindow::build_menus() {
  QMenu* open_menus[MAX_DEPTH] = {};  // the menu last made at each depth
  QActionGroup* radio_set = nullptr;
  for (const MenuEntry& entry : MENU_BAR) {
    const QString caption = QCoreApplication::translate("Menu", entry.caption);
    const Handler handler = entry.handler;
    if (entry.kind == EntryKind::MENU) {
      QMenu* menu = entry.depth == 0 ? menuBar()->addMenu(caption) : open_menus[entry.depth - 1]->addMenu(caption);
      open_menus[entry.depth] = menu;
      radio_set = nullptr;
      if (handler) connect(menu, &QMenu::aboutToShow, this, [this, handler] { dispatch([&] { handler(game_); }); });
      continue;
    }
    QAction* action = new QAction(caption, this);
    if (entry.depth == 0)
      menuBar()->addAction(action);
    else
      open_menus[entry.depth - 1]->addAction(action);
    if (entry.mark != NO_MARK) {
      action->setCheckable(true);
      marks_[static_cast<int>(entry.mark)] = action;
      if (entry.kind == EntryKind::RADIO_ITEM) {
        if (!radio_set) {
          radio_set = new QActionGroup(this);
          radio_set->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        }
        radio_set->addAction(action);
      }
    }
    // Qt turns a checkable item's mark over as it is clicked, before the
    // handler runs; the game decides the marks, and dispatch sets every mark
    // back to the game's afterwards.
    connect(action, &QAction::triggered, this, [this, handler] { dispatch([&] { handler(game_); }); });
  }
}

void MainWindow::sync_marks() {
  for (int i = 0; i < static_cast<int>(MenuMark::COUNT); ++i)
    if (marks_[i]) marks_[i]->setChecked(port_.mark(static_cast<MenuMark>(i)));
}

void MainWindow::dispatch(const std::function<void()>& handler) {
  if (handler_running_ || game_.ended) {
    sync_marks();
    return;
  }
  handler_running_ = true;
  game_.event(handler);
  // The window was closed while the handler ran and the game did not end
  // the program itself: it ends now, as closing the window does.
  if (!game_.ended && port_.close_requested()) game_.event([&] { game_.window_closed(); });
  handler_running_ = false;
  sync_marks();
}

void MainWindow::timer_tick() {
  // A tick never runs inside another handler, not even inside its message
  // boxes or waits.
  if (handler_running_) return;
  dispatch([&] { game_.timer_tick(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (game_.ended) {
    event->accept();
    return;
  }
  if (handler_running_) {
    // The running handler hears of it at its next wait and ends the program.
    event->ignore();
    port_.request_close();
    return;
  }
  dispatch([&] { game_.window_closed(); });
  event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Typing into the record panel's boxes is not a key for the game.
  if (panel_->owns(QApplication::focusWidget())) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  int code = 0;
  if (event->key() == Qt::Key_Escape)
    code = KEY_ESCAPE;
  else if (!event->text().isEmpty())
    code = event->text().at(0).unicode();
  if (code == 0) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  dispatch([&] { game_.key_press(code); });
}

void MainWindow::place_at_start() {
  // A maximised window stays as it is; otherwise the window goes to the
  // screen's top-left corner at its opening size.
  if (isMaximized()) return;
  resize(OPEN_WIDTH, OPEN_HEIGHT);
  move(0, 0);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (fitted_to_frame_ || isMaximized()) return;
  fitted_to_frame_ = true;
  // The opening size counts the frame; the frame is known once the window is shown.
  const QSize frame = frameGeometry().size() - geometry().size();
  if (!frame.isEmpty()) resize(OPEN_WIDTH - frame.width(), OPEN_HEIGHT - frame.height());
  move(0, 0);
}

}  // namespace vv
