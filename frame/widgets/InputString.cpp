#include "InputString.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "DialogService.h"
#include "QtText.h"

namespace {
constexpr int DesignClientWidth = 311;
}

int InputDialogWidth(const QWidget* field, const QString& text, int margins, QPoint at) {
  int width = std::max(DesignClientWidth, field->fontMetrics().horizontalAdvance(text) + 20 + margins);
  const QRect area = WorkAreaAt(at.x() < 0 || at.y() < 0 ? QPoint(0, 0) : at);
  if (area.isValid()) width = std::min(width, std::max(DesignClientWidth, area.width() - 40));
  return width;
}

TInputStringDialog::TInputStringDialog(QWidget* parent) : QDialog(parent) {
  lbDesc = new QLabel(this);
  edText = new QLineEdit(this);
  lbDesc->setBuddy(edText);
  btOk = new QPushButton(this);
  btOk->setDefault(true);
  btCancel = new QPushButton(this);
  connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btOk);
  buttons->addWidget(btCancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(lbDesc);
  column->addWidget(edText);
  column->addStretch(1);
  column->addLayout(buttons);
  RetranslateUi();
  resize(DesignClientWidth, sizeHint().height());
}

void TInputStringDialog::RetranslateUi() {
  if (!FOwnTitle) setWindowTitle(QtDialogsText("Edit text"));
  btOk->setText(QtDialogsText("OK"));
  btCancel->setText(QtDialogsText("Cancel"));
}

void TInputStringDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  QDialog::changeEvent(event);
}

bool TInputStringDialog::Run(QPoint at, const QString& title, const QString& desc, QString& text) {
  FOwnTitle = !title.isEmpty();
  RetranslateUi();
  if (FOwnTitle) setWindowTitle(title);
  lbDesc->setText(desc);
  lbDesc->setVisible(!desc.isEmpty());
  edText->setToolTip(desc);
  edText->setText(text);
  edText->selectAll();
  edText->setFocus();
  const QMargins m = layout()->contentsMargins();
  resize(InputDialogWidth(edText, text, m.left() + m.right(), at), sizeHint().height());
  PlaceWidget(this, at, pkDialog);
  if (Dialogs().ExecDialog(*this) != QDialog::Accepted) return false;
  text = edText->text();
  return true;
}
