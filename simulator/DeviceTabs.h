// The device pages of the main window ("TTY Reader", "TTY Punch", "PTR", "PTP", "LPT").
// Attached to the controller, the pages follow the peripherals themselves (positions, attached
// files, printer lines, a reader's text choice) and act on their own buttons: they open, close
// and rewind the files through the peripherals' operations (DeviceFiles.cpp), with the file
// dialogs and confirmations of the dialog service. What goes wrong is handed out as
// ErrorReported; the window shows it.
#pragma once
#include <QPlainTextEdit>
#include <deque>
#include <string>
#include <QTabWidget>

#include "Console.h"
#include "NumberUtils.h"
#include "Peripherals.h"
#include "ReaderCombo.h"

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QMimeData;
class QRadioButton;
class QToolButton;
class TMachineController;
class TNumberEdit;

// The file dialog filter "Text files|*.txt;*.lst;...|" of the text file types (comma-separated).
QString TextFileFilter(const std::string& textFiles);
// The file dialog filter of binary tapes: "Binary files|*.bin;...|" with the absolute binary
// tapes' usual names.
QString BinaryFileFilter();

// Entries of a reader's file history.
inline constexpr int ReaderHistoryMax = 50;

struct TReaderPage {
  QWidget* Page;
  TReaderCombo* edFile;
  QToolButton* btOpen;
  QToolButton* btClose;
  QToolButton* btReset;
  QLineEdit* edTotal;
  QLineEdit* edPos;
  TNumberEdit* edByte;
  QRadioButton* rbBinFile;
  QRadioButton* rbTextFile;
  QLabel* lbLabel;  // "Label: ..." of a binary tape put in after its punched label; dots as tooltip
  QString Label;    // the label's text shown there
  QString Last;     // the list's text before it dropped down (empty once its tape is closed)
};

struct TOutputPage {
  QWidget* Page;
  QLineEdit* edFile;
  QToolButton* btOpen;
  QToolButton* btClose;
  QLineEdit* edPos;
  TNumberEdit* edByte;
};

class TDeviceTabs : public QTabWidget {
  Q_OBJECT
public:
  explicit TDeviceTabs(QWidget* parent = nullptr);
  void RetranslateUi();
  // The file dialogs start in the folder of the file shown, else in WorkPath (the window's
  // working directory, read at each dialog).
  void Attach(TMachineController& controller, const std::string& workPath);
  // "Byte:" of the PTR and PTP pages in the window's number format.
  void SetNumFormat(TNumMode mode);

  // ---- the file actions (the pages' buttons, the "&Input/Output" items, the devices' requests)
  // A device needs a file: the file dialog for it. Whether a file is attached now.
  bool SelectFile(TPeriphDevice dev);
  void ReaderOpenClick(TPeriphDevice dev);
  void ReaderCloseClick(TPeriphDevice dev);
  void ReaderResetClick(TPeriphDevice dev);
  void ReaderHistoryChosen(TPeriphDevice dev, const QString& entry);
  // A file dropped on a reader's tab or page: attached as if chosen in the file dialog.
  void ReaderFileDropped(TPeriphDevice dev, const QString& name);
  // Detaches the reader's file, after the close confirmation while its tape has not run out;
  // false when the user keeps it.
  bool DetachReaderFile(TPeriphDevice dev);
  void OutputOpenClick(TPeriphDevice dev);
  void OutputCloseClick(TPeriphDevice dev);
  bool AttachOutputFile(TPeriphDevice dev, const std::string& name);
  // Writing to the file a reader reads would truncate the tape being read: true (with
  // "Error opening file:" reported) when a reader has that file.
  bool ClashesWithReader(const std::string& name);

  TReaderPage Ttr{}, Ptr{};
  TOutputPage Ttp{}, Ptp{};
  QWidget* LptPage;
  QLineEdit* edLpt;
  QToolButton* btLptOpen;
  QToolButton* btLptClose;
  QPlainTextEdit* mmLpt;

  TReaderPage& Reader(int dev);
  TOutputPage* Output(int dev);  // TTY punch and PTP
  void ShowPosition(int dev, qint64 pos, int byte);
  // A reader's file was attached or detached: its size, text mode and label.
  void ShowAttachment(int dev);
  // The punched label the reader's tape was put in after (text empty: none); dots: its drawing.
  void ShowLabel(int dev, const QString& text, const QStringList& dots);
  // Printer lines for mmLpt (one block each, empty lines too), after clearing it when asked.
  void AddPrinterLines(const QStringList& lines, bool cleared);
  void ClearPrinter();

signals:
  // A message for the user ("Error opening file:", "File not found:").
  void ErrorReported(const QString& text);

protected:
  // A local file dragged over a reader's tab, or over the reader page shown, is attached there.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  // The reader (pdTtr, pdPtr) under a point of this widget, or -1.
  int ReaderAt(QPoint pos) const;
  static QString DroppedFile(const QMimeData* data);
  void BuildReader(TReaderPage& p, TPeriphDevice dev, const char* prefix);
  void BuildOutput(TOutputPage& p, TPeriphDevice dev, const char* prefix);
  TPeripherals& Peripherals() const;
  QString StartFolder(const QString& shown) const;
  bool SelectReader(TPeriphDevice dev);
  bool AttachReader(TPeriphDevice dev, const QString& name);
  // The file dialog of a punch or the printer; Cancelled tells a dialog left without a file.
  bool SelectOutput(TPeriphDevice dev, bool* cancelled = nullptr);
  // The printer's file dialog; left without a file, the printer prints on without one.
  bool SelectPrinter();
  // The punches and the printer write into their files as they go: two of them on one file
  // would punch into each other's tape.
  bool ClashesWithOutput(TPeriphDevice dev, const std::string& name);
  QLineEdit* OutputName(TPeriphDevice dev);

  bool FLptEmpty = true;
  TMachineController* FController = nullptr;
  const std::string* FWorkPath = nullptr;
};
