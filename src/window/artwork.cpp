// Placeholder pictures until the artwork lands: flat tiles with the kanji.
#include "window/artwork.h"

#include <QFontDatabase>
#include <QPainter>

namespace vv {
namespace {

const char* face_text(int code) {
  switch (code < 0 ? -code : code) {
    case 10: return "歩"; case 11: return "と"; case 20: return "香"; case 30: return "桂";
    case 100: return "銀"; case 110: return "金"; case 800: return "角"; case 900: return "飛";
    case 950: return "王"; default: return "";
  }
}

}  // namespace

Artwork::Artwork(int scale) : scale_(scale) {
  auto make = [&](int code, int w, int h, QColor fill, const char* text) {
    QImage img(w * scale_, h * scale_, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    if (text && *text) {
      QPainter p(&img);
      QFont f(font_family());
      f.setPixelSize(24 * scale_);
      p.setFont(f);
      p.drawText(img.rect(), Qt::AlignCenter, QString::fromUtf8(text));
    }
    pictures_[code] = img;
  };
  make(0, 40, 41, QColor(220, 180, 110), "");
  make(1, 152, 59, QColor(60, 40, 20), "");
  const QColor bg[5] = {QColor(0, 128, 0), QColor(190, 200, 120), QColor(100, 160, 80), QColor(10, 10, 40),
                        QColor(150, 60, 40)};
  for (int i = 0; i < 5; ++i) make(2 + i, 41, 41, bg[i], "");
  for (int c : {10, 11, 20, 30, 100, 110, 800, 900, 950}) {
    make(c, 40, 41, QColor(230, 200, 140), face_text(c));
    make(-c, 40, 41, QColor(230, 200, 140), face_text(c));
  }
  for (int f = 200; f <= 217; ++f) make(f, 40, 41, QColor(200, 170, 110), "");
}

const QImage* Artwork::picture(int code) const {
  auto it = pictures_.find(code);
  return it == pictures_.end() ? nullptr : &it->second;
}

QString Artwork::font_family() {
  const QStringList families = QFontDatabase::families();
  for (const QString& name : {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"), QStringLiteral("IPA P明朝")})
    if (families.contains(name)) return name;
  return QStringLiteral("serif");
}

QImage Artwork::icon(int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor(230, 200, 140));
  return img;
}

}  // namespace vv
