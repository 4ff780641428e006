#include "window/surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vv {

QColor window_background() { return QColor(0, 128, 0); }

Surface::Surface(QWidget* parent)
    : QWidget(parent),
      image_(WIDTH_TWIPS / TWIPS_PER_PIXEL, HEIGHT_TWIPS / TWIPS_PER_PIXEL, QImage::Format_RGB32) {
  image_.fill(window_background());
  // The image covers the whole widget's content; Qt need not clear it first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // A click on the board takes the keys back from the record panel's boxes.
  setFocusPolicy(Qt::ClickFocus);
}

void Surface::changed() {
  stale_ = true;
  update();
}

QRectF Surface::target() const {
  // Whole device pixels, so that the image and the margins meet without a gap.
  const double dpr = devicePixelRatioF();
  const double w = std::floor(width() * dpr), h = std::floor(height() * dpr);
  const double scale = std::min(w / image_.width(), h / image_.height());
  const double tw = std::max(1.0, std::round(image_.width() * scale));
  const double th = std::max(1.0, std::round(image_.height() * scale));
  const double left = std::floor((w - tw) / 2), top = std::floor((h - th) / 2);
  return QRectF(left / dpr, top / dpr, tw / dpr, th / dpr);
}

double Surface::pixels_per_twip() const { return target().width() / WIDTH_TWIPS; }

bool Surface::to_twips(QPointF point, QPointF& twips) const {
  const QRectF t = target();
  if (t.width() <= 0 || t.height() <= 0) return false;
  const double x = (point.x() - t.left()) * WIDTH_TWIPS / t.width();
  const double y = (point.y() - t.top()) * HEIGHT_TWIPS / t.height();
  if (x < 0 || y < 0 || x >= WIDTH_TWIPS || y >= HEIGHT_TWIPS) return false;
  twips = QPointF(x, y);
  return true;
}

QRect Surface::widget_rect(const QRect& twips) const {
  const QRectF t = target();
  const double s = pixels_per_twip();
  return QRectF(t.left() + twips.x() * s, t.top() + twips.y() * s, twips.width() * s, twips.height() * s).toRect();
}

QColor Surface::margin_colour() const {
  // The top-left corner of the window always shows the background picture.
  constexpr int CORNER = 60;
  long r = 0, g = 0, b = 0, n = 0;
  for (int y = 0; y < CORNER && y < image_.height(); y += 3)
    for (int x = 0; x < CORNER && x < image_.width(); x += 3) {
      const QRgb c = image_.pixel(x, y);
      r += qRed(c), g += qGreen(c), b += qBlue(c), ++n;
    }
  if (n == 0) return window_background();
  return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

void Surface::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRectF t = target();
  const double dpr = devicePixelRatioF();
  const QSize device(std::max(1, static_cast<int>(std::lround(t.width() * dpr))),
                     std::max(1, static_cast<int>(std::lround(t.height() * dpr))));
  if (stale_ || scaled_.size() != device) {
    // Area-averaged scaling keeps the three-times image sharp and even.
    scaled_ = device == image_.size() ? image_ : image_.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled_.setDevicePixelRatio(dpr);
    stale_ = false;
  }
  // The margins beside the image take the colour of the background picture
  // at the window's corner, so a resized window shows no band of its own.
  p.fillRect(rect(), margin_colour());
  p.drawImage(t.topLeft(), scaled_);
  if (!painted_) {
    painted_ = true;
    if (on_first_paint) on_first_paint();
  }
}

void Surface::mousePressEvent(QMouseEvent* event) {
  QPointF twips;
  if (!to_twips(event->position(), twips) || !on_mouse_down) return;
  int button = 0;
  if (event->button() == Qt::LeftButton) button = 1;
  else if (event->button() == Qt::RightButton) button = 2;
  else if (event->button() == Qt::MiddleButton) button = 4;
  const Qt::KeyboardModifiers m = event->modifiers();
  const int shift = (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
  on_mouse_down(button, shift, twips.x(), twips.y());
}

void Surface::resizeEvent(QResizeEvent*) {
  if (on_layout) on_layout();
}

}  // namespace vv
