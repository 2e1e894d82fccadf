// TBpWin ("Breakpoints"): the breakpoints of every kind (execute, read, write, access) with their
// words, condition and hits; add, change the selected one, delete it, delete all. The add and
// change buttons open the breakpoint dialog. A double click shows the first word in the memory
// grid.
#pragma once
#include <memory>

#include "ToolWindow.h"

class QToolButton;
class TBreakpointDialog;

class TBpWin : public TToolWindow {
  Q_OBJECT
public:
  TBpWin(TMachineController& controller, TNavigator& navigator, QWidget* parent);
  ~TBpWin() override;
  TBpModel* Breakpoints() const { return static_cast<TBpModel*>(Model()); }
  TBreakpointDialog& Dialog();
  QToolButton* btAdd;
  QToolButton* btEdit;
  QToolButton* btDelete;
  QToolButton* btDeleteAll;
  void btAddClick();
  void btEditClick();
  void btDeleteClick();
  void btDeleteAllClick();
  void ListDblClick();

protected:
  void SetColumnWidths(int listWidth) override;
  void RetranslateUi() override;

private:
  // The dialog below the button with B's values; on OK the breakpoint is set (replacing Old when
  // given and different).
  void EditBreakpoint(QWidget* below, TBreakpoint B, const TBreakpoint* Old);
  std::unique_ptr<TBreakpointDialog> FDialog;
};
