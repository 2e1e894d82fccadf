// The front panel window.
#include "NovaFrontpanel.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "IniFile.h"
#include "Indicators.h"
#include "PanelArt.h"
#include "ScreenPlacement.h"
#include "Switches.h"

using namespace fpArt;

namespace {
// A panel: its colour with a raised outer and a lowered inner bevel of 2 px each.
class TPanel : public QWidget {
public:
  TPanel(const QColor& colour, QWidget* parent) : QWidget(parent), FColour(colour) {}

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QColor light = FColour.lighter(160), dark = FColour.darker(200);
    p.fillRect(rect(), FColour);
    auto bevel = [&](QRect r, const QColor& topLeft, const QColor& bottomRight) {
      for (int i = 0; i < 2; ++i, r.adjust(1, 1, -1, -1)) {
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
      }
    };
    bevel(rect(), light, dark);
    bevel(rect().adjusted(2, 2, -2, -2), dark, light);
  }

private:
  QColor FColour;
};
}  // namespace

// ---- the drawing surface

TPanelSurface::TPanelSurface(const QPixmap& picture, QWidget* parent) : QWidget(parent), FPicture(picture) {
  setGeometry(SurfaceInset, SurfaceInset, picture.width(), picture.height());
}

void TPanelSurface::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, FPicture);
}

void TPanelSurface::mousePressEvent(QMouseEvent* event) {
  if (OnPress) OnPress(event->position().toPoint());
}

// ---- the panel

TNovaFrontpanel::TNovaFrontpanel(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("NovaFrontpanel");
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(QStringLiteral("Nova-Frontpanel"));
  setFont(LetterFont(11, false));
  setFixedSize(Width, Height);
  move(495, 583);

  UpperFrontPanel = new TPanel(UpperColor, this);
  UpperFrontPanel->setObjectName("UpperFrontPanel");
  UpperFrontPanel->setGeometry(0, 0, Width, UpperHeight);
  LowerFrontPanel = new TPanel(LowerColor, this);
  LowerFrontPanel->setObjectName("LowerFrontPanel");
  LowerFrontPanel->setGeometry(0, UpperHeight, Width, LowerHeight);
  BasePanel = new TPanel(BaseColor, this);
  BasePanel->setObjectName("BasePanel");
  BasePanel->setGeometry(0, UpperHeight + LowerHeight, Width, BaseHeight);
  UfpImage = new TPanelSurface(PaintUpperSurface(), UpperFrontPanel);
  LfpImage = new TPanelSurface(PaintLowerSurface(), LowerFrontPanel);
  BpImage = new TPanelSurface(PaintBaseSurface(), BasePanel);
  UfpImage->OnPress = [this](QPoint at) {
    if (OnPowerKnob(at) && OnPowerOff) OnPowerOff();
  };

  for (int i = 0; i < 15; ++i) AddressLamps[i] = NewLamp(UpperFrontPanel, QPoint(AddressLampLeft(i), AddressLampTop));
  for (int i = 0; i < 16; ++i) {
    const int left = DataLampLeft(i);
    DataLamps[i] = NewLamp(UpperFrontPanel, QPoint(left, DataLampTop));
    auto* sw = new TSwitch3D(UpperFrontPanel);
    sw->SetGlyphHeight(gh32);
    sw->move(left, DataSwitchTop);
    sw->OnUpClick = sw->OnDownClick = [this](QObject*) { DataSwitchClick(); };
    DataSwitches[i] = sw;
    auto* label = new QLabel(QString::number(i), UpperFrontPanel);
    label->setFont(LetterFont(Pt6, false));
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    label->setGeometry(left - 2, BitLabelTop, 20, 10);
    DataLabels[i] = label;
  }
  CarryLamp = NewLamp(UpperFrontPanel, CarryLampAt);
  RunLamp = NewLamp(UpperFrontPanel, StatusLampAt[0]);
  IOWLamp = NewLamp(UpperFrontPanel, StatusLampAt[1]);
  FetchLamp = NewLamp(UpperFrontPanel, StatusLampAt[2]);
  DeferLamp = NewLamp(UpperFrontPanel, StatusLampAt[3]);
  ExecuteLamp = NewLamp(UpperFrontPanel, StatusLampAt[4]);

  for (int i = 0; i < 10; ++i) {
    auto* sw = new TBiMomSwitch3D(LowerFrontPanel);
    sw->SetGlyphHeight(gh32);
    sw->move(CommandSwitchLeft[i], CommandSwitchTop);
    sw->OnUpClick = [this, i](QObject*) { Command(i, true); };
    sw->OnDownClick = [this, i](QObject*) { Command(i, false); };
    CommandSwitches[i] = sw;
  }
  Ac0Switch = CommandSwitches[0];
  Ac1Switch = CommandSwitches[1];
  Ac2Switch = CommandSwitches[2];
  Ac3Switch = CommandSwitches[3];
  ResetSwitch = CommandSwitches[4];
  StartSwitch = CommandSwitches[5];
  DepositSwitch = CommandSwitches[6];
  ExamineSwitch = CommandSwitches[7];
  StepSwitch = CommandSwitches[8];
  ProgSwitch = CommandSwitches[9];
  const char* names[10] = {"Ac0Switch",     "Ac1Switch",     "Ac2Switch", "Ac3Switch",   "ResetSwitch",
                           "StartSwitch",   "DepositSwitch", "ExamineSwitch", "StepSwitch", "ProgSwitch"};
  for (int i = 0; i < 10; ++i) CommandSwitches[i]->setObjectName(names[i]);
  FAddress = 0;
}

