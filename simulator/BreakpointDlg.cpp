// The dialog of one breakpoint.
#include "BreakpointDlg.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <charconv>

#include "DialogPlacement.h"
#include "DialogService.h"
#include "Fonts.h"
#include "MachineController.h"
#include "MessageBoxes.h"
#include "QtText.h"
#include "ScreenPlacement.h"

TBreakpointDialog::TBreakpointDialog(const TMachineController& controller, QWidget* parent)
    : QDialog(parent), FController(controller) {
  setObjectName("BreakpointDialog");
  lbKind = new QLabel(this);
  lbFirst = new QLabel(this);
  lbLast = new QLabel(this);
  lbCondition = new QLabel(this);
  lbCount = new QLabel(this);
  cbKind = new QComboBox(this);
  cbKind->setObjectName("cbKind");
  for (TBreakKind k : {bkExecute, bkRead, bkWrite, bkAccess}) cbKind->addItem(QString(), int(k));
  const QFont mono = PixelFont("Courier New", 13, true);
  auto edit = [&](const char* name, int width) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    e->setFont(mono);
    e->setMinimumWidth(width);
    return e;
  };
  edFirst = edit("edFirst", 120);
  edLast = edit("edLast", 120);
  edCondition = edit("edCondition", 260);
  edCount = new QSpinBox(this);
  edCount->setObjectName("edCount");
  edCount->setRange(0, 999999999);
  lbKind->setBuddy(cbKind);
  lbFirst->setBuddy(edFirst);
  lbLast->setBuddy(edLast);
  lbCondition->setBuddy(edCondition);
  lbCount->setBuddy(edCount);
  btOk = new QPushButton(this);
  btOk->setDefault(true);
  btCancel = new QPushButton(this);
  connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(cbKind, &QComboBox::currentIndexChanged, this, [this] { KindChanged(); });
  auto* g = new QGridLayout(this);
  g->addWidget(lbKind, 0, 0);
  g->addWidget(cbKind, 0, 1, 1, 3);
  g->addWidget(lbFirst, 1, 0);
  g->addWidget(edFirst, 1, 1);
  g->addWidget(lbLast, 1, 2);
  g->addWidget(edLast, 1, 3);
  g->addWidget(lbCondition, 2, 0);
  g->addWidget(edCondition, 2, 1, 1, 3);
  g->addWidget(lbCount, 3, 0);
  g->addWidget(edCount, 3, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btOk);
  buttons->addWidget(btCancel);
  g->addLayout(buttons, 4, 0, 1, 4);
  RetranslateUi();
}

void TBreakpointDialog::RetranslateUi() {
  setWindowTitle(QtText("Breakpoint"));
  lbKind->setText(QtText("&Kind:"));
  for (int i = 0; i < cbKind->count(); ++i)
    cbKind->setItemText(i, ToQString(BreakKindText(TBreakKind(cbKind->itemData(i).toInt()))));
  lbFirst->setText(QtText("&Address:"));
  lbLast->setText(QtText("&to:"));
  lbCondition->setText(QtText("C&ondition:"));
  edCondition->setPlaceholderText(QtText("none (e.g. AC0 == 5 && [100] != 0)"));
  lbCount->setText(QtText("&Stop at hit:"));
  edCount->setSpecialValueText(QtText("every"));
  btOk->setText(QtText("OK"));
  btCancel->setText(QtText("Cancel"));
}

void TBreakpointDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  QDialog::changeEvent(event);
}

void TBreakpointDialog::KindChanged() {
  // An execute breakpoint is one word.
  const bool range = cbKind->currentData().toInt() != bkExecute;
  edLast->setEnabled(range);
  lbLast->setEnabled(range);
}

bool TBreakpointDialog::Execute(QPoint Pos, TNumMode Base, TBreakpoint& B, const TApply& Apply) {
  FBase = Base == nmDecimal ? nmZeroDec : Base;
  FEntry = B;
  FApply = Apply;
  cbKind->setCurrentIndex(cbKind->findData(int(B.Kind)));
  KindChanged();
  edFirst->setText(ToQString(FormatWord(B.First, FBase)));
  edLast->setText(B.Last != B.First ? ToQString(FormatWord(B.Last, FBase)) : QString());
  edCondition->setText(ToQString(B.Condition));
  edCount->setValue(int(std::min<std::uint64_t>(B.Count, 999999999)));
  edFirst->selectAll();
  edFirst->setFocus();
  adjustSize();
  PlaceNumberDialog(this, Pos);
  const bool taken = Dialogs().ExecDialog(*this) == QDialog::Accepted;
  if (taken) B = FEntry;
  FApply = nullptr;
  return taken;
}

bool TBreakpointDialog::Read(TBreakpoint& B) {
  B.Kind = TBreakKind(cbKind->currentData().toInt());
  int first = 0, last = 0;
  for (QLineEdit* e : {edFirst, edLast}) {
    const bool isLast = e == edLast;
    if (isLast && (B.Kind == bkExecute || e->text().trimmed().isEmpty())) {
      last = first;
      continue;
    }
    int& addr = isLast ? last : first;
    QString error;
    if (!FController.AddressFromText(e->text(), FBase, addr, error)) {
      ErrorMsg(error, MousePos(), QString(), this);
      e->setFocus();
      e->selectAll();
      return false;
    }
  }
  B.First = TWord(first);
  B.Last = TWord(last);
  B.Condition = edCondition->text().trimmed().toStdString();
  B.Base = FBase;
  B.Count = std::uint64_t(edCount->value());
  return true;
}

void TBreakpointDialog::done(int result) {
  if (result == QDialog::Accepted) {
    TBreakpoint b = FEntry;
    if (!Read(b)) return;
    std::string error;
    if (FApply && !FApply(b, error)) {
      ErrorMsg(ToQString(error), MousePos(), QString(), this);
      edCondition->setFocus();
      return;
    }
    FEntry = b;
  }
  QDialog::done(result);
}
