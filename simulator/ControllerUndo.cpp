// TMachineController: undo of the commands that replace the machine state at one stroke.
#include "MachineController.h"
#include "StateFile.h"

void TMachineController::RecordUndo(TUndoCommand Command, std::function<void()> WindowPart) {
  if (FUndo.size() >= MaxUndo) FUndo.pop_front();
  FUndo.push_back(TUndoRecord{Command, CaptureState(*FMachine, *FPeripherals), FSymbols, std::move(WindowPart)});
  emit OnUndoChanged();
}

void TMachineController::DropUndo() {
  if (FUndo.empty()) return;
  FUndo.pop_back();
  emit OnUndoChanged();
}

void TMachineController::ClearUndo() {
  if (FUndo.empty()) return;
  FUndo.clear();
  emit OnUndoChanged();
}

bool TMachineController::Undo() {
  if (FUndo.empty() || FMachine->Executing()) return false;
  TUndoRecord record = std::move(FUndo.back());
  FUndo.pop_back();
  std::vector<TAttachProblem> problems;
  PutBackState(record.State, *FMachine, *FPeripherals, problems);
  SetSymbols(std::move(record.Symbols));
  if (record.WindowPart) record.WindowPart();
  emit OnUndoChanged();
  for (const TAttachProblem& p : problems) emit OnErrorReported(QString::fromStdString(AttachProblemText(p)));
  return true;
}

bool TMachineController::LoadState(const std::string& Name, TMachineError& Error,
                                   std::vector<TAttachProblem>& Problems) {
  // Refused while executing, with its reason.
  if (FMachine->Executing()) return LoadMachineState(Name, *FMachine, *FPeripherals, Error, Problems);
  RecordUndo(ucLoadState);
  if (LoadMachineState(Name, *FMachine, *FPeripherals, Error, Problems)) return true;
  DropUndo();
  return false;
}
