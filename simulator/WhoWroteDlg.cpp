// The "Who wrote this word?" dialog.
#include "WhoWroteDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "MachineController.h"
#include "QtText.h"

namespace {
// An address in the base, with its label when it has one: "000102 (LOOP)".
QString Place(const TMachineController& controller, int addr, TNumMode mode) {
  const QString label = controller.LabelOf(addr);
  const QString number = ToQString(FormatWord(TWord(addr), mode));
  return label.isEmpty() ? number : number + " (" + label + ")";
}
}  // namespace

TWhoWroteDialog::TWhoWroteDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("WhoWroteDialog");
  lbWord = new QLabel(this);
  lbWriter = new QLabel(this);
  lbStep = new QLabel(this);
  lbValues = new QLabel(this);
  lbWord->setObjectName("lbWord");
  lbWriter->setObjectName("lbWriter");
  lbStep->setObjectName("lbStep");
  lbValues->setObjectName("lbValues");
  btGoThere = new QPushButton(this);
  btGoThere->setObjectName("btGoThere");
  btClose = new QPushButton(this);
  btClose->setObjectName("btClose");
  connect(btGoThere, &QPushButton::clicked, this, &QDialog::accept);
  connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
  auto* v = new QVBoxLayout(this);
  for (QLabel* l : {lbWord, lbWriter, lbStep, lbValues}) {
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    v->addWidget(l);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btGoThere);
  buttons->addWidget(btClose);
  v->addSpacing(6);
  v->addLayout(buttons);
}

void TWhoWroteDialog::Show(const TMachineController& controller, TWord Addr, const TLastWrite& write, TNumMode Mode) {
  setWindowTitle(QtText("Who wrote this word?"));
  btGoThere->setText(QtText("Go there"));
  btClose->setText(QtText("Close"));
  lbWord->setText(QSafeFormat(QtText("Word %s"), Place(controller, Addr, Mode)));
  btGoThere->setEnabled(write.Found);
  btGoThere->setDefault(write.Found);
  btClose->setDefault(!write.Found);
  lbStep->setVisible(write.Found);
  lbValues->setVisible(write.Found);
  if (!write.Found) {
    lbWriter->setText(QtText("no write in the history"));
    return;
  }
  const QString at = Place(controller, write.PC, Mode);
  lbWriter->setText(write.ByInterrupt ? QSafeFormat(QtText("Written by the interrupt after the instruction at %s"), at)
                                      : QSafeFormat(QtText("Written by the instruction at %s"), at));
  lbStep->setText(QSafeFormat(QtText("At step %s (now at step %s)"), QString::number(write.Step),
                              QString::number(controller.Machine().ExecutedCount())));
  lbValues->setText(QSafeFormat(QtText("Old value %s, new value %s"), ToQString(FormatWord(write.Old, Mode)),
                                ToQString(FormatWord(write.New, Mode))));
}
