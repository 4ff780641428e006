#include "window/file_panel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

#include "window/surface.h"

namespace vv {
namespace {

const QColor LIGHT_YELLOW(255, 255, 192);
constexpr const char* FILE_PATTERN = "*.棋譜";
constexpr int CONTROL_FONT_TWIPS = 180;  // 9 points, for every control of the panel

// Places in twips: x, y, width, height.
constexpr QRect DRIVE_PLACE(240, 360, 2535, 300);
constexpr QRect FOLDER_PLACE(240, 600, 2535, 1710);
constexpr QRect FILE_PLACE(240, 2280, 2535, 930);
constexpr QRect RETURN_PLACE(3360, 3000, 855, 375);

// The save form, top to bottom: each row's caption (game name, first player,
// second player, file name) and the height its caption and box stand at.
struct FormRow {
  const char* caption;
  int y;
};
constexpr FormRow FORM_ROWS[4] = {
    {QT_TRANSLATE_NOOP("FilePanel", "対 局 名："), 2400}, {QT_TRANSLATE_NOOP("FilePanel", "先    手 ："), 2640},
    {QT_TRANSLATE_NOOP("FilePanel", "後    手 ："), 2880}, {QT_TRANSLATE_NOOP("FilePanel", "ﾌｧｲﾙ名 ："), 3120}};
constexpr int CAPTION_X = 120, CAPTION_W = 855, CAPTION_H = 255;
constexpr int BOX_X = 960, BOX_W = 2295, BOX_H = 270;

// The first row of the folder list names the folder itself; the second goes up.
constexpr int PATH_ROW = 0;
const QString UP = QStringLiteral("..");

void paint_light_yellow(QWidget* w) {
  QPalette p = w->palette();
  p.setColor(QPalette::Base, LIGHT_YELLOW);
  p.setColor(QPalette::Text, Qt::black);
  w->setPalette(p);
}

}  // namespace

FilePanel::FilePanel(Surface& surface) : surface_(surface) {
  drive_ = new QComboBox(&surface);
  folders_ = new QListWidget(&surface);
  files_ = new QListWidget(&surface);
  for (QWidget* w : {static_cast<QWidget*>(drive_), static_cast<QWidget*>(folders_), static_cast<QWidget*>(files_)})
    paint_light_yellow(w);
  for (int i = 0; i < 4; ++i) {
    captions_[i] = new QLabel(QCoreApplication::translate("FilePanel", FORM_ROWS[i].caption), &surface);
    // An opaque caption stays readable on every background picture.
    captions_[i]->setAutoFillBackground(true);
    boxes_[i] = new QLineEdit(&surface);
    paint_light_yellow(boxes_[i]);
  }
  return_ = new QPushButton(QCoreApplication::translate("FilePanel", "RETURN"), &surface);
  show_lists(false, false, false);
  show_form(false);

  fill_drives();
  set_folder(QDir::currentPath());
  QObject::connect(drive_, &QComboBox::activated, drive_, [this](int index) { drive_chosen(index); });
  // A click only picks a folder; a double click or Enter goes into it.
  QObject::connect(folders_, &QListWidget::itemDoubleClicked, folders_,
                   [this](QListWidgetItem* item) { folder_opened(folders_->row(item)); });
  for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
    auto* enter = new QShortcut(key, folders_);
    enter->setContext(Qt::WidgetShortcut);
    QObject::connect(enter, &QShortcut::activated, folders_, [this] {
      if (QListWidgetItem* item = folders_->currentItem()) folder_opened(folders_->row(item));
    });
  }
  QObject::connect(files_, &QListWidget::itemClicked, files_, [this](QListWidgetItem* item) {
    if (on_file_clicked) on_file_clicked(file_folder(), item->text());
  });
  QObject::connect(return_, &QPushButton::clicked, return_, [this] {
    if (on_return) on_return();
  });
  place();
}

void FilePanel::fill_drives() {
  QStringList roots;
#ifdef Q_OS_WIN
  for (const QFileInfo& d : QDir::drives()) roots << QDir::toNativeSeparators(d.absolutePath());
#else
  roots << QStringLiteral("/") << QDir::homePath();
  // Removable media are mounted under /media and /mnt.
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    const QString root = v.rootPath();
    if (root.startsWith(QStringLiteral("/media/")) || root.startsWith(QStringLiteral("/mnt/"))) roots << root;
  }
#endif
  roots.removeDuplicates();
  drive_->clear();
  drive_->addItems(roots);
  // Show the drive that holds the starting folder.
  const QString here = QDir::currentPath();
  int best = 0, best_length = -1;
  for (int i = 0; i < roots.size(); ++i) {
    const QString root = QDir::fromNativeSeparators(roots[i]);
    if ((here == root || here.startsWith(root.endsWith('/') ? root : root + '/')) && root.size() > best_length) {
      best = i;
      best_length = static_cast<int>(root.size());
    }
  }
  drive_->setCurrentIndex(best);
}

void FilePanel::drive_chosen(int index) {
  // The drive list keeps the chosen drive even when the folder list cannot follow.
  if (!set_folder(drive_->itemText(index)) && on_drive_not_ready) on_drive_not_ready();
}

