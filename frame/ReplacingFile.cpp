#include "ReplacingFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <string_view>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "Translate.h"

namespace {
std::string SystemError(int err) { return std::strerror(err); }
}  // namespace

std::string ReplacedTarget(const std::string& Name) {
  std::filesystem::path path = Name;
  for (int level = 0; level < 40; ++level) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path.string();
    std::filesystem::path next = std::filesystem::read_symlink(path, ec);
    if (ec) return path.string();
    path = next.is_relative() ? path.parent_path() / next : next;
  }
  return std::string();
}

TReplacingFile::~TReplacingFile() { Discard(); }

bool TReplacingFile::Open(const std::string& Name, std::string& Error, TWriteMode Mode) {
  Discard();
  if (Name.empty()) {
    Error = SystemError(ENOENT);
    return false;
  }
  // What the name leads to as the system sees it: /dev/stdout and /proc/self/fd/N lead to a pipe
  // or a terminal that no path names.
  struct stat st {};
  if (::stat(Name.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    if (!OpenDirect(Name, st, Error)) return false;
    FName = Name;
    return true;
  }
  const std::string target = ReplacedTarget(Name);
  if (target.empty()) {
    Error = SystemError(ELOOP);
    return false;
  }
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    Error = SystemError(EISDIR);
    return false;
  }
  if (exists && !S_ISREG(st.st_mode)) {
    if (!OpenDirect(target, st, Error)) return false;
    FName = Name;
    return true;
  }
  const std::size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::vector<char> temp(dir.begin(), dir.end());
  const std::string tail = "." + base + ".XXXXXX";
  temp.insert(temp.end(), tail.begin(), tail.end());
  temp.push_back('\0');
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    Error = SystemError(errno);
    return false;
  }
  // Held while the file is written: a later start that cleans up leftovers leaves it alone.
  ::flock(fd, LOCK_EX | LOCK_NB);
  // The permissions an ordinary new file would get, or those of the file being replaced.
  mode_t mode;
  if (exists) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd, mode);
  FFd = fd;
  FName = Name;
  FTarget = target;
  FTempName = temp.data();
  FAsWritten = Mode == wmAsWritten;
  FWritten = 0;
  FFill = 0;
  return true;
}

// A device, a terminal or a pipe is written as it is, opened once; a pipe that nobody reads
// fails at once instead of waiting for a reader.
bool TReplacingFile::OpenDirect(const std::string& Path, const struct stat& Info, std::string& Error) {
  const int fd = ::open(Path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    Error = errno == ENXIO && S_ISFIFO(Info.st_mode) ? _("no program reads from the pipe") : SystemError(errno);
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  FFd = fd;
  FTempName.clear();
  FAsWritten = false;
  FWritten = 0;
  FFill = 0;
  return true;
}

bool TReplacingFile::Flush(std::string& Error) {
  if (FFd < 0) {
    Error = SystemError(EBADF);
    return false;
  }
  if (!WriteBuffer(Error)) return false;
  if (FAsWritten && FWritten > 0) {
    // The file takes the target's place and is written there from now on.
    if (::rename(FTempName.c_str(), FTarget.c_str()) != 0) {
      Error = SystemError(errno);
      return false;
    }
    FTempName.clear();
    FAsWritten = false;
  }
  return true;
}

bool TReplacingFile::WriteBuffer(std::string& Error) {
  std::size_t done = 0;
  while (done < FFill) {
    const ssize_t n = ::write(FFd, FBuffer + done, FFill - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Error = SystemError(errno);
      return false;
    }
    done += std::size_t(n);
  }
  FFill = 0;
  return true;
}

bool TReplacingFile::Write(const void* Data, std::size_t Size, std::string& Error) {
  if (FFd < 0) {
    Error = SystemError(EBADF);
    return false;
  }
  const char* p = static_cast<const char*>(Data);
  while (Size > 0) {
    if (FFill == sizeof FBuffer && !WriteBuffer(Error)) return false;
    const std::size_t n = std::min(Size, sizeof FBuffer - FFill);
    std::memcpy(FBuffer + FFill, p, n);
    FFill += n;
    p += n;
    Size -= n;
    FWritten += std::int64_t(n);
  }
  return true;
}

bool TReplacingFile::Commit(std::string& Error) {
  if (FFd < 0) {
    Error = SystemError(EBADF);
    return false;
  }
  const bool inPlace = !FTarget.empty() && FTempName.empty();  // wmAsWritten, in the target's place
  const bool replacing = !FTempName.empty();
  bool ok = WriteBuffer(Error);
  if (ok && replacing && ::fsync(FFd) != 0 && errno != EINVAL && errno != EROFS) {
    Error = SystemError(errno);
    ok = false;
  }
  struct stat st {};
  if (ok && inPlace && ::fstat(FFd, &st) == 0 && st.st_nlink == 0) {  // removed while it was written
    Error = SystemError(ENOENT);
    ok = false;
  }
  if (::close(FFd) != 0 && ok) {
    Error = SystemError(errno);
    ok = false;
  }
  FFd = -1;
  if (replacing) {
    if (ok && ::rename(FTempName.c_str(), FTarget.c_str()) != 0) {
      Error = SystemError(errno);
      ok = false;
    }
    if (!ok) ::unlink(FTempName.c_str());
  }
  FTempName.clear();
  FTarget.clear();
  FAsWritten = false;
  return ok;
}

void TReplacingFile::Discard() {
  if (FFd < 0) return;
  ::close(FFd);
  if (!FTempName.empty()) ::unlink(FTempName.c_str());
  FFd = -1;
  FTempName.clear();
  FTarget.clear();
  FAsWritten = false;
  FFill = 0;
}

bool WriteFileReplacing(const std::string& Name, const void* Data, std::size_t Size, std::string& Error) {
  TReplacingFile file;
  return file.Open(Name, Error) && file.Write(Data, Size, Error) && file.Commit(Error);
}

namespace {

// ".NAME.XXXXXX" as mkostemp makes it for NAME: six letters or digits.
bool IsTemporaryOf(std::string_view entry, std::string_view base) {
  if (entry.size() != base.size() + 8 || entry[0] != '.' || entry.substr(1, base.size()) != base ||
      entry[base.size() + 1] != '.')
    return false;
  for (char c : entry.substr(base.size() + 2))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

int RemoveLeftoverTemporaries(const std::string& Name) {
  const std::string target = ReplacedTarget(Name);
  if (target.empty()) return 0;
  const std::size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  if (base.empty()) return 0;
  DIR* folder = ::opendir(dir.c_str());
  if (!folder) return 0;
  const int dirFd = ::dirfd(folder);
  int removed = 0;
  while (const dirent* e = ::readdir(folder)) {
    if (!IsTemporaryOf(e->d_name, base)) continue;
    // Only plain files of our own making: never a link, and never one that is being written.
    const int fd = ::openat(dirFd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlinkat(dirFd, e->d_name, 0) == 0)
      ++removed;
    ::close(fd);
  }
  ::closedir(folder);
  return removed;
}
