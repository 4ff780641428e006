// The wooden pictures: the kaya board square, the boxwood pieces standing on
// it, the pieces caught mid-turn, and the icon's king.
//
// Every piece picture is a whole board square with the tile on it, because it
// replaces the empty square when a piece arrives. Geometry is worked out in
// 96-dpi pixels ("natural" units; a tile's own coordinates have their origin
// at its centre and its point up) and mapped to image pixels once, so the
// pictures are equally sharp at every scale. Light falls from the top left of
// the screen for both sides: the computer's tiles are turned by a half turn,
// their shadows and bevels are not.
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "window/artwork.h"

namespace vv {
namespace {

constexpr int CELL_W = 40, CELL_H = 41;
// The width of the block of boxwood the tiles are cut from, natural units.
constexpr int STOCK_W = 72;
constexpr double PI = 3.14159265358979;
constexpr int ENDLESS = 1 << 14;  // a lattice period too long to repeat inside one picture

const QColor KAYA(225, 179, 101);
const QColor BOXWOOD(244, 217, 164);
const QColor INK_BLACK(22, 15, 10);
const QColor INK_RED(180, 26, 18);
const QColor RIM(255, 246, 216, 125);
const QColor SHADOW(54, 26, 4, 130);
const QColor CONTACT(40, 18, 0, 95);
const QColor EDGE(96, 58, 20, 150);
// Towards the light, in screen coordinates.
const QPointF LIGHT(-0.55, -0.835);

struct Face {
  int kind;
  const char* kanji;
  bool red;  // the red picture set: only the と face is lacquered red
};
const Face FACES[] = {{10, "歩", false},  {11, "と", true},   {20, "香", false},
                      {30, "桂", false},  {100, "銀", false}, {110, "金", false},
                      {800, "角", false}, {900, "飛", false}, {950, "王", false}};
const Face& KING_FACE = FACES[8];

// Both faces of a pair are one piece of wood and share its size; the stronger
// pairs are cut a little larger, the king largest, as in a real set.
QSizeF tile_size(int kind) {
  switch (kind) {
    case 950: return {35.6, 38.2};
    case 100: case 800: return {34.4, 37.2};
    case 30: case 110: return {33.8, 36.7};
    case 10: case 900: return {33.2, 36.2};
    default: return {32.6, 35.8};  // 香 and と
  }
}
// The turning frames serve every piece, so they show a middle-sized tile.
const QSizeF TURNING_TILE = tile_size(110);

// Where a tile stands in its square: a little up and left of the middle,
// leaving room for its shadow. A half turn of the whole square's image moves
// this point exactly one natural pixel right and down, so the computer's ink
// can be the person's image turned and laid back by whole image pixels.
const QPointF TILE_CENTRE(19.5, 20.0);

uint32_t pixel_hash(int x, int y, unsigned seed) {
  uint32_t n = uint32_t(x) * 2654435761u ^ uint32_t(y) * 2246822519u ^ seed * 3266489917u;
  n = (n ^ (n >> 15)) * 2246822519u;
  return n ^ (n >> 13);
}
double fleck(int x, int y, unsigned seed) { return (pixel_hash(x, y, seed) & 255) / 255.0 - 0.5; }

QRgb tinted(const QColor& c, double factor, double warm) {
  auto ch = [](double v) { return std::clamp(int(v + 0.5), 0, 255); };
  return qRgb(ch(c.red() * factor + warm), ch(c.green() * factor), ch(c.blue() * factor - warm));
}

// A smooth quantity sampled once per natural pixel and interpolated between:
// the slow parts of a wood texture cost a few lookups per image pixel.
class Field {
 public:
  template <class F>
  Field(int width, int height, double s, F f) : s_(s), w_(int(width / s) + 2), h_(int(height / s) + 2) {
    v_.resize(std::size_t(w_ * h_));
    for (int j = 0; j < h_; ++j)
      for (int i = 0; i < w_; ++i) v_[std::size_t(j * w_ + i)] = float(f(double(i), double(j)));
  }
  double at(int x, int y) const {
    const double u = (x + 0.5) / s_, v = (y + 0.5) / s_;
    const int i = std::min(int(u), w_ - 2), j = std::min(int(v), h_ - 2);
    const double a = u - i, b = v - j;
    const float* p = &v_[std::size_t(j * w_ + i)];
    return (p[0] + a * (p[1] - p[0])) * (1 - b) + (p[w_] + a * (p[w_ + 1] - p[w_])) * b;
  }

