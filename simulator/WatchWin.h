// TWatchWin ("Memory watch list"): the watched locations in address order with their alert box
// (a press in the first column switches it) and changed dot; add, remove, delete all. The list's
// context menu asks who wrote the selected word (WhoWroteAsked; the window answers).
#pragma once
#include "ToolWindow.h"

class QAction;
class QMenu;
class QToolButton;

class TWatchWin : public TToolWindow {
  Q_OBJECT
public:
  TWatchWin(TMachineController& controller, TNavigator& navigator, QWidget* parent);
  TWatchModel* Watches() const { return static_cast<TWatchModel*>(Model()); }
  QToolButton* btAdd;
  QToolButton* btRemove;
  QToolButton* btDeleteAll;
  void btAddClick();
  void btRemoveClick();
  void btDeleteAllClick();
  // A press in the first column of a row switches that watch's alert.
  void ToggleAlert(int row);
  // The list's context menu, for the selected row.
  QMenu* pmList;
  QAction* itmWhoWrote;
  void WhoWroteClick();

signals:
  void WhoWroteAsked(int addr);

protected:
  void SetColumnWidths(int listWidth) override;
  void RetranslateUi() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool FSwitchingAlert = false;
};
