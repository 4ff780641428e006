// The scenery round the board: five background tiles and the title plaque.
//
// The window lays the 41 x 41 background tiles every 40 pixels across and 41
// down, so each tile is painted from a texture that repeats with exactly that
// period: its last column equals its first, and neighbours meet without a
// seam. The tiles sit behind white texts with black shadows, so they keep to
// calm, middle-dark tones.
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "window/artwork.h"

namespace vv {
namespace {

constexpr int TILE = 41, PERIOD_X = 40, PERIOD_Y = 41;
constexpr double PI = 3.14159265358979;

uint32_t cell_hash(int x, int y, unsigned seed) {
  uint32_t n = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ seed * 83492791u;
  n = (n ^ (n >> 13)) * 1274126177u;
  return n ^ (n >> 16);
}
double unit(uint32_t h) { return (h & 0xffff) / 65535.0; }

int ch(double v) { return std::clamp(int(v + 0.5), 0, 255); }

// Paints a tile from a texture given in natural units over one period:
// (X, Y) with 0 <= X < 40, 0 <= Y < 41, and the image pixel (for fine grit).
QImage periodic_tile(int s, const std::function<QRgb(double X, double Y, int px, int py)>& texture) {
  QImage img(TILE * s, TILE * s, QImage::Format_ARGB32_Premultiplied);
  const int period_x = PERIOD_X * s, period_y = PERIOD_Y * s;
  for (int y = 0; y < img.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    const int py = y % period_y;
    for (int x = 0; x < img.width(); ++x) {
      const int px = x % period_x;
      row[x] = texture((px + 0.5) / s, (py + 0.5) / s, px, py);
    }
  }
  return img;
}

// Noise with nx x ny lattice cells to a tile, so it repeats with the tile.
double tile_fbm(double X, double Y, int nx, int ny, int octaves, unsigned seed) {
  return paint::fbm(X / PERIOD_X * nx, Y / PERIOD_Y * ny, nx, ny, octaves, seed);
}

// A smooth quantity sampled at every natural pixel (or every half) of a
// width x height area and interpolated between, wrapping at the edges: the
// slow parts of a texture then cost a few lookups per image pixel.
class Field {
 public:
  template <class F>
  Field(int width, int height, int per_pixel, F f)
      : n_(per_pixel), w_(width * per_pixel), h_(height * per_pixel), v_(std::size_t(w_ * h_)) {
    for (int j = 0; j < h_; ++j)
      for (int i = 0; i < w_; ++i) v_[std::size_t(j * w_ + i)] = float(f(double(i) / n_, double(j) / n_));
  }
  // Tile noise: nx x ny lattice cells over one period of the background.
  static Field noise(int nx, int ny, int octaves, unsigned seed, int per_pixel = 1) {
    return Field(PERIOD_X, PERIOD_Y, per_pixel,
                 [&](double X, double Y) { return tile_fbm(X, Y, nx, ny, octaves, seed) - 0.5; });
  }

  double operator()(double X, double Y) const {
    const double u = X * n_, v = Y * n_;
    const int i = int(u), j = int(v);
    const double a = u - i, b = v - j;
    const int i0 = i % w_, i1 = (i + 1) % w_, j0 = (j % h_) * w_, j1 = ((j + 1) % h_) * w_;
    const float* p = v_.data();
    return (p[j0 + i0] + a * (p[j0 + i1] - p[j0 + i0])) * (1 - b) + (p[j1 + i0] + a * (p[j1 + i1] - p[j1 + i0])) * b;
  }

