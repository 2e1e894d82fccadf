#include "Glyphs.h"

#include <QCoreApplication>
#include <QHash>
#include <QImage>

namespace {

constexpr int LampPixels[] = {16, 24, 32, 48, 64, 96};
constexpr QSize SwitchSizes[] = {{21, 32}, {32, 48}, {43, 64}, {64, 96}};
constexpr int SwitchHeights[] = {32, 48, 64, 96};

TGlyphSize ValidLampSize(TGlyphSize size) { return size >= gs16 && size <= gs96 ? size : gs24; }
TGlyphHeight ValidSwitchHeight(TGlyphHeight h) { return h >= gh32 && h <= gh96 ? h : gh32; }

}  // namespace

int LampGlyphPixels(TGlyphSize size) { return LampPixels[ValidLampSize(size)]; }

QString LampGlyphName(bool lightOn, TGlyphSize size) {
  return QString(lightOn ? "Lamp" : "Dark") + QString::number(LampGlyphPixels(size));
}

QSize SwitchGlyphSize(TGlyphHeight height) { return SwitchSizes[ValidSwitchHeight(height)]; }

QString SwitchGlyphName(TSwitchPosition position, TGlyphHeight height) {
  const char* letter = position == spOn ? "O" : position == spNeutral ? "M" : "U";
  return QString("Switch") + letter + QString::number(SwitchHeights[ValidSwitchHeight(height)]);
}

void ApplyTransparentColor(QImage& image) {
  if (image.isNull()) return;
  const QRgb key = image.pixel(0, image.height() - 1);
  if (qAlpha(key) == 0) return;
  image = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
  }
}

namespace {

// Pixmaps must go before the application object does: the cache is emptied by a post routine.
QHash<QString, QPixmap>& GlyphCache() {
  static QHash<QString, QPixmap> cache;
  static const bool registered = [] {
    qAddPostRoutine([] { GlyphCache().clear(); });
    return true;
  }();
  (void)registered;
  return cache;
}

}  // namespace

QPixmap LoadGlyph(const QString& name) {
  QHash<QString, QPixmap>& cache = GlyphCache();
  auto it = cache.constFind(name);
  if (it != cache.constEnd()) return *it;
  QImage image(":/glyphs/" + name + ".png");
  ApplyTransparentColor(image);
  QPixmap pixmap = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
  cache.insert(name, pixmap);
  return pixmap;
}
