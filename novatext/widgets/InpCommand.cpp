#include "InpCommand.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogPlacement.h"
#include "DialogService.h"
#include "Fonts.h"
#include "NovaUtils.h"
#include "QtText.h"

TCommandDialog::TCommandDialog(QWidget* parent) : QDialog(parent) {
  lbDesc = new QLabel(this);
  edCommand = new QLineEdit(this);
  edCommand->setFont(PixelFont("Courier New", 15, true));
  edCommand->setMinimumWidth(260);
  lbDesc->setBuddy(edCommand);
  OKBtn = new QPushButton(this);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(this);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* column = new QVBoxLayout(this);
  column->addWidget(lbDesc);
  column->addWidget(edCommand);
  column->addLayout(buttons);
  RetranslateUi();
}

void TCommandDialog::RetranslateUi() {
  setWindowTitle(QtText("Input command"));
  OKBtn->setText(QtText("OK"));
  CancelBtn->setText(QtText("Cancel"));
}

void TCommandDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  QDialog::changeEvent(event);
}

void TCommandDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  edCommand->selectAll();
}

void TCommandDialog::done(int result) {
  if (result == QDialog::Accepted) {
    std::uint16_t word = 0;
    if (!StrToCommand(edCommand->text().toStdString(), Addr, word)) {
      ErrorMsg(QtText("Invalid command!"), BelowLeft(OKBtn), QString(), this);
      edCommand->setFocus();
      return;
    }
    Command = word;
  }
  QDialog::done(result);
}

bool TCommandDialog::Execute(QPoint Pos, const QString& Desc, std::uint16_t AAddr, TNumMode ANumFormat,
                             std::uint16_t& ACommand) {
  lbDesc->setText(Desc);
  Command = ACommand;
  Addr = AAddr;
  edCommand->setText(QString::fromStdString(CommandToStr(-1, ACommand, ANumFormat, false)));
  edCommand->setFocus();
  edCommand->selectAll();
  adjustSize();
  PlaceNumberDialog(this, Pos);
  if (Dialogs().ExecDialog(*this) != QDialog::Accepted) return false;
  ACommand = Command;
  return true;
}
