// TMainForm: memory dumps, the auto-saved image, program listings and the memory size.
#include <QAction>
#include <QGroupBox>

#include "DeviceTabs.h"
#include "DialogService.h"
#include "InpValue.h"
#include "Listing.h"
#include "MachineController.h"
#include "MainForm.h"
#include "SymbolFiles.h"
#include "MemoryModel.h"
#include "MemoryPanel.h"
#include "MessageBoxes.h"
#include "NumberEd.h"
#include "PathUtils.h"
#include "QtText.h"
#include "RegisterPanel.h"
#include "ScreenPlacement.h"
#include "WritePrgDlg.h"

bool TMainForm::LoadDump(const std::string& AFileName, bool AKeepBreakpoints) {
  TMachineError error;
  if (!FMachine->LoadDump(AFileName, AKeepBreakpoints, &error)) {
    ErrorBox(ToQString(ErrorText(error)), gbMemory->sgMemory->mapToGlobal(QPoint(20, 20)));
    return false;
  }
  gbMemory->ClearHistory();
  return true;
}

bool TMainForm::SaveDump(const std::string& AFileName) {
  TMachineError error;
  if (!FMachine->SaveDump(AFileName, &error)) {
    ErrorBox(ToQString(ErrorText(error)));
    return false;
  }
  return true;
}

void TMainForm::LoadDumpClick() {
  TFileDialogArgs args;
  args.Title = QtText("Load memory dump");
  args.Folder = ToQString(WorkPath);
  args.Filter = QtText("Memory dumps") + "|*.dmp|" + QtText("all") + "|*.*";
  QStringList files;
  if (!Dialogs().OpenFiles(args, files, this) || files.isEmpty()) return;
  OpenDump(files.front().toStdString());
}

bool TMainForm::OpenDump(const std::string& AFileName) {
  if (!LoadDump(AFileName, false)) return false;  // nothing changes, the caption included
  // Another program: the symbols kept beside its dump, or none.
  FController->SetSymbols(LoadSymbolsBeside(AFileName).Symbols);
  DumpName = AFileName;
  FCaptionKind = ckDumpLoaded;
  SetCaption();
  itmReload->setEnabled(true);
  return true;
}

void TMainForm::ReloadClick() {
  if (DumpName.empty()) return;
  FMachine->ResetCpu();
  if (LoadDump(DumpName, true)) {
    FCaptionKind = ckDumpLoaded;
    SetCaption();
  }
}

void TMainForm::SaveDumpClick() {
  TFileDialogArgs args;
  args.Title = QtText("Save memory dump");
  args.Folder = ToQString(DumpName.empty() ? WorkPath : ExtractFilePath(DumpName));
  args.DefaultExt = "dmp";
  args.Filter = QtText("Memory dumps") + "|*.dmp|" + QtText("all") + "|*.*";
  QString file;
  if (!Dialogs().SaveFile(args, file, this) || file.isEmpty()) return;
  const std::string name = file.toStdString();
  if (pcDevices->ClashesWithReader(name)) return;
  if (!SaveDump(name)) return;
  DumpName = name;
  FCaptionKind = ckDumpLoaded;
  SetCaption();
  itmReload->setEnabled(true);
}

void TMainForm::ClearMemoryClick() {
  FCaptionKind = ckPlain;
  SetCaption();
  itmReload->setEnabled(false);
  FMachine->ClearMemory();
  FController->ClearSymbols();
  DumpName.clear();
}

void TMainForm::SaveProgramClick() {
  auto [first, last] = gbMemory->sgMemory->SelectionRange();
  TNumMode mode = FNumFormat;
  int columns = lcAddress | lcContents | lcDisassembly;
  if (!WritePrgDialog().Execute(BelowRight(gbRegister->edPC) -
                                    QPoint(WritePrgDialog().sizeHint().width(), 0),
                                mode, first, last, columns))
    return;
  TFileDialogArgs args;
  args.Title = QtText("Write program");
  args.Folder = ToQString(ListName.empty() ? WorkPath : ExtractFilePath(ListName));
  args.DefaultExt = "lst";
  args.Filter = QtText("Source listing") + "|*.lst|" + QtText("all") + "|*.*";
  args.FileName = DumpName.empty() ? QString() : ToQString(RemoveFileExtension(ExtractFileName(DumpName)));
  QString file;
  if (!Dialogs().SaveFile(args, file, this) || file.isEmpty()) return;
  const std::string name = file.toStdString();
  if (pcDevices->ClashesWithReader(name)) return;
  ListName = name;
  std::string error;
  TNovaMachine& m = *FMachine;
  if (!WriteListing(name, first, last, mode, columns, FNumFormat, [&m](int a) { return m.ReadMemory(TWord(a)); },
                    error))
    ErrorBox(ToQString(error));
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
  SetMemSize(v);
}
