// TBpWin ("Breakpoints"): the breakpoints in address order with the word there and its command;
// add, delete the selected one, delete all. A double click shows the address in the memory grid.
#pragma once
#include "ToolWindow.h"

class QToolButton;

class TBpWin : public TToolWindow {
  Q_OBJECT
public:
  TBpWin(TMachineController& controller, TNavigator& navigator, QWidget* parent);
  TBpModel* Breakpoints() const { return static_cast<TBpModel*>(Model()); }
  QToolButton* btAdd;
  QToolButton* btDelete;
  QToolButton* btDeleteAll;
  void btAddClick();
  void btDeleteClick();
  void btDeleteAllClick();
  void ListDblClick();

protected:
  void SetColumnWidths(int listWidth) override;
  void RetranslateUi() override;
};
