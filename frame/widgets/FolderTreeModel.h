// The directory dialog's folder tree: a file system model (folders only, hidden ones included)
// seen through a proxy that shows one top folder as the single item at its level, leaves out
// hidden folders unless asked for, and sorts by name.
#pragma once
#include <QSortFilterProxyModel>

class QFileSystemModel;

class TFolderTreeModel : public QSortFilterProxyModel {
  Q_OBJECT
public:
  explicit TFolderTreeModel(QObject* parent = nullptr);

  // A new file system model (the old one is dropped): the way to reread everything.
  void Reload();
  void SetShowHidden(bool hidden);
  bool ShowHidden() const { return FHidden; }

  // The folder shown at the top of the tree ("/" for the whole file system).
  void SetTop(const QString& folder);
  const QString& Top() const { return FTop; }
  // Index for the view's root: the level that holds the top folder.
  QModelIndex RootIndex() const;

  // Hidden folders on the way to this folder stay visible while hidden ones are not shown, so a
  // start folder below a hidden one can be selected.
  void Reveal(const QString& folder);

  // Proxy index of a folder (loading the path on the way); invalid when it is not in the tree.
  QModelIndex IndexOf(const QString& folder);
  QString PathOf(const QModelIndex& index) const;
  // True when the folder lies below the top (or is the top).
  bool Contains(const QString& folder) const;

  QFileSystemModel* FileSystem() const { return FModel; }

signals:
  // A folder's entries have been read (the model reads in the background).
  void FolderLoaded(const QString& folder);

protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
  QFileSystemModel* NewModel();

  QFileSystemModel* FModel = nullptr;
  QString FTop = QStringLiteral("/");
  QString FTopParent;
  QString FReveal;
  bool FHidden = false;
};

// Clean absolute form of a folder ("/a/b", the root "/").
QString CleanFolder(const QString& folder);
// Parent of a clean folder ("/" for "/a" and for "/").
QString ParentFolder(const QString& folder);
