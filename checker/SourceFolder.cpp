#include "SourceFolder.h"

#include <climits>
#include <cstdlib>
#include <memory>

#include "PathUtils.h"
#include "SafeFormat.h"
#include "Translate.h"

std::string PatternLeavesFolder(const std::string& pattern) {
  if (IsAbsolutePath(pattern))
    return SafeFormat(_("The pattern %s is an absolute path: patterns name files inside the source folder"),
                      pattern);
  const std::size_t slash = pattern.rfind(PathDelim);
  if (slash == std::string::npos) return {};
  // Walk the directory part; the name part after the last "/" is matched against entries and
  // never climbs.
  int depth = 0;
  std::size_t start = 0;
  while (start <= slash) {
    std::size_t end = pattern.find(PathDelim, start);
    if (end == std::string::npos || end > slash) end = slash;
    const std::string_view element = std::string_view(pattern).substr(start, end - start);
    if (element == "..") {
      if (--depth < 0) return SafeFormat(_("The pattern %s leads out of the source folder"), pattern);
    } else if (!element.empty() && element != ".") {
      ++depth;
    }
    start = end + 1;
  }
  return {};
}

std::string RealPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.empty() ? "." : path.c_str(), nullptr),
                                                   &std::free);
  return real ? std::string(real.get()) : std::string();
}

bool LiesInside(const std::string& realRoot, const std::string& realPath) {
  if (realRoot.empty() || realPath.empty()) return false;
  if (realPath == realRoot) return true;
  const std::string prefix = IncludeTrailingDelimiter(realRoot);  // "/" stays "/"
  return realPath.compare(0, prefix.size(), prefix) == 0;
}
