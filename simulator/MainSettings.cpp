// TMainForm: the settings file, the connection to the controller, the first showing, the one
// shutdown, the caption, the working directory, the text file types, the memory size, the
// language and the information box.
#include <sys/stat.h>

#include <cerrno>
#include <iostream>

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

#include "AssemblerActions.h"
#include "DeviceTabs.h"
#include "DumpActions.h"
#include "DialogService.h"
#include "FileIdentity.h"
#include "HistoryCombo.h"
#include "IniFile.h"
#include "InpValue.h"
#include "LanguageSwitch.h"
#include "MachineController.h"
#include "MainForm.h"
#include "MemoryPanel.h"
#include "TimeTravelActions.h"
#include "MessageBoxes.h"
#include "NumberEd.h"
#include "PathUtils.h"
#include "QtText.h"
#include "ReplacingFile.h"
#include "ResumedSession.h"
#include "RunControl.h"
#include "ScreenPlacement.h"
#include "ShellDirDlg.h"
#include "Startup.h"
#include "SwitchesPanel.h"
#include "SymbolFiles.h"
#include "TeletypePanel.h"
#include "VersionInfo.h"

namespace {
constexpr const char* Config = "Config";
constexpr const char* ProgramTitle = "Corvane";
constexpr const char* ToolSections[3] = {"TraceWindow", "WatchWindow", "Breakpoints"};

// A message box text on one line (for standard error).
QString OneLineText(QString text) { return text.replace("\r\n", " "); }

std::string IndexKey(int i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "Address%03d", i);
  return buf;
}

// The stored "Count" keys: never more entries than the memory has words.
int ReadCount(const TIniFile& ini, const char* section) {
  return std::clamp(ini.ReadInteger(section, "Count", 0), 0, MemoryWords);
}

// The "Address" keys of a section, in the order stored; addresses outside the memory skipped.
std::vector<TWord> ReadAddresses(const TIniFile& ini, const char* section) {
  std::vector<TWord> addresses;
  for (int i = 0, n = ReadCount(ini, section); i < n; ++i) {
    const int a = ini.ReadInteger(section, IndexKey(i), -1);
    if (a >= 0 && a < MemoryWords) addresses.push_back(TWord(a));
  }
  return addresses;
}
}  // namespace

void TMainForm::ConnectController() {
  TMachineController* c = FController;
  // The panels follow the controller themselves; the front panel's lamps are pushed.
  connect(c, &TMachineController::OnRegistersChanged, this, [this] { PushFrontPanel(); });
  connect(c, &TMachineController::OnWordsChanged, this, [this](int first, int count) {
    if (FMachine->PC >= first && FMachine->PC < first + count) PushFrontPanel();
  });
  connect(c, &TMachineController::OnSwitchesChanged, this, [this] {
    if (FFrontPanel && FFrontPanel->isVisible()) FFrontPanel->SetSwitches(FMachine->Switches);
  });
  connect(c, &TMachineController::OnRunStateChanged, this, [this] { ShowRunState(); });
  connect(c, &TMachineController::OnErrorReported, this, [this](const QString& t) { ErrorBox(t); });
}

std::string NormalizeTextFiles(const QString& text) {
  QStringList out;
  for (QString e : text.split(',')) {
    e = e.trimmed();
    if (e.startsWith("*.")) e.remove(0, 2);
    else if (e.startsWith('.')) e.remove(0, 1);
    e = e.trimmed();
    if (!e.isEmpty()) out << e;
  }
  return out.join(',').toStdString();
}

void TMainForm::TextFileTypesClick() {
  QString text = ToQString(FPeripherals->TextFiles);
  TInputTextArgs args;
  args.At = MousePos();
  args.Title = QtText("Text file types");
  args.Desc = QtText("Comma separated list:");
  args.Parent = this;
  if (!InputText(args, text)) return;
  FPeripherals->SetTextFiles(NormalizeTextFiles(text));
}

