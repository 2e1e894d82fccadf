#include "VersionInfo.h"

#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>

#include <cstring>

#include "Startup.h"
#include "Translate.h"

TFileVersionInfo ReadFileVersionInfo(const std::string& fallbackName, const std::string& fallbackVersion,
                                     const std::string& fallbackCopyright) {
  TFileVersionInfo info;
  info.InternalName = fallbackName;
  info.Version = fallbackVersion;
  info.Copyright = fallbackCopyright;
  return info;
}

std::string CutVersion(const std::string& version, int parts) {
  if (parts < 1) return version;
  std::size_t pos = 0;
  for (int i = 0; i < parts; ++i) {
    pos = version.find('.', pos);
    if (pos == std::string::npos) return version;
    ++pos;
  }
  return version.substr(0, pos - 1);
}

std::string VersionText(const std::string& version, int parts) {
  return _("Version") + " " + CutVersion(version, parts);
}

std::time_t FileModificationTime(const std::string& fileName) {
  struct stat st;
  return ::stat(fileName.c_str(), &st) == 0 ? st.st_mtime : 0;
}

std::string ShortDateText(std::time_t t) {
  if (t == 0) return std::string();
  std::tm tm{};
  if (::localtime_r(&t, &tm) == nullptr) return std::string();
  char buffer[128];
  const char* format = "%Y-%m-%d";
  locale_t loc = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (loc != static_cast<locale_t>(0)) {
    const char* name = ::nl_langinfo_l(_NL_LOCALE_NAME(LC_TIME), loc);
    if (name && std::strcmp(name, "C") != 0 && std::strcmp(name, "POSIX") != 0 && std::strncmp(name, "C.", 2) != 0) {
      std::size_t n = ::strftime_l(buffer, sizeof buffer, ::nl_langinfo_l(D_FMT, loc), &tm, loc);
      ::freelocale(loc);
      if (n > 0) return std::string(buffer, n);
    } else {
      ::freelocale(loc);
    }
  }
  std::size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
  return std::string(buffer, n);
}

TProgramVersion ProgramVersion(const std::string& fallbackName, const std::string& fallbackVersion,
                               const std::string& fallbackCopyright, int parts) {
  TFileVersionInfo info = ReadFileVersionInfo(fallbackName, fallbackVersion, fallbackCopyright);
  TProgramVersion result;
  result.Name = info.InternalName.empty() ? fallbackName : info.InternalName;
  result.BracketedVersion = " (" + VersionText(info.Version, parts) + ")";
  result.FileTime = FileModificationTime(RunningExecutable());
  result.FileDate = ShortDateText(result.FileTime);
  return result;
}
