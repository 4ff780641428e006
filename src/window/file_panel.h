// The record-file panel left of the board: the drive, folder and file lists,
// and the save form (four captions, four boxes and the RETURN button). Its
// controls sit at fixed twip places and follow the board when the window is
// resized. The folder list works as a file browser's: a click picks a
// folder, a double click or Enter goes into it. The lists read their folder
// again each time they are shown and after each save, and a file that is new
// or changed since the last reading is picked and scrolled into view.
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <map>

#include "flow/port.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace vv {

class Surface;

class FilePanel {
 public:
  explicit FilePanel(Surface& surface);

  // Showing the file list reads the folder again.
  void show_lists(bool drive, bool folder, bool file);
  void show_form(bool visible);  // hiding empties the four boxes
  SaveFormTexts form_texts() const;
  void set_form_texts(const SaveFormTexts& texts);
  // Reads the file list's folder again; the newest file that is new or
  // changed since the last reading is picked and brought into view.
  void refresh_files();
  // The folder the file list shows, in the platform's spelling.
  QString file_folder() const;
  // Moves the folder list (and the file list with it); false if the folder
  // cannot be listed, leaving both where they were.
  bool set_folder(const QString& path);
  void place();  // after the surface's scale changed

  // A single click on a file name.
  std::function<void(const QString& folder, const QString& file_name)> on_file_clicked;
  std::function<void()> on_return;
  // A drive was chosen that cannot be listed.
  std::function<void()> on_drive_not_ready;

  QComboBox* drive_list() const { return drive_; }
  QListWidget* folder_list() const { return folders_; }
  QListWidget* file_list() const { return files_; }
  QPushButton* return_button() const { return return_; }
  bool owns(const QWidget* w) const;

 private:
  void fill_drives();
  void drive_chosen(int index);
  void folder_opened(int row);
  // Names too long for their list show whole in a tooltip.
  static void explain_long_names(QListWidget* list);

  Surface& surface_;
  QComboBox* drive_;
  QListWidget* folders_;
  QListWidget* files_;
  QLabel* captions_[4];
  QLineEdit* boxes_[4];  // 対局名 game name, 先手 first player, 後手 second player, ファイル名 file name
  QPushButton* return_;
  QString folder_;
  // The file list's last reading: its folder and each file's time of change.
  QString listed_folder_;
  std::map<QString, QDateTime> listed_;
};

}  // namespace vv
