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

void Surface::set_margin_tile(const QImage& tile) {
  if (tile.cacheKey() == margin_key_) return;
  margin_key_ = tile.cacheKey();
  // Neighbouring tiles overlap: each place shows the tile's first place-width
  // of columns, the next tile covering the rest.
  const int w = std::min(tile.width(), CELL_WIDTH_TWIPS / TWIPS_PER_PIXEL);
  const int h = std::min(tile.height(), CELL_HEIGHT_TWIPS / TWIPS_PER_PIXEL);
  margin_tile_ = tile.copy(0, 0, w, h);
  scaled_tile_ = QImage();
  update();
}

void Surface::set_outline(const QRect& box, const QColor& colour) {
  outlines_.erase(std::remove_if(outlines_.begin(), outlines_.end(), [&](const Outline& o) { return o.box == box; }),
                  outlines_.end());
  if (colour != window_background()) outlines_.push_back({box, colour});
}

int Surface::outline_width() const {
  const double device_per_pixel = target().width() * devicePixelRatioF() / image_.width();
  return std::max(2, static_cast<int>(std::lround(2.0 * IMAGE_SCALE * device_per_pixel)));
}

int Surface::outline_edge() const {
  const double device_per_pixel = target().width() * devicePixelRatioF() / image_.width();
  return std::max(1, static_cast<int>(std::lround(0.5 * IMAGE_SCALE * device_per_pixel)));
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
  paint_margins(p, t);
  p.drawImage(t.topLeft(), scaled_);
  paint_outlines(p, t);
  if (!painted_) {
    painted_ = true;
    if (on_first_paint) on_first_paint();
  }
}

void Surface::paint_margins(QPainter& p, const QRectF& t) {
  const double w = width(), h = height();
  const QRectF margins[4] = {QRectF(0, 0, w, t.top()), QRectF(0, t.bottom(), w, h - t.bottom()),
                             QRectF(0, t.top(), t.left(), t.height()),
                             QRectF(t.right(), t.top(), w - t.right(), t.height())};
  if (margin_tile_.isNull()) {
    for (const QRectF& m : margins) p.fillRect(m, window_background());
    return;
  }
  // The tile at the scale of the image, laid on the image's own grid of
  // places so that the pattern runs on across the image's edges.
  const double dpr = devicePixelRatioF();
  const double per_pixel = t.width() / image_.width();  // widget units per image pixel
  const QSize tile(std::max(1, static_cast<int>(std::ceil(margin_tile_.width() * per_pixel * dpr))),
                   std::max(1, static_cast<int>(std::ceil(margin_tile_.height() * per_pixel * dpr))));
  if (scaled_tile_.size() != tile)
    scaled_tile_ = margin_tile_.scaled(tile, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QBrush brush(scaled_tile_);
  const double grid_x = double(GRID_LEFT_TWIPS) / TWIPS_PER_PIXEL, grid_y = double(GRID_TOP_TWIPS) / TWIPS_PER_PIXEL;
  brush.setTransform(QTransform::fromTranslate(t.left() + grid_x * per_pixel, t.top() + grid_y * per_pixel)
                         .scale(margin_tile_.width() * per_pixel / tile.width(),
                                margin_tile_.height() * per_pixel / tile.height()));
  p.save();
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  for (const QRectF& m : margins)
    if (!m.isEmpty()) p.fillRect(m, brush);
  p.restore();
}

bool Surface::side_shown(QPoint from, QPoint to, QRgb colour) const {
  constexpr int SAMPLES = 7;
  for (int i = 0; i < SAMPLES; ++i) {
    const QPoint at = from + (to - from) * i / (SAMPLES - 1);
    if (!image_.rect().contains(at) || (image_.pixel(at) & 0xffffff) != (colour & 0xffffff)) return false;
  }
  return true;
}

void Surface::paint_outlines(QPainter& p, const QRectF& t) {
  if (outlines_.empty()) return;
  // In device pixels, each band on whole pixels.
  const double dpr = devicePixelRatioF();
  const double per_pixel = t.width() * dpr / image_.width();
  const int width = outline_width(), edge = outline_edge();
  auto device_x = [&](double x) { return static_cast<int>(std::lround(t.left() * dpr + x * per_pixel)); };
  auto device_y = [&](double y) { return static_cast<int>(std::lround(t.top() * dpr + y * per_pixel)); };
  p.save();
  p.scale(1 / dpr, 1 / dpr);
  for (int pass = 0; pass < 2; ++pass) {
    const int thickness = pass == 0 ? width + 2 * edge : width;
    const int half = thickness / 2;
    for (const Outline& o : outlines_) {
      const QColor colour = pass == 0 ? QColor(16, 12, 8, 190) : o.colour;
      const QRect& b = o.box;
      const int m = IMAGE_SCALE / 2;  // the middle of the image's line
      // The middle lines of the four sides, in device pixels.
      const int left = device_x(b.left() + m + 0.5), right = device_x(b.right() - m + 0.5);
      const int top = device_y(b.top() + m + 0.5), bottom = device_y(b.bottom() - m + 0.5);
      // A side counts without its corners, which the neighbours' outlines share.
      const QRgb c = o.colour.rgb();
      const int in = IMAGE_SCALE;
      if (side_shown(QPoint(b.left() + in, b.top() + m), QPoint(b.right() - in, b.top() + m), c))
        p.fillRect(left - half, top - half, right - left + thickness, thickness, colour);
      if (side_shown(QPoint(b.left() + in, b.bottom() - m), QPoint(b.right() - in, b.bottom() - m), c))
        p.fillRect(left - half, bottom - half, right - left + thickness, thickness, colour);
      if (side_shown(QPoint(b.left() + m, b.top() + in), QPoint(b.left() + m, b.bottom() - in), c))
        p.fillRect(left - half, top - half, thickness, bottom - top + thickness, colour);
      if (side_shown(QPoint(b.right() - m, b.top() + in), QPoint(b.right() - m, b.bottom() - in), c))
        p.fillRect(right - half, top - half, thickness, bottom - top + thickness, colour);
    }
  }
  p.restore();
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
