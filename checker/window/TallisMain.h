// TTallisForm: Tallis's window. The user chooses the check mode, the source folder and the file
// names or patterns (each field with its history), starts a check run and reads its result
// list. The settings file (<settings folder>/Tallis.ini) is read when the window is created and
// written when it is destroyed: mode, subdirectories option and both histories.
//
// A run keeps the window responsive: it catches up with the window's events about every 50 ms.
// Meanwhile "Check" and the inputs are disabled; closing the window ("Exit", the title bar, a
// termination signal) ends the run first and closes the window afterwards.
#pragma once
#include <QWidget>
#include <memory>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListView;
class QPushButton;
class QRadioButton;
class QToolButton;
class TCheckRun;
class TResultListModel;
class TShellDirDialog;

class TTallisForm : public QWidget {
  Q_OBJECT
public:
  explicit TTallisForm(QWidget* parent = nullptr);
  ~TTallisForm() override;

  // The program's directory dialog (made after the window). Without one the window makes its
  // own when it is first needed.
  void SetDirDialog(TShellDirDialog* dialog) { FDirDialog = dialog; }

  // Event handlers.
  void rgModeClick();
  void SourceSelectBtnClick();
  void FileBtnClick();
  void btStartClick();
  void InfoBtnClick();
  void btExitClick();

  // Selected item of rgMode: 0 binary, 1 text.
  int ModeIndex() const;
  void SetModeIndex(int index);
  bool Running() const;
  TResultListModel* Results() const { return FResults; }
  TCheckRun& CheckRun() const { return *FRun; }
  const std::string& SettingsFileName() const { return IniName; }
  // The default file-name pattern of a mode.
  static QString DefaultPattern(int mode);

  // Controls.
  QGroupBox* rgMode;
  QRadioButton* rbBinary;
  QRadioButton* rbText;
  QLabel* Label1;
  QComboBox* SourceDirEdit;
  QToolButton* SourceSelectBtn;
  QLabel* Label2;
  QComboBox* FileEdit;
  QToolButton* FileBtn;
  QCheckBox* chbSubDir;
  QCheckBox* cbShow;
  QPushButton* btStart;
  QPushButton* InfoBtn;
  QPushButton* btExit;
  QListView* lbResult;

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void BuildUi();
  void RetranslateUi();
  void ReadSettings();
  void WriteSettings();
  void SetRunning(bool running);
  void ShowSelection();
  // Both fields show their drop-down button as soon as their history holds an entry.
  void ShowHistoryButtons();
  TShellDirDialog& DirDialog();

  // Fields of the window.
  QString ProgVersName;
  QString ProgVersDate;
  std::string AppPath;
  std::string UserPath;
  std::string IniName;
  // What the user is told once the window is shown: the settings folder or file could not be used.
  QStringList FNotices;

  QButtonGroup* FModeGroup;
  TResultListModel* FResults;
  std::unique_ptr<TCheckRun> FRun;
  TShellDirDialog* FDirDialog = nullptr;
  std::unique_ptr<TShellDirDialog> FOwnDirDialog;
  bool FCloseRequested = false;
};
