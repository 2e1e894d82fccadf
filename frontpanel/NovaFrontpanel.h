// TNovaFrontpanel ("Nova-Frontpanel"): the operator's console of the machine, a fixed-size
// window of lamps and switches. It owns no machine state: the main window pushes the values the
// lamps show (Run, Address, Carry, Data, Switches) and is told of every switch action, the data
// switches as the whole switch word and the command switches as TNovaCommands codes.
#pragma once
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "PanelCommands.h"

class QLabel;
class TBiMomSwitch3D;
class TLamp3D;
class TSwitch3D;


using TGetWordProc = std::function<void(std::uint16_t Value)>;
using TGetCommandProc = std::function<void(QObject* Sender, TNovaCommands Command)>;

// One of the three stacked panels: its colour, the bevels and its drawing surface.
class TPanelSurface : public QWidget {
  Q_OBJECT
public:
  TPanelSurface(const QPixmap& picture, QWidget* parent);
  const QPixmap& Picture() const { return FPicture; }
  std::function<void(QPoint)> OnPress;  // a mouse press, in surface coordinates

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

private:
  QPixmap FPicture;
};

class TNovaFrontpanel : public QWidget {
  Q_OBJECT
public:
  explicit TNovaFrontpanel(QWidget* parent = nullptr);
  ~TNovaFrontpanel() override;

  // The RUN lamp.
  bool Run() const;
  void SetRun(bool on);
  // The examine/deposit address, always within 0 .. 077777; the address lamps show its 15 bits.
  std::uint16_t Address() const { return FAddress; }
  void SetAddress(std::uint16_t value);
  void SetCarry(bool on);
  // The data lamps: lamp i shows bit i (bit 0 the most significant).
  void SetData(std::uint16_t value);
  // The switch word from the levers (switch 0 is the most significant bit).
  std::uint16_t Switches();
  // Sets the levers; nothing happens when the value is the one last set or read, and no event.
  void SetSwitches(std::uint16_t value);

  // When both are set: remembers them and moves the window to "Top" and "Left" of the section.
  // The position is written back when the panel is destroyed.
  void LoadFromIni(const std::string& iniName, const std::string& section);

  TGetWordProc OnChangeDataSwitch;
  TGetCommandProc OnChangeCommandSwitch;
  std::function<void()> OnPowerOff;  // the power knob was pressed
  std::function<void()> OnClosed;    // closed by the window system: the panel is hidden now

  // The command a command switch sends when pushed up or down (-1: none).
  static int CommandOf(int switchIndex, bool up);

  std::array<TLamp3D*, 15> AddressLamps{};
  std::array<TLamp3D*, 16> DataLamps{};
  std::array<TSwitch3D*, 16> DataSwitches{};
  std::array<QLabel*, 16> DataLabels{};
  TLamp3D* CarryLamp;
  TLamp3D* RunLamp;
  TLamp3D* IOWLamp;
  TLamp3D* FetchLamp;
  TLamp3D* DeferLamp;
  TLamp3D* ExecuteLamp;
  TBiMomSwitch3D* Ac0Switch;
  TBiMomSwitch3D* Ac1Switch;
  TBiMomSwitch3D* Ac2Switch;
  TBiMomSwitch3D* Ac3Switch;
  TBiMomSwitch3D* ResetSwitch;
  TBiMomSwitch3D* StartSwitch;
  TBiMomSwitch3D* DepositSwitch;
  TBiMomSwitch3D* ExamineSwitch;
  TBiMomSwitch3D* StepSwitch;
  TBiMomSwitch3D* ProgSwitch;
  // The command switches left to right.
  std::array<TBiMomSwitch3D*, 10> CommandSwitches{};
  QWidget* UpperFrontPanel;
  QWidget* LowerFrontPanel;
  QWidget* BasePanel;
  TPanelSurface* UfpImage;
  TPanelSurface* LfpImage;
  TPanelSurface* BpImage;

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  TLamp3D* NewLamp(QWidget* parent, QPoint at);
  void DataSwitchClick();
  void Command(int switchIndex, bool up);

  std::uint16_t FAddress = 0;
  std::uint16_t FSwitches = 0;
  std::string FIniName;
  std::string FIniSection;
};
