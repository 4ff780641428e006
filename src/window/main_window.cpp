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

constexpr int NO_MARK = -1;
constexpr int M(MenuMark m) { return static_cast<int>(m); }

// The menu bar, in order. Depth 0 entries sit on the bar itself: with
// `opens` a menu (its handler runs as it opens), without it an item that
// acts when clicked. The entries that follow an opening entry at one depth
// more belong to it. The captions are the Japanese ones, translated as the
// menus are built.
struct MenuEntry {
  int depth;
  const char* caption;
  bool opens;
  void (*handler)(Game&);
  int mark;
  bool radio;  // one of a set of which one is marked
};

constexpr MenuEntry MENU[] = {
    {0, QT_TRANSLATE_NOOP("Menu", "対局"), true, [](Game& g) { g.game_menu_opened(); }, NO_MARK, false},
    {1, QT_TRANSLATE_NOOP("Menu", "対局(人間)"), true, [](Game& g) { g.two_person_menu_opened(); }, NO_MARK, false},
    {2, QT_TRANSLATE_NOOP("Menu", "スタート"), false, [](Game& g) { g.start_two_person_game(); }, NO_MARK, false},
    {1, QT_TRANSLATE_NOOP("Menu", "対局(COM)"), true, nullptr, NO_MARK, false},
    {2, QT_TRANSLATE_NOOP("Menu", "先手"), false, [](Game& g) { g.start_game_person_first(); }, NO_MARK, false},
    {2, QT_TRANSLATE_NOOP("Menu", "後手"), false, [](Game& g) { g.start_game_computer_first(); }, NO_MARK, false},
    {1, QT_TRANSLATE_NOOP("Menu", "COM対局ﾚﾍﾞﾙ"), true, nullptr, NO_MARK, false},
    {2, QT_TRANSLATE_NOOP("Menu", "LEVEL1"), false, [](Game& g) { g.choose_level(1); }, M(MenuMark::LEVEL1), true},
    {2, QT_TRANSLATE_NOOP("Menu", "LEVEL2"), false, [](Game& g) { g.choose_level(2); }, M(MenuMark::LEVEL2), true},
    {2, QT_TRANSLATE_NOOP("Menu", "LEVEL3"), false, [](Game& g) { g.choose_level(3); }, M(MenuMark::LEVEL3), true},
    {2, QT_TRANSLATE_NOOP("Menu", "LEVEL4"), false, [](Game& g) { g.choose_level(4); }, M(MenuMark::LEVEL4), true},
    {1, QT_TRANSLATE_NOOP("Menu", "終わり"), false, [](Game& g) { g.quit_game(); }, NO_MARK, false},
    {0, QT_TRANSLATE_NOOP("Menu", "局面"), true, [](Game& g) { g.board_menu_opened(); }, NO_MARK, false},
    {1, QT_TRANSLATE_NOOP("Menu", "最初"), false, [](Game& g) { g.back_to_start(); }, NO_MARK, false},
    {1, QT_TRANSLATE_NOOP("Menu", "反転"), false, [](Game& g) { g.flip_board(); }, NO_MARK, false},
    {0, QT_TRANSLATE_NOOP("Menu", "戻"), false, [](Game& g) { g.step_back(); }, NO_MARK, false},
    {0, QT_TRANSLATE_NOOP("Menu", "進"), false, [](Game& g) { g.step_forward(); }, NO_MARK, false},
    {0, QT_TRANSLATE_NOOP("Menu", "△"), false, [](Game& g) { g.raise_handicap(); }, NO_MARK, false},
    {0, QT_TRANSLATE_NOOP("Menu", "▽"), false, [](Game& g) { g.lower_handicap(); }, NO_MARK, false},
    {0, QT_TRANSLATE_NOOP("Menu", "棋譜"), true, [](Game& g) { g.record_menu_opened(); }, NO_MARK, false},
    {1, QT_TRANSLATE_NOOP("Menu", "読込"), false, [](Game& g) { g.show_load_panel(); }, NO_MARK, false},
    {1, QT_TRANSLATE_NOOP("Menu", "書込"), false, [](Game& g) { g.show_save_panel(); }, NO_MARK, false},
    {0, QT_TRANSLATE_NOOP("Menu", "ｵﾌﾟｼｮﾝ"), true, [](Game& g) { g.options_menu_opened(); }, NO_MARK, false},
    {1, QT_TRANSLATE_NOOP("Menu", "背景画"), true, nullptr, NO_MARK, false},
    {2, QT_TRANSLATE_NOOP("Menu", "緑"), false, [](Game& g) { g.choose_background(BACKGROUND_GREEN); }, M(MenuMark::GREEN), false},
    {2, QT_TRANSLATE_NOOP("Menu", "畳"), false, [](Game& g) { g.choose_background(BACKGROUND_TATAMI); }, M(MenuMark::TATAMI), false},
    {2, QT_TRANSLATE_NOOP("Menu", "竹"), false, [](Game& g) { g.choose_background(BACKGROUND_BAMBOO); }, M(MenuMark::BAMBOO), false},
    {2, QT_TRANSLATE_NOOP("Menu", "宇宙"), false, [](Game& g) { g.choose_background(BACKGROUND_SPACE); }, M(MenuMark::SPACE), false},
    {2, QT_TRANSLATE_NOOP("Menu", "煉瓦"), false, [](Game& g) { g.choose_background(BACKGROUND_BRICK); }, M(MenuMark::BRICK), false},
    {1, QT_TRANSLATE_NOOP("Menu", "移動指導"), false, [](Game& g) { g.toggle_move_hints(); }, M(MenuMark::MOVE_HINTS), false},
    {1, QT_TRANSLATE_NOOP("Menu", "経過時間"), false, [](Game& g) { g.toggle_clock(); }, M(MenuMark::CLOCK), false},
    {1, QT_TRANSLATE_NOOP("Menu", "BGM"), false, [](Game& g) { g.toggle_music(); }, M(MenuMark::MUSIC), false},
    {0, QT_TRANSLATE_NOOP("Menu", "その他"), false, [](Game& g) { g.show_about(); }, NO_MARK, false},
};

