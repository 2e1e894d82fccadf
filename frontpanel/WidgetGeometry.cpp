#include "WidgetGeometry.h"

#include <cmath>

#include "NumberUtils.h"

namespace {

constexpr QPoint BaseArrow[8] = {{8, 0}, {0, 8}, {4, 8}, {4, 16}, {12, 16}, {12, 8}, {16, 8}, {8, 0}};

}  // namespace

TArrowPolygon ArrowPolygon(TArrowDirection direction, int width, int height) {
  const double sx = (width - 1) / 16.0;
  const double sy = (height - 1) / 16.0;
  TArrowPolygon result;
  for (int i = 0; i < 8; ++i) {
    const int x = BaseArrow[i].x();
    const int y = BaseArrow[i].y();
    double px, py;
    switch (direction) {
      case adRight: px = sx * (16 - y); py = sy * x; break;
      case adDown: px = sx * x; py = sy * (16 - y); break;
      case adLeft: px = sx * y; py = sy * x; break;
      case adUp:
      default: px = sx * x; py = sy * y; break;
    }
    result[i] = QPoint(RoundHalfEven(px), RoundHalfEven(py));
  }
  return result;
}
