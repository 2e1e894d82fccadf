// TToolWindow: what the trace, watch and breakpoint windows share. A list over one of the core's
// debugging lists (a TDebugListModel), the number base radios and the "Close" button at the
// bottom, the position and size kept in a section of the settings file, and UpdateView.
//
// UpdateView(count) inserts or removes rows; it never resets the model. While the machine runs
// the view follows at most every ViewInterval milliseconds (the core reports at every event pump);
// a hidden window does nothing and takes the live count when it is shown again.
#pragma once
#include <QTimer>
#include <QWidget>
#include <string>

#include "DebugModels.h"

class QHBoxLayout;
class QPushButton;
class QRadioButton;
class QTableView;
class QToolButton;
class TMachineController;
class TNavigator;

class TToolWindow : public QWidget {
  Q_OBJECT
public:
  static constexpr int ViewInterval = 40;  // ms between two view updates during a run
  static constexpr int RowHeight = 16;

  TToolWindow(TMachineController& controller, TNavigator& navigator, TDebugListModel* model, const char* objectName,
              QWidget* parent);
  ~TToolWindow() override;

  // Stores both names; when both are set, takes "Top", "Left", "Height" and "Width" from that
  // section (the current values are the defaults). The position goes through the placement
  // rule; a size below the window's minimum is ignored.
  void LoadFromIni(const std::string& iniName, const std::string& section);
  // Writes the position and size to the section and the file to disk (done when destroyed).
  void SaveToIni() const;
  const std::string& IniSection() const { return FIniSection; }

  // The list's new entry count: rows inserted or removed; when shown and not empty the last row
  // is selected and scrolled into view.
  void UpdateView(int count);
  // The entries' contents changed (memory, a stop): the visible rows are painted again.
  void Refresh();

  TNumMode NumFormat() const { return FModel->NumFormat(); }
  void SetNumFormat(TNumMode mode);
  TDebugListModel* Model() const { return FModel; }
  QTableView* List() const { return lvList; }
  int SelectedRow() const;
  // Selects a row (-1 or past the end: no selection).
  void SelectRow(int row);

  QRadioButton* rbBin;
  QRadioButton* rbOctal;
  QRadioButton* rbDecimal;
  QRadioButton* rbHex;
  QPushButton* btClose;

signals:
  // Closed by the window system or "Close": the window is hidden now.
  void Closed();

protected:
  // The bar left of "Close", for the window's own buttons.
  QHBoxLayout* ButtonBar() const { return FButtons; }
  // A small button with a sign for text, added to that bar.
  QToolButton* AddBarButton(const char* name, const QString& sign);
  // Column widths from the list's width (never negative).
  virtual void SetColumnWidths(int listWidth) = 0;
  virtual void RetranslateUi();
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void FitColumns();
  // The command column takes a label's room while labels are shown, and gives it back.
  void ShowLabelRoom();
  // The navigator's address question below the control, starting at 0 in the window's base
  // (a label too while symbols are loaded); false when cancelled or not an address.
  bool AskAddress(QWidget* below, const QString& desc, int& addr);
  // After a removal: the same row index, the last row past the end, none when empty.
  void SelectAfterRemoval(int row);

  TMachineController& FController;
  TNavigator& FNavigator;
  QTableView* lvList;

private:
  void Apply();

  TDebugListModel* FModel;
  QHBoxLayout* FButtons;
  QTimer FViewTimer;
  int FPending = 0;
  bool FDirty = false;
  bool FLabelRoom = false;
  std::string FIniName;
  std::string FIniSection;
};

// A column width that the window's width leaves: never below 0.
inline int SharedWidth(int rest, int parts) { return rest > 0 ? rest / parts : 0; }