void TMainForm::ReadSettings() {
  const TProgramVersion version = ProgramVersion(ProgramTitle, CORVANE_VERSION, "");
  ProgVersName = ToQString(version.Name.empty() ? std::string(ProgramTitle) : version.Name);
  ProgVers = ToQString(version.BracketedVersion);
  ProgVersDate = ToQString(version.FileDate);

  FIniName = MakeFileName(FAppPath, ProgramTitle, "ini");
  RemoveLeftoverTemporaries(FIniName);  // of a shutdown that was cut short
  const TIniFile ini(FIniName);
  if (ini.Unreadable()) {
    // Its settings would be lost to the defaults: it stays as it is, and this session's settings
    // go to a new file beside it.
    FIniKept = FIniName;
    FIniName = FreeNameBeside(FIniName);
  }
  const QRect area = WorkAreaAt(QPoint(0, 0));
  const int top = ini.ReadInteger(Config, "Top", area.top() + 40);
  const int left = ini.ReadInteger(Config, "Left", area.left() + 40);
  // The placement rule keeps a stored position on a screen.
  move(PlaceOnScreen(QPoint(left, top), size(), pkDialog));
  WorkPath = ini.ReadString(Config, "WorkPath", WorkPath);
  FDumps->DumpName = ini.ReadString(Config, "LastDump", "");
  if (!FDumps->DumpName.empty() && !QFileInfo::exists(ToQString(FDumps->DumpName))) FDumps->DumpName.clear();
  FDumps->ListName = ini.ReadString(Config, "LastListing", "");
  switch (ini.ReadInteger(Config, "NumBase", nmOctal)) {
    case nmHex: FNumFormat = nmHex; break;
    case nmOctal: FNumFormat = nmOctal; break;
    case nmBin: FNumFormat = nmBin; break;
    default: FNumFormat = nmZeroDec; break;
  }
  int memSize = ini.ReadInteger(Config, "MemSize", MemoryWords);
  if (memSize < 1 || memSize > MemoryWords) memSize = MemoryWords;
  FMachine->SetMemSize(memSize);
  int step = ini.ReadInteger(Config, "MemoryStep", 256);
  if (step < 0 || step > 0177777) step = 256;
  edMemStep->SetValue(step);
  itmFrontPanel->setChecked(ini.ReadBool(Config, "ShowFrontPanel", true));
  gbTTY->cbUpcase->setChecked(ini.ReadBool(Config, "UpperCase", true));
  const int sw = ini.ReadInteger(Config, "Switches", 0);
  FMachine->SetSwitches(TWord(sw >= 0 && sw <= 0177777 ? sw : 0));
  QStringList preSwitches;
  for (const QString& e : ToQString(ini.ReadString(Config, "PreSwitches", "000012,177777")).split(',', Qt::SkipEmptyParts))
    preSwitches << e.trimmed();
  gbSwitches->SetPreSwitches(preSwitches);
  pcDevices->edLpt->setText(ToQString(ini.ReadString(Config, "LPTName", "")));
  pcDevices->Ptp.edFile->setText(ToQString(ini.ReadString(Config, "PTPName", "")));
  pcDevices->Ttp.edFile->setText(ToQString(ini.ReadString(Config, "TTPName", "")));
  FPeripherals->SetTextFiles(NormalizeTextFiles(ToQString(ini.ReadString(Config, "TextFiles", DefaultTextFiles))));
  const std::pair<TReaderPage*, std::pair<const char*, const char*>> readers[2] = {
      {&pcDevices->Ptr, {"PtrFiles", "PTRName"}}, {&pcDevices->Ttr, {"TtrFiles", "TTRName"}}};
  for (const auto& [page, keys] : readers) {
    LoadHistory(page->edFile, ini, keys.first);
    const QString stored = ToQString(ini.ReadString(Config, keys.second, ""));
    const int at = stored.isEmpty() ? -1 : page->edFile->findText(stored);
    if (at >= 0) {
      page->edFile->setCurrentIndex(at);
    } else {
      if (stored.size() >= 10) page->edFile->insertItem(0, stored);
      page->edFile->setCurrentIndex(-1);
    }
  }
  FMachine->AddWatches(ReadAddresses(ini, "WatchWindow"));
  ReadDebugSettings(ini);
  itmTrace->setChecked(ini.ReadBool("TraceWindow", "Visible", false));
  itmWatchList->setChecked(ini.ReadBool("WatchWindow", "Visible", false));
  itmBreakpoints->setChecked(ini.ReadBool("Breakpoints", "Visible", false));
  ReadSpeedSettings(ini);
  FAssembler->ReadSettings(ini);
  FTravel->ReadSettings(ini);
  FSession->ReadSettings(ini);

  if (QAbstractButton* b = FNumGroup->button(FNumFormat)) b->setChecked(true);
  gbMemory->SetNumFormat(FNumFormat);
  gbSwitches->SetNumFormat(FNumFormat);
  FDumps->SetNumFormat(FNumFormat);
  FAutoDump = JoinPath(WorkPath, "autodump.dmp");
  RemoveLeftoverTemporaries(FAutoDump);
  RemoveLeftoverTemporaries(SymbolsBesideImage(FAutoDump));
  gbMemory->setTitle(gbMemory->Caption());
  gbMemory->ClearHistory();
  gbMemory->ContentsCol = false;
}

