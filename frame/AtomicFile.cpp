#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "ReplacingFile.h"

bool WriteFileAtomic(const std::string& fileName, std::string_view content, std::string* error) {
  if (fileName.empty()) {
    if (error) *error = std::string("(empty file name): ") + std::strerror(ENOENT);
    return false;
  }
  std::string reason;
  if (WriteFileReplacing(fileName, content.data(), content.size(), reason)) return true;
  if (error) {
    const std::string target = ReplacedTarget(fileName);
    *error = (target.empty() ? fileName : target) + ": " + reason;
  }
  return false;
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
