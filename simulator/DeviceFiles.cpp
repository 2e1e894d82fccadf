// TDeviceTabs: the files of the readers, punches and printer. The pages' buttons, the
// "&Input/Output" items and a device that needs a file come here; the peripherals' operations
// attach, detach and rewind, and the pages show what the peripherals then tell.
#include <QFileInfo>
#include <QLineEdit>
#include <QToolButton>

#include "DeviceTabs.h"
#include "DialogService.h"
#include "FileIdentity.h"
#include "HistoryCombo.h"
#include "MachineController.h"
#include "MessageBoxes.h"
#include "PathUtils.h"
#include "QtText.h"
#include "ScreenPlacement.h"

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

QString TDeviceTabs::StartFolder(const QString& shown) const {
  const std::string& workPath = FWorkPath ? *FWorkPath : std::string();
  const std::string name = shown.toStdString();
  const std::string folder = name.empty() ? workPath : ExtractFilePath(name);
  return ToQString(folder.empty() ? workPath : folder);
}

QLineEdit* TDeviceTabs::OutputName(TPeriphDevice dev) { return dev == pdLpt ? edLpt : Output(dev)->edFile; }

bool TDeviceTabs::ClashesWithReader(const std::string& name) {
  for (TPeriphDevice d : {pdTtr, pdPtr}) {
    if (TInputStream* f = Peripherals().InputFile(d); f && IsSameFile(f->FName, name)) {
      emit ErrorReported(QtText("Error opening file:") + "\r\n" + ToQString(name));
      return true;
    }
  }
  return false;
}

bool TDeviceTabs::ClashesWithOutput(TPeriphDevice dev, const std::string& name) {
  for (TPeriphDevice d : {pdTtp, pdPtp, pdLpt}) {
    const TReplacingFile* f = Peripherals().OutputFile(d);
    if (d != dev && f->IsOpen() && IsSameFile(f->Name(), name)) {
      emit ErrorReported(QtText("Error opening file:") + "\r\n" + ToQString(name));
      return true;
    }
  }
  return false;
}

bool TDeviceTabs::SelectFile(TPeriphDevice dev) {
  switch (dev) {
    case pdTtr:
    case pdPtr: return SelectReader(dev);
    case pdTtp:
    case pdPtp: return SelectOutput(dev);
    case pdLpt: return !Peripherals().LptDeclined && SelectPrinter();
  }
  return false;
}

bool TDeviceTabs::SelectPrinter() {
  bool cancelled = false;
  const bool ok = SelectOutput(pdLpt, &cancelled);
  // Printing goes on without a file; no new dialog until the next run or a printer file.
  if (cancelled) Peripherals().SetLptDeclined(true);
  return ok;
}

bool TDeviceTabs::SelectReader(TPeriphDevice dev) {
  const QString all = QtText("all") + "|*.*";
  const std::string& types = Peripherals().TextFiles;
  TFileDialogArgs args;
  if (dev == pdTtr) {
    args.Title = QtText("TTY reader input from file");
    args.Filter = TextFileFilter(types) + BinaryFileFilter() + all;
  } else {
    args.Title = QtText("PTR input from file");
    args.Filter = BinaryFileFilter() + TextFileFilter(types) + all;
  }
  args.Folder = StartFolder(Reader(dev).edFile->currentText());
  QStringList files;
  if (!Dialogs().OpenFiles(args, files, window()) || files.isEmpty()) return false;
  return AttachReader(dev, files.front());
}

bool TDeviceTabs::AttachReader(TPeriphDevice dev, const QString& name) {
  TReaderPage& page = Reader(dev);
  if (!Peripherals().OpenInput(dev, name.toStdString())) {
    page.edFile->setCurrentIndex(-1);
    return false;
  }
  AddToHistory(page.edFile, name);
  page.edFile->setCurrentIndex(page.edFile->findText(name));
  page.Last = name;
  return true;
}

bool TDeviceTabs::SelectOutput(TPeriphDevice dev, bool* cancelled) {
  QLineEdit* edName = OutputName(dev);
  TFileDialogArgs args;
  args.Title = dev == pdTtp   ? QtText("TTY punch output to file")
               : dev == pdPtp ? QtText("PTP output to file")
                              : QtText("LPT output to file");
  args.Filter = QtText("all") + "|*.*";
  args.Folder = StartFolder(edName->text());
  args.FileName = ToQString(ExtractFileName(edName->text().toStdString()));
  args.DefaultExt = dev == pdLpt ? "lst" : "bin";
  QString file;
  if (!Dialogs().SaveFile(args, file, window()) || file.isEmpty()) {
    if (cancelled) *cancelled = true;
    return false;
  }
  return AttachOutputFile(dev, file.toStdString());
}

