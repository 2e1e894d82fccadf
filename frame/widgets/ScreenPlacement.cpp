#include "ScreenPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>

namespace {

TRect ToTRect(const QRect& r) { return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

}  // namespace

std::vector<TRect> ScreenWorkAreas() {
  std::vector<TRect> areas;
  for (QScreen* s : QGuiApplication::screens()) areas.push_back(ToTRect(s->availableGeometry()));
  return areas;
}

int PrimaryWorkAreaIndex() {
  const QList<QScreen*> screens = QGuiApplication::screens();
  const int i = static_cast<int>(screens.indexOf(QGuiApplication::primaryScreen()));
  return i < 0 ? 0 : i;
}

QRect WorkAreaAt(QPoint p) {
  const std::vector<TRect> areas = ScreenWorkAreas();
  const int i = NearestWorkArea(TPoint{p.x(), p.y()}, areas);
  if (i < 0) return QRect();
  const TRect& a = areas[static_cast<std::size_t>(i)];
  return QRect(a.Left, a.Top, a.Width(), a.Height());
}

QPoint PlaceOnScreen(QPoint p, QSize size, TPlacementKind kind) {
  const TPoint r =
      PlaceWindow(TPoint{p.x(), p.y()}, size.width(), size.height(), ScreenWorkAreas(), kind, PrimaryWorkAreaIndex());
  return QPoint(r.X, r.Y);
}

void PlaceWidget(QWidget* window, QPoint p, TPlacementKind kind) {
  if (window == nullptr) return;
  window->ensurePolished();
  if (!window->testAttribute(Qt::WA_Resized) && window->layout() != nullptr) window->adjustSize();
  QSize size = window->frameGeometry().size();
  if (!size.isValid() || size.isEmpty()) size = window->size();
  window->move(PlaceOnScreen(p, size, kind));
}

QPoint MousePos() { return QCursor::pos(); }

QPoint BelowLeft(const QWidget* control, int dx, int dy) {
  return control ? control->mapToGlobal(QPoint(0, control->height())) + QPoint(dx, dy) : MousePos();
}

QPoint BelowRight(const QWidget* control, int dx, int dy) {
  return control ? control->mapToGlobal(QPoint(control->width(), control->height())) + QPoint(dx, dy) : MousePos();
}

QPoint TopRight(const QWidget* control, int dx, int dy) {
  return control ? control->mapToGlobal(QPoint(control->width(), 0)) + QPoint(dx, dy) : MousePos();
}
