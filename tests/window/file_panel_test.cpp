// The record panel as a file browser, driven with real mouse clicks and keys
// on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <algorithm>

#include "looks_fixture.h"

namespace vv::looks {
namespace {

void touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

QListWidgetItem* item_named(QListWidget* list, const QString& name) {
  const auto items = list->findItems(name, Qt::MatchExactly);
  return items.size() == 1 ? items.front() : nullptr;
}

QString here() { return QDir::fromNativeSeparators(QDir::currentPath()); }

// A click picks a folder and stays; a double click or Enter goes into it.
TEST(WindowFileBrowser, FoldersOpenOnDoubleClickOrEnterOnly) {
  Window w;
  QDir(here()).mkdir("sub");
  QDir(here()).mkdir("other");
  touch(here() + "/sub/c.棋譜");
  w.port().show_file_lists(true, true, true);
  FilePanel& panel = w.window->panel();
  QListWidget* folders = panel.folder_list();
  ASSERT_EQ(QDir::fromNativeSeparators(panel.file_folder()), here());

  QListWidgetItem* sub = item_named(folders, "sub");
  ASSERT_NE(sub, nullptr);
  QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, folders->visualItemRect(sub).center());
  EXPECT_EQ(QDir::fromNativeSeparators(panel.file_folder()), here());
  EXPECT_EQ(folders->currentItem(), sub);
  EXPECT_EQ(panel.file_list()->count(), 0);

  QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, folders->visualItemRect(sub).center());
  EXPECT_EQ(QDir::fromNativeSeparators(panel.file_folder()), here() + "/sub");
  ASSERT_EQ(panel.file_list()->count(), 1);
  EXPECT_EQ(panel.file_list()->item(0)->text(), "c.棋譜");

  // Up again with the keys: pick "..", then Enter.
  folders->setFocus();
  folders->setCurrentItem(item_named(folders, ".."));
  QTest::keyClick(folders, Qt::Key_Return);
  EXPECT_EQ(QDir::fromNativeSeparators(panel.file_folder()), here());
  EXPECT_TRUE(w.boxes.shown.empty());
}

// Files copied in from outside show once the panel opens again; the folder
// the panel showed may be gone by then.
TEST(WindowFileBrowser, FileListReadsItsFolderEachTimeThePanelOpens) {
  Window w;
  QDir(here()).mkdir("gone");
  FilePanel& panel = w.window->panel();
  w.port().show_file_lists(true, true, true);
  EXPECT_EQ(panel.file_list()->count(), 0);
  w.port().show_file_lists(false, false, false);

  touch(here() + "/copied.棋譜");
  EXPECT_EQ(panel.file_list()->count(), 0);  // closed: nothing read yet
  w.port().show_file_lists(true, true, true);
  ASSERT_EQ(panel.file_list()->count(), 1);
  EXPECT_EQ(panel.file_list()->item(0)->text(), "copied.棋譜");
  EXPECT_NE(item_named(panel.folder_list(), "gone"), nullptr);

  ASSERT_TRUE(panel.set_folder(here() + "/gone"));
  w.port().show_file_lists(false, false, false);
  ASSERT_TRUE(QDir(here()).rmdir("gone"));
  w.port().show_file_lists(true, true, true);
  EXPECT_EQ(QDir::fromNativeSeparators(panel.file_folder()), here());
  EXPECT_EQ(item_named(panel.folder_list(), "gone"), nullptr);
}

// After a save the list holds the new file, picked and in view among many,
// and a single click on a file still loads it at once.
TEST(WindowFileBrowser, TheFileJustSavedIsPickedAndInView) {
  Window w;
  for (int i = 0; i < 30; ++i) touch(here() + QStringLiteral("/a%1.棋譜").arg(i, 2, 10, QLatin1Char('0')));
  Game& g = w.game();
  w.window->dispatch([&] { g.start_two_person_game(); });
  w.window->dispatch([&] { g.mouse_down(1, 0, 2200 + 600 * 7 + 300, 520 + 615 * 7 + 300); });
  w.window->dispatch([&] { g.mouse_down(1, 0, 2200 + 600 * 7 + 300, 520 + 615 * 6 + 300); });
  ASSERT_EQ(g.flow.move_count, 1);

  w.window->dispatch([&] { g.show_save_panel(); });
  FilePanel& panel = w.window->panel();
  panel.set_form_texts({"game", "first", "second", "zz-saved"});
  w.boxes.shown.clear();
  w.window->dispatch([&] { g.save_record_file(); });
  ASSERT_EQ(w.boxes.shown.size(), 1u);
  EXPECT_EQ(w.boxes.shown[0], "  |棋譜を書き込みました");

  QListWidget* files = panel.file_list();
  w.port().show_file_lists(true, true, true);
  QApplication::processEvents();
  ASSERT_NE(files->currentItem(), nullptr);
  EXPECT_EQ(files->currentItem()->text(), "zz-saved.棋譜");
  EXPECT_TRUE(files->viewport()->rect().contains(files->visualItemRect(files->currentItem()).center()));

  // Saving over an older file picks that one.
  w.window->dispatch([&] { g.show_save_panel(); });
  panel.set_form_texts({"game", "first", "second", "a03"});
  QTest::qWait(20);  // a newer time of change than the first reading
  w.window->dispatch([&] { g.save_record_file(); });
  w.port().show_file_lists(true, true, true);
  QApplication::processEvents();
  ASSERT_NE(files->currentItem(), nullptr);
  EXPECT_EQ(files->currentItem()->text(), "a03.棋譜");

  // One click on another file loads it (the game resets and reads it).
  w.boxes.shown.clear();
  QListWidgetItem* saved = item_named(files, "zz-saved.棋譜");
  files->scrollToItem(saved);
  QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(saved).center());
  ASSERT_FALSE(w.boxes.shown.empty());
  EXPECT_EQ(w.boxes.shown[0], "棋譜| 読み込みました");
}

// A name too long for the list shows whole in a tooltip; a short one needs none.
TEST(WindowFileBrowser, LongNamesHaveTheirWholeNameAsTooltip) {
  Window w;
  const QString long_name = QStringLiteral("名人戦第七局 二日目 封じ手の後から終局まで 解説付き.棋譜");
  touch(here() + "/" + long_name);
  touch(here() + "/短.棋譜");
  w.port().show_file_lists(true, true, true);
  QListWidget* files = w.window->panel().file_list();
  ASSERT_NE(item_named(files, long_name), nullptr);
  EXPECT_EQ(item_named(files, long_name)->toolTip(), long_name);
  EXPECT_EQ(item_named(files, "短.棋譜")->toolTip(), "");
}

}  // namespace
}  // namespace vv::looks
