#include "MessageBoxes.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QPushButton>
#include <QSpacerItem>

#include "DialogService.h"
#include "QtText.h"

QString ShownMessage(const QString& text) {
  constexpr int Keep = MessageLineMax / 2;
  QStringList lines = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split('\n');
  for (QString& line : lines)
    if (line.size() > MessageLineMax) line = line.left(Keep) + QChar(0x2026) + line.right(Keep);
  return lines.join('\n');
}

bool ConfirmMsg(const QString& text, QPoint at, const QString& caption, QWidget* parent) {
  return Dialogs().Confirm(text, at, caption, parent);
}

void InfoMsg(const QString& text, QPoint at, const QString& caption, QWidget* parent) {
  Dialogs().Information(text, at, caption, parent);
}

void ErrorMsg(const QString& text, QPoint at, const QString& caption, QWidget* parent) {
  Dialogs().Error(text, at, caption, parent);
}

namespace {
TWarningBeepHandler& BeepHandler() {
  static TWarningBeepHandler handler;
  return handler;
}
}  // namespace

void WarningBeep() {
  if (BeepHandler()) BeepHandler()();
  else QApplication::beep();
}

TWarningBeepHandler SetWarningBeepHandler(TWarningBeepHandler handler) {
  TWarningBeepHandler previous = std::move(BeepHandler());
  BeepHandler() = std::move(handler);
  return previous;
}

TMessageBox::TMessageBox(TMsgKind kind, const QString& text, QPoint at, const QString& caption, QWidget* parent)
    : QMessageBox(parent), FKind(kind), FAt(at), FCaption(caption) {
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setTextFormat(Qt::PlainText);
  setText(ShownMessage(text));
  switch (kind) {
    case mkConfirm:
      setIcon(QMessageBox::Question);
      setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      setDefaultButton(QMessageBox::Yes);
      setEscapeButton(QMessageBox::No);
      break;
    case mkInformation:
      setIcon(QMessageBox::Information);
      setStandardButtons(QMessageBox::Ok);
      break;
    case mkError:
      setIcon(QMessageBox::Critical);
      setStandardButtons(QMessageBox::Ok);
      break;
  }
  setWindowTitle(caption.isEmpty() ? StandardCaption(kind) : caption);
  if (const int w = CaptionWidth(); w > 0) {
    // QMessageBox sizes itself when shown; a spacer across its grid keeps the caption's width.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
      grid->addItem(new QSpacerItem(w, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                    grid->columnCount());
  }
}

QString TMessageBox::StandardCaption(TMsgKind kind) {
  switch (kind) {
    case mkConfirm: return QtDialogsText("Confirm");
    case mkInformation: return QtDialogsText("Information");
    case mkError: return QtDialogsText("Error");
  }
  return QString();
}

int TMessageBox::CaptionWidth() const {
  return FCaption.isEmpty() ? 0 : fontMetrics().horizontalAdvance(FCaption) + 50;
}

bool TMessageBox::Confirmed(int execResult) const {
  const QMessageBox::StandardButton yes = FKind == mkConfirm ? QMessageBox::Yes : QMessageBox::Ok;
  if (QAbstractButton* clicked = clickedButton()) return clicked == button(yes);
  return execResult == yes;
}

void TMessageBox::showEvent(QShowEvent* event) {
  QMessageBox::showEvent(event);  // gives the box its final size
  move(PlaceOnScreen(FAt, frameGeometry().size(), pkMessageBox));
}

void TMessageBox::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange && FCaption.isEmpty()) setWindowTitle(StandardCaption(FKind));
  QMessageBox::changeEvent(event);
}
