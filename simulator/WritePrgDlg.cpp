#include "WritePrgDlg.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "DialogService.h"
#include "DialogPlacement.h"
#include "Fonts.h"
#include "MessageBoxes.h"
#include "NumberEd.h"
#include "QtText.h"
#include "RangeText.h"
#include "ScreenPlacement.h"

namespace {
TNumberEdit* AddressEdit(QWidget* parent, const char* name) {
  auto* e = new TNumberEdit(parent);
  e->setObjectName(name);
  e->SetBits(16);
  e->SetPrefix(false);
  e->setFont(PixelFont("Courier New", 13, true));
  return e;
}
}  // namespace

TWritePrgDialog::TWritePrgDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("WritePrgDialog");
  lbStart = new QLabel(this);
  lbEnd = new QLabel(this);
  edStart = AddressEdit(this, "edStart");
  edEnd = AddressEdit(this, "edEnd");
  gbColumns = new QGroupBox(this);
  cbAddress = new QCheckBox(gbColumns);
  cbContents = new QCheckBox(gbColumns);
  cbCommand = new QCheckBox(gbColumns);
  auto* cl = new QVBoxLayout(gbColumns);
  cl->addWidget(cbAddress);
  cl->addWidget(cbContents);
  cl->addWidget(cbCommand);
  gbNumFormat = new QGroupBox(this);
  rbBin = new QRadioButton(gbNumFormat);
  rbOctal = new QRadioButton(gbNumFormat);
  rbDecimal = new QRadioButton(gbNumFormat);
  rbHex = new QRadioButton(gbNumFormat);
  auto* nl = new QVBoxLayout(gbNumFormat);
  for (QRadioButton* rb : {rbBin, rbOctal, rbDecimal, rbHex}) nl->addWidget(rb);
  connect(rbBin, &QRadioButton::clicked, this, [this] { SetBase(nmBin); });
  connect(rbOctal, &QRadioButton::clicked, this, [this] { SetBase(nmOctal); });
  connect(rbDecimal, &QRadioButton::clicked, this, [this] { SetBase(nmDecimal); });
  connect(rbHex, &QRadioButton::clicked, this, [this] { SetBase(nmHex); });
  btOk = new QPushButton(this);
  btOk->setDefault(true);
  btCancel = new QPushButton(this);
  connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* g = new QGridLayout(this);
  g->addWidget(lbStart, 0, 0);
  g->addWidget(edStart, 0, 1);
  g->addWidget(lbEnd, 1, 0);
  g->addWidget(edEnd, 1, 1);
  g->addWidget(gbColumns, 2, 0);
  g->addWidget(gbNumFormat, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btOk);
  buttons->addWidget(btCancel);
  g->addLayout(buttons, 3, 0, 1, 2);
  RetranslateUi();
}

void TWritePrgDialog::RetranslateUi() {
  setWindowTitle(QtText("Write program"));
  lbStart->setText(QtText("Start address:"));
  lbEnd->setText(QtText("End address:"));
  gbColumns->setTitle(QtText("Columns"));
  cbAddress->setText(QtText("Address"));
  cbContents->setText(QtText("Contents"));
  cbCommand->setText(QtText("disass. command"));
  gbNumFormat->setTitle(QtText("Numeric format"));
  rbBin->setText(QtText("binary"));
  rbOctal->setText(QtText("octal"));
  rbDecimal->setText(QtText("decimal"));
  rbHex->setText(QtText("hex"));
  btOk->setText(QtText("OK"));
  btCancel->setText(QtText("Cancel"));
}

void TWritePrgDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  QDialog::changeEvent(event);
}

void TWritePrgDialog::SetBase(TNumMode mode) {
  for (TNumberEdit* e : {edStart, edEnd}) {
    const std::int64_t v = e->Value();
    e->SetNumMode(mode);
    e->SetValue(v);
  }
}

bool TWritePrgDialog::Execute(QPoint Pos, TNumMode& ANumMode, int& AFirst, int& ALast, int& AMode) {
  TNumMode mode = ANumMode == nmHex || ANumMode == nmOctal || ANumMode == nmBin ? ANumMode : nmDecimal;
  switch (mode) {
    case nmHex: rbHex->setChecked(true); break;
    case nmOctal: rbOctal->setChecked(true); break;
    case nmBin: rbBin->setChecked(true); break;
    default: rbDecimal->setChecked(true); break;
  }
  edStart->SetNumMode(mode);
  edEnd->SetNumMode(mode);
  edStart->SetValue(AFirst);
  edEnd->SetValue(ALast);
  cbAddress->setChecked(AMode & wmAddress);
  cbContents->setChecked(AMode & wmContents);
  cbCommand->setChecked(AMode & wmCommand);
  adjustSize();
  PlaceNumberDialog(this, Pos);
  if (Dialogs().ExecDialog(*this) != QDialog::Accepted) return false;
  AFirst = int(edStart->Value());
  ALast = int(edEnd->Value());
  AMode = (cbAddress->isChecked() ? wmAddress : 0) | (cbContents->isChecked() ? wmContents : 0) |
          (cbCommand->isChecked() ? wmCommand : 0);
  ANumMode = edStart->NumMode();
  return true;
}

void TWritePrgDialog::done(int result) {
  if (result == QDialog::Accepted) {
    for (TNumberEdit* e : {edStart, edEnd}) {
      const std::int64_t v = e->Value();
      if (e->CheckError()) {
        e->setFocus();
        return;
      }
      if (v < 0 || v > 077777) {
        ErrorMsg(AddressOutOfRangeText(077777, e->NumMode()), MousePos(),
                 QString(), this);
        e->setFocus();
        return;
      }
    }
  }
  QDialog::done(result);
}