void TMainForm::WriteSettings() {
  TIniFile ini(FIniName);
  ini.WriteInteger(Config, "Top", pos().y());
  ini.WriteInteger(Config, "Left", pos().x());
  ini.WriteString(Config, "WorkPath", WorkPath);
  ini.WriteString(Config, "LastDump", FDumps->DumpName);
  ini.WriteString(Config, "LastListing", FDumps->ListName);
  ini.WriteInteger(Config, "NumBase", FNumFormat);
  ini.WriteInteger(Config, "MemSize", FMachine->MemSize);
  ini.WriteInteger(Config, "MemoryStep", int(edMemStep->Value() & 0xFFFF));
  ini.WriteBool(Config, "ShowFrontPanel", itmFrontPanel->isChecked());
  ini.WriteBool(Config, "UpperCase", gbTTY->cbUpcase->isChecked());
  ini.WriteInteger(Config, "Switches", FMachine->Switches);
  ini.WriteString(Config, "PreSwitches", gbSwitches->PreSwitches().join(',').toStdString());
  WriteSpeedSettings(ini);
  FAssembler->WriteSettings(ini);
  FTravel->WriteSettings(ini);
  FSession->WriteSettings(ini);
  ini.WriteString(Config, "LPTName", pcDevices->edLpt->text().toStdString());
  ini.WriteString(Config, "PTPName", pcDevices->Ptp.edFile->text().toStdString());
  ini.WriteString(Config, "TTPName", pcDevices->Ttp.edFile->text().toStdString());
  // The list's text while a file is attached: empty after "Close", so a closed tape is not
  // attached again at the next start.
  for (const auto& [dev, key] : {std::pair{pdPtr, "PTRName"}, std::pair{pdTtr, "TTRName"}})
    ini.WriteString(Config, key,
                    FPeripherals->InputFile(dev) ? pcDevices->Reader(dev).edFile->currentText().toStdString() : std::string());
  ini.WriteString(Config, "TextFiles", FPeripherals->TextFiles);
  ini.WriteBool("TraceWindow", "Visible", itmTrace->isChecked());
  ini.WriteBool("WatchWindow", "Visible", itmWatchList->isChecked());
  ini.WriteBool("Breakpoints", "Visible", itmBreakpoints->isChecked());
  ini.DeleteKeysStartingWith("WatchWindow", "Address");
  ini.WriteInteger("WatchWindow", "Count", int(FMachine->Watch.size()));
  for (std::size_t i = 0; i < FMachine->Watch.size(); ++i)
    ini.WriteInteger("WatchWindow", IndexKey(int(i)), FMachine->Watch[i].Addr);
  WriteDebugSettings(ini);
  SaveHistory(pcDevices->Ptr.edFile, ini, "PtrFiles", true, ReaderHistoryMax);
  SaveHistory(pcDevices->Ttr.edFile, ini, "TtrFiles", true, ReaderHistoryMax);
  QDir().mkpath(ToQString(FAppPath));
  std::string error;
  if (!ini.UpdateFile(&error)) ErrorBox(QtText("Error writing file:") + "\r\n" + ToQString(error));
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (FShown) return;
  FShown = true;
  FirstShow();
}

