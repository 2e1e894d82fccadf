#include <gtest/gtest.h>

#include "Placement.h"

namespace {
const TRect Screen{0, 0, 1920, 1040};  // one monitor, task bar excluded
}

TEST(Placement, RuleOnOneWorkArea) {
  struct {
    TPoint at;
    int w, h;
    TPoint expected;
  } cases[] = {
      {{100, 100}, 400, 300, {100, 100}},   // inside: unchanged
      {{1800, 100}, 400, 300, {1500, 100}},  // right edge: right - w - 20
      {{-50, 100}, 400, 300, {20, 100}},     // left of the area: left + 20
      {{100, 900}, 400, 300, {100, 710}},    // bottom: bottom - h - 30
      {{100, -5}, 400, 300, {100, 20}},      // above: top + 20
      {{0, 0}, 2500, 300, {20, 0}},          // wider than the area: the left rule wins
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeepInWorkArea(c.at, c.w, c.h, Screen), c.expected) << c.at.X << "," << c.at.Y;
    EXPECT_EQ(PlaceWindow(c.at, c.w, c.h, {Screen}, pkMessageBox), c.expected) << c.at.X << "," << c.at.Y;
  }
}

TEST(Placement, NegativeRequestsCentre) {
  const TPoint centred{(1920 - 400) / 2, (1040 - 200) / 2};
  EXPECT_EQ(PlaceWindow({-1, -1}, 400, 200, {Screen}, pkMessageBox), centred);
  EXPECT_EQ(PlaceWindow({-1, 300}, 400, 200, {Screen}, pkMessageBox), (TPoint{20, 300}));
  EXPECT_EQ(PlaceWindow({-1, 300}, 400, 200, {Screen}, pkDialog), centred);
  EXPECT_EQ(PlaceWindow({-1, -1}, 3000, 200, {Screen}, pkDialog).X, 20);  // too wide to centre
}

TEST(Placement, NearestMonitor) {
  const std::vector<TRect> areas{{0, 0, 1920, 1040}, {1920, 200, 3200, 1224}};
  EXPECT_EQ(NearestWorkArea({2000, 500}, areas), 1);  // inside the second
  EXPECT_EQ(NearestWorkArea({2500, 100}, areas), 1);  // above the second, beside the first
  EXPECT_EQ(NearestWorkArea({100, 5000}, areas), 0);
  EXPECT_EQ(NearestWorkArea({0, 0}, {}), -1);
  // A window at the second monitor's right edge is kept on that monitor.
  EXPECT_EQ(PlaceWindow({3100, 300}, 400, 200, areas, pkDialog), (TPoint{2780, 300}));
  EXPECT_EQ(PlaceWindow({5, 5}, 10, 10, {}, pkDialog), (TPoint{5, 5}));
}
