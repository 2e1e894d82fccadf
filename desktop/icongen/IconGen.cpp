// Build-time generator of the icons of the programs and of their file types: writes
//   OUTPUT/hicolor/<size>x<size>/apps/corvane.png and tallis.png
//   OUTPUT/hicolor/<size>x<size>/mimetypes/<type>.png (the file types of corvane-mime.xml)
// for the usual sizes of the icon theme. Corvane shows a strip of a front panel (lit lamps over
// toggle switches), Tallis a piece of punched paper tape with a check mark. A file type is a
// sheet of paper with a folded corner and what the file holds: memory cells for a dump, lamps
// for a machine state, a punched tape, listing lines with their address column, source lines.
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <cstdio>
#include <utility>

namespace {

// Both icons are drawn on a 256 x 256 canvas and scaled.
void DrawCorvane(QPainter& p) {
  QLinearGradient body(0, 24, 0, 232);
  body.setColorAt(0, QColor(70, 84, 130));
  body.setColorAt(1, QColor(34, 42, 74));
  p.setPen(QPen(QColor(20, 24, 44), 6));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(12, 28, 232, 200), 26, 26);
  // A white rule as on the real panel, between the lamps and the switches.
  p.setPen(QPen(QColor(230, 230, 235), 5));
  p.drawLine(QPointF(34, 122), QPointF(222, 122));
  // Four lamps, three lit.
  const bool lit[4] = {true, false, true, true};
  for (int i = 0; i < 4; ++i) {
    const QPointF c(56 + 48 * i, 80);
    QRadialGradient g(c - QPointF(5, 5), 22);
    if (lit[i]) {
      g.setColorAt(0, QColor(255, 250, 210));
      g.setColorAt(0.5, QColor(255, 200, 60));
      g.setColorAt(1, QColor(210, 120, 20));
    } else {
      g.setColorAt(0, QColor(120, 110, 90));
      g.setColorAt(1, QColor(60, 55, 45));
    }
    p.setPen(QPen(QColor(15, 15, 20), 3));
    p.setBrush(g);
    p.drawEllipse(c, 19, 19);
  }
  // Four toggle switches: two up, two down.
  const bool up[4] = {true, false, true, false};
  for (int i = 0; i < 4; ++i) {
    const qreal x = 56 + 48 * i;
    p.setPen(QPen(QColor(15, 15, 20), 3));
    p.setBrush(QColor(200, 200, 205));
    p.drawRoundedRect(QRectF(x - 15, 160, 30, 40), 5, 5);
    p.setPen(QPen(QColor(245, 245, 245), 11, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, 180), QPointF(x, up[i] ? 142 : 214));
  }
}

