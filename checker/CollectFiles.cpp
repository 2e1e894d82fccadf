#include "CollectFiles.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <utility>

#include "PathUtils.h"
#include "SourceFolder.h"

namespace {

struct TEntry {
  std::string Name;
  std::string Path;
  bool Matches = false;
  bool IsDir = false;
  bool IsFile = false;
  dev_t Device = 0;
  ino_t Inode = 0;
};

using TVisited = std::set<std::pair<dev_t, ino_t>>;

std::vector<TEntry> ReadEntries(const std::string& directory, const std::string& pattern, bool subDirs) {
  std::vector<TEntry> entries;
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return entries;
  while (const dirent* d = ::readdir(dir)) {
    if (!IsDirectoryEntry(d->d_name)) continue;
    TEntry e;
    e.Name = d->d_name;
    e.Path = MakeFileName(directory, e.Name, "");
    e.Matches = ::fnmatch(pattern.c_str(), e.Name.c_str(), 0) == 0;
    if (!e.Matches && !subDirs) continue;
    struct stat st;
    if (::stat(e.Path.c_str(), &st) == 0) {  // follows links; dangling links are neither
      e.IsDir = S_ISDIR(st.st_mode);
      e.IsFile = S_ISREG(st.st_mode);  // no devices or pipes: reading them could block
      e.Device = st.st_dev;
      e.Inode = st.st_ino;
    }
    entries.push_back(std::move(e));
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Name < b.Name; });
  return entries;
}

void Collect(const std::string& directory, const std::string& pattern, bool subDirs, const std::string& realRoot,
             TVisited& visited, std::vector<std::string>& files) {
  const std::vector<TEntry> entries = ReadEntries(directory, pattern, subDirs);
  if (subDirs)
    for (const TEntry& e : entries)
      if (e.IsDir && (realRoot.empty() || LiesInside(realRoot, RealPath(e.Path))) &&
          visited.insert({e.Device, e.Inode}).second)
        Collect(e.Path, pattern, subDirs, realRoot, visited, files);
  for (const TEntry& e : entries)
    if (e.IsFile && e.Matches) files.push_back(e.Path);
}

}  // namespace

void CollectFiles(const std::string& directory, const std::string& pattern, bool subDirs,
                  std::vector<std::string>& files, const std::string& realRoot) {
  std::string searchDir = directory;
  std::string namePattern = pattern;
  const std::size_t slash = pattern.rfind(PathDelim);
  if (slash != std::string::npos) {
    const std::string dirPart = slash == 0 ? std::string(1, PathDelim) : pattern.substr(0, slash);
    searchDir = IsAbsolutePath(dirPart) ? dirPart : JoinPath(directory, dirPart);
    namePattern = pattern.substr(slash + 1);
  }
  if (namePattern.empty()) return;
  TVisited visited;
  struct stat st;
  if (::stat(searchDir.empty() ? "." : searchDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
  visited.insert({st.st_dev, st.st_ino});
  Collect(searchDir, namePattern, subDirs, realRoot, visited, files);
}