bool FilePanel::set_folder(const QString& path) {
  QDir dir(path);
  if (!dir.exists() || !dir.isReadable()) return false;
  const QStringList subfolders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  folder_ = dir.absolutePath();
  folders_->clear();
  folders_->addItem(QDir::toNativeSeparators(folder_));
  if (!dir.isRoot()) folders_->addItem(UP);
  folders_->addItems(subfolders);
  explain_long_names(folders_);
  refresh_files();
  return true;
}

void FilePanel::folder_opened(int row) {
  if (row == PATH_ROW) return;
  const QString name = folders_->item(row)->text();
  QDir dir(folder_);
  if (name == UP ? !dir.cdUp() : !dir.cd(name)) return;
  set_folder(dir.absolutePath());
}

void FilePanel::refresh_files() {
  const QFileInfoList found =
      QDir(folder_).entryInfoList({QString::fromUtf8(FILE_PATTERN)}, QDir::Files, QDir::Name);
  const bool same_folder = listed_folder_ == folder_;
  const QString was_picked = same_folder && files_->currentItem() ? files_->currentItem()->text() : QString();
  std::map<QString, QDateTime> listed;
  QString pick = was_picked;
  QDateTime newest;
  for (const QFileInfo& f : found) {
    const QDateTime changed = f.lastModified();
    listed[f.fileName()] = changed;
    if (!same_folder) continue;
    const auto before = listed_.find(f.fileName());
    if ((before == listed_.end() || before->second != changed) && (newest.isNull() || changed >= newest)) {
      newest = changed;
      pick = f.fileName();
    }
  }
  listed_folder_ = folder_;
  listed_ = std::move(listed);

  files_->clear();
  for (const QFileInfo& f : found) files_->addItem(f.fileName());
  explain_long_names(files_);
  if (pick.isEmpty()) return;
  const QList<QListWidgetItem*> items = files_->findItems(pick, Qt::MatchExactly);
  if (items.isEmpty()) return;
  files_->setCurrentItem(items.front());
  files_->scrollToItem(items.front());
}

void FilePanel::explain_long_names(QListWidget* list) {
  const QFontMetrics metrics(list->font());
  // The room a name has: the list's inside less a scroll bar and the item's own margins.
  const int room = list->contentsRect().width() - list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) -
                   2 * list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) - 4;
  for (int i = 0; i < list->count(); ++i) {
    QListWidgetItem* item = list->item(i);
    item->setToolTip(metrics.horizontalAdvance(item->text()) > room ? item->text() : QString());
  }
}

QString FilePanel::file_folder() const { return QDir::toNativeSeparators(folder_); }

void FilePanel::show_lists(bool drive, bool folder, bool file) {
  // What was copied in, saved or removed from outside meanwhile shows; a
  // folder that is gone gives way to the nearest one above it that exists.
  if (file) {
    QString path = folder_;
    while (!QDir(path).exists()) {
      const QString up = QFileInfo(path).path();
      if (up == path) break;
      path = up;
    }
    set_folder(path);
  }
  drive_->setVisible(drive);
  folders_->setVisible(folder);
  files_->setVisible(file);
}

void FilePanel::show_form(bool visible) {
  for (int i = 0; i < 4; ++i) {
    if (!visible) boxes_[i]->clear();
    captions_[i]->setVisible(visible);
    boxes_[i]->setVisible(visible);
  }
  return_->setVisible(visible);
}

SaveFormTexts FilePanel::form_texts() const {
  return {boxes_[0]->text().toStdString(), boxes_[1]->text().toStdString(), boxes_[2]->text().toStdString(),
          boxes_[3]->text().toStdString()};
}

void FilePanel::set_form_texts(const SaveFormTexts& t) {
  boxes_[0]->setText(QString::fromStdString(t.game));
  boxes_[1]->setText(QString::fromStdString(t.first));
  boxes_[2]->setText(QString::fromStdString(t.second));
  boxes_[3]->setText(QString::fromStdString(t.file));
}

void FilePanel::place() {
  QFont font = surface_.font();
  font.setPixelSize(std::max(6, static_cast<int>(CONTROL_FONT_TWIPS * surface_.pixels_per_twip())));
  auto put = [&](QWidget* w, const QRect& twips) {
    w->setFont(font);
    w->setGeometry(surface_.widget_rect(twips));
  };
  put(drive_, DRIVE_PLACE);
  put(folders_, FOLDER_PLACE);
  put(files_, FILE_PLACE);
  for (int i = 0; i < 4; ++i) {
    put(captions_[i], QRect(CAPTION_X, FORM_ROWS[i].y, CAPTION_W, CAPTION_H));
    put(boxes_[i], QRect(BOX_X, FORM_ROWS[i].y, BOX_W, BOX_H));
  }
  put(return_, RETURN_PLACE);
  explain_long_names(folders_);
  explain_long_names(files_);
}

bool FilePanel::owns(const QWidget* w) const {
  for (; w; w = w->parentWidget())
    if (w == drive_ || w == folders_ || w == files_ || w == return_ ||
        std::find(std::begin(boxes_), std::end(boxes_), w) != std::end(boxes_))
      return true;
  return false;
}

}  // namespace vv
