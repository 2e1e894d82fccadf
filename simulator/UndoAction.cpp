#include "UndoAction.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "MachineController.h"
#include "QtText.h"
#include "Translate.h"

namespace {
const char* UndoText(TUndoCommand command) {
  switch (command) {
    case ucLoadDump: return N_("&Undo Load dump");
    case ucClearMemory: return N_("&Undo Clear memory");
    case ucMemorySize: return N_("&Undo Memory size");
    case ucProgramLoad: return N_("&Undo Program load");
    case ucLoadState: return N_("&Undo Load machine state");
    case ucReset: return N_("&Undo Reset");
  }
  return N_("&Undo");
}
}  // namespace

TUndoAction::TUndoAction(TMachineController& controller, QObject* parent)
    : QObject(parent), FController(controller), itmUndo(new QAction(this)) {
  itmUndo->setObjectName("itmUndo");
  itmUndo->setShortcut(QKeySequence::Undo);
  connect(itmUndo, &QAction::triggered, this, [this] { FController.Undo(); });
  connect(&FController, &TMachineController::OnUndoChanged, this, [this] { Show(); });
  connect(&FController, &TMachineController::OnRunningChanged, this, [this] { Show(); });
  Show();
}

void TUndoAction::AddToMenuBar(QMenuBar* bar, QAction* before) {
  mnEdit = new QMenu(bar);
  mnEdit->setObjectName("mnEdit");
  mnEdit->addAction(itmUndo);
  bar->insertMenu(before, mnEdit);
  RetranslateUi();
}

void TUndoAction::RetranslateUi() {
  if (mnEdit) mnEdit->setTitle(QtText("&Edit"));
  Show();
}

void TUndoAction::Show() {
  const bool any = FController.CanUndo();
  itmUndo->setText(QtText(any ? UndoText(FController.UndoCommand()) : N_("&Undo")));
  itmUndo->setEnabled(any && !FController.Machine().Executing());
}
