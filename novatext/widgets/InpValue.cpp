#include "InpValue.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "DialogPlacement.h"
#include "DialogService.h"
#include "Fonts.h"
#include "NumberEd.h"
#include "QtText.h"

TValueDialog::TValueDialog(QWidget* parent) : QDialog(parent) {
  lbDesc = new QLabel(this);
  edValue = new TNumberEdit(this);
  edValue->SetBits(16);
  edValue->SetPrefix(false);
  edValue->SetNumMode(nmOctal);
  edValue->setFont(PixelFont("Courier New", 15, true));
  lbDesc->setBuddy(edValue);

  gbNumFormat = new QGroupBox(this);
  rbBin = new QRadioButton(gbNumFormat);
  rbOctal = new QRadioButton(gbNumFormat);
  rbDecimal = new QRadioButton(gbNumFormat);
  rbHex = new QRadioButton(gbNumFormat);
  auto* radios = new QHBoxLayout(gbNumFormat);
  for (QRadioButton* rb : {rbBin, rbOctal, rbDecimal, rbHex}) radios->addWidget(rb);
  rbOctal->setChecked(true);
  connect(rbBin, &QRadioButton::clicked, this, [this] { NumModeClick(nmBin); });
  connect(rbOctal, &QRadioButton::clicked, this, [this] { NumModeClick(nmOctal); });
  connect(rbDecimal, &QRadioButton::clicked, this, [this] { NumModeClick(nmDecimal); });
  connect(rbHex, &QRadioButton::clicked, this, [this] { NumModeClick(nmHex); });

  cbBytes = new QCheckBox(this);
  connect(cbBytes, &QCheckBox::clicked, this, &TValueDialog::BytesClick);

  OKBtn = new QPushButton(this);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(this);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cbBytes);
  buttons->addStretch(1);
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* column = new QVBoxLayout(this);
  column->addWidget(lbDesc);
  column->addWidget(edValue);
  column->addWidget(gbNumFormat);
  column->addLayout(buttons);
  RetranslateUi();
}

void TValueDialog::RetranslateUi() {
  setWindowTitle(QtText("Input value"));
  gbNumFormat->setTitle(QtText("Numeric format"));
  rbBin->setText(QtText("binary"));
  rbOctal->setText(QtText("octal"));
  rbDecimal->setText(QtText("decimal"));
  rbHex->setText(QtText("hex"));
  cbBytes->setText(QtText("Bytes"));
  OKBtn->setText(QtText("OK"));
  CancelBtn->setText(QtText("Cancel"));
}

void TValueDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  QDialog::changeEvent(event);
}

void TValueDialog::NumModeClick(TNumMode mode) {
  edValue->SetNumMode(mode);
  if (isActiveWindow()) edValue->setFocus();
}

void TValueDialog::BytesClick() {
  edValue->SetBytes(cbBytes->isChecked());
  edValue->setFocus();
}

bool TValueDialog::Execute(QPoint Pos, const QString& Desc, TNumMode ANumMode, std::uint16_t& AValue) {
  lbDesc->setText(Desc);
  edValue->SetNumMode(ANumMode);
  edValue->SetValue(AValue);
  // Checking a button programmatically does not click it: nmZeroDec stays until the user picks.
  switch (ANumMode) {
    case nmHex: rbHex->setChecked(true); break;
    case nmBin: rbBin->setChecked(true); break;
    case nmDecimal:
    case nmZeroDec: rbDecimal->setChecked(true); break;
    case nmOctal:
    default: rbOctal->setChecked(true); break;
  }
  cbBytes->setChecked(false);
  edValue->SetBytes(false);
  edValue->setFocus();
  edValue->selectAll();
  adjustSize();
  PlaceNumberDialog(this, Pos);
  if (Dialogs().ExecDialog(*this) != QDialog::Accepted) return false;
  AValue = std::uint16_t(std::uint64_t(edValue->Value()) & 0xFFFF);
  return true;
}
