// TInputStringDialog: one line of text with a description, OK and Cancel. Created for one call
// through InputString (DialogService.h).
#pragma once
#include <QDialog>

#include "DialogTypes.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TInputStringDialog : public QDialog {
  Q_OBJECT
public:
  explicit TInputStringDialog(QWidget* parent = nullptr);

  // Caption "Edit text" unless a title is given; placed at the point by the dialog rule; runs
  // through the dialog service. On OK the field's text goes to text.
  bool Run(QPoint at, const QString& title, const QString& desc, QString& text);

  QLineEdit* Field() const { return edText; }
  QLabel* DescLabel() const { return lbDesc; }
  QPushButton* OkButton() const { return btOk; }
  QPushButton* CancelButton() const { return btCancel; }

protected:
  void changeEvent(QEvent* event) override;

private:
  void RetranslateUi();

  QLabel* lbDesc;
  QLineEdit* edText;
  QPushButton* btOk;
  QPushButton* btCancel;
  bool FOwnTitle = false;
};

// Client width of a text input dialog: the design width 311, or the text's width plus 20 and the
// margins when that is wider; never wider than the screen's work area at the point.
int InputDialogWidth(const QWidget* field, const QString& text, int margins, QPoint at);
