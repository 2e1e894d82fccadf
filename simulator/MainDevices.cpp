// TMainForm: the files of the readers, punches and printer, the teletype switches and console,
// and the text file types.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include "DeviceTabs.h"
#include "DialogService.h"
#include "FileIdentity.h"
#include "HistoryCombo.h"
#include "MachineController.h"
#include "MainForm.h"
#include "MessageBoxes.h"
#include "NumberEd.h"
#include "PathUtils.h"
#include "QtText.h"
#include "ScreenPlacement.h"

namespace {
QString StartFolder(const std::string& name, const std::string& workPath) {
  const std::string folder = name.empty() ? workPath : ExtractFilePath(name);
  return ToQString(folder.empty() ? workPath : folder);
}
}  // namespace

std::string TMainForm::TextFiles() const { return FPeripherals->TextFiles; }


bool TMainForm::OutputClashesWithReader(const std::string& name) {
  // Writing to the file a reader reads would truncate the tape being read.
  for (TPeriphDevice d : {pdTtr, pdPtr}) {
    if (TInputStream* f = FPeripherals->InputFile(d); f && IsSameFile(f->FName, name)) {
      ErrorBox(QtText("Error opening file:") + "\r\n" + ToQString(name));
      return true;
    }
  }
  return false;
}

bool TMainForm::SelectDeviceFile(TPeriphDevice dev) {
  switch (dev) {
    case pdTtr: return SelectTtrFile();
    case pdPtr: return SelectPtrFile();
    case pdTtp: return SelectTtpFile();
    case pdPtp: return SelectPtpFile();
    case pdLpt:
      if (FPeripherals->LptDeclined) return false;
      return SelectLptFile();
  }
  return false;
}

QString BinaryFileFilter() { return QtText("Binary files") + "|*.bin;*.BIN;*.ab;*.AB;*.tap;*.TAP|"; }

QString TextFileFilter(const std::string& textFiles) {
  QString filter = QtText("Text files") + "|";
  bool first = true;
  for (const QString& ext : ToQString(textFiles).split(',', Qt::SkipEmptyParts)) {
    filter += (first ? "*." : ";*.") + ext;
    first = false;
  }
  return filter + "|";
}

static bool AttachReader(TMainForm& form, TPeriphDevice dev, TReaderPage& page, const QString& name);

static bool SelectReader(TMainForm& form, TPeriphDevice dev, TReaderPage& page, const QString& title,
                         const QString& filter) {
  TFileDialogArgs args;
  args.Title = title;
  args.Filter = filter;
  args.Folder = StartFolder(page.edFile->currentText().toStdString(), form.WorkPath);
  QStringList files;
  if (!Dialogs().OpenFiles(args, files, &form) || files.isEmpty()) return false;
  return AttachReader(form, dev, page, files.front());
}

static bool AttachReader(TMainForm& form, TPeriphDevice dev, TReaderPage& page, const QString& name) {
  if (!form.Peripherals().OpenInput(dev, name.toStdString())) {
    page.edFile->setCurrentIndex(-1);
    return false;
  }
  AddToHistory(page.edFile, name);
  page.edFile->setCurrentIndex(page.edFile->findText(name));
  page.Last = name;
  return true;
}

bool TMainForm::SelectTtrFile() {
  const QString all = QtText("all") + "|*.*";
  return SelectReader(*this, pdTtr, pcDevices->Ttr, QtText("TTY reader input from file"),
                      TextFileFilter(TextFiles()) + BinaryFileFilter() + all);
}

bool TMainForm::SelectPtrFile() {
  const QString all = QtText("all") + "|*.*";
  return SelectReader(*this, pdPtr, pcDevices->Ptr, QtText("PTR input from file"),
                      BinaryFileFilter() + TextFileFilter(TextFiles()) + all);
}

