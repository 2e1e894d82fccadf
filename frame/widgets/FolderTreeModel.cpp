#include "FolderTreeModel.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>

QString CleanFolder(const QString& folder) {
  if (folder.isEmpty()) return QString();
  return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

QString ParentFolder(const QString& folder) {
  const QString clean = CleanFolder(folder);
  const qsizetype slash = clean.lastIndexOf(QLatin1Char('/'));
  if (slash <= 0) return QStringLiteral("/");
  return clean.left(slash);
}

TFolderTreeModel::TFolderTreeModel(QObject* parent) : QSortFilterProxyModel(parent) {
  setSortCaseSensitivity(Qt::CaseInsensitive);
  setRecursiveFilteringEnabled(false);
  Reload();
}

QFileSystemModel* TFolderTreeModel::NewModel() {
  auto* model = new QFileSystemModel(this);
  model->setReadOnly(true);
  model->setResolveSymlinks(false);
  // Hidden folders are always read; the proxy decides which of them to show.
  model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives | QDir::Hidden | QDir::System);
  model->setRootPath(QStringLiteral("/"));
  connect(model, &QFileSystemModel::directoryLoaded, this, &TFolderTreeModel::FolderLoaded);
  return model;
}

void TFolderTreeModel::Reload() {
  QFileSystemModel* old = FModel;
  FModel = NewModel();
  setSourceModel(FModel);
  sort(0, Qt::AscendingOrder);
  delete old;
}

void TFolderTreeModel::SetShowHidden(bool hidden) {
  if (hidden == FHidden) return;
  FHidden = hidden;
  invalidateFilter();
}

namespace {
bool OnTheWay(const QString& path, const QString& target) {
  return !target.isEmpty() && (target == path || target.startsWith(path + QLatin1Char('/')));
}
bool HasHiddenPart(const QString& path) { return path.contains(QStringLiteral("/.")); }
}  // namespace

void TFolderTreeModel::Reveal(const QString& folder) {
  const QString clean = CleanFolder(folder);
  if (clean == FReveal) return;
  const bool refilter = !FHidden && (HasHiddenPart(clean) || HasHiddenPart(FReveal));
  FReveal = clean;
  if (refilter) invalidateFilter();
}

void TFolderTreeModel::SetTop(const QString& folder) {
  const QString top = CleanFolder(folder);
  FTop = top.isEmpty() ? QStringLiteral("/") : top;
  FTopParent = FTop == QLatin1String("/") ? QString() : ParentFolder(FTop);
  FModel->index(FTop);  // loads the path
  invalidateFilter();
}

QModelIndex TFolderTreeModel::RootIndex() const {
  if (FTopParent.isEmpty()) return QModelIndex();
  return mapFromSource(FModel->index(FTopParent));
}

bool TFolderTreeModel::Contains(const QString& folder) const {
  const QString clean = CleanFolder(folder);
  if (clean.isEmpty()) return false;
  return FTop == QLatin1String("/") || clean == FTop || clean.startsWith(FTop + QLatin1Char('/'));
}

QModelIndex TFolderTreeModel::IndexOf(const QString& folder) {
  if (!Contains(folder)) return QModelIndex();
  Reveal(folder);
  const QModelIndex source = FModel->index(CleanFolder(folder));
  return source.isValid() ? mapFromSource(source) : QModelIndex();
}

QString TFolderTreeModel::PathOf(const QModelIndex& index) const {
  if (!index.isValid()) return QString();
  return CleanFolder(FModel->filePath(mapToSource(index)));
}

bool TFolderTreeModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  const QModelIndex item = FModel->index(sourceRow, 0, sourceParent);
  const QString path = CleanFolder(FModel->filePath(item));
  if (!FTopParent.isEmpty() && CleanFolder(FModel->filePath(sourceParent)) == FTopParent) return path == FTop;
  if (!FHidden && FModel->fileName(item).startsWith(QLatin1Char('.')))
    return OnTheWay(path, FReveal) || OnTheWay(path, FTop);
  return true;
}
