// TShellDirDialog: places, navigation and the folder commands.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QToolButton>
#include <QTreeView>

#include "DialogService.h"
#include "FolderOps.h"
#include "FolderTreeModel.h"
#include "HistoryCombo.h"
#include "QtText.h"
#include "ShellDirDlg.h"

QString TShellDirDialog::NetworkTop() const {
  if (FNetworkMounts.isEmpty()) return QStringLiteral("/");
  // One mount is the top itself; several share the deepest common parent folder.
  QString common = FNetworkMounts.constFirst();
  for (const QString& m : FNetworkMounts)
    while (!(m == common || m.startsWith(common + QLatin1Char('/')) || common == QLatin1String("/")))
      common = ParentFolder(common);
  return common;
}

int TShellDirDialog::DepthBelowTop(const QString& folder) const {
  const QString top = FTreeModel->Top();
  const QString clean = CleanFolder(folder);
  if (!FTreeModel->Contains(clean) || clean == top) return 0;
  const QString rest = top == QLatin1String("/") ? clean.mid(1) : clean.mid(top.size() + 1);
  return static_cast<int>(rest.split(QLatin1Char('/'), Qt::SkipEmptyParts).size());
}

void TShellDirDialog::ApplyPlace(TPlace place) {
  FPlace = place;
  if (QAbstractButton* b = PlaceButton(place)) b->setChecked(true);
  QString top;
  switch (place) {
    case plDesktop: top = DesktopFolderPath(); break;
    case plDocuments: top = DocumentsFolderPath(); break;
    case plComputer: top = QStringLiteral("/"); break;
    case plNetwork: top = NetworkTop(); break;
  }
  if (top.isEmpty() || !QFileInfo(top).isDir()) top = place == plComputer ? QStringLiteral("/") : QDir::homePath();
  FTreeModel->SetTop(top);
  tvFolders->setRootIndex(FTreeModel->RootIndex());
}

void TShellDirDialog::SetPlace(TPlace place) {
  ApplyPlace(place);
  SelectFolder(FTreeModel->Top());
  tvFolders->expand(tvFolders->currentIndex());
  tvFolders->setFocus();
}

bool TShellDirDialog::SelectFolder(const QString& folder) {
  const QString clean = CleanFolder(folder);
  if (clean.isEmpty()) return false;
  if (!FTreeModel->Contains(clean)) ApplyPlace(plComputer);
  const QModelIndex index = FTreeModel->IndexOf(clean);
  if (!index.isValid()) return false;
  tvFolders->setCurrentIndex(index);
  tvFolders->scrollTo(index);
  TreeSelectionChanged();  // also when the folder was selected already
  return true;
}

void TShellDirDialog::OpenFolder(const QString& folder) {
  QString start = folder;
  TPlace place = plComputer;
  if (start.isEmpty() || !QFileInfo(start).isDir()) {
    start = DocumentsFolderPath();
    if (start.isEmpty() || !QFileInfo(start).isDir()) start = QDir::currentPath();
  } else if (IsNetworkPath(start, FNetworkMounts) && !FNetworkMounts.isEmpty()) {
    place = plNetwork;
  }
  ApplyPlace(place);
  if (!SelectFolder(start)) SelectFolder(FTreeModel->Top());
  tvFolders->expand(tvFolders->currentIndex());
}

void TShellDirDialog::GoUp() {
  const QString current = SelectedFolder();
  if (current.isEmpty()) return;
  if (current == FTreeModel->Top()) {
    ApplyPlace(plComputer);
    SelectFolder(ParentFolder(current));
  } else if (FPlace == plDocuments && DepthBelowTop(current) >= 2) {
    SelectFolder(ParentFolder(current));
  } else {
    ApplyPlace(plComputer);
    SelectFolder(ParentFolder(current));
  }
  tvFolders->scrollTo(tvFolders->currentIndex());
  tvFolders->setFocus();
}

void TShellDirDialog::GoHome() {
  if (FDefaultDir.isEmpty()) return;
  const QString home = CleanFolder(FDefaultDir);
  if (!QFileInfo(home).isDir()) {
    ErrorMsg(QSafeFormat(QtDialogsText("Directory not found:\r\n%s!"), FDefaultDir), MousePos(), QString(), this);
    DirList.removeIf([&](const QString& e) { return CleanFolder(e) == home; });
    FillDirField();
    return;
  }
  if (FPlace == plNetwork && home == QLatin1String("/")) {
    ApplyPlace(plComputer);
    SelectFolder(home);
    return;
  }
  QDir::setCurrent(home);
  FTreeModel->SetTop(home);
  tvFolders->setRootIndex(FTreeModel->RootIndex());
  SelectFolder(home);
  tvFolders->expand(tvFolders->currentIndex());
}

void TShellDirDialog::CreateNewFolder() {
  const QString current = SelectedFolder();
  if (current.isEmpty()) return;
  QString name;
  if (!InputString(BelowLeft(btNewFolder, -100, 10), current, QtDialogsText("New subdirectory:"), name, this)) return;
  if (name.isEmpty()) return;
  const QString path = current.endsWith(QLatin1Char('/')) ? current + name : current + QLatin1Char('/') + name;
  if (QDir().mkpath(path) && QFileInfo(path).isDir()) {
    ApplyPlace(plComputer);
    SelectFolder(path);
    tvFolders->expand(tvFolders->currentIndex());
  } else {
    ErrorMsg(QSafeFormat(QtDialogsText("Could not create directory:\r\n%s!"), path), MousePos(), QString(), this);
  }
}

void TShellDirDialog::DeleteFolder() {
  const QString folder = SelectedFolder();
  if (folder.isEmpty()) return;
  TSelectArgs args;
  args.Title = QtDialogsText("Delete directory");
  args.Message = QSafeFormat(QtDialogsText("Delete \"%s\""), folder);
  args.BoldMessage = true;
  args.Icon = siQuestion;
  args.Choices = {QtDialogsText("Definitely"), QtDialogsText("To recycle bin")};
  args.Parent = this;
  const int choice = SelectChoice(args);
  if (choice < 0) return;

  GoUp();
  bool ok;
  if (choice == 1) {
    ok = MoveToTrash(folder);
    if (ok) InfoMsg(QSafeFormat(QtDialogsText("%s moved to Recycle Bin!"), folder), NoPoint, QString(), this);
  } else {
    const TDeleteCounts counts = DeleteDirectoryTree(folder);
    ok = counts.Errors == 0;
    if (ok)
      InfoMsg(QSafeFormat(QtDialogsText("%u directories with %u files deleted!"), counts.Dirs, counts.Files), NoPoint,
              QString(), this);
  }
  if (!ok) ErrorMsg(QSafeFormat(QtDialogsText("Error deleting directory:\r\n%s!"), folder), NoPoint, QString(), this);
  RefreshTree();
}

void TShellDirDialog::RefreshTree() {
  QString folder = SelectedFolder();
  const QString top = FTreeModel->Top();
  FTreeModel->Reload();
  FTreeModel->SetTop(top);
  tvFolders->setRootIndex(FTreeModel->RootIndex());
  while (!folder.isEmpty() && folder != QLatin1String("/") && !QFileInfo(folder).isDir()) folder = ParentFolder(folder);
  SelectFolder(folder.isEmpty() ? top : folder);
  ReloadFileModel();
}

void TShellDirDialog::ShowTreeMenu(const QPoint& pos) {
  const QModelIndex at = tvFolders->indexAt(pos);
  if (at.isValid()) tvFolders->setCurrentIndex(at);
  RefreshTree();
  FTreeMenu->popup(tvFolders->viewport()->mapToGlobal(pos));
}
