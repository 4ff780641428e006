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

#include "rules/piece.h"
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

// The nine faces, each under its piece code: the computer's picture at the
// code, the person's at the code negated.
struct Face {
  int kind;
  const char* kanji;
  bool red;  // lacquered red, as the red turning frames are: only the と (tokin) face
};
const Face FACES[] = {{PAWN, "歩", false},   {TOKIN, "と", true},  {LANCE, "香", false},
                      {KNIGHT, "桂", false}, {SILVER, "銀", false}, {GOLD, "金", false},
                      {BISHOP, "角", false}, {ROOK, "飛", false},  {KING, "王", false}};
const Face& KING_FACE = FACES[8];

// Both faces of a pair are one piece of wood and share its size; the stronger
// pairs are cut a little larger, the king largest, as in a real set.
QSizeF tile_size(int kind) {
  switch (kind) {
    case KING: return {35.6, 38.2};
    case SILVER: case BISHOP: return {34.4, 37.2};
    case KNIGHT: case GOLD: return {33.8, 36.7};
    case PAWN: case ROOK: return {33.2, 36.2};
    default: return {32.6, 35.8};  // LANCE and TOKIN
  }
}
// The turning frames serve every piece, so they show a middle-sized tile.
const QSizeF TURNING_TILE = tile_size(GOLD);

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

// A convex outline as the half-planes that bound it, to work out for each
// pixel how far inside the outline it lies. One pass over the pixels then
// gives antialiased edges, bevels and soft shadows, far cheaper than filling
// and blurring polygons.
class Convex {
 public:
  explicit Convex(const QPolygonF& outline) {
    const int n = int(outline.size());
    QPointF centre;
    for (const QPointF& q : outline) centre += q / n;
    for (int i = 0; i < n; ++i) {
      const QPointF a = outline[i], b = outline[(i + 1) % n], d = b - a;
      const double length = std::hypot(d.x(), d.y());
      if (length < 1e-9) continue;
      QPointF m(d.y() / length, -d.x() / length);
      if (dot(m, (a + b) / 2 - centre) < 0) m = -m;
      normal_.push_back(m);
      reach_.push_back(dot(m, a));
    }
  }
  // How far inside (negative: outside) q lies, in image pixels, and which
  // edge is the nearest.
  double inside(QPointF q, std::size_t* nearest = nullptr) const {
    double best = 1e9;
    for (std::size_t i = 0; i < normal_.size(); ++i) {
      const double d = reach_[i] - dot(normal_[i], q);
      if (d < best) {
        best = d;
        if (nearest) *nearest = i;
      }
    }
    return best;
  }
  QPointF normal(std::size_t i) const { return normal_[i]; }

 private:
  std::vector<QPointF> normal_;
  std::vector<double> reach_;
};

// How far inside the union of some convex parts q lies.
double inside_any(const std::vector<Convex>& parts, QPointF q) {
  double best = -1e9;
  for (const Convex& part : parts) best = std::max(best, part.inside(q));
  return best;
}

// How much of a pixel an edge at signed distance d covers.
double coverage(double d) { return std::clamp(d + 0.5, 0.0, 1.0); }

