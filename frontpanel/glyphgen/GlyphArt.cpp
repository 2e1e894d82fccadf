#include "GlyphArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace {

QImage NewCanvas(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

struct TLampColours {
  QColor Centre, Middle, Rim, Edge, Outline;
};

const TLampColours LitColours{QColor(0xFE, 0xFB, 0x01), QColor(0xFD, 0xE8, 0x00),
                              QColor(0xF7, 0xB5, 0x00), QColor(0xE0, 0x86, 0x00),
                              QColor(0xA8, 0x5A, 0x00)};
const TLampColours DarkColours{QColor(0x96, 0x96, 0x94), QColor(0x8C, 0x8C, 0x86),
                               QColor(0x78, 0x78, 0x67), QColor(0x62, 0x62, 0x52),
                               QColor(0x44, 0x44, 0x3A)};

// A metal ball lit from the upper left.
void DrawMetalBall(QPainter& p, QPointF c, qreal r, qreal penWidth) {
  QRadialGradient g(c, r, c + QPointF(-0.4 * r, -0.45 * r));
  g.setColorAt(0.0, QColor(0xFF, 0xFF, 0xFF));
  g.setColorAt(0.25, QColor(0xE6, 0xE8, 0xEA));
  g.setColorAt(0.7, QColor(0x9A, 0x9C, 0xA0));
  g.setColorAt(1.0, QColor(0x50, 0x52, 0x56));
  p.setBrush(g);
  p.setPen(QPen(QColor(0x30, 0x30, 0x32), penWidth));
  p.drawEllipse(c, r, r);
}

}  // namespace

QImage DrawLampGlyph(int side, bool lit) {
  const TLampColours& k = lit ? LitColours : DarkColours;
  QImage image = NewCanvas(side, side);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c(side / 2.0, side / 2.0);
  const qreal r = side / 2.0 - 0.5;
  const qreal pen = std::max<qreal>(0.8, side / 40.0);

  // The glass body, brightest in the middle.
  QRadialGradient body(c, r);
  body.setColorAt(0.0, k.Centre);
  body.setColorAt(0.18, k.Centre);
  body.setColorAt(0.5, k.Middle);
  body.setColorAt(0.85, k.Rim);
  body.setColorAt(1.0, k.Edge);
  p.setPen(Qt::NoPen);
  p.setBrush(body);
  p.drawEllipse(c, r, r);

  // Shade towards the lower right so that it reads as a sphere.
  QRadialGradient shade(c + QPointF(-0.3 * r, -0.3 * r), 1.45 * r);
  shade.setColorAt(0.0, QColor(0, 0, 0, 0));
  shade.setColorAt(0.62, QColor(0, 0, 0, 0));
  shade.setColorAt(1.0, lit ? QColor(0x80, 0x38, 0x00, 120) : QColor(0x20, 0x20, 0x10, 120));
  p.setBrush(shade);
  p.drawEllipse(c, r, r);

  // Reflection of a window at the upper left.
  const QPointF hc = c + QPointF(-0.36 * r, -0.42 * r);
  QRadialGradient glint(hc, 0.34 * r);
  glint.setColorAt(0.0, QColor(255, 255, 255, lit ? 210 : 170));
  glint.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.setBrush(glint);
  p.drawEllipse(hc, 0.34 * r, 0.26 * r);

  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(k.Outline, pen));
  p.drawEllipse(c, r - pen / 2, r - pen / 2);
  return image;
}

