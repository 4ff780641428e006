// Every picture of the game, drawn by our own code at start-up: the eighteen
// piece faces, the empty square, the five backgrounds, the title picture and
// the twenty turning frames, each under its picture code.
#pragma once

#include <QImage>
#include <QString>
#include <map>

namespace vv {

class Artwork {
 public:
  // scale: image pixels per 96-dpi pixel; 3 or more keeps the board crisp
  // on a HiDPI screen.
  explicit Artwork(int scale = 3);

  // The image of a picture code at its natural size times the scale: pieces,
  // the empty square and the turning frames 40 x 41, background tiles
  // 41 x 41, the title picture 152 x 59. nullptr for a code that names no image.
  const QImage* picture(int code) const;
  int scale() const { return scale_; }
  // Codes 2 to 6 are the background tiles.
  static bool is_background(int code) { return code >= 2 && code <= 6; }

  // The game's font family: "ＭＳ Ｐ明朝" where it exists, else IPA P明朝,
  // else any Japanese serif. The piece faces use it too: a Mincho's even,
  // square strokes stay whole at 40 pixels a piece, where the brush faces
  // in Debian (衡山毛筆, 青柳衡山) run strokes together and 歩, 飛 and 角
  // take longer to tell apart.
  static QString font_family();

  // The program's icon, square, size x size pixels.
  static QImage icon(int size);

 private:
  // The painters, by material. artwork_pieces.cpp: the wooden pictures (the
  // empty square, the faces, the turning frames and the icon's tile);
  // artwork_scenery.cpp: the background tiles and the title plaque.
  static void paint_wooden_pictures(std::map<int, QImage>& into, int scale);
  static void paint_scenery(std::map<int, QImage>& into, int scale);
  static QImage paint_icon(int size);

  int scale_;
  std::map<int, QImage> pictures_;
};

// Shared by the painters of the artwork.
namespace paint {

// Value noise in [0, 1) on a lattice that repeats every period_u x period_v
// cells, so a texture sampled over one period tiles without a seam; fbm sums
// octaves of it.
float noise(double u, double v, int period_u, int period_v, unsigned seed);
float fbm(double u, double v, int period_u, int period_v, int octaves, unsigned seed);
// 0.5 + 0.5 cos(2 pi phase), from a table.
float wave(double phase);
// Two passes of a box blur come close to a Gaussian: soft shadows, motion.
// Works on the alpha of a mask (converted to Format_Alpha8 if need be).
void blur(QImage& mask, int radius_x, int radius_y);

}  // namespace paint
}  // namespace vv
