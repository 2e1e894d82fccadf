// TSwitchesPanel: the front panel switches field, its predefined values and Set PC from switches.
#include "SwitchesPanel.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QToolButton>

#include "DialogService.h"
#include "InpValue.h"
#include "MachineController.h"
#include "Navigator.h"
#include "NumberEd.h"
#include "QtText.h"
#include "RegisterPanel.h"
#include "ScreenPlacement.h"
#include "SelectFromListDlg.h"
#include "ToolIcons.h"

TPreSwitchCombo::TPreSwitchCombo(QWidget* field, QWidget* parent) : QComboBox(parent), FField(field) {
  setObjectName("cbPreSwitches");
  setFixedWidth(21);
}

void TPreSwitchCombo::showPopup() {
  QComboBox::showPopup();
  QWidget* popup = view()->window();
  popup->setGeometry(QRect(FField->mapToGlobal(QPoint(0, FField->height())), QSize(156, popup->height())));
}

TSwitchesPanel::TSwitchesPanel(TMachineController& controller, TNavigator& navigator, QWidget* parent)
    : QGroupBox(parent), FController(controller), FNavigator(navigator) {
  setObjectName("gbSwitches");
  edSwitches = MakeRegisterEdit(this, "edSwitches");
  cbSwitches = new QCheckBox("B", this);
  cbSwitches->setObjectName("cbSwitches");
  cbPreSwitches = new TPreSwitchCombo(edSwitches, this);
  btSwitchesToPC = new QToolButton(this);
  btSwitchesToPC->setObjectName("btSwitchesToPC");
  btSwitchesToPC->setIcon(ToolIcon(TToolIcon::SwitchesToPC));
  auto* sw = new QHBoxLayout(this);
  sw->setContentsMargins(6, 2, 6, 4);
  sw->addWidget(edSwitches);
  sw->addWidget(cbPreSwitches);
  sw->addWidget(cbSwitches);
  sw->addWidget(btSwitchesToPC);
  connect(cbSwitches, &QCheckBox::toggled, edSwitches, [this](bool on) { edSwitches->SetBytes(on); });
  connect(cbPreSwitches, &QComboBox::activated, this, [this](int i) {
    const QString entry = cbPreSwitches->itemText(i);
    cbPreSwitches->setCurrentIndex(-1);
    PreSwitchChosen(entry);
  });
  connect(btSwitchesToPC, &QToolButton::clicked, this,
          [this] { FController.Machine().SetPC(FController.Machine().Switches); });
  edSwitches->installEventFilter(this);
  connect(&controller, &TMachineController::OnSwitchesChanged, this, [this] { ShowSwitches(); });
  connect(&controller, &TMachineController::OnRegistersChanged, this, [this] { ShowSwitches(); });
}

void TSwitchesPanel::RetranslateUi() {
  setTitle(QtText("Frontpanel switches"));
  btSwitchesToPC->setToolTip(QtText("Set PC from switches"));
}

void TSwitchesPanel::ShowSwitches() { edSwitches->SetValue(FController.Machine().Switches); }

bool TSwitchesPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edSwitches && event->type() == QEvent::MouseButtonRelease) FieldClick();
  return QGroupBox::eventFilter(watched, event);
}

void TSwitchesPanel::FieldClick() {
  std::uint16_t v = FController.Machine().Switches;
  TValueDialog& dialog = FNavigator.ValueDialog();
  if (!dialog.Execute(BelowLeft(edSwitches), QtText("Front panel switches:"), FNumFormat, v)) return;
  if (dialog.ValueEdit()->CheckError()) return;
  FController.Machine().SetSwitches(v);
}

void TSwitchesPanel::PreSwitchChosen(const QString& entry) {
  try {
    const std::int64_t v = ParseOctal(entry.trimmed().toStdString());
    if (v < 0 || v > 0177777) throw EConvertError(entry.toStdString());
    FController.Machine().SetSwitches(TWord(v));
  } catch (const EConvertError&) {
    emit ErrorReported(QSafeFormat(QtText("%s is not a valid octal value"), entry));
  }
}

void TSwitchesPanel::SetPreSwitches(const QStringList& entries) {
  FPreSwitches = entries;
  cbPreSwitches->clear();
  cbPreSwitches->addItems(FPreSwitches);
  cbPreSwitches->setCurrentIndex(-1);
}

void TSwitchesPanel::PredefinedSwitchesClick() {
  QStringList list = FPreSwitches;
  QString text;
  const int r = FNavigator.ListDialog().Execute(
      MousePos(), QtText("Predefined switches"), QString(), QtText("Octal values only"), soEdit | soOrder, 1, tcNone,
      QStringLiteral("000012,177777"), list, text, true, [](const QString& e) {
        std::int64_t v = 0;
        return TryParseOctal(e.trimmed().toStdString(), v) && v >= 0 && v <= 0177777;
      });
  if (r == mrCancel) return;
  SetPreSwitches(list);
}
