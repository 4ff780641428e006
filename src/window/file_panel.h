// The record-file panel left of the board: the drive, folder and file lists,
// and the save form (four captions, four boxes and the RETURN button). Its
// controls sit at fixed twip places and follow the board when the window is
// resized.
#pragma once

#include <QString>
#include <functional>

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

  void show_lists(bool drive, bool folder, bool file);
  void show_form(bool visible);  // hiding empties the four boxes
  SaveFormTexts form_texts() const;
  void set_form_texts(const SaveFormTexts& texts);
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
  void folder_clicked(int row);

  Surface& surface_;
  QComboBox* drive_;
  QListWidget* folders_;
  QListWidget* files_;
  QLabel* captions_[4];
  QLineEdit* boxes_[4];  // 対局名, 先手, 後手, ファイル名
  QPushButton* return_;
  QString folder_;
};

}  // namespace vv
