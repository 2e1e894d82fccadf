// Going back in time and whole-machine states in the window.
#include "TimeTravelActions.h"

#include <QAction>
#include <QWidget>

#include "DialogService.h"
#include "IniFile.h"
#include "MachineController.h"
#include "MachineState.h"
#include "MessageBoxes.h"
#include "PathUtils.h"
#include "QtText.h"
#include "RunControl.h"
#include "ScreenPlacement.h"
#include "StateFile.h"
#include "Translate.h"
#include "TimeTravel.h"
#include "ToolIcons.h"
#include "WhoWroteDlg.h"

namespace {
constexpr const char* Config = "Config";
constexpr const char* HistoryKey = "HistorySize";
}  // namespace

TTimeTravelActions::TTimeTravelActions(TMachineController& controller, TRunControl& run, QWidget* window)
    : QObject(window), FController(controller), FRun(run), FWindow(window) {
  itmSaveState = new QAction(this);
  itmLoadState = new QAction(this);
  itmReverseStep = new QAction(this);
  itmReverseStep->setObjectName("itmReverseStep");
  itmReverseStep->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7));
  itmReverseRun = new QAction(this);
  itmReverseRun->setObjectName("itmReverseRun");
  itmReverseRun->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9));
  // The buttons that take these actions show the icons; the menu does not.
  itmReverseStep->setIcon(ToolIcon(TToolIcon::ReverseStep));
  itmReverseRun->setIcon(ToolIcon(TToolIcon::ReverseRun));
  for (QAction* a : {itmReverseStep, itmReverseRun}) a->setIconVisibleInMenu(false);
  itmHistorySize = new QAction(this);
  itmWhoWrote = new QAction(this);
  connect(itmSaveState, &QAction::triggered, this, [this] { SaveStateClick(); });
  connect(itmLoadState, &QAction::triggered, this, [this] { LoadStateClick(); });
  connect(itmReverseStep, &QAction::triggered, this, [this] { ReverseStepClick(); });
  connect(itmReverseRun, &QAction::triggered, this, [this] { ReverseRunClick(); });
  connect(itmHistorySize, &QAction::triggered, this, [this] { HistorySizeClick(); });
  connect(itmWhoWrote, &QAction::triggered, this, [this] { WhoWrote(GridAddress ? GridAddress() : -1); });

  TMachineController* c = &controller;
  connect(c, &TMachineController::OnOutputStays, this, [this] { FOutputStays = true; });
  connect(c, &TMachineController::OnRegistersChanged, this, [this] { ShowEnabled(); });
  connect(c, &TMachineController::OnMemoryChanged, this, [this] { ShowEnabled(); });
  connect(c, &TMachineController::OnRunningChanged, this, [this] { ShowEnabled(); });
  connect(&run, &TRunControl::RunStarts, this, [this] { ShowEnabled(); });
  connect(&run, &TRunControl::RunEnded, this, [this] { ShowEnabled(); });
  SetHistorySize(DefaultHistorySize);
  RetranslateUi();
}

TTimeTravelActions::~TTimeTravelActions() = default;

void TTimeTravelActions::RetranslateUi() {
  itmSaveState->setText(QtText("Sa&ve machine state .."));
  itmLoadState->setText(QtText("Load &machine state .."));
  itmReverseStep->setText(QtText("Re&verse step"));
  itmReverseRun->setText(QtText("Reverse ru&n"));
  itmHistorySize->setText(QtText("&History size .."));
  itmWhoWrote->setText(QtText("W&ho wrote this word?"));
}

void TTimeTravelActions::ShowEnabled() {
  const bool back = FRun.MayGoBack();
  itmReverseStep->setEnabled(back);
  itmReverseRun->setEnabled(back);
  const bool idle = FRun.MayStart();
  itmSaveState->setEnabled(idle);
  itmLoadState->setEnabled(idle);
  itmHistorySize->setEnabled(idle);
}

// ---- machine states

QString TTimeTravelActions::StateFilter() const {
  return QtText("Machine states") + "|*.nvs|" + QtText("all") + "|*.*";
}

QString TTimeTravelActions::FileFolder() const {
  if (!FStateName.empty()) return ToQString(ExtractFilePath(FStateName));
  return DefaultFolder ? ToQString(DefaultFolder()) : QString();
}

void TTimeTravelActions::SaveStateClick() {
  if (!FRun.MayStart()) return;
  TFileDialogArgs args;
  args.Title = QtText("Save machine state");
  args.Folder = FileFolder();
  args.DefaultExt = "nvs";
  args.Filter = StateFilter();
  QString file;
  if (!Dialogs().SaveFile(args, file, FWindow) || file.isEmpty()) return;
  SaveState(file.toStdString());
}

bool TTimeTravelActions::SaveState(const std::string& name) {
  if (!FRun.MayStart()) return false;
  if (MayWrite && !MayWrite(name)) return false;
  TMachineError error;
  if (!SaveMachineState(name, FController.Machine(), FController.Peripherals(), error)) {
    ErrorMsg(ToQString(ErrorText(error)), NoPoint, QString(), FWindow);
    return false;
  }
  FStateName = name;
  return true;
}