void DrawTallis(QPainter& p) {
  // A strip of tape, slightly tilted, with its feed holes and punched code holes.
  p.save();
  p.translate(128, 128);
  p.rotate(-18);
  QLinearGradient paper(0, -60, 0, 60);
  paper.setColorAt(0, QColor(252, 240, 200));
  paper.setColorAt(1, QColor(230, 205, 150));
  p.setPen(QPen(QColor(150, 115, 60), 5));
  p.setBrush(paper);
  p.drawRect(QRectF(-112, -52, 224, 104));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 36, 30));
  const int pattern[6] = {0b10110, 0b01101, 0b11011, 0b00111, 0b10101, 0b11100};
  for (int col = 0; col < 6; ++col) {
    const qreal x = -88 + 35 * col;
    p.drawEllipse(QPointF(x, -4), 4.5, 4.5);  // feed hole
    for (int bit = 0; bit < 5; ++bit)
      if (pattern[col] & (1 << bit)) {
        const qreal y = bit < 2 ? -38 + 17 * bit : 12 + 15 * (bit - 2);
        p.drawEllipse(QPointF(x, y), 8, 8);
      }
  }
  p.restore();
  // The check mark.
  QPainterPath tick;
  tick.moveTo(120, 178);
  tick.lineTo(158, 218);
  tick.lineTo(236, 120);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255), 38, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(tick);
  p.setPen(QPen(QColor(30, 150, 60), 24, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(tick);
}

// ---- file types

// The sheet every file type is drawn on; the motif goes into the rectangle 52..204 x 64..220.
void DrawSheet(QPainter& p, const QColor& band) {
  QPainterPath sheet;
  sheet.moveTo(40, 12);
  sheet.lineTo(170, 12);
  sheet.lineTo(216, 58);
  sheet.lineTo(216, 244);
  sheet.lineTo(40, 244);
  sheet.closeSubpath();
  QLinearGradient paper(0, 12, 0, 244);
  paper.setColorAt(0, QColor(255, 255, 255));
  paper.setColorAt(1, QColor(226, 228, 234));
  p.setPen(QPen(QColor(90, 96, 110), 6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(paper);
  p.drawPath(sheet);
  QPainterPath corner;
  corner.moveTo(170, 12);
  corner.lineTo(170, 58);
  corner.lineTo(216, 58);
  p.setBrush(QColor(200, 204, 214));
  p.drawPath(corner);
  // A coloured band at the foot tells the families apart at the smallest sizes.
  p.setPen(Qt::NoPen);
  p.setBrush(band);
  p.drawRect(QRectF(43, 214, 170, 27));
}

void DrawDumpType(QPainter& p) {
  DrawSheet(p, QColor(60, 90, 170));
  // Memory cells: a grid of words, some set.
  const int set[5] = {0b1011, 0b0110, 0b1101, 0b0011, 0b1001};
  for (int row = 0; row < 5; ++row)
    for (int col = 0; col < 4; ++col) {
      p.setPen(QPen(QColor(40, 60, 120), 3));
      p.setBrush((set[row] >> col) & 1 ? QColor(70, 110, 200) : QColor(235, 238, 246));
      p.drawRect(QRectF(62 + 36 * col, 62 + 29 * row, 28, 21));
    }
}

void DrawStateType(QPainter& p) {
  DrawSheet(p, QColor(200, 120, 20));
  // A piece of front panel: lamps over two toggle switches.
  p.setPen(QPen(QColor(20, 24, 44), 4));
  p.setBrush(QColor(52, 63, 102));
  p.drawRoundedRect(QRectF(56, 62, 144, 140), 14, 14);
  const bool lit[3] = {true, false, true};
  for (int i = 0; i < 3; ++i) {
    p.setPen(QPen(QColor(15, 15, 20), 3));
    p.setBrush(lit[i] ? QColor(255, 200, 60) : QColor(90, 84, 70));
    p.drawEllipse(QPointF(84 + 44 * i, 98), 15, 15);
  }
  for (int i = 0; i < 2; ++i) {
    const qreal x = 106 + 44 * i;
    p.setPen(QPen(QColor(245, 245, 245), 11, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, 170), QPointF(x, i == 0 ? 138 : 192));
  }
}

void DrawTapeType(QPainter& p) {
  DrawSheet(p, QColor(170, 130, 60));
  // A strip of tape across the sheet, with feed holes and code holes.
  p.setPen(QPen(QColor(150, 115, 60), 4));
  p.setBrush(QColor(250, 235, 190));
  p.drawRect(QRectF(50, 82, 156, 104));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 36, 30));
  const int pattern[5] = {0b10110, 0b01101, 0b11011, 0b00111, 0b10101};
  for (int col = 0; col < 5; ++col) {
    const qreal x = 70 + 29 * col;
    p.drawEllipse(QPointF(x, 130), 4, 4);
    for (int bit = 0; bit < 5; ++bit)
      if (pattern[col] & (1 << bit)) {
        const qreal y = bit < 2 ? 96 + 16 * bit : 146 + 15 * (bit - 2);
        p.drawEllipse(QPointF(x, y), 8, 8);
      }
  }
}

// Lines of text: an address column in grey (listing) or indented source lines (source).
void DrawTextLines(QPainter& p, bool addresses) {
  const int lengths[7] = {96, 70, 110, 84, 58, 100, 76};
  const int indents[7] = {0, 30, 30, 30, 0, 30, 30};
  for (int i = 0; i < 7; ++i) {
    const qreal y = 72 + 20 * i;
    if (addresses) {
      p.setPen(QPen(QColor(140, 144, 156), 10, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(58, y), QPointF(92, y));
      p.setPen(QPen(QColor(40, 44, 56), 10, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(104, y), QPointF(104 + lengths[i] * 0.85, y));
    } else {
      p.setPen(QPen(indents[i] == 0 ? QColor(30, 130, 70) : QColor(40, 44, 56), 10, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(58 + indents[i], y), QPointF(58 + indents[i] + lengths[i], y));
    }
  }
}

void DrawListingType(QPainter& p) {
  DrawSheet(p, QColor(110, 116, 130));
  DrawTextLines(p, true);
}

void DrawSourceType(QPainter& p) {
  DrawSheet(p, QColor(30, 130, 70));
  DrawTextLines(p, false);
}

QImage Render(void (*draw)(QPainter&), int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 256.0, size / 256.0);
  draw(p);
  p.end();
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: icongen OUTPUT-FOLDER\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  bool ok = true;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    QDir dir(root + QString("/hicolor/%1x%1/apps").arg(size));
    if (!dir.mkpath(".")) {
      std::fprintf(stderr, "icongen: cannot create %s\n", qPrintable(dir.path()));
      return 1;
    }
    QDir types(root + QString("/hicolor/%1x%1/mimetypes").arg(size));
    if (!types.mkpath(".")) {
      std::fprintf(stderr, "icongen: cannot create %s\n", qPrintable(types.path()));
      return 1;
    }
    using TDraw = void (*)(QPainter&);
    const std::pair<const QDir*, std::pair<const char*, TDraw>> icons[] = {
        {&dir, {"corvane", &DrawCorvane}},
        {&dir, {"tallis", &DrawTallis}},
        {&types, {"application-x-corvane-dump", &DrawDumpType}},
        {&types, {"application-x-corvane-state", &DrawStateType}},
        {&types, {"application-x-nova-tape", &DrawTapeType}},
        {&types, {"text-x-nova-listing", &DrawListingType}},
        {&types, {"text-x-nova-asm", &DrawSourceType}},
    };
    for (const auto& [folder, icon] : icons) {
      const QString path = folder->filePath(QString(icon.first) + ".png");
      if (!Render(icon.second, size).save(path, "PNG")) {
        std::fprintf(stderr, "icongen: cannot write %s\n", qPrintable(path));
        ok = false;
      }
    }
  }
  return ok ? 0 : 1;
}
