// The picture set: painted once at start-up, then only looked up by code.
#include "window/artwork.h"

#include <QFontDatabase>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vv {

Artwork::Artwork(int scale) : scale_(std::max(1, scale)) {
  paint_wooden_pictures(pictures_, scale_);
  paint_scenery(pictures_, scale_);
}

const QImage* Artwork::picture(int code) const {
  auto it = pictures_.find(code);
  return it == pictures_.end() ? nullptr : &it->second;
}

QString Artwork::font_family() {
  // The font database is slow to ask, and the answer cannot change while the
  // program runs.
  static const QString family = [] {
    const QStringList families = QFontDatabase::families();
    for (const QString& name : {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"),
                                QStringLiteral("IPA P明朝"), QStringLiteral("IPAMincho"),
                                QStringLiteral("Noto Serif CJK JP")})
      if (families.contains(name)) return name;
    return QStringLiteral("serif");
  }();
  return family;
}

QImage Artwork::icon(int size) { return paint_icon(std::max(16, size)); }

namespace {

uint32_t lattice_hash(int x, int y, unsigned seed) {
  uint32_t n = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  n = (n ^ (n >> 13)) * 1274126177u;
  return n ^ (n >> 16);
}

int wrap(int k, int period) {
  k %= period;
  return k < 0 ? k + period : k;
}

}  // namespace

namespace paint {

float noise(double u, double v, int period_u, int period_v, unsigned seed) {
  const double fu = std::floor(u), fv = std::floor(v);
  const int i = int(fu), j = int(fv);
  double a = u - fu, b = v - fv;
  a = a * a * (3 - 2 * a);
  b = b * b * (3 - 2 * b);
  auto at = [&](int x, int y) {
    return float(lattice_hash(wrap(x, period_u), wrap(y, period_v), seed) & 0xffffff) / float(0x1000000);
  };
  const float top = at(i, j) + float(a) * (at(i + 1, j) - at(i, j));
  const float bottom = at(i, j + 1) + float(a) * (at(i + 1, j + 1) - at(i, j + 1));
  return top + float(b) * (bottom - top);
}

float fbm(double u, double v, int period_u, int period_v, int octaves, unsigned seed) {
  float sum = 0, amplitude = 1, total = 0;
  for (int k = 0; k < octaves; ++k) {
    sum += amplitude * noise(u, v, period_u, period_v, seed + 977u * unsigned(k));
    total += amplitude;
    amplitude *= 0.5f;
    u *= 2;
    v *= 2;
    period_u *= 2;
    period_v *= 2;
  }
  return sum / total;
}

float wave(double phase) {
  // A table of one period, interpolated: the textures call this for every
  // pixel, and the library cosine is many times slower.
  constexpr int STEPS = 1024;
  static const std::vector<float> table = [] {
    std::vector<float> t(STEPS + 1);
    for (int i = 0; i <= STEPS; ++i) t[std::size_t(i)] = float(0.5 + 0.5 * std::cos(2 * 3.14159265358979 * i / STEPS));
    return t;
  }();
  const double u = (phase - std::floor(phase)) * STEPS;
  const int i = std::min(int(u), STEPS - 1);
  return table[std::size_t(i)] + float(u - i) * (table[std::size_t(i) + 1] - table[std::size_t(i)]);
}

void blur(QImage& mask, int radius_x, int radius_y) {
  if (mask.format() != QImage::Format_Alpha8) mask = mask.convertToFormat(QImage::Format_Alpha8);
  const int w = mask.width(), h = mask.height();
  const int pad = std::max(radius_x, radius_y) + 1;
  std::vector<int> line(std::size_t(std::max(w, h) + 2 * pad));
  // One running-sum pass along a row or column, the edges repeated outward.
  auto pass = [&](uint8_t* first, int count, int stride, int r) {
    int* padded = line.data() + pad;
    for (int i = 0; i < count; ++i) padded[i] = first[i * stride];
    for (int i = 1; i <= r + 1; ++i) padded[-i] = padded[0], padded[count - 1 + i] = padded[count - 1];
    int sum = 0;
    for (int i = -r - 1; i < r; ++i) sum += padded[i];
    const int n = 2 * r + 1;
    for (int i = 0; i < count; ++i) {
      sum += padded[i + r] - padded[i - r - 1];
      first[i * stride] = uint8_t((sum + n / 2) / n);
    }
  };
  uchar* bits = mask.bits();
  const int stride = int(mask.bytesPerLine());
  for (int round = 0; round < 2; ++round) {
    if (radius_x > 0)
      for (int y = 0; y < h; ++y) pass(bits + y * stride, w, 1, radius_x);
    if (radius_y > 0)
      for (int x = 0; x < w; ++x) pass(bits + x, h, stride, radius_y);
  }
}

}  // namespace paint
}  // namespace vv
