// Build-time generator of the programs' icons: writes
//   OUTPUT/hicolor/<size>x<size>/apps/corvane.png and tallis.png
// for the usual sizes of the icon theme. Corvane shows a strip of a front panel (lit lamps over
// toggle switches), Tallis a piece of punched paper tape with a check mark.
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <cstdio>

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
    for (auto [name, draw] : {std::pair{"corvane", &DrawCorvane}, std::pair{"tallis", &DrawTallis}}) {
      const QString path = dir.filePath(QString(name) + ".png");
      if (!Render(draw, size).save(path, "PNG")) {
        std::fprintf(stderr, "icongen: cannot write %s\n", qPrintable(path));
        ok = false;
      }
    }
  }
  return ok ? 0 : 1;
}
