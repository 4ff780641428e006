// How the window renders what the game draws: the margins, the texts and
// their shadows, and the outlines of move guidance, on Qt's offscreen
// platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cmath>

#include "looks_fixture.h"
#include "window/text_painter.h"

namespace vv::looks {
namespace {

struct Colours {
  double mean[3] = {0, 0, 0};
  double spread = 0;  // the channels' standard deviations, averaged
  int count = 0;
};

Colours colours_in(const QImage& image, const QRect& area) {
  Colours c;
  double sum[3] = {0, 0, 0}, squares[3] = {0, 0, 0};
  const QRect r = area & image.rect();
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      const int v[3] = {qRed(p), qGreen(p), qBlue(p)};
      for (int k = 0; k < 3; ++k) sum[k] += v[k], squares[k] += double(v[k]) * v[k];
      ++c.count;
    }
  if (c.count == 0) return c;
  for (int k = 0; k < 3; ++k) {
    c.mean[k] = sum[k] / c.count;
    c.spread += std::sqrt(std::max(0.0, squares[k] / c.count - c.mean[k] * c.mean[k])) / 3;
  }
  return c;
}

// The strips of the surface beside the picture, each at least 3 pixels deep,
// in device pixels (the offscreen platform has one device pixel per unit).
std::vector<QRect> margins_of(Surface& s) {
  const QRect t = s.target().toAlignedRect();
  const QRect all = s.rect();
  std::vector<QRect> strips;
  for (const QRect r : {QRect(0, 0, all.width(), t.top()), QRect(0, t.bottom() + 1, all.width(), all.bottom() - t.bottom()),
                        QRect(0, t.top(), t.left(), t.height()), QRect(t.right() + 1, t.top(), all.right() - t.right(), t.height())})
    if (r.width() >= 3 && r.height() >= 3) strips.push_back(r);
  return strips;
}

// At every size and shape of the window the margins continue the background
// picture: the same colours with the same grain as a part of the picture
// that shows nothing but background, not one flat colour; and they follow a
// change of background.
TEST(WindowLooks, MarginsShowTheBackgroundPictureAtEverySize) {
  Window w;
  // Left of the board and under the top side's stand the picture shows only
  // the background before a game: places -3 to -2 across, 9 to 10 down.
  const QRect plain_twips(2200 - 3 * 600, 520 + 9 * 615, 2 * 600, 2 * 615);
  int strips_seen = 0;
  for (int background : {BACKGROUND_TATAMI, BACKGROUND_BRICK, BACKGROUND_SPACE}) {
    w.window->dispatch([&] { w.game().choose_background(background); });
    for (QSize size : {QSize(800, 580), QSize(1920, 1080), QSize(1400, 500), QSize(500, 900), QSize(1013, 587)}) {
      w.resize(size);
      const QImage shown = w.shown();
      const Colours plain = colours_in(shown, w.surface().widget_rect(plain_twips));
      ASSERT_GT(plain.spread, 2.0) << "background " << background;
      for (const QRect& strip : margins_of(w.surface())) {
        ++strips_seen;
        const Colours margin = colours_in(shown, strip);
        for (int k = 0; k < 3; ++k)
          EXPECT_NEAR(margin.mean[k], plain.mean[k], 14) << "background " << background << " at " << size.width() << "x"
                                                         << size.height() << ", strip " << strip.x() << "," << strip.y()
                                                         << " " << strip.width() << "x" << strip.height();
        EXPECT_GT(margin.spread, plain.spread * 0.3) << "a flat strip: background " << background << " at "
                                                     << size.width() << "x" << size.height();
      }
    }
  }
  EXPECT_GE(strips_seen, 15);
}

// The game prints each text twice, black a tenth of a place right and down,
// then white. Outside the white glyphs nothing turns as dark as the black
// print once did, on a light or a dark ground, yet the shadow is there.
TEST(WindowLooks, ShadowsAreSoftAndAddNoStrokes) {
  Window w;
  QImage& image = w.surface().image();
  const QRect area((2200 + 600 * 3) / 5 - 30, (520 + 615 * 1) / 5 - 30, 700, 220);
  for (const QColor ground : {QColor(200, 170, 110), QColor(90, 90, 90)})
    for (int size : {10, 12, 16}) {
      image.fill(ground);
      w.port().draw_text(3.0, 1.0, "9二と", WHITE, size, true);
      const QImage glyphs = image.copy(area);
      image.fill(ground);
      w.port().draw_text(3.1, 1.1, "9二と", BLACK, size, true);
      w.port().draw_text(3.0, 1.0, "9二と", WHITE, size, true);
      const QImage printed = image.copy(area);

      const int ground_grey = qGray(ground.rgb());
      int darkest = 255, shaded = 0;
      for (int y = 2; y < area.height() - 2; ++y)
        for (int x = 2; x < area.width() - 2; ++x) {
          // Outside the white glyphs and their edges.
          bool near_glyph = false;
          for (int dy = -2; dy <= 2 && !near_glyph; ++dy)
            for (int dx = -2; dx <= 2 && !near_glyph; ++dx) near_glyph = glyphs.pixel(x + dx, y + dy) != ground.rgb();
          if (near_glyph) continue;
          const int grey = qGray(printed.pixel(x, y));
          darkest = std::min(darkest, grey);
          if (grey < ground_grey * 0.85) ++shaded;
        }
      EXPECT_GE(darkest, ground_grey * (1 - SHADOW_OPACITY) - 3) << size << " points on grey " << ground_grey;
      EXPECT_GT(darkest, 20) << size << " points on grey " << ground_grey;
      EXPECT_GT(shaded, 30) << "no shadow at " << size << " points";
    }
}

// A text printed without a shadow before it (the game name of a loaded
// record, light red) gets a soft dark halo under it, no darker than a shadow.
TEST(WindowLooks, TextsWithoutAShadowGetAHalo) {
  Window w;
  QImage& image = w.surface().image();
  const QColor brick(150, 60, 45);
  const QRect area((2200 + 600 * 3) / 5 - 30, (520 + 615 * 1) / 5 - 30, 500, 160);
  image.fill(brick);
  w.port().draw_text(3, 1, "名局", LIGHT_RED, 12, true);
  int halo = 0, darkest = 255;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) > 200) continue;  // the red glyphs and their edges
      darkest = std::min(darkest, qGray(p));
      if (qGray(p) < qGray(brick.rgb()) * 0.8) ++halo;
    }
  EXPECT_GT(halo, 30);
  EXPECT_GE(darkest, qGray(brick.rgb()) * (1 - HALO_OPACITY) - 3);
}

