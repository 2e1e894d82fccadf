#include "FolderOps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QUrl>
#include <cerrno>
#include <cstring>

#include "NumberUtils.h"
#include "PlatformFolders.h"
#include "QtText.h"
#include "Startup.h"

namespace {

bool IsRoot(const QString& path) { return QDir::cleanPath(path) == QLatin1String("/"); }

// Adds the owner's permissions (the read-only attribute cleared); links are left alone.
void MakeWritable(const QByteArray& name, mode_t add) {
  struct stat st {};
  if (::lstat(name.constData(), &st) == 0 && !S_ISLNK(st.st_mode) && (st.st_mode & add) != add)
    ::chmod(name.constData(), (st.st_mode & 07777) | add);
}

// True when the folder itself was removed.
bool DeleteTree(const QString& folder, TDeleteCounts& counts) {
  const QByteArray folderName = QFile::encodeName(folder);
  MakeWritable(folderName, S_IRWXU);  // a read-only folder must give up its entries
  const QFileInfoList entries = QDir(folder).entryInfoList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  // Subfolders first; links to folders count as files and are never followed.
  for (const QFileInfo& e : entries)
    if (e.isDir() && !e.isSymLink()) DeleteTree(e.absoluteFilePath(), counts);
  bool filesGone = true;
  for (const QFileInfo& e : entries) {
    if (e.isDir() && !e.isSymLink()) continue;
    const QByteArray name = QFile::encodeName(e.absoluteFilePath());
    MakeWritable(name, S_IWUSR);
    if (::unlink(name.constData()) == 0) {
      ++counts.Files;
    } else {
      ++counts.Errors;
      filesGone = false;
    }
  }
  if (!filesGone) return false;
  if (::rmdir(folderName.constData()) == 0) {
    ++counts.Dirs;
    return true;
  }
  ++counts.Errors;
  return false;
}

QString Reason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

bool MakeTrashDir(const QString& trash, QString* error) {
  for (const QString& sub : {trash, trash + QStringLiteral("/files"), trash + QStringLiteral("/info")}) {
    const QByteArray name = QFile::encodeName(sub);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
      if (error) *error = Reason(errno);
      return false;
    }
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      if (error) *error = QStringLiteral("%1 is not a folder").arg(sub);
      return false;
    }
  }
  return true;
}

dev_t DeviceOf(const QString& path) {
  struct stat st {};
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_dev : dev_t(-1);
}

// The trash on the volume of the item: $topdir/.Trash/$uid when .Trash is a sticky folder that
// is no link, else $topdir/.Trash-$uid.
QString VolumeTrash(const QString& topDir) {
  const QString uid = QString::number(::getuid());
  const QString shared = topDir + QStringLiteral("/.Trash");
  struct stat st {};
  if (::lstat(QFile::encodeName(shared).constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX))
    return shared + QLatin1Char('/') + uid;
  return topDir + QStringLiteral("/.Trash-") + uid;
}

// Percent-encoded path for the Path key (RFC 2396 escaping, "/" kept).
QByteArray EncodedPath(const QString& path) { return QUrl::toPercentEncoding(path, "/"); }

bool TrashInto(const QString& trash, const QString& source, const QString& infoPath, QString* error,
               QString* trashedAs) {
  if (!MakeTrashDir(trash, error)) return false;
  const QString base = QFileInfo(source).fileName();
  for (int n = 1; n < 10000; ++n) {
    const QString name = n == 1 ? base : QStringLiteral("%1.%2").arg(base).arg(n);
    const QString info = trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo");
    const QString target = trash + QStringLiteral("/files/") + name;
    // The info file is created exclusively: it reserves the name.
    const int fd = ::open(QFile::encodeName(info).constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      if (error) *error = Reason(errno);
      return false;
    }
    struct stat st {};
    if (::lstat(QFile::encodeName(target).constData(), &st) == 0) {  // a stray file without info
      ::close(fd);
      ::unlink(QFile::encodeName(info).constData());
      continue;
    }
    const QByteArray record = "[Trash Info]\nPath=" + EncodedPath(infoPath) + "\nDeletionDate=" +
                              QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
                              "\n";
    const bool written = ::write(fd, record.constData(), static_cast<size_t>(record.size())) == record.size();
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
      if (error) *error = Reason(errno);
      ::unlink(QFile::encodeName(info).constData());
      return false;
    }
    if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0) {
      const int err = errno;
      ::unlink(QFile::encodeName(info).constData());
      if (error) *error = Reason(err);
      errno = err;
      return false;
    }
    if (trashedAs) *trashedAs = target;
    return true;
  }
  if (error) *error = QStringLiteral("no free name in the trash");
  return false;
}

