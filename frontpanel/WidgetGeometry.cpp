#include "WidgetGeometry.h"

#include <cfenv>
#include <cmath>

namespace {

constexpr QPoint BaseArrow[8] = {{8, 0}, {0, 8}, {4, 8}, {4, 16}, {12, 16}, {12, 8}, {16, 8}, {8, 0}};

// Nearest integer, halves to the even neighbour.
int RoundEven(double v) {
  const int mode = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double r = std::nearbyint(v);
  std::fesetround(mode);
  return int(r);
}

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
    result[i] = QPoint(RoundEven(px), RoundEven(py));
  }
  return result;
}
