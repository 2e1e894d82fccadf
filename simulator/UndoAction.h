// TUndoAction: the "&Edit" menu with "&Undo" (Ctrl+Z), which takes back the last command that
// replaced the machine state at one stroke (TMachineController::Undo) and names it ("&Undo Load
// dump"). Disabled while there is nothing to undo and while the machine executes; Ctrl+Z then
// goes where it went before (to a running program through the teletype).
#pragma once
#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class TMachineController;

class TUndoAction : public QObject {
  Q_OBJECT
public:
  TUndoAction(TMachineController& controller, QObject* parent);

  // The "&Edit" menu into the bar, before Before (none: at the end).
  void AddToMenuBar(QMenuBar* bar, QAction* before = nullptr);
  void RetranslateUi();
  QAction* Action() const { return itmUndo; }

private:
  void Show();

  TMachineController& FController;
  QMenu* mnEdit = nullptr;
  QAction* itmUndo;
};
