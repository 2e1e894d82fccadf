#include "PathUtils.h"

namespace {

// Position of the "." that starts the extension, or npos.
std::size_t ExtensionDot(std::string_view name) {
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return dot;
  std::size_t delim = name.rfind(PathDelim);
  if (delim != std::string_view::npos && delim > dot) return std::string_view::npos;
  return dot;
}

}  // namespace

bool IsAbsolutePath(std::string_view name) { return !name.empty() && name.front() == PathDelim; }

bool HasTrailingDelimiter(std::string_view path) { return !path.empty() && path.back() == PathDelim; }

std::string MakeFileName(std::string_view folder, std::string_view name, std::string_view ext) {
  if (!ext.empty() && ext.front() == '.') ext.remove_prefix(1);
  std::string full(name);
  if (!ext.empty() && ExtensionDot(name) == std::string_view::npos) {
    full += '.';
    full += ext;
  }
  if (IsAbsolutePath(name) || folder.empty()) return full;
  std::string result(folder);
  if (!HasTrailingDelimiter(result)) result += PathDelim;
  return result + full;
}

std::string JoinPath(std::string_view dir, std::string_view name) {
  if (name.empty()) return std::string(dir);
  if (dir.empty()) return std::string(name);
  return IncludeTrailingDelimiter(dir) + std::string(name);
}

std::string IncludeTrailingDelimiter(std::string_view dir) {
  std::string result(dir);
  if (!result.empty() && !HasTrailingDelimiter(result)) result += PathDelim;
  return result;
}

std::string ExcludeTrailingDelimiter(std::string_view dir) {
  if (dir.size() > 1 && HasTrailingDelimiter(dir)) dir.remove_suffix(1);
  return std::string(dir);
}

std::string ExtractFileExtension(std::string_view name) {
  std::size_t dot = ExtensionDot(name);
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

std::string RemoveFileExtension(std::string_view name) {
  std::size_t dot = ExtensionDot(name);
  return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string ChangeFileExtension(std::string_view name, std::string_view newExt) {
  return RemoveFileExtension(name) + std::string(newExt);
}

std::string ExtractFilePath(std::string_view name) {
  std::size_t delim = name.rfind(PathDelim);
  return delim == std::string_view::npos ? std::string() : std::string(name.substr(0, delim + 1));
}

std::string ExtractFileName(std::string_view name) {
  std::size_t delim = name.rfind(PathDelim);
  return std::string(delim == std::string_view::npos ? name : name.substr(delim + 1));
}

std::string ParentDirectory(std::string_view path) {
  std::string_view trimmed = path;
  if (trimmed.size() > 1 && trimmed.back() == PathDelim) trimmed.remove_suffix(1);
  std::size_t delim = trimmed.rfind(PathDelim);
  if (delim == std::string_view::npos) return std::string(path);
  if (delim == 0) return std::string(1, PathDelim);
  return std::string(trimmed.substr(0, delim));
}

std::string HomeRelativePath(std::string_view path, std::string_view home) {
  while (home.size() > 1 && home.back() == PathDelim) home.remove_suffix(1);
  if (home.empty() || home == "/" || path.substr(0, home.size()) != home) return std::string(path);
  if (path.size() == home.size()) return "~";
  if (path[home.size()] != PathDelim) return std::string(path);  // /home/ann is not inside /home/an
  std::string shown(1, '~');
  shown.append(path.substr(home.size()));
  return shown;
}

bool IsDirectoryEntry(std::string_view name) { return name != "." && name != ".."; }
