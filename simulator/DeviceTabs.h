// The device pages of the main window ("TTY Reader", "TTY Punch", "PTR", "PTP", "LPT") and the
// teletype console. Attached to the controller, the pages follow the peripherals themselves
// (positions, attached files, printer lines) and set a reader's text mode; the main window acts
// on their file buttons.
#pragma once
#include <QPlainTextEdit>
#include <deque>
#include <string>
#include <QTabWidget>

#include "Console.h"
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
  void Attach(TMachineController& controller);

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

private:
  bool FLptEmpty = true;
  TMachineController* FController = nullptr;

public:

signals:
  void ReaderOpen(int dev);
  void ReaderClose(int dev);
  void ReaderReset(int dev);
  void ReaderChosen(int dev, const QString& entry);
  void ReaderDropped(int dev, const QString& fileName);
  void OutputOpen(int dev);
  void OutputClose(int dev);

protected:
  // A local file dragged over a reader's tab, or over the reader page shown, is attached there.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  // The reader (pdTtr, pdPtr) under a point of this widget, or -1.
  int ReaderAt(QPoint pos) const;
  static QString DroppedFile(const QMimeData* data);
  void BuildReader(TReaderPage& p, int dev, const char* prefix);
  void BuildOutput(TOutputPage& p, int dev, const char* prefix);
};
