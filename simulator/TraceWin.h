// TTraceWin ("Program trace"): the last executed instructions, newest last; follows the newest
// record while visible (the list paints only the rows in view, so it stays quick at the longest
// trace). A double click travels to the moment before the record's instruction (when the
// machine's history reaches it; otherwise it shows the record's address in the memory grid);
// "Save .." writes the whole trace as text. The list is in a fixed-pitch font, so the labels in
// front of the commands line up.
#pragma once
#include <functional>

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
  // The double click: a journey to the selected record (TravelToRecord); when that is refused,
  // the row's PC, read back in the window's base, in the grid.
  void ListDblClick();
  // To just before the record's instruction; false when the machine cannot go there.
  std::function<bool(int)> TravelToRecord;
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
