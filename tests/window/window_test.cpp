// The window with its message boxes answered by a test double, on Qt's
// offscreen platform and without sound.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "window/artwork.h"
#include "window/main_window.h"

namespace vv {
namespace {

class AnsweringBoxes : public MessageBoxes {
 public:
  struct Box {
    std::string title, text;
  };
  void message(const std::string& title, const std::string& text, Icon) override { open(title, text); }
  bool ask(const std::string& title, const std::string& text) override {
    open(title, text);
    if (answers.empty()) return true;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  void about(const std::string& title, const std::string& text) override { open(title, text); }

  std::vector<Box> shown;
  std::deque<bool> answers;
  std::function<void()> while_open;  // runs as if the person took a while to answer

 private:
  void open(const std::string& title, const std::string& text) {
    shown.push_back({title, text});
    if (while_open) while_open();
  }
};

struct Fixture {
  // Each window starts in an empty folder: the default settings, and no
  // settings file left behind by another test.
  QTemporaryDir folder;
  bool in_folder = QDir::setCurrent(folder.path());
  AnsweringBoxes boxes;
  std::unique_ptr<MainWindow> window;
  int quits = 0;
  Fixture() {
    WindowOptions o;
    o.boxes = &boxes;
    o.sound = false;
    window = std::make_unique<MainWindow>(o);
    window->port().on_quit = [this] { ++quits; };
    window->show();
    window->resize(MainWindow::OPEN_WIDTH, MainWindow::OPEN_HEIGHT);
    QApplication::processEvents();
  }
  ~Fixture() { QDir::setCurrent(QDir::tempPath()); }
  Game& game() { return window->game(); }
  QAction* item(const QString& path) { return find(window->menuBar()->actions(), path.split('/')); }
  static QAction* find(const QList<QAction*>& actions, const QStringList& path) {
    for (QAction* a : actions) {
      if (a->text() != path.front()) continue;
      if (path.size() == 1) return a;
      return a->menu() ? find(a->menu()->actions(), path.mid(1)) : nullptr;
    }
    return nullptr;
  }
  // A mouse click at the centre of grid place (x, y), where the window shows it now.
  void click(int x, int y) {
    const QRect r = window->surface().widget_rect(QRect(2200 + 600 * x, 520 + 615 * y, 600, 615));
    QTest::mouseClick(&window->surface(), Qt::LeftButton, {}, r.center());
  }
  QImage place_image(int x, int y) const {
    return window->surface().image().copy(QRect((2200 + 600 * x) / 5 + 3, (520 + 615 * y) / 5 + 3, 114, 117));
  }
};

QString describe(const QList<QAction*>& actions) {
  QStringList parts;
  for (QAction* a : actions) {
    if (a->isSeparator()) continue;
    parts << (a->menu() ? a->text() + "[" + describe(a->menu()->actions()) + "]" : a->text());
  }
  return parts.join(' ');
}

TEST(WindowMenus, CaptionsOrderAndNesting) {
  Fixture f;
  EXPECT_EQ(describe(f.window->menuBar()->actions()).toStdString(),
            "対局[対局(人間)[スタート] 対局(COM)[先手 後手] COM対局ﾚﾍﾞﾙ[LEVEL1 LEVEL2 LEVEL3 LEVEL4] 終わり] "
            "局面[最初 反転] 戻 進 △ ▽ 棋譜[読込 書込] "
            "ｵﾌﾟｼｮﾝ[背景画[緑 畳 竹 宇宙 煉瓦] 移動指導 経過時間 BGM] その他");
  EXPECT_EQ(f.window->windowTitle(), "Veverodu");
}

TEST(WindowMenus, OnlyTheGameSetsCheckMarks) {
  Fixture f;
  QAction* level1 = f.item("対局/COM対局ﾚﾍﾞﾙ/LEVEL1");
  QAction* level3 = f.item("対局/COM対局ﾚﾍﾞﾙ/LEVEL3");
  ASSERT_TRUE(level1 && level3);
  EXPECT_TRUE(level3->isChecked());
  level3->trigger();  // clicking the marked level keeps its mark
  EXPECT_TRUE(level3->isChecked());
  level1->trigger();
  EXPECT_TRUE(level1->isChecked());
  EXPECT_FALSE(level3->isChecked());
  EXPECT_EQ(f.game().engine.com_level, 1);
  // Qt turns a checkable item's mark over when it is clicked; the window
  // sets it back to what the game says.
  const std::pair<const char*, MenuMark> options[] = {{"ｵﾌﾟｼｮﾝ/移動指導", MenuMark::MOVE_HINTS},
                                                      {"ｵﾌﾟｼｮﾝ/経過時間", MenuMark::CLOCK},
                                                      {"ｵﾌﾟｼｮﾝ/BGM", MenuMark::MUSIC},
                                                      {"ｵﾌﾟｼｮﾝ/背景画/竹", MenuMark::BAMBOO}};
  for (const auto& [path, mark] : options) {
    QAction* a = f.item(QString::fromUtf8(path));
    ASSERT_TRUE(a) << path;
    a->trigger();
    EXPECT_EQ(a->isChecked(), f.window->port().mark(mark)) << path;
    EXPECT_EQ(a->isChecked(), f.game().options.marked(mark)) << path;
  }
}

// The person's move is two clicks: the pawn on (7, 7), then the square above
// it, where it shows its other face. The window is resized between the
// clicks, so the second one is mapped through the new scale.
TEST(WindowPlay, ClicksMoveAPieceOnTheSurface) {
  Fixture f;
  f.item("対局/対局(人間)/スタート")->trigger();
  ASSERT_FALSE(f.boxes.shown.empty());
  EXPECT_EQ(f.boxes.shown.back().title, " ");
  EXPECT_EQ(f.boxes.shown.back().text, "先手の番です");

  const int pawn = f.game().engine.pos.board[7][7];
  ASSERT_LT(pawn, 0);
  const QImage from_before = f.place_image(7, 7), to_before = f.place_image(7, 6);
  f.click(7, 7);
  EXPECT_TRUE(f.game().flow.piece_picked);
  f.window->resize(1300, 600);
  QApplication::processEvents();
  f.click(7, 6);
  EXPECT_EQ(f.game().engine.pos.board[7][7], 0);
  EXPECT_NE(f.game().engine.pos.board[7][6], 0);
  EXPECT_NE(f.place_image(7, 7), from_before);
  EXPECT_NE(f.place_image(7, 6), to_before);
  // The emptied square shows the same picture as an empty square that never held a piece.
  EXPECT_EQ(f.place_image(7, 7), f.place_image(5, 5));
}

TEST(WindowPlay, ClicksInTheMarginsAreIgnoredAtEverySize) {
  Fixture f;
  f.window->resize(1400, 500);  // wide: margins left and right of the picture
  QApplication::processEvents();
  const QRectF t = f.window->surface().target();
  ASSERT_GT(t.left(), 10);
  QTest::mouseClick(&f.window->surface(), Qt::LeftButton, {}, QPoint(static_cast<int>(t.left()) - 5, 200));
  EXPECT_TRUE(f.boxes.shown.empty());
  f.click(5, 5);  // on the board before a game: the game asks for a start
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  EXPECT_EQ(f.boxes.shown[0].text, "「対局」で始めて下さい");
  for (QSize size : {QSize(1, 1), QSize(200, 2000), QSize(3000, 2000)}) {
    f.window->resize(size);
    QApplication::processEvents();
    EXPECT_FALSE(f.window->grab().isNull());
  }
}

// Closing the window while the computer thinks: the close is held until the
// computer's turn reaches its wait, which ends the program there.
TEST(WindowLifetime, CloseDuringTheComputersTurnEndsCleanly) {
  Fixture f;
  bool closed_at_once = true;
  QTimer::singleShot(30, f.window.get(), [&] { closed_at_once = f.window->close(); });
  f.item("対局/対局(COM)/後手")->trigger();
  EXPECT_FALSE(closed_at_once);
  EXPECT_TRUE(f.game().ended);
  EXPECT_EQ(f.quits, 1);
  EXPECT_EQ(f.window->port().sound_closes(), 1);
  EXPECT_FALSE(f.window->port().timer_running());
  // Nothing runs after the end.
  const size_t boxes = f.boxes.shown.size();
  f.item("対局/対局(人間)/スタート")->trigger();
  f.click(7, 7);
  EXPECT_EQ(f.boxes.shown.size(), boxes);
  EXPECT_TRUE(f.window->close());
  EXPECT_EQ(f.quits, 1);
  EXPECT_EQ(f.window->port().sound_closes(), 1);
}

TEST(WindowLifetime, TimerTicksWaitWhileAHandlerRuns) {
  Fixture f;
  ASSERT_TRUE(f.game().options.marked(MenuMark::CLOCK));
  double seconds_seen_in_box = -1;
  f.boxes.while_open = [&] {
    QTest::qWait(200);  // four ticks' time with the box open
    seconds_seen_in_box = f.game().time.move_seconds;
  };
  f.item("対局/対局(COM)/先手")->trigger();
  f.boxes.while_open = nullptr;
  EXPECT_EQ(seconds_seen_in_box, 0);
  ASSERT_TRUE(f.window->port().timer_running());
  QTest::qWait(200);
  EXPECT_GT(f.game().time.move_seconds, 0);
}

TEST(WindowLifetime, EscapeAndClosingWhileIdleEndTheProgram) {
  {
    Fixture f;
    QTest::keyClick(f.window.get(), Qt::Key_A);
    EXPECT_FALSE(f.game().ended);
    QTest::keyClick(f.window.get(), Qt::Key_Escape);
    EXPECT_TRUE(f.game().ended);
    EXPECT_EQ(f.quits, 1);
  }
  {
    Fixture f;
    EXPECT_TRUE(f.window->close());
    EXPECT_TRUE(f.game().ended);
    EXPECT_EQ(f.quits, 1);
    EXPECT_EQ(f.window->port().sound_closes(), 1);
  }
}

// Drawing primitives of the port, checked on the image pixels (5 twips a pixel).
TEST(WindowSurface, OutlinesTextsAndPictures) {
  Fixture f;
  QtPort& port = f.window->port();
  QImage& image = f.window->surface().image();
  const QColor red(255, 0, 0);

  port.draw_outline(LIGHT_RED, 5, 5);
  const int left = (2200 + 600 * 5) / 5, top = (520 + 615 * 5) / 5;  // 1040, 719
  // One 96-dpi pixel (3 image pixels) wide, both corners included.
  for (QPoint p : {QPoint(left, top), QPoint(left + 2, top + 2), QPoint(left + 122, top + 125), QPoint(left + 120, top + 60),
                   QPoint(left + 60, top + 123)})
    EXPECT_EQ(QColor(image.pixel(p)), red) << p.x() << "," << p.y();
  for (QPoint p : {QPoint(left + 3, top + 3), QPoint(left + 119, top + 122), QPoint(left + 123, top), QPoint(left, top + 126)})
    EXPECT_NE(QColor(image.pixel(p)), red) << p.x() << "," << p.y();

  // A picture code that names nothing leaves the image alone.
  const QImage before = image.copy();
  port.draw_picture(5, 5, 7);
  EXPECT_EQ(image, before);

  // A text's point is its top-left corner: ink below and right of it only.
  const QRect area((2200 + 600 * 12) / 5 - 20, (520 + 615 * 2) / 5 - 20, 200, 120);
  image.fill(Qt::black);
  port.draw_text(12, 2, "王", WHITE, 12, true);
  int top_ink = 1 << 30, left_ink = 1 << 30, bottom_ink = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(image.pixel(x, y)) > 128) {
        top_ink = std::min(top_ink, y);
        left_ink = std::min(left_ink, x);
        bottom_ink = std::max(bottom_ink, y);
      }
  const int text_top = (520 + 615 * 2) / 5, text_left = (2200 + 600 * 12) / 5;
  EXPECT_GE(top_ink, text_top);
  EXPECT_LT(top_ink, text_top + 20);
  EXPECT_GE(left_ink, text_left);
  EXPECT_LT(left_ink, text_left + 20);
  EXPECT_LE(bottom_ink, text_top + 12 * 20 / 5 + 8);  // 12 points: 48 image pixels
}

// The real boxes show the title and text exactly, a lone carriage return
// breaking the line.
TEST(WindowBoxes, RealBoxesShowTheExactTexts) {
  QWidget parent;
  QtMessageBoxes boxes(&parent);
  std::string title, text;
  QMessageBox::StandardButton answer = QMessageBox::Ok;
  auto answer_when_open = [&] {
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      title = box->windowTitle().toStdString();
      text = box->text().toStdString();
      if (QAbstractButton* b = box->button(answer)) b->click();
      else box->reject();
    });
  };
  answer_when_open();
  boxes.message("  ", "棋譜を書き込みました", MessageBoxes::Icon::none);
  EXPECT_EQ(title, "  ");
  EXPECT_EQ(text, "棋譜を書き込みました");
  answer = QMessageBox::No;
  answer_when_open();
  EXPECT_FALSE(boxes.ask("再ゲーム", "続けますか？\r二行目"));
  EXPECT_EQ(title, "再ゲーム");
  EXPECT_EQ(text, "続けますか？\n二行目");
  answer = QMessageBox::Yes;
  answer_when_open();
  EXPECT_TRUE(boxes.ask("再ゲーム", "続けますか？"));
}

