#include "window/qt_port.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPainter>
#include <QTime>
#include <cmath>

#include "window/file_panel.h"
#include "window/surface.h"
#include "window/text_painter.h"
#include "window/translation.h"

#ifndef VEVERODU_VERSION
#define VEVERODU_VERSION "1.0"
#endif

namespace vv {
namespace {

// The sixteen colours the game's colour indices name: 0 black, 2 green (the
// board lines), 12 light red (the picked piece), 15 white, and so on. An
// index outside them draws black.
constexpr QRgb PALETTE[16] = {
    qRgb(0, 0, 0),       qRgb(0, 0, 128),     qRgb(0, 128, 0),   qRgb(0, 128, 128),
    qRgb(128, 0, 0),     qRgb(128, 0, 128),   qRgb(128, 128, 0), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(0, 0, 255),     qRgb(0, 255, 0),   qRgb(0, 255, 255),
    qRgb(255, 0, 0),     qRgb(255, 0, 255),   qRgb(255, 255, 0), qRgb(255, 255, 255)};

QColor palette_colour(int index) { return QColor(PALETTE[index >= 0 && index < 16 ? index : 0]); }

// Font sizes come in points, twenty twips each.
constexpr double TWIPS_PER_POINT = 20;

// Where a place of the game's grid starts on the surface's image, in image
// pixels: place (x, y) starts at (2200 + 600 x, 520 + 615 y) twips.
double image_x(double grid_x) {
  return (Surface::GRID_LEFT_TWIPS + Surface::CELL_WIDTH_TWIPS * grid_x) / Surface::TWIPS_PER_PIXEL;
}
double image_y(double grid_y) {
  return (Surface::GRID_TOP_TWIPS + Surface::CELL_HEIGHT_TWIPS * grid_y) / Surface::TWIPS_PER_PIXEL;
}

// The message shown at start-up when no sound device opens ("the sound
// interface cannot be made"), and the title of every sound message.
constexpr const char* NO_SOUND_DEVICE = "Direct Soundインターフェースが作成できません。";
constexpr const char* SOUND_TITLE = "Veverodu.dll";

}  // namespace

QtPort::QtPort(Surface& surface, MessageBoxes& boxes, bool sound)
    : surface_(surface), boxes_(boxes), artwork_(Surface::IMAGE_SCALE), font_family_(Artwork::font_family()),
      sound_(sound) {
  timer_.setInterval(50);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
    if (on_tick) on_tick();
  });
}

QtPort::~QtPort() {
  // The game releases the sounds at its end; a window torn down without an
  // end (a test) still frees them.
  if (sound_open_) bank_.close();
}

// --- Drawing -----------------------------------------------------------------

void QtPort::draw_picture(double x, double y, int picture) {
  const QImage* image = artwork_.picture(picture);
  if (!image) return;
  QPainter p(&surface_.image());
  p.drawImage(QPoint(static_cast<int>(std::lround(image_x(x))), static_cast<int>(std::lround(image_y(y)))), *image);
  if (Artwork::is_background(picture)) surface_.set_margin_tile(*image);
  surface_.changed();
}

void QtPort::draw_outline(int colour, int x, int y) {
  // A line one 96-dpi pixel wide round the place, from its top-left corner
  // to the next place's top-left corner, both corners included, so that
  // neighbouring outlines share their sides. An outline in any colour but
  // the board lines' green is also drawn bolder over the image at the
  // window's resolution (see Surface::set_outline).
  const int w = Surface::IMAGE_SCALE;
  const int left = static_cast<int>(image_x(x)), top = static_cast<int>(image_y(y));
  const int right = static_cast<int>(image_x(x + 1)), bottom = static_cast<int>(image_y(y + 1));
  const QColor c = palette_colour(colour);
  QPainter p(&surface_.image());
  p.fillRect(left, top, right - left + w, w, c);
  p.fillRect(left, bottom, right - left + w, w, c);
  p.fillRect(left, top, w, bottom - top + w, c);
  p.fillRect(right, top, w, bottom - top + w, c);
  surface_.set_outline(QRect(left, top, right - left + w, bottom - top + w), c);
  surface_.changed();
}

