// Folder operations of the directory dialog: recursive deletion with counts, the freedesktop
// trash, free space of a volume, the network mounts and the user's place folders.
#pragma once
#include <QString>
#include <QStringList>

struct TDeleteCounts {
  unsigned Dirs = 0;    // folders removed
  unsigned Files = 0;   // files deleted
  unsigned Errors = 0;  // files or folders that could not be removed
};

// Subfolders first (recursively), then every file of the folder (write permission restored
// first); the folder itself only when all its files went. Symbolic links are removed as links,
// never followed. The root folder is refused (one error).
TDeleteCounts DeleteDirectoryTree(const QString& folder);

// Moves a file or folder to the trash as the freedesktop.org desktops lay it out: the home trash
// ($XDG_DATA_HOME/Trash) for items on its volume, otherwise the volume's $topdir/.Trash/$uid (when
// it is a sticky folder) or $topdir/.Trash-$uid. Writes the ".trashinfo" record first and removes
// it again when the move fails. False (nothing moved) on any failure; error gets the reason.
bool MoveToTrash(const QString& path, QString* error = nullptr, QString* trashedAs = nullptr);
// The home trash folder ($XDG_DATA_HOME/Trash, else ~/.local/share/Trash).
QString HomeTrashFolder();

// "<free> free of <total>" for the volume holding the folder, sizes in binary units; empty when
// the volume cannot be asked.
QString FreeSpaceText(const QString& folder);

// Mount points of network file systems (NFS, SMB/CIFS, SSHFS, ...), sorted.
QStringList NetworkMounts();
// True for a path that begins with two delimiters or lies on one of the given network mounts.
bool IsNetworkPath(const QString& path, const QStringList& mounts);

// The user's desktop and documents folders (from the start-up values, else the environment),
// without trailing delimiter; empty when unknown.
QString DesktopFolderPath();
QString DocumentsFolderPath();