void TMainForm::FirstShow() {
  if (FShutDownDone) return;  // closed by a termination signal before it was shown
  FDumps->itmReload->setEnabled(false);
  if (!FSettingsNotice.isEmpty())
    QTimer::singleShot(0, this, [this] { InfoMsg(FSettingsNotice, NoPoint, QtText(ProgramTitle), this); });
  // An image that is there but cannot be read is the user's last session: it is not replaced
  // at shutdown (which may come while the error box is open).
  // (Missing, or a link to a file not made yet, is the first start: the save creates it.)
  struct stat st;
  FAutoDumpKept = ::stat(FAutoDump.c_str(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR);
  const bool imageLoaded = FAutoDumpKept && FDumps->LoadDump(FAutoDump, true);
  if (imageLoaded) {
    FAutoDumpKept = false;
    // The program's symbols come back with it (none when the file beside it is damaged).
    FController->SetSymbols(LoadSymbolsBeside(FAutoDump).Symbols);
    FDumps->SetCaptionKind(TDumpActions::ckRestored);
  } else {
    if (FShutDownDone) return;  // a termination signal came while the error box was open
    FDumps->ClearMemoryClick();
  }
  ShowToolWindows();
  const QString ptr = pcDevices->Ptr.edFile->currentText();
  if (!ptr.isEmpty()) {
    if (!QFileInfo::exists(ptr) || !FPeripherals->OpenInput(pdPtr, ptr.toStdString()))
      pcDevices->Ptr.edFile->setCurrentIndex(-1);
  }
  pcDevices->Ptr.Last = pcDevices->Ptr.edFile->currentText();
  pcDevices->Ttr.Last = pcDevices->Ttr.edFile->currentText();
  FMachine->ResetCpu();
  if (imageLoaded) {
    bool isError = false;
    if (const QString text = FSession->Resume(FAutoDump, isError); !text.isEmpty()) {
      if (isError)
        ErrorBox(text);
      else
        InfoMsg(text, NoPoint, QtText(ProgramTitle), this);
    }
    ShowSpeedMode();  // the session's speed
    // Once the window is up: the run the quit stopped goes on.
    if (FSession->GoesOnRunning()) QTimer::singleShot(0, FRun, [this] { FRun->Resume(); });
  }
  ApplyNumFormat();
  gbMemory->ReportRangeAgain();
  FController->ClearUndo();  // the start is nothing to take back
}

void TMainForm::Shutdown(bool AskUser) {
  if (FShutDownDone) return;
  FShutDownDone = true;
  FRun->ShutDown();
  FSession->Take(FRun->Closing());  // the machine as the user left it, before the reset
  FMachine->ResetCpu();
  FController->FlushConsole();
  // Nothing waits for the user until everything is written: the error boxes of the shutdown
  // are collected and shown together at the end, and only to a user who quit.
  QStringList errors, notices;
  FShutdownErrors = &errors;
  // The settings first: they are kept whatever becomes of the image.
  WriteSettings();
  if (!FIniKept.empty())
    notices << QSafeFormat(QtText("The settings file %s could not be read at the start and is kept as it is; "
                                  "the settings are saved in %s."),
                           ToQString(FIniKept), ToQString(FIniName));
  std::string image = FAutoDump;
  if (FAutoDumpKept) {
    image = FreeNameBeside(FAutoDump);
    notices << QSafeFormat(QtText("The auto-saved image %s could not be read at the start and is kept as it is; "
                                  "the memory is saved in %s."),
                           ToQString(FAutoDump), ToQString(image));
  }
  // The working directory is made (with its parents) before the image goes into it.
  QDir().mkpath(ToQString(ExtractFilePath(image)));
  TMachineError error;
  if (!FMachine->SaveDump(image, &error)) {
    ErrorBox(ToQString(ErrorText(error)));
  } else {
    // The symbols beside the image written (which may be a new name beside a kept one).
    std::string symbolError;
    if (!SaveSymbolsBeside(image, FController->Symbols(), symbolError)) ErrorBox(ToQString(symbolError));
    if (const QString sessionError = FSession->Save(image); !sessionError.isEmpty()) ErrorBox(sessionError);
  }
  for (TPeriphDevice d : {pdPtp, pdPtr, pdTtp, pdTtr, pdLpt}) {
    if (d == pdPtr || d == pdTtr)
      FPeripherals->DetachInput(d);
    else
      FPeripherals->CloseOutput(d);
  }
  FShutdownErrors = nullptr;
  FViewTimer.stop();
  FController->ClockTimer().stop();
  const QStringList all = errors + notices;
  if (all.isEmpty()) return;
  if (AskUser) {
    const QString text = all.join("\r\n\r\n");
    if (errors.isEmpty())
      InfoMsg(text, NoPoint, QtText(ProgramTitle), this);
    else
      ErrorMsg(text, NoPoint, QString(), this);
  } else {
    // A logout or a kill: nobody would answer a box.
    for (const QString& line : all) std::cerr << "corvane: " << OneLineText(line).toStdString() << std::endl;
  }
}

void TMainForm::SetCaption() {
  QString title = QtText(ProgramTitle);
  if (FDumps->CaptionKind() == TDumpActions::ckRestored)
    title += QtText(" - The last memory status has been restored");
  else if (FDumps->CaptionKind() == TDumpActions::ckDumpLoaded)
    title += QtText(" - Memory dump loaded: ") + ToQString(ExtractFileName(FDumps->DumpName));
  setWindowTitle(title);
}

void TMainForm::WorkingDirectoryClick() {
  QString dir = ToQString(WorkPath);
  // Files shown on request, no home folder.
  if (!DirDialog().Execute(QtText("Working directory"), false, true, false, QString(), dir)) return;
  if (!dir.isEmpty()) WorkPath = ExcludeTrailingDelimiter(dir.toStdString());
}

void TMainForm::InfoClick() {
  InfoMsg(ProgVersName + ProgVers + " - " + ProgVersDate, NoPoint, QtText(ProgramTitle), this);
}

void TMainForm::LanguageClick(const std::string& code) {
  (code == "de" ? itmGerman : itmEnglish)->setChecked(true);
  SwitchLanguage(code);
}

void TMainForm::SetMemSize(int size) { FMachine->SetMemSize(size); }

void TMainForm::MemorySizeClick() {
  std::uint16_t v = std::uint16_t(FMachine->MemSize);
  if (!ValueDialog().Execute(MousePos(), QtText("Memory size in words:"), FNumFormat, v)) return;
  if (ValueDialog().ValueEdit()->CheckError()) return;
  if (v == 0 || v > MemoryWords) {
    ErrorBox(QtText("Memory size out of range:\r\n1 .. ") + ToQString(FormatWord(MemoryWords, FNumFormat)), MousePos());
    return;
  }
  if (v < FMachine->MemSize &&
      !ConfirmMsg(QSafeFormat(QtText("Do you really want to reduce memory size to\r\n%s words?"),
                              ToQString(FormatWord(v, FNumFormat))),
                  MousePos(), QString(), this))
    return;
  if (v != FMachine->MemSize) FController->RecordUndo(ucMemorySize);
  SetMemSize(v);
}
