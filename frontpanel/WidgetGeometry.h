// Geometry of the indicators and switches, free of painting so that it can be checked alone.
#pragma once
#include <QPoint>
#include <array>

enum TArrowDirection : int { adUp, adRight, adDown, adLeft };

// The 8 corners of the arrow outline (the last repeats the first) for a control of width x
// height pixels. The arrow is drawn on a 16 x 16 grid pointing up and scaled by (size - 1) / 16,
// rounding halves to even.
using TArrowPolygon = std::array<QPoint, 8>;
TArrowPolygon ArrowPolygon(TArrowDirection direction, int width, int height);

// A momentary switch pressed at y goes down when y lies below half its height (integer
// division: for a 32-pixel switch y = 16 is still the upper half).
inline bool IsLowerHalf(int y, int height) { return y > height / 2; }
