// Build-time generator of the lamp and switch pictures: writes every picture as a PNG file
// into the folder given on the command line.
#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

#include "GlyphArt.h"

namespace {

bool Save(const QImage& image, const QDir& dir, const QString& name) {
  const QString path = dir.filePath(name + ".png");
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "glyphgen: cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: glyphgen OUTPUT-FOLDER\n");
    return 2;
  }
  QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.mkpath(".")) {
    std::fprintf(stderr, "glyphgen: cannot create %s\n", argv[1]);
    return 1;
  }
  bool ok = true;
  for (int side : {16, 24, 32, 48, 64, 96}) {
    ok = Save(DrawLampGlyph(side, true), dir, QString("Lamp%1").arg(side)) && ok;
    ok = Save(DrawLampGlyph(side, false), dir, QString("Dark%1").arg(side)) && ok;
  }
  const struct { int W, H; } sizes[] = {{21, 32}, {32, 48}, {43, 64}, {64, 96}};
  for (auto s : sizes) {
    ok = Save(DrawSwitchGlyph(s.W, s.H, lpDown), dir, QString("SwitchU%1").arg(s.H)) && ok;
    ok = Save(DrawSwitchGlyph(s.W, s.H, lpMiddle), dir, QString("SwitchM%1").arg(s.H)) && ok;
    ok = Save(DrawSwitchGlyph(s.W, s.H, lpUp), dir, QString("SwitchO%1").arg(s.H)) && ok;
  }
  return ok ? 0 : 1;
}