 private:
  double s_;
  int w_, h_;
  std::vector<float> v_;
};

// A narrow ridge once per period, narrower the sharper: the grain lines.
double peak(double phase, int sharpness) {
  double c = paint::wave(phase), r = 1;
  for (int k = 0; k < sharpness; ++k) r *= c;
  return r;
}

// The kaya board: straight, fine grain along the files, wavering a little, and
// repeating with the square's height so that squares stacked in a file join.
QImage kaya_square(int s) {
  QImage img(CELL_W * s, CELL_H * s, QImage::Format_ARGB32_Premultiplied);
  const double period = CELL_H;
  const Field warp(img.width(), img.height(), s, [&](double X, double Y) {
    return 2.4 * paint::fbm(X / 11, Y / period * 3, ENDLESS, 3, 2, 11);
  });
  const Field strength(img.width(), img.height(), s, [&](double X, double Y) {
    return 0.35 + 0.65 * paint::noise(X / 5, Y / period * 5, ENDLESS, 5, 13);
  });
  const Field tone(img.width(), img.height(), s, [&](double X, double Y) {
    return paint::fbm(X / 16, Y / period * 2, ENDLESS, 2, 3, 17) - 0.5;
  });
  // The grain lines are finer than a pixel at the smallest scale, where at
  // full strength they would show as stripes.
  const double grain = s < 2 ? 0.035 : 0.085;
  for (int y = 0; y < img.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const double X = (x + 0.5) / s;
      const double line = peak((X + warp.at(x, y)) / 2.9, 10) * strength.at(x, y);
      const double t = tone.at(x, y);
      row[x] = tinted(KAYA, 1 + 0.08 * t - grain * line + 0.018 * fleck(x, y, 3), 3 * t);
    }
  }
  return img;
}

// A block of boxwood that the tiles are cut from, each at its own place and
// way round, so no two pieces show the same grain.
QImage boxwood_stock(int width, int height, double s, unsigned seed) {
  QImage img(width, height, QImage::Format_ARGB32_Premultiplied);
  const Field warp(width, height, s, [&](double X, double Y) {
    return 3.0 * paint::fbm(X / 14, Y / 22, ENDLESS, ENDLESS, 2, seed);
  });
  const Field strength(width, height, s,
                       [&](double X, double Y) { return paint::noise(X / 3, Y / 12, ENDLESS, ENDLESS, seed + 1); });
  const Field tone(width, height, s, [&](double X, double Y) {
    return paint::fbm(X / 20, Y / 30, ENDLESS, ENDLESS, 3, seed + 2) - 0.5;
  });
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const double X = (x + 0.5) / s, w = warp.at(x, y);
      const double line = peak((X + w) / 1.7, 6) * strength.at(x, y);
      const double band = peak((X + 1.6 * w) / 23, 14);
      const double t = tone.at(x, y);
      row[x] = tinted(BOXWOOD, 1 + 0.07 * t - 0.06 * line - 0.04 * band + 0.012 * fleck(x, y, seed), 4 * t);
    }
  }
  return img;
}

struct Tile {
  QSizeF size;
  QPointF centre;  // in the picture, natural units
  bool top;        // the computer's tiles point down
};

