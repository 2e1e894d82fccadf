// TSelectDialog: a message with an icon and a row of choice buttons, three to a row, the last row
// holding the remaining choices and the last button ("Cancel" unless named), aligned right.
// Result: the index of the pressed choice, or -1 for the last button and any other way of
// closing. Created for one call through SelectChoice (DialogService.h).
#pragma once
#include <QDialog>
#include <QList>

#include "DialogTypes.h"

class QLabel;
class QPushButton;

class TSelectDialog : public QDialog {
  Q_OBJECT
public:
  explicit TSelectDialog(QWidget* parent = nullptr);

  // Builds the dialog from the arguments without running it.
  void Prepare(const TSelectArgs& args);
  // Prepare, place, run through the dialog service; the index of the pressed choice or -1.
  int Run(const TSelectArgs& args);

  int Choice() const { return FChoice; }
  const QList<QPushButton*>& ChoiceButtons() const { return FButtons; }
  QPushButton* LastButton() const { return btLast; }
  const QList<QLabel*>& MessageLabels() const { return FLines; }

protected:
  void changeEvent(QEvent* event) override;

private:
  void Clear();

  QList<QPushButton*> FButtons;
  QList<QLabel*> FLines;
  QLabel* FIcon = nullptr;
  QPushButton* btLast = nullptr;
  QWidget* FBody = nullptr;
  bool FOwnLastText = false;
  int FChoice = -1;
};