// A soft edge, width 2 r, centred on the outline.
double soft(double d, double r) {
  const double t = std::clamp((d + r) / (2 * r), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// One pixel being built up from colours laid one over another, premultiplied.
struct Layering {
  struct Colour {
    explicit Colour(const QColor& c) : r(c.red()), g(c.green()), b(c.blue()), a(c.alpha() / 255.0) {}
    Colour(double red, double green, double blue, double alpha) : r(red), g(green), b(blue), a(alpha) {}
    double r, g, b, a;
  };
  void over(const Colour& c, double amount) {
    const double k = std::clamp(c.a * amount, 0.0, 1.0);
    r = c.r * k + r * (1 - k), g = c.g * k + g * (1 - k), b = c.b * k + b * (1 - k), a = k + a * (1 - k);
  }
  QRgb pixel(double scale = 1) const {
    auto ch = [](double v) { return std::clamp(int(v + 0.5), 0, 255); };
    return qRgba(ch(r * scale), ch(g * scale), ch(b * scale), ch(a * scale * 255));
  }
  double r = 0, g = 0, b = 0, a = 0;
};

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

// Everything about a tile's shape at one scale, worked out once and shared
// by every picture of a tile of that shape.
struct Form {
  QImage shadow;    // laid under the tile
  QImage coverage;  // the face's area, to cut its wood with
  QImage light;     // laid over the wood: the fall of light, bevel, edge line
};

// The visible side of a turning tile: end-on boxwood, shaded across.
struct Side {
  QPolygonF outline;
  QColor near, far;  // at its left and right ends
};

// A tile's form. The body (the face, and the side of a turning tile) throws
// a soft shadow down and right, with a darker rim where the wood touches the
// board. The face has a gentle fall of light across it (darker by `darken`
// when it is turned away from the viewer), a chamfer round it whose every
// edge is lit by how much it faces the light, and a fine dark line at its
// foot that parts it from the board.
Form tile_form(QSize size, const QPolygonF& face, const Side* side, double s, double darken) {
  Form form{blank_layer(size), blank_layer(size), blank_layer(size)};
  const bool has_face = face.boundingRect().width() > 0.5;
  const Convex face_shape(face);
  std::vector<Convex> body;
  std::vector<Convex> side_parts;
  if (has_face) body.push_back(face_shape);
  if (side) {
    // The side bends at the shoulder: two flat parts.
    const QPolygonF& o = side->outline;
    side_parts = {Convex(QPolygonF({o[0], o[1], o[4], o[5]})), Convex(QPolygonF({o[1], o[2], o[3], o[4]}))};
    body.insert(body.end(), side_parts.begin(), side_parts.end());
  }
  const QPointF soft_shift(1.1 * s, 1.4 * s), contact_shift(0.45 * s, 0.6 * s);
  const double soft_reach = 1.3 * s, bevel = 1.05 * s, edge = 0.42 * s;
  const Layering::Colour shadow(SHADOW), contact(CONTACT), edge_line(EDGE), dusk(40, 20, 0, 1);
  const Layering::Colour fall_light(QColor(255, 252, 235, 40)), fall_dark(QColor(60, 30, 0, 34));
  const Layering::Colour bevel_lit(255, 250, 230, 165 / 255.0), bevel_shade(70, 36, 6, 120 / 255.0);
  QRectF extent = face.boundingRect();
  if (side) extent |= side->outline.boundingRect();
  const QRect work = extent.adjusted(-2, -2, soft_shift.x() + soft_reach + 2, soft_shift.y() + soft_reach + 2)
                         .toAlignedRect() & QRect(QPoint(0, 0), size);
  const double reach_out = std::hypot(soft_shift.x(), soft_shift.y()) + soft_reach;
  const QRectF fb = face.boundingRect(), sb = side ? side->outline.boundingRect() : QRectF();
  const QPointF diagonal = fb.bottomRight() - fb.topLeft();
  const double diagonal2 = std::max(1e-9, dot(diagonal, diagonal));
  for (int y = work.top(); y <= work.bottom(); ++y) {
    auto* shadow_row = reinterpret_cast<QRgb*>(form.shadow.scanLine(y));
    auto* cover_row = reinterpret_cast<QRgb*>(form.coverage.scanLine(y));
    auto* light_row = reinterpret_cast<QRgb*>(form.light.scanLine(y));
    for (int x = work.left(); x <= work.right(); ++x) {
      const QPointF q(x + 0.5, y + 0.5);
      // The distance inside changes by at most the distance moved, which
      // rules out most pixels for the shadow: those far from the body, and
      // those well inside it, where the wood will cover the shadow.
      const double in_body = inside_any(body, q);
      if (in_body < -(reach_out + 1)) continue;
      if (in_body < 1.5) {
        Layering under;
        under.over(shadow, soft(inside_any(body, q - soft_shift), soft_reach));
        under.over(contact, coverage(inside_any(body, q - contact_shift)));
        shadow_row[x] = under.pixel();
      }
      if (in_body <= -0.5) continue;
      Layering over;
      double covered = 0;
      if (has_face) {
        std::size_t nearest = 0;
        const double d = face_shape.inside(q, &nearest);
        covered = coverage(d);
        if (covered > 0) {
          cover_row[x] = qRgba(0, 0, 0, int(covered * 255 + 0.5));
          const double t = std::clamp(dot(q - fb.topLeft(), diagonal) / diagonal2, 0.0, 1.0);
          if (t < 0.55)
            over.over(fall_light, 1 - t / 0.55);
          else
            over.over(fall_dark, (t - 0.55) / 0.45);
          if (darken > 0) over.over(dusk, darken);
          if (d < bevel + 0.5) {
            const double k = dot(face_shape.normal(nearest), LIGHT);
            over.over(k > 0 ? bevel_lit : bevel_shade, std::abs(k) * coverage(bevel - d));
            over.over(edge_line, coverage(edge - d));
          }
        }
      }
      if (side) {
        const double d = inside_any(side_parts, q);
        const double side_covered = coverage(d);
        if (side_covered > 0) {
          const double t = std::clamp((q.x() - sb.left()) / std::max(1e-9, sb.width()), 0.0, 1.0);
          const Layering::Colour wood(side->near.red() + t * (side->far.red() - side->near.red()),
                                      side->near.green() + t * (side->far.green() - side->near.green()),
                                      side->near.blue() + t * (side->far.blue() - side->near.blue()), 1);
          Layering end_on;
          end_on.over(wood, 1);
          end_on.over(edge_line, coverage(edge - d));
          // The side lies over the face where their edges meet.
          over.r = end_on.r * side_covered + over.r * covered * (1 - side_covered);
          over.g = end_on.g * side_covered + over.g * covered * (1 - side_covered);
          over.b = end_on.b * side_covered + over.b * covered * (1 - side_covered);
          over.a = side_covered + over.a * covered * (1 - side_covered);
          covered = 1;
        }
      }
      light_row[x] = over.pixel(covered);
    }
  }
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

// The turning frame's form: the face as any tile's, and the side, darker
// than the face, lighter when it is turned towards the light.
Form turn_form(QSize size, int frame, bool top, double s) {
  const Turn turn = turn_of(frame, top, s);
  const bool side_lit = (frame <= 3) != top;
  const Side side{turn.side, side_lit ? QColor(228, 190, 126) : QColor(198, 156, 94),
                  side_lit ? QColor(206, 164, 100) : QColor(172, 130, 72)};
  return tile_form(size, turn.squeeze == 0 ? QPolygonF() : turn.face, &side, s,
                   frame == 2 || frame == 4 ? 0.16 : 0.06);
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
      it = face_forms_.emplace(shape, tile_form(square_.size(), outline, nullptr, s_, 0)).first;
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
  return assemble(blank_layer(area), tile_form(area, outline, nullptr, s, 0), boxwood_stock(size, size, s, 23),
                  carved_ink(mask, QPoint(0, 0), s, INK_BLACK));
}

}  // namespace vv