static bool SelectOutput(TMainForm& form, TPeriphDevice dev, QLineEdit* edName, const QString& title,
                         const QString& ext, bool* cancelled = nullptr) {
  TFileDialogArgs args;
  args.Title = title;
  args.Filter = QtText("all") + "|*.*";
  args.Folder = StartFolder(edName->text().toStdString(), form.WorkPath);
  args.FileName = ToQString(ExtractFileName(edName->text().toStdString()));
  args.DefaultExt = ext;
  QString file;
  if (!Dialogs().SaveFile(args, file, &form) || file.isEmpty()) {
    if (cancelled) *cancelled = true;
    return false;
  }
  return form.AttachOutputFile(dev, file.toStdString());
}

// The punches and the printer write into their files as they go: two of them on one file would
// punch into each other's tape.
bool TMainForm::OutputClashesWithOutput(TPeriphDevice dev, const std::string& name) {
  for (TPeriphDevice d : {pdTtp, pdPtp, pdLpt}) {
    const TReplacingFile* f = FPeripherals->OutputFile(d);
    if (d != dev && f->IsOpen() && IsSameFile(f->Name(), name)) {
      ErrorBox(QtText("Error opening file:") + "\r\n" + ToQString(name));
      return true;
    }
  }
  return false;
}

bool TMainForm::AttachOutputFile(TPeriphDevice dev, const std::string& name) {
  QLineEdit* edName = dev == pdLpt ? pcDevices->edLpt : pcDevices->Output(dev)->edFile;
  if (OutputClashesWithReader(name) || OutputClashesWithOutput(dev, name) || !FPeripherals->AttachOutput(dev, name)) {
    edName->clear();
    if (dev == pdLpt) {
      FPeripherals->LptLine.clear();
      pcDevices->ClearPrinter();
    }
    return false;
  }
  edName->setText(ToQString(name));
  if (TOutputPage* p = pcDevices->Output(dev)) p->edPos->setText("0");
  if (dev == pdLpt) FPeripherals->LptDeclined = false;
  return true;
}

bool TMainForm::SelectTtpFile() { return SelectOutput(*this, pdTtp, pcDevices->Ttp.edFile, QtText("TTY punch output to file"), "bin"); }

bool TMainForm::SelectPtpFile() { return SelectOutput(*this, pdPtp, pcDevices->Ptp.edFile, QtText("PTP output to file"), "bin"); }

bool TMainForm::SelectLptFile() {
  bool cancelled = false;
  const bool ok = SelectOutput(*this, pdLpt, pcDevices->edLpt, QtText("LPT output to file"), "lst", &cancelled);
  // Printing goes on without a file; no new dialog until the next run or a printer file.
  if (cancelled) FPeripherals->LptDeclined = true;
  return ok;
}

bool TMainForm::DetachReaderFile(TPeriphDevice dev) {
  TReaderPage& page = pcDevices->Reader(dev);
  if (TInputStream* f = FPeripherals->InputFile(dev)) {
    if (!f->RunOut()) {
      const QString q = dev == pdTtr ? QtText("Close TTY reader file:\r\n%s?") : QtText("Close PTR input file:\r\n%s?");
      if (!ConfirmMsg(QSafeFormat(q, ToQString(f->FName)), TopRight(page.btOpen), QString(), this)) return false;
    }
    FPeripherals->DetachInput(dev);
  }
  return true;
}

void TMainForm::ReaderOpenClick(TPeriphDevice dev) {
  TReaderPage& page = pcDevices->Reader(dev);
  if (!DetachReaderFile(dev)) return;
  const bool ok = dev == pdTtr ? SelectTtrFile() : SelectPtrFile();
  if (!ok) page.edFile->setCurrentIndex(-1);
}

void TMainForm::ReaderCloseClick(TPeriphDevice dev) {
  FPeripherals->RunOutInput(dev);
  // The list shows no tape now, so choosing the same one again attaches it afresh.
  TReaderPage& page = pcDevices->Reader(dev);
  page.edFile->setCurrentIndex(-1);
  page.Last.clear();
}