const QFont& QtPort::font(int size, bool bold) {
  auto it = fonts_.find({size, bold});
  if (it != fonts_.end()) return it->second;
  QFont f(font_family_);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(size * TWIPS_PER_POINT / Surface::TWIPS_PER_PIXEL))));
  f.setBold(bold);
  return fonts_.emplace(std::make_pair(size, bold), f).first->second;
}

void QtPort::draw_text(double x, double y, const std::string& text, int colour, int size, bool bold) {
  // The point is the text's top-left corner; a black print is the shadow of
  // the text that follows it.
  text_painter_.print(surface_.image(), QPointF(image_x(x), image_y(y)), translate_board_text(text),
                      font(size, bold), palette_colour(colour));
  surface_.changed();
}

void QtPort::refresh() { surface_.update(); }

void QtPort::set_mark(MenuMark item, bool checked) {
  marks_[static_cast<int>(item)] = checked;
  if (on_mark) on_mark(item, checked);
}

// --- Message boxes -------------------------------------------------------------

void QtPort::message(const std::string& title, const std::string& text) {
  boxes_.message(title, text, MessageBoxes::Icon::none);
}

bool QtPort::ask(const std::string& title, const std::string& text) { return boxes_.ask(title, text); }

void QtPort::about(const std::string& text) {
  // The box names the program and its version, unless the text does already.
  const std::string name = "Veverodu";
  const bool named = text.compare(0, name.size(), name) == 0;
  boxes_.about(name, named ? text : name + " " + VEVERODU_VERSION + "\n\n" + text);
}

// --- Sounds ----------------------------------------------------------------------

void QtPort::open_sounds() {
  if (!sound_ || sound_open_) return;
  sound_open_ = true;
  std::vector<std::string> problems;
  if (!bank_.open(sound_window_, problems))
    boxes_.message(SOUND_TITLE, NO_SOUND_DEVICE, MessageBoxes::Icon::warning);
  for (const std::string& problem : problems) boxes_.message(SOUND_TITLE, problem, MessageBoxes::Icon::warning);
}

void QtPort::close_sounds() {
  ++sound_closes_;
  if (!sound_open_) return;
  sound_open_ = false;
  bank_.close();
}

void QtPort::play(Sound s) {
  if (sound_open_) bank_.play(s);
}
void QtPort::play_looping(Sound s) {
  if (sound_open_) bank_.play_looping(s);
}
void QtPort::stop(Sound s) {
  if (sound_open_) bank_.stop(s);
}

// --- Time ----------------------------------------------------------------------------

double QtPort::clock() { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

void QtPort::wait(double seconds) {
  if (close_requested_) return;
  surface_.update();
  // The window keeps painting; clicks and keys wait until the handler has
  // returned. The single-shot timer counts real time, so midnight does not
  // matter.
  QEventLoop loop;
  QTimer done;
  done.setSingleShot(true);
  done.setTimerType(Qt::PreciseTimer);
  QObject::connect(&done, &QTimer::timeout, &loop, &QEventLoop::quit);
  done.start(std::max(0, static_cast<int>(std::lround(seconds * 1000))));
  QEventLoop* outer = current_wait_;
  current_wait_ = &loop;
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  current_wait_ = outer;
}

void QtPort::request_close() {
  close_requested_ = true;
  if (current_wait_) current_wait_->quit();
}

void QtPort::set_timer(bool running) {
  if (running && !timer_.isActive()) timer_.start();
  if (!running) timer_.stop();
}

// --- The record-file panel ---------------------------------------------------------

void QtPort::show_file_lists(bool drive, bool folder, bool file) {
  if (panel_) panel_->show_lists(drive, folder, file);
}
void QtPort::show_save_form(bool visible) {
  if (panel_) panel_->show_form(visible);
}
SaveFormTexts QtPort::save_form_texts() { return panel_ ? panel_->form_texts() : SaveFormTexts{}; }
std::string QtPort::file_list_folder() { return panel_ ? panel_->file_folder().toStdString() : Port::file_list_folder(); }
void QtPort::refresh_file_list() {
  if (panel_) panel_->refresh_files();
}

void QtPort::quit() {
  quit_requested_ = true;
  timer_.stop();
  if (on_quit) {
    on_quit();
    return;
  }
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

}  // namespace vv