// The classic shogi pentagon: a point at the top, shoulders about a quarter
// of the way down, sides widening slightly to a flat base.
QPolygonF pentagon(QSizeF size, double squeeze = 1) {
  const double w = size.width() * squeeze, h = size.height();
  const double shoulder = 0.425 * w, drop = 0.27 * h;
  return QPolygonF({QPointF(0, -h / 2), QPointF(shoulder, -h / 2 + drop), QPointF(w / 2, h / 2),
                    QPointF(-w / 2, h / 2), QPointF(-shoulder, -h / 2 + drop)});
}

QTransform to_image(const Tile& tile, double s) {
  return QTransform().rotate(tile.top ? 180 : 0) * QTransform::fromTranslate(tile.centre.x(), tile.centre.y()) *
         QTransform::fromScale(s, s);
}

double dot(QPointF a, QPointF b) { return a.x() * b.x() + a.y() * b.y(); }

QImage blank_mask(QSize size) {
  QImage mask(size, QImage::Format_Alpha8);
  mask.fill(0);
  return mask;
}

// A mask drawn by `draw` (antialiased, solid black, no pen to begin with).
// Qt paints far faster on colour images than on masks, so it is drawn on one
// and its alpha kept.
template <class Draw>
QImage painted_mask(QSize size, Draw draw) {
  QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    draw(p);
  }
  return canvas.convertToFormat(QImage::Format_Alpha8);
}

// Multiplies a mask by another of the same size.
void keep_within(QImage& mask, const QImage& bounds) {
  for (int y = 0; y < mask.height(); ++y) {
    uchar* m = mask.scanLine(y);
    const uchar* b = bounds.constScanLine(y);
    for (int x = 0; x < mask.width(); ++x) m[x] = uchar(m[x] * b[x] / 255);
  }
}

QImage blank_layer(QSize size) {
  QImage layer(size, QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  return layer;
}

// A mask in one colour, ready to be laid over a picture.
QImage coloured(const QImage& mask, const QColor& colour) {
  QImage out = mask.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QPainter p(&out);
  p.setCompositionMode(QPainter::CompositionMode_SourceIn);
  p.fillRect(out.rect(), colour);
  return out;
}

// The outward unit normal of each edge i (from corner i to corner i + 1) of
// a convex outline.
std::vector<QPointF> outward_normals(const QPolygonF& outline) {
  const int n = int(outline.size());
  QPointF centre;
  for (const QPointF& q : outline) centre += q / n;
  std::vector<QPointF> normal;
  for (int i = 0; i < n; ++i) {
    const QPointF d = outline[(i + 1) % n] - outline[i];
    QPointF m(d.y(), -d.x());
    m /= std::hypot(m.x(), m.y());
    normal.push_back(dot(m, (outline[i] + outline[(i + 1) % n]) / 2 - centre) < 0 ? -m : m);
  }
  return normal;
}

// The outline moved inward by width, every edge parallel to its original.
QPolygonF inset(const QPolygonF& outline, const std::vector<QPointF>& normal, double width) {
  const std::size_t n = normal.size();
  QPolygonF inner;
  for (std::size_t i = 0; i < n; ++i) {
    const QPointF a = normal[(i + n - 1) % n], b = normal[i];
    inner << outline[int(i)] - width * (a + b) / (1 + dot(a, b));
  }
  return inner;
}

// The chamfer round the face, each edge lit by how much it faces the light,
// and a fine dark line at its foot that parts the tile from the board. All
// filled, never stroked: a pen costs many times a fill.
void paint_bevel(QPainter& p, const QPolygonF& outline, double width, double edge) {
  const std::vector<QPointF> normal = outward_normals(outline);
  const QPolygonF inner = inset(outline, normal, width);
  const int n = int(outline.size());
  p.setPen(Qt::NoPen);
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    const double k = dot(normal[std::size_t(i)], LIGHT);
    p.setBrush(k > 0 ? QColor(255, 250, 230, int(165 * k)) : QColor(70, 36, 6, int(120 * -k)));
    // Each band reaches a hair past its neighbours' so that the antialiased
    // seams between them do not show as light cracks.
    const QPointF d = outline[j] - outline[i];
    const QPointF along = d * (0.25 / std::hypot(d.x(), d.y()));
    p.drawPolygon(QPolygonF({outline[i] - along, outline[j] + along, inner[j] + along, inner[i] - along}));
  }
  QPainterPath ring;
  ring.setFillRule(Qt::OddEvenFill);
  ring.addPolygon(outline);
  ring.addPolygon(inset(outline, normal, edge));
  p.setBrush(EDGE);
  p.drawPath(ring);
}