constexpr int MAX_DEPTH = 3;

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
  QMenu* parents[MAX_DEPTH] = {};
  QActionGroup* radio_group = nullptr;
  for (const MenuEntry& entry : MENU) {
    const QString caption = QCoreApplication::translate("Menu", entry.caption);
    auto handler = entry.handler;
    if (entry.opens) {
      QMenu* menu = entry.depth == 0 ? menuBar()->addMenu(caption) : parents[entry.depth - 1]->addMenu(caption);
      parents[entry.depth] = menu;
      radio_group = nullptr;
      if (handler) connect(menu, &QMenu::aboutToShow, this, [this, handler] { dispatch([&] { handler(game_); }); });
      continue;
    }
    QAction* action = new QAction(caption, this);
    if (entry.depth == 0)
      menuBar()->addAction(action);
    else
      parents[entry.depth - 1]->addAction(action);
    if (entry.mark != NO_MARK) {
      action->setCheckable(true);
      marks_[entry.mark] = action;
      if (entry.radio) {
        if (!radio_group) {
          radio_group = new QActionGroup(this);
          radio_group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        }
        radio_group->addAction(action);
      }
    }
    // Qt has turned a checkable item's mark over by now; the game decides
    // the mark, so it is set back from the game's marks afterwards.
    connect(action, &QAction::triggered, this, [this, handler] { dispatch([&] { handler(game_); }); });
  }
}

void MainWindow::sync_marks() {
  for (int i = 0; i < static_cast<int>(MenuMark::COUNT); ++i)
    if (marks_[i]) marks_[i]->setChecked(port_.mark(static_cast<MenuMark>(i)));
}

void MainWindow::dispatch(const std::function<void()>& handler) {
  if (busy_ || game_.ended) {
    sync_marks();
    return;
  }
  busy_ = true;
  game_.event(handler);
  // The window was closed while the handler ran and the game did not end
  // the program itself: it ends now, as closing the window does.
  if (!game_.ended && port_.close_requested()) game_.event([&] { game_.window_closed(); });
  busy_ = false;
  sync_marks();
}

void MainWindow::timer_tick() {
  // A tick never runs inside another handler, not even inside its message
  // boxes or waits.
  if (busy_) return;
  dispatch([&] { game_.timer_tick(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (game_.ended) {
    event->accept();
    return;
  }
  if (busy_) {
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
  if (placed_ || isMaximized()) return;
  placed_ = true;
  // The opening size counts the frame; the frame is known once the window is shown.
  const QSize frame = frameGeometry().size() - geometry().size();
  if (!frame.isEmpty()) resize(OPEN_WIDTH - frame.width(), OPEN_HEIGHT - frame.height());
  move(0, 0);
}

}  // namespace vv
