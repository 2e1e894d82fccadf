// The speed of the machine: "&Preferences" > "Speed" ("Maximum", "Nova 800", "Instructions per
// second .." and the real-speed devices of Nova 800 mode), kept in "Config" as "Speed" (0
// maximum, 1 Nova 800, otherwise the rate) and "RealSpeedDevices" (the measured speed is the status
// line's, TStatusLine). And the front panel's "Live lamps", kept in "FrontPanel".
#include <QActionGroup>
#include <QLabel>
#include <QMenu>

#include "DialogService.h"
#include "Indicators.h"
#include "IniFile.h"
#include "MachineController.h"
#include "MainForm.h"
#include "QtText.h"
#include "ScreenPlacement.h"
#include "Throttle.h"

namespace {
constexpr const char* Config = "Config";
}  // namespace

void TMainForm::BuildSpeedMenu() {
  mnSpeed = mnPreferences->addMenu(QString());
  itmSpeedMaximum = mnSpeed->addAction(QString(), this, [this] { SpeedClick(speed::Maximum); });
  itmSpeedNova800 = mnSpeed->addAction(QString(), this, [this] { SpeedClick(speed::Nova800); });
  itmSpeedRate = mnSpeed->addAction(QString(), this, [this] { SpeedRateClick(); });
  FSpeedGroup = new QActionGroup(this);
  for (QAction* a : {itmSpeedMaximum, itmSpeedNova800, itmSpeedRate}) {
    a->setCheckable(true);
    FSpeedGroup->addAction(a);
  }
  mnSpeed->addSeparator();
  itmRealSpeedDevices = mnSpeed->addAction(QString());
  itmRealSpeedDevices->setCheckable(true);
  connect(itmRealSpeedDevices, &QAction::toggled, this, [this](bool on) { FMachine->SetRealSpeedDevices(on); });
  ShowSpeedMode();
}

void TMainForm::RetranslateSpeed() {
  mnSpeed->setTitle(QtText("Speed"));
  itmSpeedMaximum->setText(QtText("Maximum"));
  itmSpeedNova800->setText(QtText("Nova 800"));
  itmSpeedRate->setText(QtText("Instructions per second .."));
  itmRealSpeedDevices->setText(QtText("Devices at real speed (Nova 800)"));
  if (itmLiveLamps) itmLiveLamps->setText(QtText("Live lamps"));
}

void TMainForm::ShowSpeedMode() {
  const std::uint32_t s = FMachine->Speed();
  (s == speed::Maximum ? itmSpeedMaximum : s == speed::Nova800 ? itmSpeedNova800 : itmSpeedRate)->setChecked(true);
  itmSpeedRate->setToolTip(s > speed::Nova800 ? QString::number(s) : QString());
  itmRealSpeedDevices->setChecked(FMachine->RealSpeedDevices());
}

void TMainForm::SpeedClick(std::uint32_t speed) {
  FMachine->SetSpeed(speed);
  ShowSpeedMode();
}

void TMainForm::SpeedRateClick() {
  const std::uint32_t current = FMachine->Speed();
  QString text = QString::number(current > speed::Nova800 ? current : speed::MinRate);
  const QString range = QString::number(speed::MinRate) + " .. " + QString::number(speed::MaxRate);
  if (InputString(MousePos(), QtText("Speed"), QtText("Instructions per second:") + " (" + range + ")", text, this)) {
    bool ok = false;
    const qlonglong rate = text.trimmed().toLongLong(&ok);
    if (ok && rate >= speed::MinRate && rate <= speed::MaxRate) {
      FMachine->SetSpeed(std::uint32_t(rate));
    } else {
      ErrorBox(QtText("Instructions per second out of range:") + "\r\n" + range);
    }
  }
  ShowSpeedMode();  // a cancelled or refused rate leaves the speed as it was
}

void TMainForm::ReadSpeedSettings(const TIniFile& ini) {
  FMachine->SetSpeed(speed::Normalize(ini.ReadInteger(Config, "Speed", speed::Maximum)));
  FMachine->SetRealSpeedDevices(ini.ReadBool(Config, "RealSpeedDevices", true));
  ShowSpeedMode();
  if (itmLiveLamps) itmLiveLamps->setChecked(ini.ReadBool("FrontPanel", "LiveLamps", false));
}

void TMainForm::WriteSpeedSettings(TIniFile& ini) const {
  ini.WriteInteger(Config, "Speed", int(FMachine->Speed()));
  ini.WriteBool(Config, "RealSpeedDevices", FMachine->RealSpeedDevices());
  if (itmLiveLamps) ini.WriteBool("FrontPanel", "LiveLamps", FLiveLamps.On);
}

void TMainForm::SetUpLiveLamps(TNovaFrontpanel& panel) {
  itmLiveLamps = new QAction(QtText("Live lamps"), &panel);
  itmLiveLamps->setObjectName("itmLiveLamps");
  itmLiveLamps->setCheckable(true);
  panel.addAction(itmLiveLamps);
  panel.setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(itmLiveLamps, &QAction::toggled, this, [this](bool on) {
    FLiveLamps.On = on;
    if (!on) PushFrontPanel();
  });
  itmLiveLamps->setChecked(!FIniName.empty() && TIniFile(FIniName).ReadBool("FrontPanel", "LiveLamps", false));
  connect(FController, &TMachineController::OnRunningChanged, this, [this](bool on) {
    std::array<float, 15> address;
    std::array<float, 16> data;
    FLiveLamps.Take(address, data);  // samples of the run before
    if (on || !FFrontPanel) return;
    // Plain lamps again; the state after the run is pushed next.
    for (TLamp3D* lamp : FFrontPanel->AddressLamps) lamp->SetLightOn(lamp->LightOn());
    for (TLamp3D* lamp : FFrontPanel->DataLamps) lamp->SetLightOn(lamp->LightOn());
  });
}

void TMainForm::ShowLiveLamps() {
  if (!FLiveLamps.On || !FFrontPanel || !FFrontPanel->isVisible() || !FMachine->Running()) return;
  std::array<float, 15> address;
  std::array<float, 16> data;
  if (!FLiveLamps.Take(address, data)) return;
  for (std::size_t i = 0; i < address.size(); ++i) FFrontPanel->AddressLamps[i]->SetBrightness(address[i]);
  for (std::size_t i = 0; i < data.size(); ++i) FFrontPanel->DataLamps[i]->SetBrightness(data[i]);
}
