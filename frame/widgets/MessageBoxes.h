// The three message boxes of both programs (confirm, information, error): modal, on top of other
// windows, placed at a screen point by the placement rule (centred when both coordinates are
// negative). A caption replaces the standard one and widens the box to fit it.
//
// Windows call ConfirmMsg, InfoMsg and ErrorMsg; these go through the dialog service, so tests
// answer them without a modal loop.
#pragma once
#include <functional>

#include <QMessageBox>
#include <QPoint>
#include <QString>

#include "ScreenPlacement.h"

enum TMsgKind { mkConfirm, mkInformation, mkError };

// The text as a box shows it: CR LF line breaks as line breaks, and a line longer than
// MessageLineMax characters (a path of a megabyte) cut in its middle, where "…" stands for the
// characters left out, so that its beginning and its end stay in view.
constexpr int MessageLineMax = 160;
QString ShownMessage(const QString& text);

bool ConfirmMsg(const QString& text, QPoint at = NoPoint, const QString& caption = QString(), QWidget* parent = nullptr);
void InfoMsg(const QString& text, QPoint at = NoPoint, const QString& caption = QString(), QWidget* parent = nullptr);
void ErrorMsg(const QString& text, QPoint at = NoPoint, const QString& caption = QString(), QWidget* parent = nullptr);

// The warning sound: the toolkit's beep, or the handler set below (tests count beeps that way).
void WarningBeep();
using TWarningBeepHandler = std::function<void()>;
// Replaces the beep by a handler (an empty one restores the beep); returns the previous one.
TWarningBeepHandler SetWarningBeepHandler(TWarningBeepHandler handler);

// The box itself: question icon with Yes (default) and No, information or error icon with OK.
class TMessageBox : public QMessageBox {
  Q_OBJECT
public:
  TMessageBox(TMsgKind kind, const QString& text, QPoint at, const QString& caption, QWidget* parent = nullptr);

  TMsgKind Kind() const { return FKind; }
  QPoint RequestedPoint() const { return FAt; }
  // The standard caption of a kind ("Confirm", "Information", "Error"), translated.
  static QString StandardCaption(TMsgKind kind);
  // Width the caption asks for: its text width + 50 (0 without a caption of its own).
  int CaptionWidth() const;
  // True when the result means Yes (confirm) or OK.
  bool Confirmed(int execResult) const;

protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  TMsgKind FKind;
  QPoint FAt;
  QString FCaption;
};