 private:
  int n_, w_, h_;
  std::vector<float> v_;
};

double grit(int px, int py, unsigned seed) { return unit(cell_hash(px, py, seed)) - 0.5; }

// 2: felt, deep green, a faint weave and soft mottling.
QImage green_felt(int s) {
  const Field mottles = Field::noise(4, 4, 3, 31), fibres = Field::noise(25, 25, 1, 37, 2);
  return periodic_tile(s, [&](double X, double Y, int px, int py) {
    const double mottle = mottles(X, Y), fibre = fibres(X, Y);
    const double weave = (2 * paint::wave(X / 2) - 1) * (2 * paint::wave(Y / 2.05) - 1);
    const double f = 1 + 0.16 * mottle + 0.1 * fibre + 0.035 * weave + 0.05 * grit(px, py, 41);
    return qRgb(ch(24 * f), ch(84 * f), ch(48 * f));
  });
}

// 3: tatami, rush straws lying across, bound by threads every third of a
// tile; each straw swells between two threads and dips under them.
QImage tatami(int s) {
  const Field fibres = Field::noise(50, 30, 1, 53, 2), ageing = Field::noise(2, 2, 2, 57);
  return periodic_tile(s, [&](double X, double Y, int px, int py) {
    constexpr int STRAWS = 15, SEGMENTS = 3;
    const double v = Y / PERIOD_Y * STRAWS, u = X / PERIOD_X * SEGMENTS;
    const int straw = int(v), segment = int(u);
    const double across = v - straw, along = u - segment;
    const double round = std::sqrt(std::sin(PI * across));
    const double swell = std::sqrt(std::sqrt(std::sin(PI * along)));
    const double own = unit(cell_hash(straw, segment, 51)) - 0.5;
    const double fibre = fibres(X, Y), aged = ageing(X, Y);
    const double f = (0.66 + 0.34 * round) * (0.8 + 0.2 * swell) * (1 + 0.1 * own + 0.08 * fibre + 0.1 * aged) +
                     0.03 * grit(px, py, 59);
    return qRgb(ch(120 * f + 5 * own), ch(116 * f), ch(62 * f - 3 * own));
  });
}

// 4: a fence of green bamboo, three stalks to a tile, each round in the light
// from the left, with a node at its own height and the pale bloom below it.
QImage bamboo(int s) {
  struct Stalk {
    double left, width, node;  // natural units; node: the height of its node
    double r, g, b;
  };
  static const Stalk STALKS[3] = {{0.4, 12.6, 9, 78, 128, 56}, {13.6, 13.4, 30, 70, 120, 58},
                                  {27.6, 12.0, 19, 86, 132, 52}};
  const Field streaks = Field::noise(57, 5, 1, 61, 2), shade = Field::noise(13, 13, 1, 67);
  return periodic_tile(s, [&](double X, double Y, int px, int py) {
    for (const Stalk& st : STALKS) {
      double dy = Y - st.node;
      dy -= PERIOD_Y * std::round(dy / PERIOD_Y);
      // The stalk swells a little at its node.
      const double bulge = 0.5 * std::exp(-dy * dy / 2.0);
      const double a = (X - st.left - st.width / 2) / (st.width / 2 + bulge);
      if (std::abs(a) >= 1) continue;
      const double nz = std::sqrt(1 - a * a);
      const double lambert = std::max(0.0, -0.55 * a + 0.84 * nz);
      const double glint = std::max(0.0, 1 - std::abs(a + 0.42) * 4.5), shine = glint * glint * 0.16;
      const double streak = streaks(X, Y);
      double f = 0.4 + 0.5 * lambert + 0.05 * streak;
      double r = st.r * f + 150 * shine, g = st.g * f + 160 * shine, b = st.b * f + 120 * shine;
      // The node: a raised ring, lit above and shadowed below.
      if (dy > -0.9 && dy < 0) r *= 1.25, g *= 1.22, b *= 1.15;
      if (dy >= 0 && dy < 0.9) r *= 0.55, g *= 0.6, b *= 0.55;
      // The bloom: a whitish band fading below the node.
      if (dy >= 0.9 && dy < 4.5) {
        const double bloom = 0.22 * (1 - (dy - 0.9) / 3.6) * nz;
        r += (200 - r) * bloom, g += (215 - g) * bloom, b += (180 - b) * bloom;
      }
      const double gr = 1 + 0.04 * grit(px, py, 63);
      return qRgb(ch(r * gr), ch(g * gr), ch(b * gr));
    }
    // The gap between stalks: deep shade.
    const double f = 1 + 0.2 * shade(X, Y);
    return qRgb(ch(22 * f), ch(40 * f), ch(18 * f));
  });
}

// 5: the night sky: a faint nebula and a few stars of different sizes and
// colours, the brightest with short rays.
QImage space(int s) {
  struct Star {
    double x, y, size, bright;
    int r, g, b;
  };
  static const Star STARS[] = {{7.5, 9.0, 1.0, 1.0, 255, 250, 235},  {29.0, 5.5, 0.55, 0.6, 200, 220, 255},
                               {21.0, 23.0, 0.7, 0.8, 255, 235, 200}, {35.5, 31.0, 0.5, 0.55, 255, 255, 255},
                               {12.0, 34.5, 0.55, 0.5, 190, 210, 255}, {3.0, 22.0, 0.4, 0.4, 255, 255, 255},
                               {33.0, 17.5, 0.35, 0.35, 255, 220, 210}, {17.0, 3.0, 0.35, 0.3, 255, 255, 255}};
  const Field clouds = Field::noise(3, 3, 4, 71), dusts = Field::noise(5, 5, 3, 73);
  return periodic_tile(s, [&](double X, double Y, int px, int py) {
    const double cloud = clouds(X, Y) + 0.5;
    const double thick = std::max(0.0, cloud - 0.42) / 0.58, haze = thick * std::sqrt(thick);
    const double dust = dusts(X, Y) + 0.5;
    double r = 7 + 34 * haze * dust, g = 8 + 14 * haze, b = 22 + 40 * haze;
    for (const Star& st : STARS) {
      double dx = X - st.x, dy = Y - st.y;
      dx -= PERIOD_X * std::round(dx / PERIOD_X);
      dy -= PERIOD_Y * std::round(dy / PERIOD_Y);
      const double d2 = dx * dx + dy * dy;
      if (d2 > 40) continue;
      double light = st.bright * std::exp(-d2 / (st.size * st.size * 0.5));
      light += 0.25 * st.bright * std::exp(-d2 / (st.size * st.size * 5));
      if (st.bright > 0.75) {
        const double ray = std::exp(-std::abs(dx) * 6) * std::exp(-std::abs(dy) * 0.9) +
                           std::exp(-std::abs(dy) * 6) * std::exp(-std::abs(dx) * 0.9);
        light += 0.35 * st.bright * ray;
      }
      r += st.r * light, g += st.g * light, b += st.b * light;
    }
    const double gr = 1 + 0.12 * grit(px, py, 79);
    return qRgb(ch(r * gr), ch(g * gr), ch(b * gr));
  });
}

// 6: a brick wall in running bond, four courses to a tile, two bricks to a
// course, each brick of its own firing, set in dark mortar.
QImage brick(int s) {
  const Field weathering = Field::noise(4, 4, 3, 83), texture = Field::noise(31, 30, 1, 101, 2);
  return periodic_tile(s, [&](double X, double Y, int px, int py) {
    constexpr double COURSE = PERIOD_Y / 4.0, LENGTH = PERIOD_X / 2.0, JOINT = 1.3;
    const int course = int(Y / COURSE);
    const double bx = X + (course % 2 ? LENGTH / 2 : 0);
    const int index = int(bx / LENGTH) % 2;
    const double in_x = std::fmod(bx, LENGTH), in_y = Y - course * COURSE;
    const double weather = weathering(X, Y);
    const double g = grit(px, py, 89);
    if (in_x < JOINT || in_y < JOINT) {
      // Mortar, in shadow just under the brick above.
      const double shade = in_y < JOINT && in_y > JOINT * 0.45 ? 0.8 : 1.0;
      const double f = shade * (1 + 0.2 * weather + 0.12 * g);
      return qRgb(ch(68 * f), ch(63 * f), ch(58 * f));
    }
    const uint32_t id = cell_hash(course, index, 97);
    const double fire = unit(id) - 0.5, hue = unit(id >> 16) - 0.5;
    double f = 1 + 0.18 * fire + 0.12 * weather + 0.06 * g;
    f *= 1 + 0.16 * texture(X, Y);
    // The faces catch the light on their top and left edges.
    if (in_y < JOINT + 0.8 || in_x < JOINT + 0.8) f *= 1.12;
    if (in_y > COURSE - 0.8 || in_x > LENGTH - 0.8) f *= 0.82;
    return qRgb(ch((112 + 16 * hue) * f), ch((52 + 6 * hue) * f), ch((38 - 5 * hue) * f));
  });
}

// 1: the title plaque: a dark lacquered board in a rim of wood, a fine gold
// line inside it, the name in gold and a small kanji line under it.
QImage title_plaque(int s) {
  const int w = 152, h = 59;
  // The lacquer softens the wood's grain, so it is worked out once per
  // natural pixel and smoothly enlarged.
  QImage wood(w, h, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<QRgb*>(wood.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const double warp = 4 * paint::fbm(x / 40.0, y / 9.0, 1 << 12, 1 << 12, 2, 103);
      const double wave = paint::wave((y + warp) / 2.6), grain = wave * wave * wave * wave;
      const double f = 1 - 0.18 * grain + 0.04 * grit(x, y, 107);
      row[x] = qRgb(ch(58 * f), ch(26 * f), ch(16 * f));
    }
  }
  QImage img = wood.scaled(w * s, h * s, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(s, s);
  // The rim: a raised frame, lit on the top and left.
  const QRectF outer(0, 0, w, h);
  const double rim = 4;
  const QRectF inner = outer.adjusted(rim, rim, -rim, -rim);
  auto band = [&](QPolygonF poly, QColor c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(poly);
  };
  band(QPolygonF({outer.topLeft(), outer.topRight(), inner.topRight(), inner.topLeft()}), QColor(130, 78, 42, 200));
  band(QPolygonF({outer.topLeft(), inner.topLeft(), inner.bottomLeft(), outer.bottomLeft()}), QColor(112, 64, 34, 190));
  band(QPolygonF({outer.bottomLeft(), inner.bottomLeft(), inner.bottomRight(), outer.bottomRight()}),
       QColor(14, 6, 2, 200));
  band(QPolygonF({outer.topRight(), outer.bottomRight(), inner.bottomRight(), inner.topRight()}),
       QColor(24, 10, 4, 190));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, 170), 1));
  p.drawRect(outer.adjusted(0.5, 0.5, -0.5, -0.5));
  p.setPen(QPen(QColor(0, 0, 0, 120), 0.8));
  p.drawRect(inner);
  // The lacquer's sheen, brightest towards the top.
  QLinearGradient sheen(inner.topLeft(), inner.bottomLeft());
  sheen.setColorAt(0, QColor(255, 230, 200, 34));
  sheen.setColorAt(0.45, QColor(255, 255, 255, 0));
  sheen.setColorAt(1, QColor(0, 0, 0, 50));
  p.setPen(Qt::NoPen);
  p.setBrush(sheen);
  p.drawRect(inner);

