// TTraceWin ("Program trace"): the last executed instructions, newest last; follows the newest
// record while visible (the list paints only the rows in view, so it stays quick at the longest
// trace). A double click shows the record's address in the memory grid; "Save .." writes the
// whole trace as text.
#pragma once
#include "ToolWindow.h"

class TTraceWin : public TToolWindow {
  Q_OBJECT
public:
  TTraceWin(TMachineController& controller, TNavigator& navigator, QWidget* parent);
  TTraceModel* Trace() const { return static_cast<TTraceModel*>(Model()); }
  QPushButton* btClear;
  QPushButton* btSave;
  // "Clear": empties the core's trace.
  void btClearClick();
  // The double click: the selected row's PC, read back in the window's base, in the grid.
  void ListDblClick();
  // "Save ..": the file dialog, then SaveTrace; an error in a box.
  void btSaveClick();
  // Every record, oldest first, one line each with the window's columns in its number base, below
  // a line of the column captions. False with the reason when the file could not be written (the
  // file is then left as it was).
  bool SaveTrace(const std::string& name, std::string& error) const;

protected:
  void SetColumnWidths(int listWidth) override;
  void RetranslateUi() override;
};
