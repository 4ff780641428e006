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

  // The game's font family: "ＭＳ Ｐ明朝" where it exists, else IPA P明朝,
  // else any Japanese serif.
  static QString font_family();

  // The program's icon, square, size x size pixels.
  static QImage icon(int size);

 private:
  int scale_;
  std::map<int, QImage> pictures_;
};

}  // namespace vv
