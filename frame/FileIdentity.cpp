#include "FileIdentity.h"

#include <sys/stat.h>

bool IsSameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  struct stat sa, sb;
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::string FreeNameBeside(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t dot = name.rfind('.');
  // The extension is what follows the last dot of the file's own name (not a leading one).
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos ? dot > 0 : dot > slash + 1);
  const std::string stem = hasExt ? name.substr(0, dot) : name;
  const std::string ext = hasExt ? name.substr(dot) : std::string();
  for (unsigned n = 1;; ++n) {
    const std::string candidate = stem + "-" + std::to_string(n) + ext;
    struct stat st;
    // Not there (or not to be seen: the write then tells why).
    if (::lstat(candidate.c_str(), &st) != 0 || n == 100000) return candidate;
  }
}
