#include "SourceError.h"

#include <filesystem>

#include "Translate.h"

std::string WhyUnreadable(const std::string& fileName, std::string_view folderReason) {
  std::error_code ec;
  const auto status = std::filesystem::status(fileName, ec);
  if (!std::filesystem::exists(status)) return _("file not found");
  if (std::filesystem::is_directory(status)) return std::string(folderReason);
  return _("cannot be read (no permission, not a plain file, or larger than 64 MiB)");
}
