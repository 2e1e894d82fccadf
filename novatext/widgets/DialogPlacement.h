// Where the value and command dialogs appear: centred on the desktop when the requested point's
// X is negative, else with their top left corner at the point, kept inside the work area.
#pragma once
#include <QPoint>

class QWidget;

void PlaceNumberDialog(QWidget* dialog, QPoint pos);
