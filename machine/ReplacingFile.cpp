#include "ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
std::string SystemError(int err) { return std::strerror(err); }
}  // namespace

TReplacingFile::~TReplacingFile() { Discard(); }

bool TReplacingFile::Open(const std::string& Name, std::string& Error) {
  Discard();
  if (Name.empty()) {
    Error = SystemError(ENOENT);
    return false;
  }
  const std::size_t slash = Name.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : Name.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? Name : Name.substr(slash + 1);
  struct stat st {};
  if (::stat(Name.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    Error = SystemError(EISDIR);
    return false;
  }
  std::vector<char> temp(dir.begin(), dir.end());
  const std::string tail = "." + base + ".XXXXXX";
  temp.insert(temp.end(), tail.begin(), tail.end());
  temp.push_back('\0');
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    Error = SystemError(errno);
    return false;
  }
  // The permissions an ordinary new file would get, or those of the file being replaced.
  mode_t mode;
  if (::stat(Name.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd, mode);
  FFd = fd;
  FName = Name;
  FTempName = temp.data();
  FWritten = 0;
  FFill = 0;
  return true;
}

bool TReplacingFile::Flush(std::string& Error) {
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
    if (FFill == sizeof FBuffer && !Flush(Error)) return false;
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
  bool ok = Flush(Error);
  if (ok && ::fsync(FFd) != 0 && errno != EINVAL && errno != EROFS) {
    Error = SystemError(errno);
    ok = false;
  }
  if (::close(FFd) != 0 && ok) {
    Error = SystemError(errno);
    ok = false;
  }
  FFd = -1;
  if (ok && ::rename(FTempName.c_str(), FName.c_str()) != 0) {
    Error = SystemError(errno);
    ok = false;
  }
  if (!ok) ::unlink(FTempName.c_str());
  FTempName.clear();
  return ok;
}

void TReplacingFile::Discard() {
  if (FFd < 0) return;
  ::close(FFd);
  ::unlink(FTempName.c_str());
  FFd = -1;
  FTempName.clear();
  FFill = 0;
}

bool WriteFileReplacing(const std::string& Name, const void* Data, std::size_t Size, std::string& Error) {
  TReplacingFile file;
  return file.Open(Name, Error) && file.Write(Data, Size, Error) && file.Commit(Error);
}
