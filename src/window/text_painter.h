// How the window prints the game's texts onto its picture. The game prints
// each text twice, first in black one tenth of a cell right of and below its
// place, then in its colour: the black print is laid as a soft shadow
// (blurred and partly transparent), which lifts the text off every
// background without adding strokes of its own.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>

namespace vv {

// The darkest a shadow gets, as the opacity of black over the background.
constexpr double SHADOW_OPACITY = 0.62;

// The darkest the halo under a text printed without a shadow gets.
constexpr double HALO_OPACITY = 0.6;

class TextPainter {
 public:
  // Prints `text` with its top-left corner at `top_left` (image pixels); a
  // carriage return starts a new line under the first. Black prints as a
  // shadow, every other colour as solid type. A coloured text that no
  // shadow came before (the names of a loaded record) gets a soft dark halo
  // right under it instead, so that it stays readable on every background.
  void print(QImage& image, QPointF top_left, const QString& text, const QFont& font, const QColor& colour);

 private:
  QString shadowed_;  // the text of the last black print, until its text comes
};

// The blur of a shadow in image pixels, for a font of that pixel size: about
// the width of a bold stroke, so that neighbouring strokes of the shadow
// flow into one soft patch.
int shadow_blur(int pixel_size);

}  // namespace vv