TEST(WindowFilePanel, ListsFormAndDrives) {
  Fixture f;
  FilePanel& panel = f.window->panel();
  QDir here(QDir::currentPath());
  here.mkdir("sub");
  for (const char* name : {"a.棋譜", "b.txt", "sub/c.棋譜"}) {
    QFile file(here.filePath(QString::fromUtf8(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  ASSERT_TRUE(panel.set_folder(here.path()));
  ASSERT_EQ(panel.file_list()->count(), 1);
  EXPECT_EQ(panel.file_list()->item(0)->text(), "a.棋譜");

  // Into the subfolder and back up: the file list follows the folder list
  // (a double click opens a folder).
  auto click_folder = [&](const QString& name) {
    const auto items = panel.folder_list()->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    emit panel.folder_list()->itemDoubleClicked(items[0]);
  };
  click_folder("sub");
  EXPECT_EQ(QDir::fromNativeSeparators(panel.file_folder()), here.filePath("sub"));
  EXPECT_EQ(panel.folder_list()->item(0)->text(), QDir::toNativeSeparators(here.filePath("sub")));
  EXPECT_EQ(panel.file_list()->item(0)->text(), "c.棋譜");
  click_folder("..");
  EXPECT_EQ(QDir::fromNativeSeparators(panel.file_folder()), here.path());

  // A drive that cannot be listed: the message, and the folder list stays.
  QComboBox* drives = panel.drive_list();
  drives->addItem(here.filePath("no-such-drive"));
  drives->setCurrentIndex(drives->count() - 1);
  emit drives->activated(drives->count() - 1);
  ASSERT_FALSE(f.boxes.shown.empty());
  EXPECT_EQ(f.boxes.shown.back().title, "ｴﾗｰ");
  EXPECT_EQ(f.boxes.shown.back().text, "ﾃﾞﾊﾞｲｽが準備できていません");
  EXPECT_EQ(QDir::fromNativeSeparators(panel.file_folder()), here.path());
  EXPECT_EQ(drives->currentIndex(), drives->count() - 1);

  // The save form: hiding it empties its boxes.
  f.window->port().show_save_form(true);
  EXPECT_TRUE(panel.return_button()->isVisibleTo(f.window.get()));
  panel.set_form_texts({"名局", "甲", "乙", "kifu1"});
  EXPECT_EQ(f.window->port().save_form_texts().file, "kifu1");
  EXPECT_EQ(f.window->port().save_form_texts().first, "甲");
  f.window->port().show_save_form(false);
  EXPECT_FALSE(panel.return_button()->isVisibleTo(f.window.get()));
  EXPECT_EQ(f.window->port().save_form_texts().game, "");
  EXPECT_EQ(f.window->port().save_form_texts().file, "");
}

TEST(WindowArtwork, EveryCodeHasItsSizeAndTheTilesRepeat) {
  const Artwork art(3);
  auto size_of = [&](int code) { return art.picture(code) ? art.picture(code)->size() : QSize(); };
  for (int code : {0, 10, -10, 11, -11, 20, 30, 100, 110, 800, 900, 950, -950, 200, 209, 210, 217})
    EXPECT_EQ(size_of(code), QSize(120, 123)) << code;
  for (int code = 2; code <= 6; ++code) EXPECT_EQ(size_of(code), QSize(123, 123)) << code;
  EXPECT_EQ(size_of(1), QSize(456, 177));
  for (int code : {7, 12, 199, 218, -200, 951}) EXPECT_EQ(art.picture(code), nullptr) << code;
  // The two sides' pieces differ (the top side's are turned round).
  EXPECT_NE(*art.picture(10), *art.picture(-10));
  // Neighbouring background tiles overlap by one 96-dpi pixel: the last
  // column of a tile is its first.
  for (int code = 2; code <= 6; ++code) {
    const QImage& tile = *art.picture(code);
    const int last = tile.width() - art.scale();
    for (int y = 0; y < tile.height(); y += 7)
      ASSERT_EQ(tile.pixel(0, y), tile.pixel(last, y)) << code << " at row " << y;
  }
  EXPECT_EQ(Artwork::icon(16).size(), QSize(16, 16));
}

}  // namespace
}  // namespace vv

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
