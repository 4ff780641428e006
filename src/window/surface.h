// The window's drawing surface: a persistent image in the window's twip
// space that the game paints into. The game never repaints on an expose, so
// the image is the only copy of what it drew; a paint event just shows it,
// scaled to the widget with its proportions kept (the margins are left in
// the window's background colour).
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>

namespace vv {

class Surface : public QWidget {
 public:
  // The client area in twips, and the image scale: 15 twips make one
  // 96-dpi pixel and the image holds three pixels for each, so that the
  // board stays crisp on a HiDPI screen.
  static constexpr int WIDTH_TWIPS = 12000;
  static constexpr int HEIGHT_TWIPS = 7950;
  static constexpr int TWIPS_PER_PIXEL = 5;
  static constexpr int IMAGE_SCALE = 3;

  explicit Surface(QWidget* parent = nullptr);

  QImage& image() { return image_; }
  const QImage& image() const { return image_; }
  // The image changed: the scaled copy is stale, a paint is due.
  void changed();

  // Where the image sits in the widget, and the mapping between widget
  // points and twips. to_twips is false in the margins.
  QRectF target() const;
  bool to_twips(QPointF point, QPointF& twips) const;
  QRect widget_rect(const QRect& twips) const;
  double pixels_per_twip() const;

  // Called with the button and shift codes and the point in twips.
  std::function<void(int button, int shift, double x, double y)> on_mouse_down;
  // Called after the image's place in the widget changed (the record panel follows it).
  std::function<void()> on_layout;
  // Called once, after the first paint that showed the image.
  std::function<void()> on_first_paint;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImage image_;
  QImage scaled_;  // the image at the widget's device pixels
  bool stale_ = true;
  QColor margin_colour() const;
  bool painted_ = false;
};

// Background colour of the window (palette green).
QColor window_background();

}  // namespace vv
