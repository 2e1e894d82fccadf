// TMainForm: run control (Run, Step, Step over, Stop, Reset, Program load, "Show each program
// step"), the keyboard of the teletype, and closing during a run.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include "DeviceTabs.h"
#include "InpValue.h"
#include "MachineController.h"
#include "CloseSignals.h"
#include "MainForm.h"
#include "MemoryModel.h"
#include "NumberEd.h"
#include "QtText.h"
#include "ScreenPlacement.h"
#include "KeyQueue.h"
#include "TextTyping.h"
#include "Translate.h"

QTimer& TMainForm::ClockTimer() { return FController->ClockTimer(); }

bool TMainForm::MayStart() const { return !FMachine->Executing() && !FShutDownDone && !FCloseWanted; }

void TMainForm::AfterRun(TStopReason reason) {
  FController->FlushConsole();
  // A step may have taken the key handed last.
  KeyQueuePump();
  FRangeReported = false;
  UpdateReaderSwitches();
  if (reason != srRefused) {
    FShownStop = reason;
    ShowStopReason();
  }
  ShowRunState();
  // A close asked for during the run happens now, from the top level.
  if (FCloseWanted && !FMachine->Executing()) QTimer::singleShot(0, this, [this] { close(); });
}

void TMainForm::ShowStopReason() {
  if (FMachine->Running()) {
    // While running the line says so; the measured speed stands beside it.
    lbStatus->setText(QtText("Running"));
    return;
  }
  if (FShownStop < 0) return;
  QString text = ToQString(StopReasonText(TStopReason(FShownStop)));
  const QString detail = ToQString(FMachine->LastStopDetail()).replace(QStringLiteral("\r\n"), " ");
  // A data breakpoint's detail, and a detail that begins with the reason (a step out stopped
  // first), say it all.
  if (!detail.isEmpty() && (FShownStop == srData || detail.startsWith(text)))
    text = detail;
  else if (!detail.isEmpty())
    text += QStringLiteral(": ") + detail;
  lbStatus->setText(text);
}

TStopReason TMainForm::AnswerFileRequests(TStopReason reason, bool continues) {
  while (reason == srFileNeeded && FPeripherals->FileRequested()) {
    // The dialog shows the console as it is now.
    FController->FlushConsole();
    SelectDeviceFile(FPeripherals->RequestedDevice());
    if (FShutDownDone) break;  // a termination signal came while the dialog was open
    if (!FPeripherals->AnswerFileRequest() || !continues || FCloseWanted) return FMachine->LastStopReason();
    reason = FMachine->ContinueRun();
  }
  return reason;
}

void TMainForm::btRunClick() { RunCommand(ncCont); }

void TMainForm::btStepClick() { RunCommand(ncInstStep); }

void TMainForm::btStepOverClick() {
  if (!MayStart()) return;
  FPeripherals->LptDeclined = false;
  AfterRun(AnswerFileRequests(FMachine->StepOver(), true));
}

void TMainForm::btStopClick() {
  EndTyping();
  PanelCommand(ncStop);
}

void TMainForm::btResetClick() {
  EndTyping();
  PanelCommand(ncReset);
  // The Reset button (not the front panel's RESET) empties the console as well.
  FController->FlushConsole();
  mmTTO->clear();
}

void TMainForm::btPrgLoadClick() {
  if (!MayStart()) return;
  std::uint16_t v = FMachine->Switches;
  if (!ValueDialog().Execute(BelowLeft(edSwitches), QtText("Front panel switches:"), FNumFormat, v)) return;
  if (ValueDialog().ValueEdit()->CheckError()) return;
  FMachine->SetSwitches(v);
  RunCommand(ncProgLoad);
}

void TMainForm::btShowStepsClick(bool down) { FMachine->SetShowEachStep(down); }

void TMainForm::UpdateReaderSwitches() {
  const bool on = FMachine->Tti.ReaderOn();
  if (tswTTReader->isChecked() != on) {
    tswTTReader->setChecked(on);
    ShowTeletypeSwitches();
  }
}

static QString OnOffText(const char* what, bool on) { return QtText(what) + " " + (on ? QtText("On") : QtText("Off")); }

void TMainForm::ShowTeletypeSwitches() {
  tswTTReader->setText(OnOffText(N_("Reader:"), tswTTReader->isChecked()));
  tswTTPunch->setText(OnOffText(N_("Punch:"), tswTTPunch->isChecked()));
}

int TMainForm::KeyToTeletype(int key, Qt::KeyboardModifiers mods, const QString& text) {
  if (mods & (Qt::AltModifier | Qt::MetaModifier)) return -1;
  if (mods & Qt::ControlModifier) {
    // Ctrl+letter is its control code, whatever text the platform gives with it.
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key - Qt::Key_A + 1;
    return -1;
  }
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 015;
    case Qt::Key_Backspace: return 8;  // the core types it as rubout
    case Qt::Key_Escape: return 033;
    case Qt::Key_Tab: return 011;
    default: break;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    // Letters from the key and the shift state.
    const bool upper = (mods & Qt::ShiftModifier) || (text.size() == 1 && text[0].isUpper());
    return upper ? key : key - Qt::Key_A + 'a';
  }
  if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7f) return text[0].unicode();
  return -1;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* w = qobject_cast<QWidget*>(watched);
    // Key preview: keys typed anywhere in this window (not in a dialog over it) reach TTI.
    // A key that the focus widget ignores travels on to its parents: take it at its first stop.
    QWidget* focus = focusWidget();
    const bool first = focus ? w == focus : w == this;
    if (w && first && w->window() == this && !QApplication::activeModalWidget()) {
      auto* k = static_cast<QKeyEvent*>(event);
      // Esc in the console ends a typing under way (and is not typed).
      if (k->key() == Qt::Key_Escape && w == mmTTO && FTyping->Active()) {
        EndTyping();
        return true;
      }
      const int code = KeyToTeletype(k->key(), k->modifiers(), k->text());
      if (code >= 0) {
        TypeKey(code);
        // While the machine runs the keys belong to the teletype; stopped, the controls get
        // them as well (except an editable field, where typing edits the field only).
        const auto* edit = qobject_cast<QLineEdit*>(w);
        if (FMachine->Running() || w == mmTTO) return true;
        if (edit && !edit->isReadOnly()) return false;
      }
    }
  }
  if (watched == edSwitches && event->type() == QEvent::MouseButtonRelease) RegisterFieldClick(edSwitches);
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (FMachine->Executing()) {
    // Stop the run first; the window closes once the run has returned to the event loop.
    FCloseWanted = true;
    FMachine->RequestStop();
    event->ignore();
    return;
  }
  Shutdown(!TerminationSignalled());
  QMainWindow::closeEvent(event);
}