QImage DrawSwitchGlyph(int width, int height, TLeverPose pose) {
  QImage image = NewCanvas(width, height);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c(width / 2.0, height / 2.0);
  const qreal R = width / 2.0 - 0.5;
  const qreal pen = std::max<qreal>(0.7, width / 32.0);

  // Bezel: a bright outer ring and a recessed inner ring around the lever's hole.
  QLinearGradient outer(c - QPointF(R, R), c + QPointF(R, R));
  outer.setColorAt(0.0, QColor(0xF2, 0xF2, 0xF2));
  outer.setColorAt(0.5, QColor(0xA8, 0xA8, 0xA8));
  outer.setColorAt(1.0, QColor(0x5E, 0x5E, 0x5E));
  p.setBrush(outer);
  p.setPen(QPen(QColor(0x3C, 0x3C, 0x3C), pen));
  p.drawEllipse(c, R - pen / 2, R - pen / 2);

  const qreal ri = 0.74 * R;
  QLinearGradient inner(c - QPointF(ri, ri), c + QPointF(ri, ri));
  inner.setColorAt(0.0, QColor(0x7A, 0x7A, 0x7A));
  inner.setColorAt(1.0, QColor(0xE0, 0xE0, 0xE0));
  p.setBrush(inner);
  p.setPen(QPen(QColor(0x70, 0x70, 0x70), pen * 0.6));
  p.drawEllipse(c, ri, ri);

  const qreal rh = 0.44 * R;
  QRadialGradient hole(c + QPointF(0.15 * rh, 0.2 * rh), rh);
  hole.setColorAt(0.0, QColor(0x4A, 0x4A, 0x4A));
  hole.setColorAt(1.0, QColor(0x14, 0x14, 0x14));
  p.setBrush(hole);
  p.setPen(Qt::NoPen);
  p.drawEllipse(c, rh, rh);

  if (pose == lpMiddle) {
    // Seen end-on: the lever's round end fills the hole, with its shadow at the lower right.
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(c + QPointF(0.08 * R, 0.1 * R), 0.5 * R, 0.5 * R);
    DrawMetalBall(p, c, 0.46 * R, pen * 0.8);
    return image;
  }

  // The lever: a bat-shaped shaft that leaves the bushing and widens towards a ball at its end,
  // pointing down or up.
  const qreal rb = 0.21 * width;  // end ball radius
  const qreal tipY = pose == lpDown ? height - rb - 1.0 : rb + 1.0;
  const qreal rootHalf = 0.2 * R;
  const qreal tipHalf = 0.78 * rb;
  const QPointF tip(c.x(), tipY);

  // The bushing the lever comes out of.
  QLinearGradient bushing(c - QPointF(0.4 * R, 0.4 * R), c + QPointF(0.4 * R, 0.4 * R));
  bushing.setColorAt(0.0, QColor(0xD8, 0xD8, 0xDA));
  bushing.setColorAt(1.0, QColor(0x50, 0x50, 0x54));
  p.setBrush(bushing);
  p.setPen(QPen(QColor(0x2C, 0x2C, 0x2C), pen * 0.6));
  p.drawEllipse(c, 0.38 * R, 0.38 * R);

  QPainterPath shaft;
  shaft.moveTo(c.x() - rootHalf, c.y());
  shaft.lineTo(c.x() - tipHalf, tipY);
  shaft.lineTo(c.x() + tipHalf, tipY);
  shaft.lineTo(c.x() + rootHalf, c.y());
  shaft.closeSubpath();
  shaft.addEllipse(QPointF(c.x(), c.y()), rootHalf, rootHalf * 0.7);
  shaft.setFillRule(Qt::WindingFill);

  // Shadow on the bezel, thrown to the lower right.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 80));
  p.drawPath(shaft.translated(0.12 * R, 0.1 * R));
  p.drawEllipse(tip + QPointF(0.12 * R, 0.1 * R), rb, rb);

  QLinearGradient metal(c.x() - tipHalf, 0, c.x() + tipHalf, 0);
  metal.setColorAt(0.0, QColor(0x58, 0x5A, 0x5E));
  metal.setColorAt(0.3, QColor(0xF6, 0xF7, 0xF8));
  metal.setColorAt(0.5, QColor(0xC8, 0xCA, 0xCE));
  metal.setColorAt(0.8, QColor(0x84, 0x86, 0x8A));
  metal.setColorAt(1.0, QColor(0x46, 0x48, 0x4C));
  p.setBrush(metal);
  p.setPen(QPen(QColor(0x34, 0x34, 0x36), pen * 0.7));
  p.drawPath(shaft.simplified());

  DrawMetalBall(p, tip, rb, pen * 0.8);
  return image;
}
