// The placement rule on real screens: the work areas are the screens' available geometries
// (task bars excluded); the rule itself is the frame's PlaceWindow.
#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

#include "Placement.h"

class QWidget;

// A request for "centred" (both coordinates negative for a message box, any for a dialog).
inline const QPoint NoPoint{-1, -1};

std::vector<TRect> ScreenWorkAreas();
int PrimaryWorkAreaIndex();
// Work area of the screen nearest to the point (empty when there is no screen).
QRect WorkAreaAt(QPoint p);

// Top left corner for a window of the given size requested at p.
QPoint PlaceOnScreen(QPoint p, QSize size, TPlacementKind kind);
// Moves the window there. Its size is the current one; a window that has not been sized yet is
// first given its layout's size.
void PlaceWidget(QWidget* window, QPoint p, TPlacementKind kind);

// The mouse pointer in screen coordinates.
QPoint MousePos();
// Screen points at a control's corners, shifted by (dx, dy).
QPoint BelowLeft(const QWidget* control, int dx = 0, int dy = 0);   // bottom left corner
QPoint BelowRight(const QWidget* control, int dx = 0, int dy = 0);  // bottom right corner
QPoint TopRight(const QWidget* control, int dx = 0, int dy = 0);    // top right corner