TNovaFrontpanel::~TNovaFrontpanel() {
  if (FIniName.empty() || FIniSection.empty()) return;
  TIniFile ini(FIniName);
  ini.WriteInteger(FIniSection, "Top", pos().y());
  ini.WriteInteger(FIniSection, "Left", pos().x());
  ini.UpdateFile();
}

TLamp3D* TNovaFrontpanel::NewLamp(QWidget* parent, QPoint at) {
  auto* lamp = new TLamp3D(parent);
  lamp->SetGlyphSize(gs16);
  lamp->SetLightOn(false);
  lamp->move(at);
  return lamp;
}

namespace {
void Light(TLamp3D* lamp, bool on) {
  if (lamp->LightOn() != on) lamp->SetLightOn(on);
}
}  // namespace

bool TNovaFrontpanel::Run() const { return RunLamp->LightOn(); }

void TNovaFrontpanel::SetRun(bool on) { Light(RunLamp, on); }

void TNovaFrontpanel::SetAddress(std::uint16_t value) {
  FAddress = value & 077777;
  for (int i = 0; i < 15; ++i) Light(AddressLamps[i], (FAddress >> (14 - i)) & 1);
}

void TNovaFrontpanel::SetCarry(bool on) { Light(CarryLamp, on); }

void TNovaFrontpanel::SetData(std::uint16_t value) {
  for (int i = 0; i < 16; ++i) Light(DataLamps[i], (value >> (15 - i)) & 1);
}

std::uint16_t TNovaFrontpanel::Switches() {
  std::uint16_t word = 0;
  for (int i = 0; i < 16; ++i)
    if (DataSwitches[i]->State() == ssOn) word |= std::uint16_t(1u << (15 - i));
  FSwitches = word;
  return word;
}

void TNovaFrontpanel::SetSwitches(std::uint16_t value) {
  if (value == FSwitches) return;
  FSwitches = value;
  for (int i = 0; i < 16; ++i) DataSwitches[i]->SetState((value >> (15 - i)) & 1 ? ssOn : ssOff);
}

void TNovaFrontpanel::LoadFromIni(const std::string& iniName, const std::string& section) {
  if (iniName.empty() || section.empty()) return;
  FIniName = iniName;
  FIniSection = section;
  const TIniFile ini(iniName);
  const int top = ini.ReadInteger(section, "Top", pos().y());
  const int left = ini.ReadInteger(section, "Left", pos().x());
  move(PlaceOnScreen(QPoint(left, top), size(), pkDialog));
}

int TNovaFrontpanel::CommandOf(int switchIndex, bool up) {
  switch (switchIndex) {
    case 0:
    case 1:
    case 2:
    case 3: return (up ? ncDepAc0 : ncExAc0) + 2 * switchIndex;
    case 4: return up ? ncReset : ncStop;
    case 5: return up ? ncStart : ncCont;
    case 6: return up ? ncDep : ncDepNext;
    case 7: return up ? ncEx : ncExNext;
    case 8: return up ? ncInstStep : ncMemStep;  // wired the other way round
    case 9: return up ? ncProgLoad : -1;
    default: return -1;
  }
}

void TNovaFrontpanel::Command(int switchIndex, bool up) {
  const int c = CommandOf(switchIndex, up);
  if (c < 0 || c >= NovaCommandCount || !OnChangeCommandSwitch) return;
  OnChangeCommandSwitch(this, TNovaCommands(c));
}

void TNovaFrontpanel::DataSwitchClick() {
  const std::uint16_t word = Switches();
  if (OnChangeDataSwitch) OnChangeDataSwitch(word);
}

void TNovaFrontpanel::closeEvent(QCloseEvent* event) {
  // Closing only hides the panel.
  QWidget::closeEvent(event);
  if (OnClosed) OnClosed();
}
