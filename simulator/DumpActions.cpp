#include "DumpActions.h"

#include <QAction>

#include "DeviceTabs.h"
#include "DialogService.h"
#include "Listing.h"
#include "MachineController.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "PathUtils.h"
#include "QtText.h"
#include "ScreenPlacement.h"
#include "SymbolFiles.h"
#include "WritePrgDlg.h"

namespace {
QString DumpFilter() { return QtText("Memory dumps") + "|*.dmp|" + QtText("all") + "|*.*"; }
}  // namespace

TDumpActions::TDumpActions(TMachineController& controller, TMemoryPanel& memory, TDeviceTabs& devices,
                           QWidget* window)
    : QObject(window), FController(controller), FMemory(memory), FDevices(devices), FWindow(window) {
  itmLoadDump = new QAction(this);
  itmReload = new QAction(this);
  itmSaveDump = new QAction(this);
  itmClearMemory = new QAction(this);
  itmSaveProgram = new QAction(this);
  connect(itmLoadDump, &QAction::triggered, this, [this] { LoadDumpClick(); });
  connect(itmReload, &QAction::triggered, this, [this] { ReloadClick(); });
  connect(itmSaveDump, &QAction::triggered, this, [this] { SaveDumpClick(); });
  connect(itmClearMemory, &QAction::triggered, this, [this] { ClearMemoryClick(); });
  connect(itmSaveProgram, &QAction::triggered, this, [this] { SaveProgramClick(); });
}

TDumpActions::~TDumpActions() = default;

void TDumpActions::RetranslateUi() {
  itmLoadDump->setText(QtText("&Load from file .."));
  itmReload->setText(QtText("&Reload"));
  itmSaveDump->setText(QtText("&Save to file .."));
  itmClearMemory->setText(QtText("&Clear memory"));
  itmSaveProgram->setText(QtText("Save as &program .."));
}

TWritePrgDialog& TDumpActions::WritePrgDialog() {
  if (!FWritePrgDialog) FWritePrgDialog = std::make_unique<TWritePrgDialog>(FWindow);
  return *FWritePrgDialog;
}

void TDumpActions::SetCaptionKind(TCaptionKind kind) {
  FCaptionKind = kind;
  emit CaptionChanged();
}

void TDumpActions::RecordUndo(TUndoCommand command) {
  FController.RecordUndo(command, [this, name = DumpName, kind = FCaptionKind] {
    DumpName = name;
    SetCaptionKind(kind);
    itmReload->setEnabled(!name.empty());
  });
}

std::string TDumpActions::Folder(const std::string& last) const {
  if (!last.empty()) return ExtractFilePath(last);
  return DefaultFolder ? DefaultFolder() : std::string();
}

bool TDumpActions::LoadDump(const std::string& AFileName, bool AKeepBreakpoints) {
  TMachineError error;
  if (!FController.Machine().LoadDump(AFileName, AKeepBreakpoints, &error)) {
    emit ErrorReported(ToQString(ErrorText(error)), FMemory.sgMemory->mapToGlobal(QPoint(20, 20)));
    return false;
  }
  FMemory.ClearHistory();
  return true;
}

bool TDumpActions::SaveDump(const std::string& AFileName) {
  TMachineError error;
  if (!FController.Machine().SaveDump(AFileName, &error)) {
    emit ErrorReported(ToQString(ErrorText(error)), QPoint(-1, -1));
    return false;
  }
  return true;
}

void TDumpActions::LoadDumpClick() {
  TFileDialogArgs args;
  args.Title = QtText("Load memory dump");
  args.Folder = ToQString(DefaultFolder ? DefaultFolder() : std::string());
  args.Filter = DumpFilter();
  QStringList files;
  if (!Dialogs().OpenFiles(args, files, FWindow) || files.isEmpty()) return;
  OpenDump(files.front().toStdString());
}

bool TDumpActions::OpenDump(const std::string& AFileName) {
  RecordUndo(ucLoadDump);
  if (!LoadDump(AFileName, false)) {
    FController.DropUndo();
    return false;  // nothing changes, the caption included
  }
  // Another program: the symbols kept beside its dump, or none.
  FController.SetSymbols(LoadSymbolsBeside(AFileName).Symbols);
  DumpName = AFileName;
  SetCaptionKind(ckDumpLoaded);
  itmReload->setEnabled(true);
  return true;
}

void TDumpActions::ReloadClick() {
  if (DumpName.empty()) return;
  RecordUndo(ucLoadDump);
  FController.Machine().ResetCpu();
  if (LoadDump(DumpName, true)) SetCaptionKind(ckDumpLoaded);
}

void TDumpActions::SaveDumpClick() {
  TFileDialogArgs args;
  args.Title = QtText("Save memory dump");
  args.Folder = ToQString(Folder(DumpName));
  args.DefaultExt = "dmp";
  args.Filter = DumpFilter();
  QString file;
  if (!Dialogs().SaveFile(args, file, FWindow) || file.isEmpty()) return;
  const std::string name = file.toStdString();
  if (FDevices.ClashesWithReader(name)) return;
  if (!SaveDump(name)) return;
  DumpName = name;
  SetCaptionKind(ckDumpLoaded);
  itmReload->setEnabled(true);
}

void TDumpActions::ClearMemoryClick() {
  RecordUndo(ucClearMemory);
  SetCaptionKind(ckPlain);
  itmReload->setEnabled(false);
  FController.Machine().ClearMemory();
  FController.ClearSymbols();
  DumpName.clear();
}

void TDumpActions::SaveProgramClick() {
  auto [first, last] = FMemory.sgMemory->SelectionRange();
  TNumMode mode = FNumFormat;
  int columns = lcAddress | lcContents | lcDisassembly;
  TWritePrgDialog& dialog = WritePrgDialog();
  const QPoint at = ListingAnchor ? BelowRight(ListingAnchor) - QPoint(dialog.sizeHint().width(), 0) : MousePos();
  if (!dialog.Execute(at, mode, first, last, columns)) return;
  TFileDialogArgs args;
  args.Title = QtText("Write program");
  args.Folder = ToQString(Folder(ListName));
  args.DefaultExt = "lst";
  args.Filter = QtText("Source listing") + "|*.lst|" + QtText("all") + "|*.*";
  args.FileName = DumpName.empty() ? QString() : ToQString(RemoveFileExtension(ExtractFileName(DumpName)));
  QString file;
  if (!Dialogs().SaveFile(args, file, FWindow) || file.isEmpty()) return;
  const std::string name = file.toStdString();
  if (FDevices.ClashesWithReader(name)) return;
  ListName = name;
  std::string error;
  TNovaMachine& m = FController.Machine();
  if (!WriteListing(name, first, last, mode, columns, FNumFormat, [&m](int a) { return m.ReadMemory(TWord(a)); },
                    error))
    emit ErrorReported(ToQString(error), QPoint(-1, -1));
}
