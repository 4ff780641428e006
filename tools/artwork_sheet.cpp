// A preview of the artwork, without the game: writes a contact sheet of every
// picture code, the six turning animations, and mocks of the whole screen laid
// out on the window's grid (one per background), then times the painting.
//
//   artwork_sheet [output folder] [scale]
//
// An output folder "-" times the painting and writes nothing.
//
// Build by hand, e.g.
//   g++ -std=c++20 -O2 -fPIC -Isrc tools/artwork_sheet.cpp src/window/artwork*.cpp
//       $(pkg-config --cflags --libs Qt6Widgets) -o build-art/artwork_sheet
// and run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "window/artwork.h"

namespace {

// The window's grid in twips: cell (x, y) starts at (2200 + 600 x, 520 + 615 y).
constexpr double TWIPS_PER_PIXEL = 15;

struct Screen {
  const vv::Artwork& art;
  QPainter& p;
  int s;
  QPointF at(double x, double y) const {
    return QPointF((2200 + 600 * x) / TWIPS_PER_PIXEL * s, (520 + 615 * y) / TWIPS_PER_PIXEL * s);
  }
  void picture(int code, double x, double y) {
    if (const QImage* img = art.picture(code)) p.drawImage(at(x, y), *img);
  }
  // One natural pixel wide, from the cell's corner to the next cell's corner,
  // both included, as the window draws it.
  void outline(QColor c, double x, double y) {
    const QPoint a = at(x, y).toPoint(), b = at(x + 1, y + 1).toPoint();
    p.fillRect(a.x(), a.y(), b.x() - a.x() + s, s, c);
    p.fillRect(a.x(), b.y(), b.x() - a.x() + s, s, c);
    p.fillRect(a.x(), a.y(), s, b.y() - a.y() + s, c);
    p.fillRect(b.x(), a.y(), s, b.y() - a.y() + s, c);
  }
  void text(double x, double y, const QString& t, QColor c, int points) {
    QFont f(vv::Artwork::font_family());
    f.setPixelSize(points * 96 * s / 72);
    f.setBold(true);
    p.setFont(f);
    p.setPen(c);
    p.drawText(QRectF(at(x, y), QSizeF(2000, 1000)), Qt::AlignLeft | Qt::AlignTop, t);
  }
  void shadowed(double x, double y, const QString& t, QColor c, int points) {
    text(x + 0.1, y + 0.1, t, Qt::black, points);
    text(x, y, t, c, points);
  }
};

const QColor GREEN(0, 128, 0), WHITE(255, 255, 255), LIGHT_RED(255, 0, 0);

// The start position in piece codes, by row from the top, then column.
constexpr int START[9][9] = {
    {20, 30, 100, 110, 950, 110, 100, 30, 20},
    {0, 900, 0, 0, 0, 0, 0, 800, 0},
    {10, 10, 10, 10, 10, 10, 10, 10, 10},
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {-10, -10, -10, -10, -10, -10, -10, -10, -10},
    {0, -800, 0, 0, 0, 0, 0, -900, 0},
    {-20, -30, -100, -110, -950, -110, -100, -30, -20},
};

// The whole screen as the full redraw paints it.
QImage mock_screen(const vv::Artwork& art, int background) {
  const int s = art.scale();
  QImage img(800 * s, 530 * s, QImage::Format_RGB32);
  img.fill(GREEN);
  QPainter p(&img);
  p.setRenderHint(QPainter::TextAntialiasing);
  Screen sc{art, p, s};
  for (int x = -4; x <= 23; ++x)
    for (int y = -2; y <= 17; ++y)
      if (x < 1 || x > 9 || y < 1 || y > 9) sc.picture(background, x, y);
  for (int i = 1; i <= 9; ++i) sc.shadowed(i + 0.1, 0.4, QString::number(10 - i), WHITE, 16);
  static const char* NUMERALS[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
  for (int j = 1; j <= 9; ++j) sc.shadowed(10.1, j + 0.3, QString::fromUtf8(NUMERALS[j - 1]), WHITE, 12);
  // Stands: the person holds two pawns and a silver, the computer a knight.
  const int man_hand[5] = {0, 2, 0, 0, 1}, com_hand[5] = {0, 0, 0, 1, 0};
  const int front[5] = {0, 10, 20, 30, 100}, back[5] = {0, 900, 11, 110, 800};
  for (int pass = 0; pass < 2; ++pass) {
    for (int slot = 1; slot <= 4; ++slot) {
      const double x = pass == 0 ? 12 : 14, y = slot + 5;
      sc.picture(0, x, y);
      sc.picture(background, x + 1, y);
      sc.outline(GREEN, x, y);
      if (man_hand[slot] > 0) {
        sc.picture(-(pass == 0 ? front : back)[slot], x, y);
        sc.outline(GREEN, x, y);
        if (pass == 0) {
          sc.text(13.2, slot + 5.3, QString::number(man_hand[slot]), Qt::black, 14);
          sc.text(13.1, slot + 5.2, QString::number(man_hand[slot]), LIGHT_RED, 14);
        }
      }
    }
    for (int row = 1; row <= 4; ++row) {
      const int slot = 5 - row;
      const double x = pass == 0 ? -1 : -3;
      sc.picture(0, x, row);
      sc.picture(background, x + 1, row);
      sc.outline(GREEN, x, row);
      if (com_hand[slot] > 0) {
        sc.picture((pass == 0 ? front : back)[slot], x, row);
        sc.outline(GREEN, x, row);
        if (pass == 1) {
          sc.text(-1.8, 5.3 - slot, QString::number(com_hand[slot]), Qt::black, 14);
          sc.text(-1.9, 5.2 - slot, QString::number(com_hand[slot]), LIGHT_RED, 14);
        }
      }
    }
  }
  for (int x = 1; x <= 9; ++x)
    for (int y = 1; y <= 9; ++y) {
      sc.picture(START[y - 1][x - 1], x, y);
      sc.outline(GREEN, x, y);
    }
  sc.text(12.3, 5.4, "表", Qt::black, 15);
  sc.text(12.2, 5.3, "表", WHITE, 15);
  sc.text(14.3, 5.4, "裏", Qt::black, 15);
  sc.text(14.2, 5.3, "裏", WHITE, 15);
  sc.text(-0.6, 5.4, "表", Qt::black, 15);
  sc.text(-0.7, 5.3, "表", WHITE, 15);
  sc.text(-2.6, 5.4, "裏", Qt::black, 15);
  sc.text(-2.7, 5.3, "裏", WHITE, 15);
  sc.shadowed(-2, 0.1, "LEVEL", WHITE, 10);
  sc.shadowed(-0.7, 0.1, "3", WHITE, 12);
  sc.shadowed(11.2, 3.3, "0", WHITE, 12);
  sc.shadowed(11.8, 3.1, "手目", WHITE, 10);
  sc.picture(1, 11, -0.5);
  return img;
}

int code_height(const std::vector<int>& row, const vv::Artwork& art, int ch) {
  int h = 0;
  for (int code : row) h = std::max(h, art.picture(code)->height());
  return std::max(ch, h + 14 * art.scale());
}

// Every code in rows, with its number under it; then the six turning kinds.
QImage contact_sheet(const vv::Artwork& art) {
  const int s = art.scale();
  const std::vector<std::vector<int>> rows = {
      {0, 2, 3, 4, 5, 6, 1},
      {10, 20, 30, 100, 11, 110, 800, 900, 950},
      {-10, -20, -30, -100, -11, -110, -800, -900, -950},
      {200, 201, 202, 203, 204, 205, 206, 207, 208, 209},
      {210, 211, 212, 213, 214, 215, 216, 217},
  };
  const std::vector<std::vector<int>> kinds = {{210, 211, 202, 203, 204}, {200, 201, 202, 212, 213},
                                               {200, 201, 202, 203, 204}, {214, 215, 207, 208, 209},
                                               {205, 206, 207, 216, 217}, {205, 206, 207, 208, 209}};
  const int cw = 48 * s, ch = 54 * s;
  QImage img(12 * cw + 120 * s, int(rows.size() + kinds.size()) * ch + 20 * s, QImage::Format_RGB32);
  img.fill(QColor(60, 60, 60));
  QPainter p(&img);
  QFont f("DejaVu Sans");
  f.setPixelSize(7 * s);
  p.setFont(f);
  int y = 4 * s;
  auto cell = [&](int code, int x) {
    const QImage* pic = art.picture(code);
    p.drawImage(x, y, *pic);
    p.setPen(Qt::white);
    p.drawText(QRect(x, y + pic->height() + s, pic->width(), 9 * s), Qt::AlignHCenter, QString::number(code));
    return pic->width() + 8 * s;
  };
  for (const auto& row : rows) {
    int x = 4 * s;
    for (int code : row) x += cell(code, x);
    y += code_height(row, art, ch);
  }
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    int x = 4 * s;
    p.setPen(Qt::white);
    p.drawText(QRect(x, y + 15 * s, 40 * s, 10 * s), Qt::AlignLeft, QString("kind %1").arg(k + 1));
    x += 44 * s;
    for (int code : kinds[k]) x += cell(code, x);
    x += cell(k < 3 ? (k == 1 ? 11 : 10) : (k == 4 ? -11 : -10), x);
    y += ch;
  }
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = argc > 1 ? argv[1] : "build-art";
  const int scale = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
  if (out != "-") QDir().mkpath(out);

  // The font database is asked once, as the window does before it paints;
  // the first construction then also pays for loading the font's glyphs.
  QElapsedTimer clock;
  clock.start();
  vv::Artwork::font_family();
  const double font_ms = clock.nsecsElapsed() / 1e6;
  clock.restart();
  vv::Artwork first(scale);
  const double first_ms = clock.nsecsElapsed() / 1e6;
  // Wall time counts other programs' turns on a busy machine; the process's
  // processor time does not.
  auto cpu_ms = [] {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
  };
  std::vector<double> runs, cpu;
  for (int i = 0; i < 11; ++i) {
    const double c0 = cpu_ms();
    clock.restart();
    vv::Artwork again(scale);
    runs.push_back(clock.nsecsElapsed() / 1e6);
    cpu.push_back(cpu_ms() - c0);
  }
  std::sort(runs.begin(), runs.end());
  std::sort(cpu.begin(), cpu.end());
  std::printf("font database %.1f ms\n", font_ms);
  std::printf("scale %d: first construction %.1f ms; then 11 more: wall median %.1f ms (min %.1f, max %.1f), "
              "processor time median %.1f ms\n",
              scale, first_ms, runs[5], runs[0], runs[10], cpu[5]);

  // Seams: the window lays background tiles every 40 pixels across (so the
  // last column is covered by the next tile's first) and every 41 down. Each
  // tile's wrap-around step should look like any step between neighbours.
  for (int bg = 2; bg <= 6; ++bg) {
    const QImage& t = *first.picture(bg);
    const int px = 40 * scale, py = 41 * scale;
    auto diff = [&](int x0, int y0, int x1, int y1) {
      const QRgb a = t.pixel(x0, y0), b = t.pixel(x1, y1);
      return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    };
    double across = 0, inside_x = 0, down = 0, inside_y = 0;
    for (int y = 0; y < py; ++y) across += diff(px - 1, y, 0, y), inside_x += diff(px / 2 - 1, y, px / 2, y);
    for (int x = 0; x < px; ++x) down += diff(x, py - 1, x, 0), inside_y += diff(x, py / 2 - 1, x, py / 2);
    int repeat = 0;
    for (int y = 0; y < py; ++y)
      for (int x = px; x < t.width(); ++x) repeat += t.pixel(x, y) != t.pixel(x - px, y);
    std::printf("background %d: seam step across %.1f (inside %.1f), down %.1f (inside %.1f); covered column %s\n", bg,
                across / py, inside_x / py, down / px, inside_y / px, repeat ? "differs" : "repeats the first");
  }

  // "artwork_sheet - 3" times only, writing nothing (for a profiler).
  if (out == "-") return 0;
  contact_sheet(first).save(out + "/artwork_contact.png");
  static const char* NAMES[] = {"green", "tatami", "bamboo", "space", "brick"};
  for (int bg = 2; bg <= 6; ++bg)
    mock_screen(first, bg).save(out + QString("/artwork_screen_%1.png").arg(NAMES[bg - 2]));
  vv::Artwork plain(1);
  mock_screen(plain, 2).save(out + "/artwork_screen_1x.png");
  // What a 96-dpi screen shows: the window's 3x surface scaled down.
  const QImage big = mock_screen(first, 2);
  big.scaled(big.size() / first.scale(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .save(out + "/artwork_screen_3x_shown_at_1x.png");
  contact_sheet(plain).save(out + "/artwork_contact_1x.png");
  for (int size : {16, 32, 64, 256}) vv::Artwork::icon(size).save(out + QString("/artwork_icon_%1.png").arg(size));
  return 0;
}