// Bold texts (every text after the coordinate labels, the column digits
// first) are heavier than regular ones, whether or not the font has a bold face.
TEST(WindowLooks, BoldTextsAreHeavier) {
  Window w;
  QImage& image = w.surface().image();
  const QRect area((2200 + 600 * 3) / 5 - 10, (520 + 615 * 1) / 5 - 10, 200, 120);
  auto ink = [&](const std::string& text, bool bold) {
    image.fill(Qt::black);
    w.port().draw_text(3, 1, text, WHITE, 16, bold);
    long sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) sum += qGray(image.pixel(x, y));
    return sum;
  };
  for (const char* text : {"9", "1", "二"}) EXPECT_GT(ink(text, true), ink(text, false) * 115 / 100) << text;
}

// Move guidance: a white outline at least 2 device pixels wide at the
// opening size and wider when the window grows, set off by a dark edge on
// both sides; the place's plain outline takes it away again.
TEST(WindowLooks, GuidanceOutlinesAreBoldWithADarkEdge) {
  Window w;
  const QRect place(2200 + 600 * 5, 520 + 615 * 5, 600, 615);  // the empty centre square
  // The white pixels across the place's left side at its middle height, and
  // the greys just outside them.
  struct Crossing {
    int white = 0, outer = 255, inner = 255;
  };
  auto cross_left_side = [&] {
    const QImage shown = w.shown();
    const QRect r = w.surface().widget_rect(place);
    const int y = r.center().y();
    Crossing c;
    int first = -1, last = -1;
    for (int x = r.left() - 10; x <= r.left() + 10; ++x) {
      const QRgb p = shown.pixel(x, y);
      if (qRed(p) >= 245 && qGreen(p) >= 245 && qBlue(p) >= 245) {
        ++c.white;
        if (first < 0) first = x;
        last = x;
      }
    }
    if (first >= 0) {
      c.outer = qGray(shown.pixel(first - 1, y));
      c.inner = qGray(shown.pixel(last + 1, y));
    }
    return c;
  };
  w.port().draw_outline(WHITE, 5, 5);
  const Crossing opening = cross_left_side();
  EXPECT_GE(opening.white, 2);
  EXPECT_LT(opening.outer, 90);
  EXPECT_LT(opening.inner, 90);

  w.resize(QSize(1920, 1080));
  const Crossing large = cross_left_side();
  EXPECT_GT(large.white, opening.white);
  EXPECT_LT(large.outer, 90);
  EXPECT_LT(large.inner, 90);

  w.port().draw_outline(GREEN, 5, 5);
  EXPECT_EQ(cross_left_side().white, 0);
  // A picture laid over the place takes its outline's left side too.
  w.port().draw_outline(WHITE, 5, 5);
  w.port().draw_picture(5, 5, 0);
  EXPECT_EQ(cross_left_side().white, 0);
}

}  // namespace
}  // namespace vv::looks

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