void TMainForm::ReaderResetClick(TPeriphDevice dev) { FPeripherals->ResetInput(dev); }

void TMainForm::ReaderHistoryChosen(TPeriphDevice dev, const QString& entry) {
  TReaderPage& page = pcDevices->Reader(dev);
  if (entry.compare(page.Last, Qt::CaseInsensitive) == 0 && FPeripherals->InputFile(dev)) return;
  if (!DetachReaderFile(dev)) {
    page.edFile->setCurrentIndex(page.edFile->findText(page.Last));
    return;
  }
  if (!QFileInfo::exists(entry)) {
    ErrorBox(QtText("File not found:") + "\r\n" + entry);
    page.edFile->setCurrentIndex(-1);
    return;
  }
  if (FPeripherals->OpenInput(dev, entry.toStdString())) {
    page.Last = entry;
  } else {
    page.edFile->setCurrentIndex(-1);
  }
}

void TMainForm::ReaderFileDropped(TPeriphDevice dev, const QString& name) {
  TReaderPage& page = pcDevices->Reader(dev);
  pcDevices->setCurrentWidget(page.Page);
  if (!DetachReaderFile(dev)) return;
  if (!AttachReader(*this, dev, page, name)) page.edFile->setCurrentIndex(-1);
}

void TMainForm::OutputOpenClick(TPeriphDevice dev) {
  TReplacingFile* file = FPeripherals->OutputFile(dev);
  QToolButton* button = dev == pdLpt ? pcDevices->btLptOpen : pcDevices->Output(dev)->btOpen;
  QLineEdit* edName = dev == pdLpt ? pcDevices->edLpt : pcDevices->Output(dev)->edFile;
  if (file && file->IsOpen()) {
    const QString q = dev == pdTtp   ? QtText("Close TTY punch output file:\r\n%s?")
                      : dev == pdPtp ? QtText("Close PTP output file:\r\n%s?")
                                     : QtText("Close LPT output file:\r\n%s?");
    if (!ConfirmMsg(QSafeFormat(q, edName->text()), TopRight(button), QString(), this)) return;
    FPeripherals->CloseOutput(dev);
  }
  if (file && file->IsOpen()) return;
  if (dev == pdTtp)
    SelectTtpFile();
  else if (dev == pdPtp)
    SelectPtpFile();
  else
    SelectLptFile();
}

void TMainForm::OutputCloseClick(TPeriphDevice dev) {
  TReplacingFile* file = FPeripherals->OutputFile(dev);
  if (dev == pdLpt) {
    if (file && file->IsOpen()) FPeripherals->CloseOutput(dev);
    pcDevices->ClearPrinter();
    FPeripherals->LptDeclined = false;
    return;
  }
  if (!file || !file->IsOpen()) return;
  TOutputPage* p = pcDevices->Output(dev);
  const QString q = dev == pdTtp ? QtText("Close TTY punch output file:\r\n%s?") : QtText("Close PTP output file:\r\n%s?");
  if (!ConfirmMsg(QSafeFormat(q, p->edFile->text()), TopRight(p->btClose), QString(), this)) return;
  if (!FPeripherals->CloseOutput(dev)) return;
  p->edFile->clear();
  p->edPos->setText("0");
}

void TMainForm::TtyReaderSwitch(bool on) {
  if (on) pcDevices->setCurrentWidget(pcDevices->Ttr.Page);
  const bool now = FPeripherals->SetTeletypeReader(on);
  tswTTReader->setChecked(now);
  ShowTeletypeSwitches();
}

void TMainForm::TtyPunchSwitch(bool on) {
  if (on) pcDevices->setCurrentWidget(pcDevices->Ttp.Page);
  FPeripherals->TtyPunch = on;
  ShowTeletypeSwitches();
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
  FPeripherals->TextFiles = NormalizeTextFiles(text);
}
