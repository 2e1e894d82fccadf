#include "Placement.h"

#include <cstdint>
#include <limits>

namespace {

// Squared distance from the point to the nearest point of the rectangle.
std::int64_t Distance2(TPoint p, const TRect& r) {
  auto axis = [](int v, int lo, int hi) -> std::int64_t {
    if (v < lo) return static_cast<std::int64_t>(lo) - v;
    if (v >= hi) return static_cast<std::int64_t>(v) - (hi - 1);
    return 0;
  };
  std::int64_t dx = axis(p.X, r.Left, r.Right), dy = axis(p.Y, r.Top, r.Bottom);
  return dx * dx + dy * dy;
}

}  // namespace

int NearestWorkArea(TPoint p, const std::vector<TRect>& areas) {
  int best = -1;
  std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
  for (std::size_t i = 0; i < areas.size(); ++i) {
    std::int64_t d = Distance2(p, areas[i]);
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

TPoint KeepInWorkArea(TPoint p, int w, int h, const TRect& area) {
  if (p.X + w > area.Right) p.X = area.Right - w - 20;
  if (p.X < area.Left) p.X = area.Left + 20;
  if (p.Y + h > area.Bottom) p.Y = area.Bottom - h - 30;
  if (p.Y < area.Top) p.Y = area.Top + 20;
  return p;
}

TPoint CenterInArea(int w, int h, const TRect& area) {
  return TPoint{area.Left + (area.Width() - w) / 2, area.Top + (area.Height() - h) / 2};
}

TPoint PlaceWindow(TPoint p, int w, int h, const std::vector<TRect>& areas, TPlacementKind kind, int primary) {
  if (areas.empty()) return p;
  bool centred = kind == pkMessageBox ? (p.X < 0 && p.Y < 0) : (p.X < 0 || p.Y < 0);
  if (centred) {
    const TRect& screen = areas[primary >= 0 && static_cast<std::size_t>(primary) < areas.size() ? primary : 0];
    p = CenterInArea(w, h, screen);
  }
  return KeepInWorkArea(p, w, h, areas[NearestWorkArea(p, areas)]);
}
