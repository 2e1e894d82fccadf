// The "Program memory" group of the main window (gbMemory): the column headers, the address
// history's back and forward buttons, the memory grid sgMemory and its context menu pmMemory.
// It owns what the grid's clicks and menu items do: the value and command dialogs of a cell,
// Set PC, Seek and Goto address, breakpoints and watches on the selected word, Break on write and
// read, and Run to here (asked of the window's run commands through RunToWanted). The selected row
// follows PC on every change of the registers or of the word at PC; a PC outside memory is told
// once until ReportRangeAgain. Changes go through the controller's operations; messages leave as
// ErrorReported.
#pragma once
#include <QGroupBox>
#include <QPoint>
#include <array>

#include "NovaMachine.h"
#include "NumberUtils.h"

class QAction;
class QLabel;
class QMenu;
class QToolButton;
class TMachineController;
class TMemoryView;
class TNavigator;

class TMemoryPanel : public QGroupBox {
  Q_OBJECT
public:
  TMemoryPanel(TMachineController& controller, TNavigator& navigator, QWidget* parent = nullptr);
  void RetranslateUi();
  // The grid and the cell dialogs in this base.
  void SetNumFormat(TNumMode mode);
  // "Program memory (n words = size)".
  QString Caption() const;

  // The grid's row follows PC (with a line of context below it); PC outside memory is reported.
  void FollowPC();
  // The next PC outside memory is reported again (a new run, a new stop).
  void ReportRangeAgain() { FRangeReported = false; }
  // Selects the address (nothing outside memory).
  void ShowAddress(int addr);
  // Selects the row and scrolls it to the middle of the grid where the memory allows.
  void CenterRow(int row);
  // The memory step buttons: the selection moves by delta rows.
  void MoveSelection(int delta);

  // ---- the address history (back and forward)
  void PushAddress(int row);
  void ClearHistory();
  void btLastClick();
  void btNextClick();
  std::array<int, 64> MemStack{};
  int MemStackPtr = 0;
  int MemStackCnt = 0;
  // The last click was in the contents column (Seek address takes the word as the address).
  bool ContentsCol = false;

  // ---- the grid's clicks and menu items
  void CellPressed(Qt::MouseButton button, int row, int column, QPoint globalPos, int rowBefore);
  void CellActivated(int row, int column);
  void SetPCClick();
  void SeekAddressClick();
  void GotoAddressClick();
  void ToggleBreakpointClick();
  void WatchLocationClick();
  // "Break on write" and "Break on read": a breakpoint of the kind on the selected word, or off
  // again when the word has one.
  void BreakOnClick(TBreakKind kind);
  // "Run to here": a run that stops at the selected word.
  void RunToHereClick();

  TMemoryView* sgMemory;
  QLabel* FHeader[4];
  QToolButton* btLast;
  QToolButton* btNext;
  QMenu* pmMemory;
  QAction* itmSetPC;
  QAction* itmEditContents;
  QAction* itmSeekAddress;
  QAction* itmGotoAddress;
  QAction* itmToggleBreakpoint;
  QAction* itmWatchLocationPm;
  QAction* itmBreakOnWrite;
  QAction* itmBreakOnRead;
  QAction* itmRunToHere;
  QAction* itmCancel;

signals:
  void ErrorReported(const QString& text, QPoint at);
  void RunToWanted(TWord addr);

private:
  // The menu's breakpoint items checked for the word (before the menu shows).
  void ShowBreakItems(int row);
  void ShowOutOfRange();

  TMachineController& FController;
  TNovaMachine& FMachine;
  TNavigator& FNavigator;
  TNumMode FNumFormat = nmOctal;
  bool FRangeReported = false;  // "Address out of range" shown since the last stop
};
