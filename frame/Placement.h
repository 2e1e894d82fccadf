// Window placement rule: a window placed at a screen point stays inside the work area of the
// monitor nearest to that point. Pure functions over plain rectangles; the toolkit layer supplies
// the monitors' work areas, the pointer position and the window size.
#pragma once
#include <vector>

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

// Right and Bottom lie just outside the area: Right = Left + width.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
};

enum TPlacementKind {
  pkMessageBox,  // centred when both coordinates are negative
  pkDialog       // centred when any coordinate is negative
};

// Index of the area that contains the point, else of the nearest one (ties: the first);
// -1 for an empty list.
int NearestWorkArea(TPoint p, const std::vector<TRect>& areas);

// The rule on one work area, in this order: past the right edge -> right - w - 20; left of the
// left edge -> left + 20; past the bottom -> bottom - h - 30; above the top -> top + 20.
TPoint KeepInWorkArea(TPoint p, int w, int h, const TRect& area);

// Top left corner that centres a w x h window on the area.
TPoint CenterInArea(int w, int h, const TRect& area);

// Where a window of w x h requested at p appears. Requests that mean "centred" are centred on the
// primary area (index primary); every result is then kept inside the nearest area. An empty list
// of areas returns p unchanged.
TPoint PlaceWindow(TPoint p, int w, int h, const std::vector<TRect>& areas, TPlacementKind kind,
                   int primary = 0);
