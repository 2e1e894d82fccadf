// TInputTextDialog: one line of text in a combo box with automatic completion and an optional
// history of earlier entries (at most 15, the entered text added after OK), and on request a
// table of special characters. Created for one call through InputText (DialogService.h).
#pragma once
#include <QDialog>

#include "DialogTypes.h"

class QComboBox;
class QLabel;
class QPushButton;

inline constexpr int InputTextHistoryMax = 15;

class TInputTextDialog : public QDialog {
  Q_OBJECT
public:
  explicit TInputTextDialog(QWidget* parent = nullptr);

  // On OK the combo box's text goes to text and, with a history, becomes its first entry.
  bool Run(const TInputTextArgs& args, QString& text, QStringList* history);

  QComboBox* Field() const { return cbText; }
  QLabel* DescLabel() const { return lbDesc; }
  QPushButton* OkButton() const { return btOk; }
  QPushButton* CancelButton() const { return btCancel; }
  QPushButton* CharTableButton() const { return btCharTable; }
  // Inserts a character at the field's cursor (the character table's action).
  void InsertCharacter(QChar c);

protected:
  void changeEvent(QEvent* event) override;

private:
  void RetranslateUi();
  void ShowCharTable();

  QLabel* lbDesc;
  QComboBox* cbText;
  QPushButton* btCharTable;
  QPushButton* btOk;
  QPushButton* btCancel;
  bool FOwnTitle = false;
};
