#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor Ink(40, 40, 40);
const QColor Blue(30, 90, 180);
const QColor Green(20, 150, 40);
const QColor Red(200, 30, 30);
const QColor Amber(215, 120, 10);

void Arrowhead(QPainter& p, QPointF tip, QPointF dir, qreal size, const QColor& c) {
  const QPointF n(-dir.y(), dir.x());
  const QPointF base = tip - dir * size;
  QPolygonF head{tip, base + n * size * 0.6, base - n * size * 0.6};
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPolygon(head);
}

void ArrowRight(QPainter& p, qreal x0, qreal x1, qreal y, const QColor& c) {
  p.setPen(QPen(c, 2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(x0, y), QPointF(x1 - 3, y));
  Arrowhead(p, QPointF(x1, y), QPointF(1, 0), 4, c);
}

// Memory rows as a program listing shows them.
void Rows(QPainter& p, qreal x0, qreal x1, std::initializer_list<qreal> ys) {
  p.setPen(QPen(QColor(120, 120, 120), 1.5, Qt::SolidLine, Qt::FlatCap));
  for (qreal y : ys) p.drawLine(QPointF(x0, y), QPointF(x1, y));
}

// The step pictures: the listing's rows, the path of the step, and the arrow into the row where
// the path ends. Back: the picture mirrored, the arrow pointing to the rows from the right.
void StepArrow(QPainter& p, const QPainterPath& path, bool back) {
  p.save();
  if (back) {
    p.translate(16, 0);
    p.scale(-1, 1);
  }
  Rows(p, 9, 15, {3, 8, 13});
  const QPointF end = path.currentPosition();
  p.setPen(QPen(back ? Amber : Blue, 2, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.drawLine(end, QPointF(5, end.y()));
  Arrowhead(p, QPointF(8.5, end.y()), QPointF(1, 0), 4, back ? Amber : Blue);
  p.restore();
}

void Eye(QPainter& p, QRectF r) {
  QPainterPath lid;
  lid.moveTo(r.left(), r.center().y());
  lid.quadTo(r.center().x(), r.top() - r.height() * 0.5, r.right(), r.center().y());
  lid.quadTo(r.center().x(), r.bottom() + r.height() * 0.5, r.left(), r.center().y());
  p.setPen(QPen(Ink, 1.2));
  p.setBrush(Qt::white);
  p.drawPath(lid);
  p.setPen(Qt::NoPen);
  p.setBrush(Blue);
  const qreal d = r.height() * 0.75;
  p.drawEllipse(QRectF(r.center().x() - d / 2, r.center().y() - d / 2, d, d));
  p.setBrush(Ink);
  p.drawEllipse(r.center(), d / 4, d / 4);
}

void Paint(QPainter& p, TToolIcon kind) {
  p.setRenderHint(QPainter::Antialiasing);
  switch (kind) {
    case TToolIcon::Reset: {
      p.setPen(QPen(Blue, 2, Qt::SolidLine, Qt::FlatCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(2.5, 2.5, 11, 11), 120 * 16, 290 * 16);
      // The arc ends at 50 degrees; the head continues it counter-clockwise.
      Arrowhead(p, QPointF(9.6, 2.2), QPointF(-0.766, -0.643), 4.5, Blue);
      break;
    }
    case TToolIcon::SetPC:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(250, 160, 160));
      p.drawRect(QRectF(8, 5, 7, 6));
      ArrowRight(p, 1, 8, 8, Ink);
      break;
    case TToolIcon::Run:
      p.setPen(QPen(Green.darker(130), 1));
      p.setBrush(Green);
      p.drawPolygon(QPolygonF{QPointF(4, 2), QPointF(14, 8), QPointF(4, 14)});
      break;
    case TToolIcon::Step: {
      QPainterPath path;
      path.moveTo(3, 2);
      path.lineTo(3, 8);
      StepArrow(p, path, false);
      break;
    }
    case TToolIcon::StepOver: {
      QPainterPath path;
      path.moveTo(4, 3);
      path.cubicTo(-1, 5, -1, 11, 4, 13);
      StepArrow(p, path, false);
      break;
    }
    case TToolIcon::StepOut: {
      // Out of the listing's middle rows, back up to the row after the call.
      QPainterPath path;
      path.moveTo(3, 14);
      path.lineTo(3, 3);
      StepArrow(p, path, false);
      break;
    }
    case TToolIcon::ReverseStep: {
      // Up from the row below to the one before it, pointing back.
      QPainterPath path;
      path.moveTo(3, 14);
      path.lineTo(3, 8);
      StepArrow(p, path, true);
      break;
    }
    case TToolIcon::ReverseRun:
      p.setPen(QPen(Amber.darker(130), 1));
      p.setBrush(Amber);
      p.drawPolygon(QPolygonF{QPointF(12, 2), QPointF(2, 8), QPointF(12, 14)});
      p.setPen(QPen(Amber.darker(130), 2, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(14, 2.5), QPointF(14, 13.5));
      break;
    case TToolIcon::Stop:
      p.setPen(QPen(Red.darker(130), 1));
      p.setBrush(Red);
      p.drawRect(QRectF(3.5, 3.5, 9, 9));
      break;
    case TToolIcon::ProgramLoad: {
      // A strip of paper tape with its feed holes, going down into the machine.
      p.setPen(QPen(QColor(150, 120, 60), 1));
      p.setBrush(QColor(245, 225, 170));
      p.drawRect(QRectF(4.5, 0.5, 7, 11));
      p.setPen(Qt::NoPen);
      p.setBrush(Ink);
      for (qreal y : {2.5, 5.5, 8.5}) {
        p.drawEllipse(QPointF(6.5, y), 0.9, 0.9);
        p.drawEllipse(QPointF(9.8, y), 0.9, 0.9);
      }
      p.setBrush(Blue);
      p.drawRect(QRectF(1, 13, 14, 2.5));
      break;
    }
    case TToolIcon::ShowSteps:
      p.setPen(Qt::NoPen);
      p.setBrush(Blue);
      p.drawRect(QRectF(1, 11, 4, 4));
      p.drawRect(QRectF(6, 6.5, 4, 4));
      p.drawRect(QRectF(11, 2, 4, 4));
      p.setPen(QPen(Ink, 1));
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(QPolygonF{QPointF(1, 10), QPointF(5, 10), QPointF(5, 5.5), QPointF(10, 5.5),
                               QPointF(10, 1), QPointF(15, 1)});
      break;
    case TToolIcon::Breakpoints:
      p.setPen(QPen(Red.darker(140), 1));
      p.setBrush(Red);
      p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
      p.setPen(QPen(Qt::white, 2));
      p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
      break;
    case TToolIcon::Watch:
      Eye(p, QRectF(1, 5, 14, 6));
      break;
    case TToolIcon::AddWatch:
      Eye(p, QRectF(0.5, 2, 11, 5));
      p.setPen(QPen(Green, 2.2, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(12, 8), QPointF(12, 15));
      p.drawLine(QPointF(8.5, 11.5), QPointF(15.5, 11.5));
      break;
    case TToolIcon::Trace:
      Rows(p, 6, 15, {2.5, 6, 9.5, 13});
      p.setPen(Qt::NoPen);
      p.setBrush(Blue);
      for (qreal y : {2.5, 6.0, 9.5}) p.drawEllipse(QPointF(2.5, y), 1.3, 1.3);
      Arrowhead(p, QPointF(4.5, 13), QPointF(1, 0), 4, Red);
      break;
    case TToolIcon::FrontPanel: {
      p.setPen(QPen(Ink, 1));
      p.setBrush(QColor(60, 70, 110));
      p.drawRoundedRect(QRectF(0.5, 2.5, 15, 11), 1.5, 1.5);
      const QColor lamps[4] = {QColor(255, 210, 80), QColor(90, 80, 60), QColor(255, 210, 80),
                               QColor(255, 210, 80)};
      p.setPen(Qt::NoPen);
      for (int i = 0; i < 4; ++i) {
        p.setBrush(lamps[i]);
        p.drawEllipse(QPointF(3 + 3.3 * i, 5.5), 1.2, 1.2);
      }
      p.setBrush(QColor(230, 230, 230));
      for (int i = 0; i < 4; ++i) p.drawRect(QRectF(2.2 + 3.3 * i, 8.5, 1.6, 3.5));
      break;
    }
    case TToolIcon::Info: {
      p.setPen(Qt::NoPen);
      p.setBrush(Blue);
      p.drawEllipse(QRectF(1, 1, 14, 14));
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(8, 4.6), 1.3, 1.3);
      p.drawRect(QRectF(6.9, 6.8, 2.2, 6));
      break;
    }
    case TToolIcon::Quit:
      p.setPen(QPen(QColor(120, 80, 40), 1));
      p.setBrush(QColor(190, 140, 80));
      p.drawRect(QRectF(1.5, 1.5, 8, 13));
      p.setPen(Qt::NoPen);
      p.setBrush(Ink);
      p.drawEllipse(QPointF(7.5, 8.5), 0.9, 0.9);
      ArrowRight(p, 9, 15.5, 8, Red);
      break;
    case TToolIcon::GotoPC:
      ArrowRight(p, 1, 15, 8, Blue);
      break;
    case TToolIcon::SwitchesToPC:
      // A switch lever pushed up, and the arrow to the program counter.
      p.setPen(QPen(Ink, 1));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(1.5, 8.5, 5, 6));
      p.setPen(QPen(QColor(230, 230, 230), 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(4, 10), QPointF(4, 2.5));
      ArrowRight(p, 8, 15.5, 11.5, Blue);
      break;
    case TToolIcon::OpenFile: {
      p.setPen(QPen(QColor(160, 120, 20), 1));
      p.setBrush(QColor(240, 200, 80));
      QPolygonF folder{QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5), QPointF(14.5, 5),
                       QPointF(14.5, 13.5), QPointF(1.5, 13.5)};
      p.drawPolygon(folder);
      p.setBrush(QColor(250, 220, 120));
      p.drawPolygon(QPolygonF{QPointF(3, 7), QPointF(15.5, 7), QPointF(14.5, 13.5), QPointF(1.5, 13.5)});
      break;
    }
    case TToolIcon::CloseFile:
      p.setPen(Qt::NoPen);
      p.setBrush(Ink);
      p.drawPolygon(QPolygonF{QPointF(8, 2.5), QPointF(14, 9), QPointF(2, 9)});
      p.drawRect(QRectF(2, 11, 12, 2.5));
      break;
    case TToolIcon::Rewind:
      p.setPen(Qt::NoPen);
      p.setBrush(Ink);
      p.drawRect(QRectF(1.5, 3, 2, 10));
      p.drawPolygon(QPolygonF{QPointF(3.5, 8), QPointF(9, 3), QPointF(9, 13)});
      p.drawPolygon(QPolygonF{QPointF(9, 8), QPointF(14.5, 3), QPointF(14.5, 13)});
      break;
  }
}

QPixmap Render(TToolIcon kind, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.scale(size / 16.0, size / 16.0);
  Paint(p, kind);
  return pixmap;
}

}  // namespace

QIcon ToolIcon(TToolIcon kind) {
  QIcon icon;
  icon.addPixmap(Render(kind, 16));
  icon.addPixmap(Render(kind, 32));
  return icon;
}