  QLinearGradient gold(0, 8, 0, 40);
  gold.setColorAt(0, QColor(255, 238, 170));
  gold.setColorAt(0.5, QColor(226, 178, 82));
  gold.setColorAt(1, QColor(164, 112, 40));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QBrush(gold), 0.7));
  p.drawRect(inner.adjusted(2.2, 2.2, -2.2, -2.2));

  // The name, in gold with a shadow pressed into the lacquer.
  QFont font(Artwork::font_family());
  font.setPixelSize(27);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
  // The name's outline is filled once, as a mask; its shadow, a pale edge
  // catching the light up and left, and the gold are that mask shifted and
  // coloured (filling a large outline costs many times laying an image).
  QPainterPath name;
  name.addText(0, 0, font, QStringLiteral("Veverodu"));
  const QRectF nb = name.boundingRect();
  name.translate(w / 2.0 - nb.center().x(), 31 - nb.bottom());
  QImage mask(img.size(), QImage::Format_ARGB32_Premultiplied);
  mask.fill(Qt::transparent);
  {
    QPainter m(&mask);
    m.setRenderHint(QPainter::Antialiasing);
    m.scale(s, s);
    m.fillPath(name, Qt::black);
  }
  auto layer = [&](const QBrush& brush) {
    QImage l = mask.copy();
    QPainter q(&l);
    q.setCompositionMode(QPainter::CompositionMode_SourceIn);
    q.scale(s, s);
    q.fillRect(QRectF(0, 0, w, h), brush);
    return l;
  };
  p.save();
  p.resetTransform();
  p.drawImage(QPoint(int(0.7 * s + 0.5), int(0.9 * s + 0.5)), layer(QColor(0, 0, 0, 170)));
  p.drawImage(QPoint(-int(0.3 * s + 0.5), -int(0.35 * s + 0.5)), layer(QColor(255, 248, 214, 150)));
  p.drawImage(0, 0, layer(gold));
  p.restore();

  // The subtitle: "the game of two faces", between two gold rules.
  QFont small(Artwork::font_family());
  small.setPixelSize(10);
  small.setLetterSpacing(QFont::AbsoluteSpacing, 2.5);
  QPainterPath sub;
  sub.addText(0, 0, small, QStringLiteral("表裏将棋"));
  const QRectF sbx = sub.boundingRect();
  sub.translate(w / 2.0 - sbx.center().x(), 46.5 - sbx.bottom());
  const QRectF placed = sub.boundingRect();
  p.setPen(Qt::NoPen);
  p.fillPath(sub.translated(0.5, 0.6), QColor(0, 0, 0, 150));
  p.fillPath(sub, QColor(236, 214, 168));
  QLinearGradient left_rule(16, 0, placed.left() - 5, 0), right_rule(placed.right() + 5, 0, w - 16, 0);
  left_rule.setColorAt(0, QColor(214, 168, 80, 0));
  left_rule.setColorAt(1, QColor(226, 182, 92));
  right_rule.setColorAt(0, QColor(226, 182, 92));
  right_rule.setColorAt(1, QColor(214, 168, 80, 0));
  const double rule_y = placed.center().y();
  p.setPen(QPen(QBrush(left_rule), 0.8));
  p.drawLine(QPointF(16, rule_y), QPointF(placed.left() - 5, rule_y));
  p.setPen(QPen(QBrush(right_rule), 0.8));
  p.drawLine(QPointF(placed.right() + 5, rule_y), QPointF(w - 16, rule_y));
  // A small diamond closing each rule, like a piece's point.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(226, 182, 92));
  for (double cx : {placed.left() - 3.2, placed.right() + 3.2})
    p.drawPolygon(QPolygonF({QPointF(cx, rule_y - 1.6), QPointF(cx + 1.3, rule_y), QPointF(cx, rule_y + 1.6),
                             QPointF(cx - 1.3, rule_y)}));
  return img;
}

}  // namespace

void Artwork::paint_scenery(std::map<int, QImage>& into, int s) {
  into[1] = title_plaque(s);
  into[2] = green_felt(s);
  into[3] = tatami(s);
  into[4] = bamboo(s);
  into[5] = space(s);
  into[6] = brick(s);
}

}  // namespace vv
