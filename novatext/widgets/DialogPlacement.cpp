#include "DialogPlacement.h"

#include "ScreenPlacement.h"

void PlaceNumberDialog(QWidget* dialog, QPoint pos) {
  if (pos.x() < 0) PlaceWidget(dialog, NoPoint, pkDialog);
  // The message box kind centres only when both coordinates are negative, so with X >= 0 this
  // is the plain keep-inside rule (a negative Y moves to the top edge + 20).
  else PlaceWidget(dialog, pos, pkMessageBox);
}
