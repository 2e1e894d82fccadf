// TTraceWin ("Program trace"): the last executed instructions, newest last; follows the newest
// record while visible. A double click shows the record's address in the memory grid.
#pragma once
#include "ToolWindow.h"

class TTraceWin : public TToolWindow {
  Q_OBJECT
public:
  TTraceWin(TMachineController& controller, TNavigator& navigator, QWidget* parent);
  TTraceModel* Trace() const { return static_cast<TTraceModel*>(Model()); }
  QPushButton* btClear;
  // "Clear": empties the core's trace.
  void btClearClick();
  // The double click: the selected row's PC, read back in the window's base, in the grid.
  void ListDblClick();

protected:
  void SetColumnWidths(int listWidth) override;
  void RetranslateUi() override;
};