// The kanji as a path in tile coordinates: brought to a common height and a
// touch narrower than the font draws it, as a piece carver writes.
QPainterPath kanji_path(const char* kanji, QSizeF tile) {
  QFont font(Artwork::font_family());
  font.setPixelSize(200);
  QPainterPath raw;
  const QString text = QString::fromUtf8(kanji);
  raw.addText(0, 0, font, text);
  const QRectF box = raw.boundingRect();
  const bool kana = text == QStringLiteral("と");
  const double height = tile.height() * (kana ? 0.47 : 0.56), width = tile.width() * 0.71;
  double sy = height / box.height();
  const double sx = std::min(sy * 0.93, width / box.width());
  sy = std::min(sy, sx * 1.2);
  return (QTransform::fromTranslate(-box.center().x(), -box.center().y()) * QTransform::fromScale(sx, sy) *
          QTransform::fromTranslate(0, tile.height() * 0.085))
      .map(raw);
}

// The kanji's mask, a little heavier than the font so that it holds at 40
// pixels: the filled glyph grown by a fraction of a natural pixel, each image
// pixel taking the strongest of its neighbours within that reach (as a round
// pen would, at a fraction of the cost of stroking the outline).
QImage ink_mask(QSize size, const QPainterPath& glyph, double s) {
  const QImage fill = painted_mask(size, [&](QPainter& p) { p.drawPath(glyph); });
  // At one image pixel per natural pixel the strokes need a whole pixel more.
  const double reach = std::max(0.48 * s, 0.7);
  struct Offset {
    int dx, dy, weight;  // weight out of 256
  };
  std::vector<Offset> disc;
  const int span = int(std::ceil(reach));
  for (int dy = -span; dy <= span; ++dy)
    for (int dx = -span; dx <= span; ++dx) {
      const double weight = std::clamp(reach - std::hypot(dx, dy) + 1, 0.0, 1.0);
      if (weight > 0.02) disc.push_back({dx, dy, int(weight * 256)});
    }
  QImage grown = blank_mask(size);
  const int w = size.width(), h = size.height();
  const QRect area =
      glyph.boundingRect().toAlignedRect().adjusted(-span, -span, span, span) & QRect(QPoint(0, 0), size);
  for (int y = area.top(); y <= area.bottom(); ++y) {
    uchar* out = grown.scanLine(y);
    for (const Offset& o : disc) {
      if (y + o.dy < 0 || y + o.dy >= h) continue;
      const uchar* in = fill.constScanLine(y + o.dy);
      for (int x = std::max(area.left(), -o.dx); x < std::min(area.right() + 1, w - o.dx); ++x)
        out[x] = std::max(out[x], uchar((in[x + o.dx] * o.weight) >> 8));
    }
  }
  return grown;
}

