#include "InpText.h"

#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <algorithm>

#include "DialogService.h"
#include "HistoryCombo.h"
#include "InputString.h"
#include "QtText.h"

namespace {
constexpr int DesignClientWidth = 311;
}

TInputTextDialog::TInputTextDialog(QWidget* parent) : QDialog(parent) {
  lbDesc = new QLabel(this);
  cbText = new QComboBox(this);
  cbText->setEditable(true);
  cbText->setInsertPolicy(QComboBox::NoInsert);
  cbText->completer()->setCaseSensitivity(Qt::CaseInsensitive);
  cbText->completer()->setCompletionMode(QCompleter::InlineCompletion);
  lbDesc->setBuddy(cbText);
  btCharTable = new QPushButton(this);
  btOk = new QPushButton(this);
  btOk->setDefault(true);
  btCancel = new QPushButton(this);
  connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(btCharTable, &QPushButton::clicked, this, &TInputTextDialog::ShowCharTable);
  // Enter in the field closes with OK, also while the completion is shown.
  connect(cbText->lineEdit(), &QLineEdit::returnPressed, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btCharTable);
  buttons->addStretch(1);
  buttons->addWidget(btOk);
  buttons->addWidget(btCancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(lbDesc);
  column->addWidget(cbText);
  column->addStretch(1);
  column->addLayout(buttons);
  RetranslateUi();
  resize(DesignClientWidth, sizeHint().height());
}

void TInputTextDialog::RetranslateUi() {
  if (!FOwnTitle) setWindowTitle(QtDialogsText("Edit text"));
  btCharTable->setText(QtDialogsText("Character table"));
  btOk->setText(QtDialogsText("OK"));
  btCancel->setText(QtDialogsText("Cancel"));
}

void TInputTextDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  QDialog::changeEvent(event);
}

void TInputTextDialog::InsertCharacter(QChar c) { cbText->lineEdit()->insert(QString(c)); }

void TInputTextDialog::ShowCharTable() {
  // The printable Latin-1 characters above ASCII, 16 to a row.
  QMenu menu(this);
  auto* grid = new QWidget(&menu);
  auto* layout = new QGridLayout(grid);
  layout->setSpacing(1);
  layout->setContentsMargins(2, 2, 2, 2);
  for (int code = 0xA1; code <= 0xFF; ++code) {
    auto* b = new QToolButton(grid);
    b->setText(QString(QChar(code)));
    b->setAutoRaise(true);
    const int i = code - 0xA1;
    layout->addWidget(b, i / 16, i % 16);
    connect(b, &QToolButton::clicked, &menu, [this, &menu, code] {
      InsertCharacter(QChar(code));
      menu.close();
    });
  }
  auto* action = new QWidgetAction(&menu);
  action->setDefaultWidget(grid);
  menu.addAction(action);
  menu.exec(BelowLeft(btCharTable));
}

bool TInputTextDialog::Run(const TInputTextArgs& args, QString& text, QStringList* history) {
  FOwnTitle = !args.Title.isEmpty();
  RetranslateUi();
  if (FOwnTitle) setWindowTitle(args.Title);
  lbDesc->setText(args.Desc);
  lbDesc->setVisible(!args.Desc.isEmpty());
  cbText->setToolTip(args.Desc);
  if (!args.FontName.isEmpty()) {
    QFont f = cbText->font();
    f.setFamily(args.FontName);
    cbText->setFont(f);
  }
  QStringList entries = history ? *history : QStringList();
  if (args.Sorted) entries.sort(Qt::CaseInsensitive);
  SetComboItems(cbText, entries);
  ShowDropDownButton(cbText, !entries.isEmpty());
  cbText->setCurrentIndex(-1);
  cbText->setEditText(text);
  cbText->lineEdit()->selectAll();
  cbText->setFocus();
  btCharTable->setVisible(args.ShowCharTable);

  const QMargins m = layout()->contentsMargins();
  resize(InputDialogWidth(cbText, text, m.left() + m.right() + 20, args.At), sizeHint().height());
  PlaceWidget(this, args.At, pkDialog);
  if (Dialogs().ExecDialog(*this) != QDialog::Accepted) return false;
  text = cbText->currentText();
  if (history) {
    AddToHistory(*history, text, InputTextHistoryMax);
    if (args.Sorted) history->sort(Qt::CaseInsensitive);
  }
  return true;
}
