// TSelectFromListDialog: a list of texts to choose from and, on request, to edit (add, remove,
// change, reset to a default list) and reorder. Created once and reused; Execute runs it through
// the dialog service.
#pragma once
#include <QDialog>
#include <QStringList>

#include "DialogTypes.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QToolButton;
class QVBoxLayout;

class TSelectFromListDialog : public QDialog {
  Q_OBJECT
public:
  explicit TSelectFromListDialog(QWidget* parent = nullptr);

  // Result mrOk, mrPrompt or mrCancel. With soEdit, SList receives the edited entries unless the
  // dialog was cancelled; AText the chosen entry ("|"-joined with soMulti, empty for none).
  int Execute(QPoint APos, const QString& Titel, const QString& Desc, const QString& Hint, TSelectOptions Options,
              int ACols, TTextChange Convert, const QString& Default, QStringList& SList, QString& AText,
              bool ShowCancel = true, TCheckEntry CheckEntry = {});
  // The dialog itself, without the service (the service's default calls it).
  int Run(const TSelectFromListArgs& args, QStringList& SList, QString& AText);

  // The entries of a default list text: split at commas and blanks; an entry in double quotes
  // may hold both ("" inside quotes is one quote).
  static QStringList SplitDefaultList(const QString& text);

  QStringList Entries() const;
  QListWidget* ListBox() const { return lbxItems; }
  QPushButton* AddButton() const { return btAdd; }
  QPushButton* RemoveButton() const { return btRemove; }
  QPushButton* ChangeButton() const { return btChange; }
  QPushButton* DefaultButton() const { return btDefault; }
  QToolButton* UpButton() const { return btUp; }
  QToolButton* DownButton() const { return btDown; }
  QPushButton* PromptButton() const { return btPrompt; }
  QPushButton* OkButton() const { return btOk; }
  QPushButton* CancelButton() const { return btCancel; }
  QGroupBox* EditGroup() const { return gbEdit; }
  QGroupBox* MoveGroup() const { return gbMove; }
  QLabel* HintLabel() const { return lbHint; }

  // The actions of the buttons and of a double click on the list.
  void AddItem();
  void RemoveItem();
  void ChangeItem();
  void ResetToDefault();
  void MoveUp();
  void MoveDown();
  void EditAt(QPoint mousePos);

protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void RetranslateUi();
  void SetColumns(int cols);
  void FitColumns();
  bool Accepts(const QString& text) const;
  void RejectEntry(const QString& text);
  QPoint ButtonPoint(const QWidget* button) const;
  int CurrentRow() const;
  void SelectRow(int row);
  void SwapRows(int a, int b);

  // Fields of the dialog.
  bool FEdit = false;
  int dist = 10;
  QString FText;
  QString FDesc;
  QString DefDelimitedText;
  TCheckEntry FCheckEntry;
  int FCols = 1;
  bool FOwnTitle = false;

  QLabel* lbDesc;
  QListWidget* lbxItems;
  QGroupBox* gbEdit;
  QPushButton* btAdd;
  QPushButton* btRemove;
  QPushButton* btChange;
  QPushButton* btDefault;
  QGroupBox* gbMove;
  QToolButton* btUp;
  QToolButton* btDown;
  QLabel* lbHint;
  QPushButton* btPrompt;
  QPushButton* btOk;
  QPushButton* btCancel;
  QVBoxLayout* FRightColumn;
};