// Lacquer laid from a mask placed at `at` (the mask may be shifted against
// the picture), over a rim of another colour shifted by `rim_shift`: both in
// one pass over the pixels.
QImage inked(const QImage& mask, QPoint at, const QColor& ink, const QColor& rim, QPoint rim_shift) {
  QImage out(mask.size(), QImage::Format_ARGB32_Premultiplied);
  const int w = mask.width(), h = mask.height();
  const uchar* bits = mask.constBits();
  const qsizetype stride = mask.bytesPerLine();
  auto coverage = [&](int x, int y) {
    return unsigned(x) < unsigned(w) && unsigned(y) < unsigned(h) ? int(bits[y * stride + x]) : 0;
  };
  const int ir = ink.red(), ig = ink.green(), ib = ink.blue(), ia = ink.alpha();
  const int rr = rim.red(), rg = rim.green(), rb = rim.blue(), ra = rim.alpha();
  const int ix = at.x(), iy = at.y(), rx = ix + rim_shift.x(), ry = iy + rim_shift.y();
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const int c_ink = coverage(x - ix, y - iy), c_rim = coverage(x - rx, y - ry);
      if ((c_ink | c_rim) == 0) {
        row[x] = 0;
        continue;
      }
      const int a_ink = c_ink * ia / 255;
      const int a_rim = c_rim * ra / 255 * (255 - a_ink) / 255;
      row[x] = qRgba((ir * a_ink + rr * a_rim) / 255, (ig * a_ink + rg * a_rim) / 255,
                     (ib * a_ink + rb * a_rim) / 255, a_ink + a_rim);
    }
  }
  return out;
}

// Everything about a tile's shape at one scale, rasterised once and shared
// by every picture of a tile of that shape: polygons are costly to fill,
// whole images cheap to lay one over another.
struct Form {
  QImage shadow;    // laid under the tile
  QImage coverage;  // the face's area, to cut its wood with
  QImage light;     // laid over the wood: the fall of light, bevel, edge line
};

// A soft shadow thrown down and right, with a darker rim where the wood
// touches the board.
QImage shadow_of(QSize size, const QPolygonF& outline, double s) {
  QImage soft = painted_mask(size, [&](QPainter& p) { p.drawPolygon(outline.translated(1.1 * s, 1.4 * s)); });
  paint::blur(soft, int(0.7 * s + 0.5), int(0.7 * s + 0.5));
  QImage shadow = coloured(soft, SHADOW);
  QPainter p(&shadow);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(CONTACT);
  p.drawPolygon(outline.translated(0.45 * s, 0.6 * s));
  return shadow;
}

// The face's form: a gentle fall of light across it (darker by `darken` for
// a face turned away from the viewer), the bevel and the edge line.
Form face_form(QSize size, const QPolygonF& outline, const QPolygonF& silhouette, double s, double darken) {
  Form form{shadow_of(size, silhouette, s), blank_layer(size), blank_layer(size)};
  {
    QPainter p(&form.coverage);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(outline);
  }
  QPainter p(&form.light);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  const QRectF box = outline.boundingRect();
  QLinearGradient fall(box.topLeft(), box.bottomRight());
  fall.setColorAt(0, QColor(255, 252, 235, 40));
  fall.setColorAt(0.55, QColor(255, 255, 255, 0));
  fall.setColorAt(1, QColor(60, 30, 0, 34));
  p.setBrush(fall);
  p.drawPolygon(outline);
  if (darken > 0) {
    p.setBrush(QColor(40, 20, 0, int(255 * darken)));
    p.drawPolygon(outline);
  }
  paint_bevel(p, outline, 1.05 * s, 0.42 * s);
  return form;
}

// A tile's picture: the form laid over the ground (the board square, or
// nothing for the icon) with the wood cut to it, then the ink.
QImage assemble(const QImage& ground, const Form& form, QImage wood, const QImage& ink) {
  {
    QPainter p(&wood);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, form.coverage);
  }
  QImage img = ground.copy();
  QPainter p(&img);
  p.drawImage(0, 0, form.shadow);
  p.drawImage(0, 0, wood);
  p.drawImage(0, 0, form.light);
  if (!ink.isNull()) p.drawImage(0, 0, ink);
  return img;
}

