// TValueDialog ("Input value"): asks for one 16-bit value in a base the user can switch.
// Created once and reused for every request.
#pragma once
#include <QDialog>
#include <cstdint>

#include "NumberUtils.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TNumberEdit;

class TValueDialog : public QDialog {
  Q_OBJECT
public:
  explicit TValueDialog(QWidget* parent = nullptr);

  // Shows Desc and AValue in base ANumMode at Pos (X < 0: centred) and runs modally through the
  // dialog service. On OK, AValue = the low 16 bits of the field's value and the result is true.
  bool Execute(QPoint Pos, const QString& Desc, TNumMode ANumMode, std::uint16_t& AValue);

  QLabel* DescLabel() const { return lbDesc; }
  TNumberEdit* ValueEdit() const { return edValue; }
  QRadioButton* BinButton() const { return rbBin; }
  QRadioButton* OctalButton() const { return rbOctal; }
  QRadioButton* DecimalButton() const { return rbDecimal; }
  QRadioButton* HexButton() const { return rbHex; }
  QCheckBox* BytesBox() const { return cbBytes; }
  QPushButton* OkButton() const { return OKBtn; }
  QPushButton* CancelButton() const { return CancelBtn; }

protected:
  void changeEvent(QEvent* event) override;

private:
  void RetranslateUi();
  void NumModeClick(TNumMode mode);
  void BytesClick();

  QLabel* lbDesc;
  TNumberEdit* edValue;
  QGroupBox* gbNumFormat;
  QRadioButton* rbBin;
  QRadioButton* rbOctal;
  QRadioButton* rbDecimal;
  QRadioButton* rbHex;
  QCheckBox* cbBytes;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
};
