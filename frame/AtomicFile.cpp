#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

void SetError(std::string* error, const std::string& what, int err) {
  if (error) *error = what + ": " + std::strerror(err);
}

// Symbolic links are kept: the file at the end of the chain is replaced (or created). "" for a
// chain that does not end.
std::string ResolveTarget(const std::string& fileName) {
  std::filesystem::path path = fileName;
  for (int level = 0; level < 40; ++level) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path.string();
    std::filesystem::path next = std::filesystem::read_symlink(path, ec);
    if (ec) return path.string();
    path = next.is_relative() ? path.parent_path() / next : next;
  }
  return std::string();
}

mode_t NewFileMode(const std::string& target) {
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view content) {
  const char* p = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

// A device or a pipe cannot be replaced by a file: it is written directly, and a pipe without a
// reader fails instead of blocking.
bool WriteDirectly(const std::string& target, std::string_view content, std::string* error) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    SetError(error, target, errno);
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  bool ok = WriteAll(fd, content);
  int err = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (!ok) SetError(error, target, err);
  return ok;
}

}  // namespace

bool WriteFileAtomic(const std::string& fileName, std::string_view content, std::string* error) {
  if (fileName.empty()) {
    SetError(error, "(empty file name)", ENOENT);
    return false;
  }
  const std::string target = ResolveTarget(fileName);
  if (target.empty()) {
    SetError(error, fileName, ELOOP);
    return false;
  }
  struct stat st;
  if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
    return WriteDirectly(target, content, error);
  std::string temp = target + ".tmp-XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    SetError(error, target, errno);
    return false;
  }
  bool ok = WriteAll(fd, content) && ::fchmod(fd, NewFileMode(target)) == 0 && ::fsync(fd) == 0;
  int err = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    SetError(error, target, err);
  }
  return ok;
}

bool ReadWholeFile(const std::string& fileName, std::string& content, std::size_t maxSize) {
  content.clear();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) return false;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return false;
  char buffer[8192];
  while (in) {
    in.read(buffer, sizeof buffer);
    std::streamsize got = in.gcount();
    if (got <= 0) break;
    if (content.size() + static_cast<std::size_t>(got) > maxSize) {
      content.clear();
      return false;
    }
    content.append(buffer, static_cast<std::size_t>(got));
  }
  if (in.bad()) {
    content.clear();
    return false;
  }
  return true;
}