// Carved and lacquered: the lit far wall of the groove shows as a pale rim
// down and right of each stroke, then the lacquer itself.
QImage carved_ink(const QImage& mask, QPoint at, double s, const QColor& ink) {
  // Below two image pixels per natural pixel the rim would be a whole pixel
  // wide and blur the strokes, so small pictures go without it.
  if (s < 2) return inked(mask, at, ink, Qt::transparent, QPoint(0, 0));
  const QPoint rim(int(0.42 * s + 0.5), int(0.5 * s + 0.5));
  return inked(mask, at, ink, RIM, rim);
}

// The turning frames' geometry. A tile turns over about its long axis: the
// face narrows with the cosine of the angle while the wedge-shaped side
// (thicker at the base) comes into view with the sine; at a quarter turn only
// the side is left, a thin wooden edge. Frames 1 and 2 turn the old face
// away, 4 and 5 bring the new one round from the other side.
struct Turn {
  double squeeze;     // the face's width against the whole tile's
  QTransform place;   // tile coordinates to the picture
  QPolygonF face, side;  // in the picture
};

Turn turn_of(int frame, bool top, double s) {
  static const double DEGREES[5] = {38, 67, 90, 67, 38};
  const double angle = DEGREES[frame - 1] * PI / 180;
  const double c = frame == 3 ? 0 : std::cos(angle), sn = std::sin(angle);
  const double side_sign = frame <= 3 ? -1 : 1;  // which long edge shows
  const double h = TURNING_TILE.height();
  auto thickness = [&](double y) { return 4.8 * (0.6 + 0.4 * (y + h / 2) / h); };
  const QPolygonF face = pentagon(TURNING_TILE, c);
  // The visible side: the face's edges on one side, pushed outward by the
  // wood's thickness seen at this angle.
  const QPointF apex = face[0], shoulder = face[side_sign < 0 ? 4 : 1], base = face[side_sign < 0 ? 3 : 2];
  auto pushed = [&](QPointF q) { return q + QPointF(side_sign * thickness(q.y()) * sn, 0); };
  const QPolygonF side({apex, shoulder, base, pushed(base), pushed(shoulder), pushed(apex)});
  // The whole silhouette centred in the square.
  const double shift = -side_sign * thickness(h / 2) * sn / 2;
  const QTransform place = QTransform::fromTranslate(shift, 0) * to_image(Tile{TURNING_TILE, TILE_CENTRE, top}, s);
  return Turn{c, place, place.map(face), place.map(side)};
}

// The turning frame's form: the face as any tile's, and the side, end-on
// boxwood darker than the face, lighter when it is turned towards the light.
Form turn_form(QSize size, int frame, bool top, double s) {
  const Turn turn = turn_of(frame, top, s);
  const bool edge_on = turn.squeeze == 0;
  Form form = edge_on ? Form{shadow_of(size, turn.side, s), blank_layer(size), blank_layer(size)}
                      : face_form(size, turn.face, turn.side.united(turn.face), s,
                                  frame == 2 || frame == 4 ? 0.16 : 0.06);
  QPainter p(&form.light);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(EDGE);
  p.drawPolygon(turn.side);
  const QRectF sb = turn.side.boundingRect();
  const bool side_lit = (frame <= 3) != top;
  QLinearGradient across(sb.topLeft(), sb.topRight());
  across.setColorAt(0, side_lit ? QColor(228, 190, 126) : QColor(198, 156, 94));
  across.setColorAt(1, side_lit ? QColor(206, 164, 100) : QColor(172, 130, 72));
  p.setBrush(across);
  // The side bends at the shoulder: its two flat parts, each a little inside
  // the edge line.
  const QPolygonF& side = turn.side;
  for (const QPolygonF& part :
       {QPolygonF({side[0], side[1], side[4], side[5]}), QPolygonF({side[1], side[2], side[3], side[4]})})
    p.drawPolygon(inset(part, outward_normals(part), 0.42 * s));
  return form;
}