QString FolderFromStartup(const std::string& fromStartup, std::string TPlatformFolders::*member) {
  if (!fromStartup.empty()) return ToQString(fromStartup);
  return ToQString(ProcessPlatformFolders(std::string()).*member);
}

}  // namespace

TDeleteCounts DeleteDirectoryTree(const QString& folder) {
  TDeleteCounts counts;
  const QFileInfo info(folder);
  if (folder.isEmpty() || IsRoot(folder) || !info.isDir() || info.isSymLink()) {
    ++counts.Errors;
    return counts;
  }
  DeleteTree(QDir::cleanPath(info.absoluteFilePath()), counts);
  return counts;
}

QString HomeTrashFolder() {
  QString data = qEnvironmentVariable("XDG_DATA_HOME");
  if (data.isEmpty() || !QDir::isAbsolutePath(data)) data = QDir::homePath() + QStringLiteral("/.local/share");
  return QDir::cleanPath(data) + QStringLiteral("/Trash");
}

bool MoveToTrash(const QString& path, QString* error, QString* trashedAs) {
  const QFileInfo info(path);
  const QString source = QDir::cleanPath(info.absoluteFilePath());
  if (path.isEmpty() || IsRoot(source) || !(info.exists() || info.isSymLink())) {
    if (error) *error = QStringLiteral("not found");
    return false;
  }
  const QString homeTrash = HomeTrashFolder();
  if (source == homeTrash || source.startsWith(homeTrash + QLatin1Char('/'))) {
    if (error) *error = QStringLiteral("the item is the trash itself");
    return false;
  }
  // The home trash serves the items on its own volume.
  QString trashParent = QFileInfo(homeTrash).absolutePath();
  QDir().mkpath(trashParent);
  if (DeviceOf(trashParent) == DeviceOf(source)) return TrashInto(homeTrash, source, source, error, trashedAs);

  const QString topDir = QStorageInfo(source).rootPath();
  if (topDir.isEmpty()) {
    if (error) *error = QStringLiteral("unknown volume");
    return false;
  }
  const QString relative = QDir(topDir).relativeFilePath(source);
  return TrashInto(VolumeTrash(QDir::cleanPath(topDir)), source, relative, error, trashedAs);
}

QString FreeSpaceText(const QString& folder) {
  if (folder.isEmpty()) return QString();
  const QStorageInfo storage(folder);
  if (!storage.isValid() || !storage.isReady() || storage.bytesTotal() <= 0) return QString();
  return ToQString(FormatSize(storage.bytesAvailable())) + QtDialogsText(" free of ") +
         ToQString(FormatSize(storage.bytesTotal()));
}

QStringList NetworkMounts() {
  static const QStringList networkTypes = {
      QStringLiteral("nfs"),        QStringLiteral("nfs4"),       QStringLiteral("cifs"),
      QStringLiteral("smb3"),       QStringLiteral("smbfs"),      QStringLiteral("ncpfs"),
      QStringLiteral("afs"),        QStringLiteral("davfs"),      QStringLiteral("fuse.davfs2"),
      QStringLiteral("fuse.sshfs"), QStringLiteral("sshfs"),      QStringLiteral("fuse.rclone"),
      QStringLiteral("glusterfs"),  QStringLiteral("fuse.glusterfs"), QStringLiteral("ceph"),
      QStringLiteral("lustre")};
  QStringList mounts;
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!v.isValid()) continue;
    if (networkTypes.contains(QString::fromLatin1(v.fileSystemType()), Qt::CaseInsensitive))
      mounts << v.rootPath();
  }
  mounts.sort();
  mounts.removeDuplicates();
  return mounts;
}

bool IsNetworkPath(const QString& path, const QStringList& mounts) {
  if (path.startsWith(QStringLiteral("//"))) return true;
  const QString clean = QDir::cleanPath(path);
  for (const QString& m : mounts)
    if (clean == m || clean.startsWith(m + QLatin1Char('/'))) return true;
  return false;
}

QString DesktopFolderPath() { return FolderFromStartup(StartupValues().Folders.Desktop, &TPlatformFolders::Desktop); }

QString DocumentsFolderPath() {
  return FolderFromStartup(StartupValues().Folders.Documents, &TPlatformFolders::Documents);
}
