// TShellDirDialog: the directory selection dialog of both programs. Places (Desktop, Documents,
// Computer, Network), a folder tree, an optional file list, the directory field with a short
// history, and folder commands (new, delete, up, home). Created once and reused; Execute runs it
// through the dialog service.
#pragma once
#include <QDialog>
#include <QStringList>

#include "DialogTypes.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QToolButton;
class QTreeView;
class TFolderTreeModel;

inline constexpr int DirHistoryMax = 15;

class TShellDirDialog : public QDialog {
  Q_OBJECT
public:
  enum TPlace { plDesktop, plDocuments, plComputer, plNetwork };

  explicit TShellDirDialog(QWidget* parent = nullptr);
  ~TShellDirDialog() override;

  // True when closed with OK; Dir is then the directory field's text with a trailing "/" (an
  // empty field gives ""). Cancel leaves Dir unchanged.
  bool Execute(const QString& ATitle, bool Hidden, bool FileView, bool ZipAsFiles, const QString& HomeDir,
               QString& Dir);
  // The dialog itself, without the service (the service's default calls it).
  bool Run(const QString& ATitle, bool Hidden, bool FileView, bool ZipAsFiles, const QString& HomeDir, QString& Dir);

  // Keeps the history in a settings file section (both programs leave this empty).
  void SetIniFile(const QString& iniName, const QString& iniSection);

  QStringList DirList;  // directory history, most recent first

  // State and actions, also for tests.
  TPlace Place() const { return FPlace; }
  void SetPlace(TPlace place);
  QString SelectedFolder() const;
  bool SelectFolder(const QString& folder);
  QString TreeTop() const;
  void OpenFolder(const QString& folder);  // the start-folder rules
  void GoUp();
  void GoHome();
  void CreateNewFolder();
  void DeleteFolder();
  void RefreshTree();
  void SetShowFiles(bool show);

  QTreeView* Tree() const { return tvFolders; }
  QTreeView* FileList() const { return lvFiles; }
  QComboBox* DirField() const { return cbxSelectedDir; }
  QLabel* FreeSpaceLabel() const { return lbFreeSpace; }
  QCheckBox* ShowFilesBox() const { return cbShowFiles; }
  QPushButton* OkButton() const { return btOk; }
  QPushButton* CancelButton() const { return btCancel; }
  QToolButton* HomeButton() const { return btHome; }
  QToolButton* UpButton() const { return btUp; }
  QToolButton* NewFolderButton() const { return btNewFolder; }
  QAbstractButton* PlaceButton(TPlace place) const;
  QMenu* TreeMenu() const { return FTreeMenu; }
  QWidget* FilePanel() const { return FFilePanel; }

protected:
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildUi();
  void RetranslateUi();
  void ApplyPlace(TPlace place);
  void TreeSelectionChanged();
  void FieldEdited(const QString& text);
  void HistoryChosen(int index);
  void ShowFilesToggled(bool on);
  void FolderShown(const QString& folder);
  void UpdateFileList(const QString& folder);
  void UpdateFilePanel();
  void FitFileColumns();
  void ReloadFileModel();
  void AcceptDialog();
  void ShowTreeMenu(const QPoint& pos);
  void FillDirField();
  QString NetworkTop() const;
  int DepthBelowTop(const QString& folder) const;

  // Fields of the dialog.
  QString FDefaultDir;
  QString FTitle;
  QString FIniName;
  QString FIniSection;
  bool FHidden = false;
  bool FFileView = true;
  bool FZipAsFiles = false;
  TPlace FPlace = plComputer;
  QStringList FNetworkMounts;
  int FFilePanelWidth = 0;
  QString FResultDir;

  TFolderTreeModel* FTreeModel;
  QFileSystemModel* FFileModel;
  QButtonGroup* FPlaces;
  QTreeView* tvFolders;
  QTreeView* lvFiles;
  QWidget* FFilePanel;
  QSplitter* FSplitter;
  QCheckBox* cbShowFiles;
  QToolButton* btHome;
  QToolButton* btUp;
  QToolButton* btNewFolder;
  QLabel* lbDirectory;
  QComboBox* cbxSelectedDir;
  QLabel* lbFreeSpace;
  QPushButton* btOk;
  QPushButton* btCancel;
  QMenu* FTreeMenu;
  QAction* itmCreate;
  QAction* itmDelete;
  QAction* itmUpdate;
  QAction* itmCancel;
};