void TTimeTravelActions::LoadStateClick() {
  if (!FRun.MayStart()) return;
  TFileDialogArgs args;
  args.Title = QtText("Load machine state");
  args.Folder = FileFolder();
  args.Filter = StateFilter();
  QStringList files;
  if (!Dialogs().OpenFiles(args, files, FWindow) || files.isEmpty()) return;
  LoadState(files.front().toStdString());
}

bool TTimeTravelActions::LoadState(const std::string& name) {
  if (!FRun.MayStart()) return false;
  TMachineError error;
  std::vector<TAttachProblem> problems;
  if (!FController.LoadState(name, error, problems)) {
    ErrorMsg(ToQString(ErrorText(error)), NoPoint, QString(), FWindow);
    return false;
  }
  FStateName = name;
  ShowEnabled();
  if (!problems.empty()) {
    QString text = QtText("The machine state is loaded, but these files could not be attached again:");
    for (const TAttachProblem& p : problems) text += "\r\n" + ToQString(AttachProblemText(p));
    ErrorMsg(text, NoPoint, QString(), FWindow);
  }
  emit StatusText(QSafeFormat(QtText("Machine state loaded: step %s"),
                              QString::number(FController.Machine().ExecutedCount())));
  return true;
}

// ---- journeys

void TTimeTravelActions::Arrived(const char* format, const QString& reason) {
  QString text = QSafeFormat(QtText(format), QString::number(FController.Machine().ExecutedCount()));
  if (!reason.isEmpty()) text += ": " + reason;
  if (FOutputStays && !FOutputToldOnce) {
    FOutputToldOnce = true;
    text += ". " + QtText("Output already printed, punched or written stays.");
  }
  FOutputStays = false;
  ShowEnabled();
  emit StatusText(text);
}

void TTimeTravelActions::ReverseStepClick() {
  if (!FRun.MayGoBack()) return;
  FOutputStays = false;
  if (FRun.ReverseStep()) Arrived(N_("Back at step %s"));
}

void TTimeTravelActions::ReverseRunClick() {
  if (!FRun.MayGoBack()) return;
  FOutputStays = false;
  const TStopReason reason = FRun.ReverseRun();
  if (reason == srRefused) return;
  QString why = QtText("the start of the history");
  if (reason != srNone) {
    why = ToQString(StopReasonText(reason));
    const QString detail = ToQString(FController.Machine().LastStopDetail()).replace(QStringLiteral("\r\n"), " ");
    if (!detail.isEmpty()) why = reason == srData || detail.startsWith(why) ? detail : why + ": " + detail;
  }
  Arrived(N_("Back at step %s"), why);
}

bool TTimeTravelActions::TravelToTrace(int index) {
  FOutputStays = false;
  if (!FRun.TravelToTrace(index)) return false;
  Arrived(N_("At step %s"));
  return true;
}

void TTimeTravelActions::WhoWrote(int addr) {
  if (addr < 0 || addr >= MemoryWords || !FRun.MayStart()) return;
  const TLastWrite write = FController.Machine().LastWriter(TWord(addr));
  if (!FWhoWrote) FWhoWrote = std::make_unique<TWhoWroteDialog>(FWindow);
  FWhoWrote->Show(FController, TWord(addr), write, NumFormat ? NumFormat() : nmOctal);
  if (Dialogs().ExecDialog(*FWhoWrote) != QDialog::Accepted || !write.Found) return;
  FOutputStays = false;
  if (FRun.TravelTo(write.Step)) Arrived(N_("At step %s"));
}

// ---- the size

void TTimeTravelActions::SetHistorySize(std::uint64_t instructions) {
  FController.Machine().SetHistorySize(std::min(instructions, MaxHistorySize));
  ShowEnabled();
}

void TTimeTravelActions::HistorySizeClick() {
  if (!FRun.MayStart()) return;
  const std::uint64_t now = FController.Machine().HistorySize();
  const QString off = QtText("off");
  QString text = now ? QString::number(now) : off;
  const QString desc = QSafeFormat(
      QtText("Instructions to keep for going back in time, or \"off\" (at most %s; %s instructions take %s of memory):"),
      QString::number(MaxHistorySize), QString::number(DefaultHistorySize),
      ToQString(FormatSize(std::int64_t(THistory::BytesFor(DefaultHistorySize)))));
  if (!InputString(MousePos(), QtText("History size"), desc, text, FWindow)) return;
  text = text.trimmed();
  if (text.compare(off, Qt::CaseInsensitive) == 0 || text.compare("off", Qt::CaseInsensitive) == 0 || text == "0") {
    SetHistorySize(0);
    return;
  }
  bool ok = false;
  const qulonglong n = text.toULongLong(&ok);
  if (!ok || n == 0 || n > MaxHistorySize) {
    ErrorMsg(QtText("History size out of range:") + "\r\n" + off + ", 1 .. " + QString::number(MaxHistorySize), MousePos(),
             QString(), FWindow);
    return;
  }
  SetHistorySize(n);
}

void TTimeTravelActions::ReadSettings(const TIniFile& ini) {
  const int n = ini.ReadInteger(Config, HistoryKey, int(DefaultHistorySize));
  SetHistorySize(n < 0 ? DefaultHistorySize : std::uint64_t(n));
}

void TTimeTravelActions::WriteSettings(TIniFile& ini) const {
  ini.WriteInteger(Config, HistoryKey, int(FController.Machine().HistorySize()));
}
