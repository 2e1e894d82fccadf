// The front panel's decoration, painted once.
#include "PanelArt.h"

#include <QPainter>
#include <QPainterPath>

namespace fpArt {

const QColor UpperColor(0x61, 0x61, 0x61);
const QColor LowerColor(0xD6, 0xDB, 0xDC);
const QColor BaseColor(0xB0, 0x90, 0x50);

namespace {
const QColor Red(0xFF, 0x00, 0x00);
const QColor Cream(0xFF, 0xFB, 0xF0);

// A panel coordinate as a surface coordinate.
QPoint S(int x, int y) { return QPoint(x - SurfaceInset, y - SurfaceInset); }

void RoundedFrame(QPainter& p, const QColor& colour, int left, int top, int right, int bottom) {
  p.setPen(QPen(colour, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(left, top, right - left, bottom - top), 5, 5);
}

// Text with its box's top left corner at a panel point; width > 0 aligns it in a box that wide.
void Text(QPainter& p, int x, int y, const QString& text, Qt::Alignment align = Qt::AlignLeft, int width = 0) {
  const QPoint at = S(x, y);
  const int w = width > 0 ? width : 400;
  p.drawText(QRect(at.x(), at.y(), w, 40), int(align | Qt::AlignTop), text);
}

QPixmap Surface(QSize size, const QColor& colour) {
  QPixmap pix(size);
  pix.fill(colour);
  return pix;
}
}  // namespace

bool OnPowerKnob(QPoint s) {
  const int dx = s.x() - KnobCentre.x();
  const int dy = s.y() - KnobCentre.y();
  return dx * dx + dy * dy < KnobRadius * KnobRadius;
}

QFont LetterFont(int pixelSize, bool bold) {
  QFont f;
  f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  return f;
}

QFont BadgeFont(int pixelSize) {
  QFont f;
  f.setFamilies({QStringLiteral("Futura Md BT"), QStringLiteral("URW Gothic"), QStringLiteral("DejaVu Sans")});
  f.setPixelSize(pixelSize);
  return f;
}

QPixmap PaintUpperSurface() {
  QPixmap pix = Surface(UpperSurface, UpperColor);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing, true);
  const int w = UpperSurface.width(), h = UpperSurface.height();
  RoundedFrame(p, Red, 2, 2, w - 3, h - 3);
  // The three rows, divided between the octal digits.
  for (const auto& [top, bottom] : {std::pair{14, 50}, std::pair{54, 90}, std::pair{94, 150}}) {
    RoundedFrame(p, Red, 127, top, 792, bottom);
    p.setPen(QPen(Red, 2));
    for (int x : {242, 352, 462, 572, 682}) p.drawLine(x, top, x, bottom);
  }
  // The power knob.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x94, 0x94, 0x94));
  p.drawEllipse(QPointF(KnobCentre), 20, 20);
  p.setBrush(QColor(0xC0, 0xC0, 0xC0));
  p.drawEllipse(QPointF(KnobCentre), 16, 16);
  p.setPen(QPen(Qt::black, 2));
  p.drawEllipse(QPointF(KnobCentre), 10, 10);
  p.drawLine(QPointF(60, 85), QPointF(60, 80));
  // Captions.
  p.setPen(Qt::white);
  p.setFont(LetterFont(Pt8, true));
  Text(p, 40, 40, QStringLiteral("POWER"));
  Text(p, 137, 30, QStringLiteral("ADDRESS"));
  Text(p, 137, 70, QStringLiteral("DATA"));
  p.setFont(LetterFont(Pt6, true));
  Text(p, 163, 108, QStringLiteral("CARRY"), Qt::AlignRight, 33);
  Text(p, 818, 15, QStringLiteral("RUN"), Qt::AlignHCenter, 30);
  Text(p, 863, 15, QStringLiteral("IOW"), Qt::AlignHCenter, 30);
  Text(p, 818, 53, QStringLiteral("FETCH"), Qt::AlignHCenter, 30);
  Text(p, 863, 53, QStringLiteral("DEFER"), Qt::AlignHCenter, 30);
  Text(p, 905, 52, QStringLiteral("EXECUTE"), Qt::AlignHCenter, 40);
  return pix;
}

QPixmap PaintLowerSurface() {
  QPixmap pix = Surface(LowerSurface, LowerColor);
  QPainter p(&pix);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setPen(Qt::black);
  p.setFont(LetterFont(Pt7, false));
  const std::pair<int, const char*> above[] = {{131, "AC0"},     {203, "AC1"},     {268, "AC2"},
                                               {338, "AC3"},     {408, "RESET"},   {468, "START"},
                                               {528, "DEPOSIT"}, {603, "EXAMINE"}, {673, "MEM STEP"},
                                               {743, "PROG LOAD"}};
  for (const auto& [x, text] : above) Text(p, x, 11, QString::fromLatin1(text));
  const std::pair<int, const char*> below[] = {
      {408, "STOP"}, {463, "CONTINUE"}, {533, "DEP NEXT"}, {603, "EXA NEXT"}, {671, "INST STEP"}};
  for (const auto& [x, text] : below) Text(p, x, 55, QString::fromLatin1(text));
  Text(p, 70, 11, QStringLiteral("DEPOSIT"));
  Text(p, 70, 55, QStringLiteral("EXAMINE"));
  // The bracket that joins the four accumulator switches.
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(S(115, 37), S(378, 37));
  for (int x : {115, 378}) {
    p.drawLine(S(x, 22), S(x, 52));
    p.setBrush(Qt::black);
    for (int y : {22, 52}) p.drawEllipse(QRect(S(x - 3, y - 3), QSize(7, 7)));
  }
  return pix;
}

QPixmap PaintBaseSurface() {
  QPixmap pix = Surface(BaseSurface, BaseColor);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing, true);
  RoundedFrame(p, Cream, 2, 2, BaseSurface.width() - 3, BaseSurface.height() - 3);
  // The badge: the left half of a ring and a filled lower right quarter beside it.
  p.setPen(QPen(Cream, 2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(50 - 8, 18 - 8, 16, 16), 90 * 16, 180 * 16);
  QPainterPath quarter;
  quarter.moveTo(54, 18);
  quarter.arcTo(QRectF(54 - 8, 18 - 8, 16, 16), 0, -90);
  quarter.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Cream);
  p.drawPath(quarter);
  p.setPen(Cream);
  p.setFont(BadgeFont(Pt14));
  Text(p, 75, 11, QStringLiteral("DATA GENERAL CORPORATION"));
  Text(p, 819, 11, QStringLiteral("NOVA 800"));
  return pix;
}

}  // namespace fpArt
