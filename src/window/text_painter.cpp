#include "window/text_painter.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "window/artwork.h"

namespace vv {

int shadow_blur(int pixel_size) { return std::max(2, static_cast<int>(std::lround(pixel_size * 0.085))); }

namespace {

// Each line's baseline point, from the text's top-left corner down.
template <typename Visit>
void for_each_line(const QString& text, QPointF top_left, const QFontMetricsF& metrics, Visit visit) {
  double top = top_left.y();
  for (const QString& line : text.split(QLatin1Char('\r'))) {
    visit(QPointF(top_left.x(), top + metrics.ascent()), line);
    top += metrics.height();
  }
}

// The ink of a short text at a large size.
long ink_of(const QFont& font) {
  QImage image(160, 120, QImage::Format_Alpha8);
  image.fill(0);
  QPainter p(&image);
  QFont f = font;
  f.setPixelSize(80);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(QPointF(10, 95), QStringLiteral("9\u4E8C"));
  p.end();
  long sum = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) sum += image.constScanLine(y)[x];
  return sum;
}

// A family without a bold face, which the font engine does not thicken
// either, prints bold texts in its regular weight: those are thickened here.
bool needs_bolder_strokes(const QFont& font) {
  static QHash<QString, bool> answers;
  auto it = answers.find(font.family());
  if (it != answers.end()) return *it;
  QFont regular = font, bold = font;
  regular.setBold(false);
  bold.setBold(true);
  const bool thicken = ink_of(bold) <= ink_of(regular) * 103 / 100;
  answers.insert(font.family(), thicken);
  return thicken;
}

// Prints the lines with `painter`'s pen colour; a bold text whose font has
// no bold face is drawn as outlines traced by a round pen of an eighteenth
// of the size, about the weight a bold face adds.
void print_lines(QPainter& p, const QString& text, QPointF top_left, const QFont& font, const QColor& colour) {
  const QFontMetricsF metrics(font);
  if (!font.bold() || !needs_bolder_strokes(font)) {
    p.setFont(font);
    p.setPen(colour);
    for_each_line(text, top_left, metrics, [&](QPointF base, const QString& line) { p.drawText(base, line); });
    return;
  }
  QPainterPath glyphs;
  for_each_line(text, top_left, metrics, [&](QPointF base, const QString& line) { glyphs.addText(base, font, line); });
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(colour, std::max(1.0, font.pixelSize() / 18.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(colour);
  p.drawPath(glyphs);
}

void paint_shadow(QImage& image, QPointF top_left, const QString& text, const QFont& font, double opacity) {
  const QFontMetricsF metrics(font);
  QRectF ink;
  for_each_line(text, top_left, metrics, [&](QPointF base, const QString& line) {
    ink |= metrics.boundingRect(line).translated(base);
  });
  const int blur = shadow_blur(font.pixelSize());
  const QRect area = ink.toAlignedRect().adjusted(-3 * blur, -3 * blur, 3 * blur, 3 * blur) & image.rect();
  if (area.isEmpty()) return;

  // The glyphs as a mask, softened, then laid as black of limited strength.
  QImage mask(area.size(), QImage::Format_Alpha8);
  mask.fill(0);
  {
    QPainter p(&mask);
    p.translate(-area.topLeft());
    print_lines(p, text, top_left, font, Qt::black);
  }
  paint::blur(mask, blur, blur);
  QImage shade(area.size(), QImage::Format_ARGB32_Premultiplied);
  const int strength = static_cast<int>(std::lround(opacity * 256));
  for (int y = 0; y < area.height(); ++y) {
    const uchar* in = mask.constScanLine(y);
    QRgb* out = reinterpret_cast<QRgb*>(shade.scanLine(y));
    for (int x = 0; x < area.width(); ++x) out[x] = qRgba(0, 0, 0, (in[x] * strength) >> 8);
  }
  QPainter p(&image);
  p.drawImage(area.topLeft(), shade);
}

}  // namespace

void TextPainter::print(QImage& image, QPointF top_left, const QString& text, const QFont& font,
                        const QColor& colour) {
  if (colour == QColor(Qt::black)) {
    paint_shadow(image, top_left, text, font, SHADOW_OPACITY);
    shadowed_ = text;
    return;
  }
  if (shadowed_ != text) paint_shadow(image, top_left, text, font, HALO_OPACITY);
  shadowed_.clear();
  QPainter p(&image);
  print_lines(p, text, top_left, font, colour);
}

}  // namespace vv
