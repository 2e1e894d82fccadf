#include "SelectDlg.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "DialogService.h"
#include "QtText.h"

namespace {

constexpr int ButtonWidth = 105;
constexpr int ButtonsPerRow = 3;

QStyle::StandardPixmap IconPixmap(TSelectIcon icon) {
  switch (icon) {
    case siInformation: return QStyle::SP_MessageBoxInformation;
    case siWarning: return QStyle::SP_MessageBoxWarning;
    case siError: return QStyle::SP_MessageBoxCritical;
    case siQuestion: return QStyle::SP_MessageBoxQuestion;
  }
  return QStyle::SP_MessageBoxQuestion;
}

}  // namespace

TSelectDialog::TSelectDialog(QWidget* parent) : QDialog(parent) { new QVBoxLayout(this); }

void TSelectDialog::Clear() {
  if (FBody) {
    layout()->removeWidget(FBody);
    delete FBody;
  }
  FBody = nullptr;
  FButtons.clear();
  FLines.clear();
  FIcon = nullptr;
  btLast = nullptr;
}

void TSelectDialog::Prepare(const TSelectArgs& args) {
  Clear();
  FChoice = -1;
  setWindowTitle(args.Title);
  FBody = new QWidget(this);
  layout()->addWidget(FBody);
  auto* column = new QVBoxLayout(FBody);
  column->setContentsMargins(0, 0, 0, 0);

  auto* top = new QHBoxLayout;
  FIcon = new QLabel(FBody);
  const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  FIcon->setPixmap(style()->standardIcon(IconPixmap(args.Icon), nullptr, this).pixmap(iconSize, iconSize));
  FIcon->setAlignment(Qt::AlignTop);
  top->addWidget(FIcon);
  auto* lines = new QVBoxLayout;
  for (const QString& line : args.Message.split(QLatin1Char('\n'))) {
    auto* label = new QLabel(line, FBody);
    label->setTextFormat(Qt::PlainText);
    if (args.BoldMessage) {
      QFont f = label->font();
      f.setBold(true);
      label->setFont(f);
    }
    lines->addWidget(label);
    FLines << label;
  }
  lines->addStretch(1);
  top->addLayout(lines, 1);
  column->addLayout(top);

  // Choices three to a row; the last row holds what is left and the last button, aligned right.
  const qsizetype total = args.Choices.size() + 1;
  const int width = ButtonWidth * logicalDpiX() / 96;
  QHBoxLayout* row = nullptr;
  for (qsizetype i = 0; i < total; ++i) {
    if (i % ButtonsPerRow == 0) {
      row = new QHBoxLayout;
      row->addStretch(1);
      column->addLayout(row);
    }
    auto* b = new QPushButton(FBody);
    b->setMinimumWidth(width);
    b->setAutoDefault(false);
    row->addWidget(b);
    if (i < args.Choices.size()) {
      b->setText(args.Choices[i]);
      const int index = static_cast<int>(i);
      connect(b, &QPushButton::clicked, this, [this, index] {
        FChoice = index;
        accept();
      });
      FButtons << b;
    } else {
      btLast = b;
      connect(b, &QPushButton::clicked, this, &QDialog::reject);
    }
  }
  FOwnLastText = !args.LastButton.isEmpty();
  btLast->setText(FOwnLastText ? args.LastButton : QtDialogsText("Cancel"));

  QPushButton* focus = args.Preselect >= 0 && args.Preselect < FButtons.size() ? FButtons[args.Preselect] : btLast;
  focus->setDefault(true);
  if (isVisible()) FBody->show();  // children added to a shown window stay hidden otherwise
  focus->setFocus();
  adjustSize();
}

int TSelectDialog::Run(const TSelectArgs& args) {
  Prepare(args);
  PlaceWidget(this, args.At, pkDialog);
  if (Dialogs().ExecDialog(*this) != QDialog::Accepted) FChoice = -1;
  return FChoice;
}

void TSelectDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange && btLast && !FOwnLastText) btLast->setText(QtDialogsText("Cancel"));
  QDialog::changeEvent(event);
}
