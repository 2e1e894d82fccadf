#include "NumberEd.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>

#include "MessageBoxes.h"

// --- TCustomNumEdit ---

TCustomNumEdit::TCustomNumEdit(QWidget* parent) : QLineEdit(parent) {}

void TCustomNumEdit::SetAlignment(TAlignment value) {
  FAlignment = value;
  const Qt::Alignment horizontal = value == taRightJustify ? Qt::AlignRight
                                   : value == taCenter     ? Qt::AlignHCenter
                                                           : Qt::AlignLeft;
  setAlignment(horizontal | Qt::AlignVCenter);
}

bool TCustomNumEdit::IsValidChar(QChar) { return true; }

void TCustomNumEdit::IncrementValue(int) {}

void TCustomNumEdit::paste() {
  if (!isReadOnly()) QLineEdit::paste();
}

void TCustomNumEdit::cut() {
  if (!isReadOnly()) QLineEdit::cut();
}

void TCustomNumEdit::keyPressEvent(QKeyEvent* event) {
  // Typed characters (not shortcuts) pass the character check; a rejected one is dropped.
  const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  const QString typed = event->text();
  if (!shortcut && !typed.isEmpty()) {
    for (QChar c : typed)
      if (!IsValidChar(c)) {
        event->accept();
        return;
      }
  }
  QLineEdit::keyPressEvent(event);
}

void TCustomNumEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  const bool clicked =
      event->reason() == Qt::MouseFocusReason && (QGuiApplication::mouseButtons() & Qt::LeftButton);
  if (FAutoSelect && !clicked) selectAll();
}

// --- TNumberEdit ---

TNumberEdit::TNumberEdit(QWidget* parent) : TCustomNumEdit(parent) { setText("0"); }

TNumberEditFormat TNumberEdit::Format() const {
  return TNumberEditFormat{FNumMode, FBits, FDigits, FGroupDigits, FPrefix, FBytes};
}

bool TNumberEdit::IsValidChar(QChar key) {
  const QString all = text();
  const QString t = all.trimmed();
  const QChar c = !t.isEmpty() && selectedText().length() != all.length() ? t.front() : key;
  if (FPrefix) FInpNumMd = PrefixInputMode(c.unicode());
  const bool valid = IsNumberEditChar(key.unicode(), FInpNumMd);
  if (!valid) WarningBeep();
  return valid;
}

void TNumberEdit::IncrementValue(int delta) { SetValue(FValue + delta); }

void TNumberEdit::SetValue(std::int64_t value) {
  const bool changed = value != FValue;
  FValue = value;
  setText(QString::fromStdString(NumberEditText(FValue, Format())));
  // setText has put the caret after the last character with nothing selected.
  setModified(changed);
}

std::int64_t TNumberEdit::Value() {
  const TNumberEditReading reading = ReadNumberEditText(text().toStdString(), FPrefix, FInpNumMd);
  if (!reading.Empty) {
    FConvertError = reading.Error;
    if (reading.Error) WarningBeep();
  }
  return reading.Value;
}

void TNumberEdit::SetBits(std::uint16_t value) {
  if (value == 0) value = 32;
  if (value == FBits) return;
  FBits = value;
  SetValue(FValue);
}

void TNumberEdit::SetDigits(std::uint16_t value) {
  if (value == FDigits) return;
  FDigits = value;
  SetValue(FValue);
}

void TNumberEdit::SetGroupDigits(std::uint16_t value) {
  if (value == FGroupDigits) return;
  FGroupDigits = value;
  SetValue(FValue);
}

void TNumberEdit::SetPrefix(bool value) {
  if (value == FPrefix) return;
  FPrefix = value;
  SetValue(FValue);
}

void TNumberEdit::SetBytes(bool value) {
  if (value == FBytes) return;
  FBytes = value;
  SetValue(FValue);
}

void TNumberEdit::SetNumMode(TNumMode value) {
  if (value != FNumMode) {
    FNumMode = value;
    SetValue(FValue);
  }
  FInpNumMd = FNumMode;
}

void TNumberEdit::keyReleaseEvent(QKeyEvent* event) {
  FValue = Value();
  TCustomNumEdit::keyReleaseEvent(event);
}

void TNumberEdit::focusOutEvent(QFocusEvent* event) {
  SetValue(Value());
  TCustomNumEdit::focusOutEvent(event);
}
