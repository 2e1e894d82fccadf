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

// A symbolic link is kept: its target is replaced.
std::string ResolveTarget(const std::string& fileName) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(fileName, ec)) return fileName;
  std::filesystem::path target = std::filesystem::read_symlink(fileName, ec);
  if (ec) return fileName;
  if (target.is_relative()) target = std::filesystem::path(fileName).parent_path() / target;
  return target.string();
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

}  // namespace

bool WriteFileAtomic(const std::string& fileName, std::string_view content, std::string* error) {
  if (fileName.empty()) {
    SetError(error, "(empty file name)", ENOENT);
    return false;
  }
  const std::string target = ResolveTarget(fileName);
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