// The ink of a turning face: a few strokes in the kanji's place, squeezed
// with the face and smeared by the motion, standing for whichever kanji the
// piece carries.
QImage turn_strokes(QSize size, int frame, bool top, double s) {
  const Turn turn = turn_of(frame, top, s);
  if (turn.squeeze == 0) return blank_mask(size);
  const double w = TURNING_TILE.width(), h = TURNING_TILE.height();
  const double kh = h * 0.54, kw = w * 0.7 * turn.squeeze, ky = h * 0.085;
  auto at = [&](double u, double v) { return turn.place.map(QPointF(u * kw, ky + v * kh)); };
  QImage mask = painted_mask(size, [&](QPainter& p) {
    p.setPen(QPen(Qt::black, std::max(0.5, turn.squeeze) * 2.2 * s, Qt::SolidLine, Qt::RoundCap));
    // A post, three bars and a box below: the shape of many a kanji, none
    // in particular. From (u, v) to (u, v), the kanji's box -0.5..0.5.
    static const double STROKES[][4] = {{-0.28, -0.42, 0.28, -0.42}, {0.0, -0.5, 0.0, 0.46},
                                        {-0.46, -0.12, 0.46, -0.12}, {-0.32, 0.12, -0.32, 0.44},
                                        {0.32, 0.12, 0.32, 0.44},    {-0.32, 0.16, 0.32, 0.16},
                                        {-0.4, 0.46, 0.4, 0.46}};
    for (const auto& st : STROKES) p.drawLine(at(st[0], st[1]), at(st[2], st[3]));
  });
  paint::blur(mask, int(s * (1.0 + 2.2 * (1 - turn.squeeze)) + 0.5), 0);
  // Keep the smear on the face.
  keep_within(mask, painted_mask(size, [&](QPainter& p) { p.drawPolygon(turn.face); }));
  return mask;
}

// Paints the tiles of one scale, keeping what one picture shares with others.
class Workshop {
 public:
  explicit Workshop(int s)
      : s_(s), square_(kaya_square(s)), stock_(boxwood_stock(STOCK_W * s, CELL_H * s, s, 5)) {}

  const QImage& square() const { return square_; }

  QImage face(const Face& face, bool top) {
    const QColor ink = face.red ? INK_RED : INK_BLACK;
    // The computer's ink is the person's given a half turn and laid back one
    // natural pixel up and left (see TILE_CENTRE).
    const QImage& mask = upright_ink(face);
    return assemble(square_, face_form(face.kind, top), next_cut(),
                    top ? carved_ink(mask.mirrored(true, true), QPoint(-s_, -s_), s_, ink)
                        : carved_ink(mask, QPoint(0, 0), s_, ink));
  }

  QImage turning(int frame, bool top, bool red) {
    const int key = frame * 2 + top;
    auto form = turn_forms_.find(key);
    if (form == turn_forms_.end()) form = turn_forms_.emplace(key, turn_form(square_.size(), frame, top, s_)).first;
    auto strokes = turn_strokes_.find(key);
    if (strokes == turn_strokes_.end())
      strokes = turn_strokes_.emplace(key, turn_strokes(square_.size(), frame, top, s_)).first;
    QColor ink = red ? INK_RED : INK_BLACK;
    ink.setAlpha(230);
    return assemble(square_, form->second, next_cut(),
                    inked(strokes->second, QPoint(0, 0), ink, Qt::transparent, QPoint(0, 0)));
  }

 private:
  // Tiles of one size share a form; the size is the pair's.
  const Form& face_form(int kind, bool top) {
    const Tile tile{tile_size(kind), TILE_CENTRE, top};
    const int shape = int(tile.size.width() * 10) * 2 + top;
    auto it = face_forms_.find(shape);
    if (it == face_forms_.end()) {
      const QPolygonF outline = to_image(tile, s_).map(pentagon(tile.size));
      it = face_forms_.emplace(shape, vv::face_form(square_.size(), outline, outline, s_, 0)).first;
    }
    return it->second;
  }

