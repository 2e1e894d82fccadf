// The "Frontpanel switches" group of the main window (gbSwitches): the switch register's field,
// its "B" (bytes) box, the list of predefined switch values beside it and "Set PC from
// switches". It shows the switches whenever they or the registers change; a click on the field
// asks for a value, a chosen list entry sets it, both through the controller's operations. The
// list itself is edited under "&Preferences" (PredefinedSwitchesClick) and kept in the settings
// by the window. Messages leave as ErrorReported.
#pragma once
#include <QComboBox>
#include <QGroupBox>
#include <QStringList>

#include "NumberUtils.h"

class QCheckBox;
class QToolButton;
class TMachineController;
class TNavigator;
class TNumberEdit;

// cbPreSwitches: a narrow drop-down (21 px) whose list opens 156 px wide from the left edge of
// the switches field beside it, covering the field, and is narrow again when it closes.
class TPreSwitchCombo : public QComboBox {
  Q_OBJECT
public:
  TPreSwitchCombo(QWidget* field, QWidget* parent);
  void showPopup() override;

private:
  QWidget* FField;
};

class TSwitchesPanel : public QGroupBox {
  Q_OBJECT
public:
  TSwitchesPanel(TMachineController& controller, TNavigator& navigator, QWidget* parent = nullptr);
  void RetranslateUi();
  // The value dialog of the field in this base.
  void SetNumFormat(TNumMode mode) { FNumFormat = mode; }
  // The field shows the machine's switches.
  void ShowSwitches();
  // A click on the field: the value dialog below it.
  void FieldClick();
  // An entry of the predefined list chosen: the switches take it (an octal value).
  void PreSwitchChosen(const QString& entry);
  // "&Preferences" > "Predefined &switches ..": the list dialog.
  void PredefinedSwitchesClick();
  void SetPreSwitches(const QStringList& entries);
  const QStringList& PreSwitches() const { return FPreSwitches; }

  TNumberEdit* edSwitches;
  QCheckBox* cbSwitches;
  QComboBox* cbPreSwitches;
  QToolButton* btSwitchesToPC;

signals:
  void ErrorReported(const QString& text);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  TMachineController& FController;
  TNavigator& FNavigator;
  TNumMode FNumFormat = nmOctal;
  QStringList FPreSwitches;
};
