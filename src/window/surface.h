// The window's drawing surface: a persistent image in the window's twip
// space that the game paints into. The game never repaints on an expose, so
// the image is the only copy of what it drew; a paint event just shows it,
// scaled to the widget with its proportions kept. The margins left over show
// the background picture, its tiles going on where the image ends, and the
// coloured outlines are drawn bolder over it at the widget's resolution.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

class QPainter;

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
  // The game's grid: place (x, y) starts at (2200 + 600 x, 520 + 615 y)
  // twips; the background is laid one tile on each place.
  static constexpr int GRID_LEFT_TWIPS = 2200, GRID_TOP_TWIPS = 520;
  static constexpr int CELL_WIDTH_TWIPS = 600, CELL_HEIGHT_TWIPS = 615;

  explicit Surface(QWidget* parent = nullptr);

  QImage& image() { return image_; }
  const QImage& image() const { return image_; }
  // The image changed: the scaled copy is stale, a paint is due.
  void changed();
  // The background tile last laid on the image: the margins continue it.
  void set_margin_tile(const QImage& tile);
  // An outline of a place was drawn into the image, `box` its outer edge in
  // image pixels. One in the window's green is a plain board line; any other
  // colour marks the place (move guidance, the picked piece) and is drawn
  // over the image bolder, with a thin dark edge, as long as the image still
  // shows that outline.
  void set_outline(const QRect& box, const QColor& colour);

  // Widths in device pixels of a marking outline and of its dark edge at the
  // current size: at least 2 and 1, growing with the window.
  int outline_width() const;
  int outline_edge() const;

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
  struct Outline {
    QRect box;
    QColor colour;
  };
  void paint_margins(QPainter& p, const QRectF& target);
  void paint_outlines(QPainter& p, const QRectF& target);
  // Whether the image still shows an outline's side: its middle line from
  // `from` to `to` (included) all in that colour.
  bool side_shown(QPoint from, QPoint to, QRgb colour) const;

  QImage image_;
  QImage scaled_;  // the image at the widget's device pixels
  bool stale_ = true;
  QImage margin_tile_;  // one place's share of the background tile, empty before the first
  qint64 margin_key_ = 0;  // the tile it was cut from
  QImage scaled_tile_;    // that share at the widget's device pixels
  std::vector<Outline> outlines_;
  bool painted_ = false;
};

// Background colour of the window (palette green).
QColor window_background();

}  // namespace vv
