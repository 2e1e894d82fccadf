// The "Register" group of the main window: PC, current instruction, effective address, the
// interrupt and run lamps, carry, skip arrow and the four accumulators, each number field with
// its "B" (bytes) box. Once attached to the controller it shows the registers whenever they, the
// word at PC or the run state change, and a click on a field edits that register through the
// core's operations. "Goto PC" shows PC in the grid (through the navigator), "Watch memory
// location" watches the effective address, and hovering over ADR shows the word there and its
// command in a hint window.
#pragma once
#include <QGroupBox>
#include <QTimer>
#include <array>

#include "NumberUtils.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;
class TArrowIndicator;
class TMachineController;
class TNavigator;
class TNumberEdit;
class TSpotIndicator;

// aiRun: a small rotating sector that turns while the machine runs (a frame each 200 ms).
class TActivityIndicator : public QWidget {
  Q_OBJECT
public:
  explicit TActivityIndicator(QWidget* parent = nullptr);
  bool Animate() const { return FTimer.isActive(); }
  void SetAnimate(bool on);
  int Frame() const { return FFrame; }
  QSize sizeHint() const override { return QSize(16, 16); }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QTimer FTimer;
  int FFrame = 0;
};

class TRegisterPanel : public QGroupBox {
  Q_OBJECT
public:
  explicit TRegisterPanel(QWidget* parent = nullptr);
  void RetranslateUi();

  void Attach(TMachineController& controller, TNavigator& navigator);
  // The number fields in this base (the shown values stay; an empty field stays empty).
  void SetNumFormat(TNumMode mode);
  // The registers, the word at PC with its command, the effective address and the skip arrow,
  // the interrupt and run lamps from the machine now.
  void ShowRegisters();
  // Greyed fields and the turning sector while the machine runs.
  void ShowRunState();
  // The value (or command) dialog of the field; the register is set through the controller.
  void EditField(QWidget* field);
  // "Watch memory location": the effective address joins the watch list.
  void AddWatchClick();
  // The ADR hover: the word at the effective address and its disassembly in a hint window.
  void ShowAdrHint(bool show);
  // The window became active or inactive: the hint hides, or takes the fonts and the system's
  // hint colours of the moment.
  void WindowActivation(bool active);
  QLabel* HintWin = nullptr;

  TNumberEdit* edPC;
  QToolButton* btPC;
  TNumberEdit* edCmd;
  QLineEdit* edCommand;
  TNumberEdit* edAdr;
  QToolButton* btAddWatch;
  TSpotIndicator* siIntEn;
  TSpotIndicator* siIrq;
  TSpotIndicator* siRun;
  TActivityIndicator* aiRun;
  TNumberEdit* edCarry;
  TArrowIndicator* aiSkip;
  std::array<TNumberEdit*, 4> edAC;
  QCheckBox* cbPC;
  QCheckBox* cbCmd;
  std::array<QCheckBox*, 4> cbAC;

signals:
  // A click on a register field (or Enter in the carry and accumulator fields).
  void FieldClicked(QWidget* field);
  void AdrHover(bool over);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

private:
  QLabel* FLabels[8];
  QLabel* FAcLabels[4];
  TMachineController* FController = nullptr;
  TNavigator* FNavigator = nullptr;
  TNumMode FNumFormat = nmOctal;
};

// A read-only 16-bit number field in the register font.
TNumberEdit* MakeRegisterEdit(QWidget* parent, const char* name, int bits = 16);