bool TDeviceTabs::AttachOutputFile(TPeriphDevice dev, const std::string& name) {
  QLineEdit* edName = OutputName(dev);
  if (ClashesWithReader(name) || ClashesWithOutput(dev, name) || !Peripherals().AttachOutput(dev, name)) {
    edName->clear();
    if (dev == pdLpt) {
      Peripherals().ClearPrinter();
      ClearPrinter();
    }
    return false;
  }
  edName->setText(ToQString(name));
  if (TOutputPage* p = Output(dev)) p->edPos->setText("0");
  return true;
}

bool TDeviceTabs::DetachReaderFile(TPeriphDevice dev) {
  TReaderPage& page = Reader(dev);
  if (TInputStream* f = Peripherals().InputFile(dev)) {
    if (!f->RunOut()) {
      const QString q = dev == pdTtr ? QtText("Close TTY reader file:\r\n%s?") : QtText("Close PTR input file:\r\n%s?");
      if (!ConfirmMsg(QSafeFormat(q, ToQString(f->FName)), TopRight(page.btOpen), QString(), window())) return false;
    }
    Peripherals().DetachInput(dev);
  }
  return true;
}

void TDeviceTabs::ReaderOpenClick(TPeriphDevice dev) {
  if (!DetachReaderFile(dev)) return;
  if (!SelectReader(dev)) Reader(dev).edFile->setCurrentIndex(-1);
}

void TDeviceTabs::ReaderCloseClick(TPeriphDevice dev) {
  Peripherals().RunOutInput(dev);
  // The list shows no tape now, so choosing the same one again attaches it afresh.
  TReaderPage& page = Reader(dev);
  page.edFile->setCurrentIndex(-1);
  page.Last.clear();
}

void TDeviceTabs::ReaderResetClick(TPeriphDevice dev) { Peripherals().ResetInput(dev); }

void TDeviceTabs::ReaderHistoryChosen(TPeriphDevice dev, const QString& entry) {
  TReaderPage& page = Reader(dev);
  if (entry.compare(page.Last, Qt::CaseInsensitive) == 0 && Peripherals().InputFile(dev)) return;
  if (!DetachReaderFile(dev)) {
    page.edFile->setCurrentIndex(page.edFile->findText(page.Last));
    return;
  }
  if (!QFileInfo::exists(entry)) {
    emit ErrorReported(QtText("File not found:") + "\r\n" + entry);
    page.edFile->setCurrentIndex(-1);
    return;
  }
  if (Peripherals().OpenInput(dev, entry.toStdString())) {
    page.Last = entry;
  } else {
    page.edFile->setCurrentIndex(-1);
  }
}

void TDeviceTabs::ReaderFileDropped(TPeriphDevice dev, const QString& name) {
  TReaderPage& page = Reader(dev);
  setCurrentWidget(page.Page);
  if (!DetachReaderFile(dev)) return;
  if (!AttachReader(dev, name)) page.edFile->setCurrentIndex(-1);
}

void TDeviceTabs::OutputOpenClick(TPeriphDevice dev) {
  TReplacingFile* file = Peripherals().OutputFile(dev);
  QToolButton* button = dev == pdLpt ? btLptOpen : Output(dev)->btOpen;
  if (file && file->IsOpen()) {
    const QString q = dev == pdTtp   ? QtText("Close TTY punch output file:\r\n%s?")
                      : dev == pdPtp ? QtText("Close PTP output file:\r\n%s?")
                                     : QtText("Close LPT output file:\r\n%s?");
    if (!ConfirmMsg(QSafeFormat(q, OutputName(dev)->text()), TopRight(button), QString(), window())) return;
    Peripherals().CloseOutput(dev);
  }
  if (file && file->IsOpen()) return;
  if (dev == pdLpt)
    SelectPrinter();
  else
    SelectOutput(dev);
}

void TDeviceTabs::OutputCloseClick(TPeriphDevice dev) {
  TReplacingFile* file = Peripherals().OutputFile(dev);
  if (dev == pdLpt) {
    if (file && file->IsOpen()) Peripherals().CloseOutput(dev);
    ClearPrinter();
    Peripherals().SetLptDeclined(false);
    return;
  }
  if (!file || !file->IsOpen()) return;
  TOutputPage* p = Output(dev);
  const QString q = dev == pdTtp ? QtText("Close TTY punch output file:\r\n%s?") : QtText("Close PTP output file:\r\n%s?");
  if (!ConfirmMsg(QSafeFormat(q, p->edFile->text()), TopRight(p->btClose), QString(), window())) return;
  if (!Peripherals().CloseOutput(dev)) return;
  p->edFile->clear();
  p->edPos->setText("0");
}