  const QImage& upright_ink(const Face& face) {
    auto it = inks_.find(face.kind);
    if (it == inks_.end()) {
      const Tile tile{tile_size(face.kind), TILE_CENTRE, false};
      const QPainterPath glyph = to_image(tile, s_).map(kanji_path(face.kanji, tile.size));
      it = inks_.emplace(face.kind, ink_mask(square_.size(), glyph, s_)).first;
    }
    return it->second;
  }

  // The next tile's wood: a square-sized piece of the stock from one of
  // several places, turned one of four ways.
  QImage next_cut() {
    ++cuts_;
    const int x = (cuts_ * 13) % (STOCK_W - CELL_W) * s_;
    return stock_.copy(QRect(x, 0, CELL_W * s_, CELL_H * s_)).mirrored(cuts_ % 2 == 1, cuts_ / 2 % 2 == 1);
  }

  int s_;
  QImage square_, stock_;
  std::map<int, Form> face_forms_, turn_forms_;
  std::map<int, QImage> inks_, turn_strokes_;
  int cuts_ = 0;
};

}  // namespace

void Artwork::paint_wooden_pictures(std::map<int, QImage>& into, int s) {
  Workshop shop(s);
  into[0] = shop.square();
  for (const Face& face : FACES) {
    into[face.kind] = shop.face(face, true);
    into[-face.kind] = shop.face(face, false);
  }
  // 200..209: the black set, top then bottom, frames 1..5; 210..217: the red
  // set, top then bottom, frames 1, 2, 4 and 5 (the edge-on frame 3 shows no
  // ink, so one picture serves both sets).
  for (int i = 0; i < 10; ++i) into[200 + i] = shop.turning(i % 5 + 1, i < 5, false);
  static const int RED_FRAMES[4] = {1, 2, 4, 5};
  for (int i = 0; i < 8; ++i) into[210 + i] = shop.turning(RED_FRAMES[i % 4], i < 4, true);
}

// The king drawn in whole pixels: three bars and a post, for icons too small
// for the font's strokes to land on pixels.
static QImage pixel_king(QSize area, const QTransform& place, QSizeF tile) {
  const QRectF box = place.mapRect(kanji_path(KING_FACE.kanji, tile).boundingRect());
  const int bar = std::max(1, (area.width() + 8) / 20);
  const int left = int(std::lround(box.left())), right = int(std::lround(box.right()));
  const int top = int(std::lround(box.top())), bottom = int(std::lround(box.bottom())) - bar;
  const int middle = (top + bottom) / 2, post = (left + right + 1 - bar) / 2;
  return painted_mask(area, [&](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(left + bar, top, right - left - 2 * bar, bar), Qt::black);
    p.fillRect(QRect(left + bar, middle, right - left - 2 * bar, bar), Qt::black);
    p.fillRect(QRect(left, bottom, right - left, bar), Qt::black);
    p.fillRect(QRect(post, top, bar, bottom - top), Qt::black);
  });
}

QImage Artwork::paint_icon(int size) {
  const double s = size / 41.0;
  const Tile tile{tile_size(KING_FACE.kind), QPointF(20.0, 20.0), false};
  const QTransform place = to_image(tile, s);
  const QPolygonF outline = place.map(pentagon(tile.size));
  const QSize area(size, size);
  const QImage mask = size < 48 ? pixel_king(area, place, tile.size)
                                : ink_mask(area, place.map(kanji_path(KING_FACE.kanji, tile.size)), s);
  return assemble(blank_layer(area), face_form(area, outline, outline, s, 0), boxwood_stock(size, size, s, 23),
                  carved_ink(mask, QPoint(0, 0), s, INK_BLACK));
}

}  // namespace vv
