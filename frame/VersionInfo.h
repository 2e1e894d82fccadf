// The program's name, version and file date for the information box. The executables carry no
// version resource on this platform: the programs pass their compiled-in values
// (CORVANE_VERSION and TALLIS_VERSION of Version.h) as the fallbacks, which then are the values.
#pragma once
#include <ctime>
#include <string>

#include "Version.h"

struct TFileVersionInfo {
  std::string Company;
  std::string Description;
  std::string Version;
  std::string InternalName;
  std::string Copyright;
  std::string Comments;
};

struct TProgramVersion {
  std::string Name;              // InternalName
  std::string BracketedVersion;  // " (Version 2.5.0)"
  std::string FileDate;          // the executable's modification date, short date text
  std::time_t FileTime = 0;      // the same as a time value (0 when unknown)
};

// The version information of the running program: InternalName, Version and Copyright from the
// fallbacks.
TFileVersionInfo ReadFileVersionInfo(const std::string& fallbackName, const std::string& fallbackVersion,
                                     const std::string& fallbackCopyright);

// The first parts dot-separated parts of a version ("2.5.0.0", 3 -> "2.5.0").
std::string CutVersion(const std::string& version, int parts);
// The translated word "Version", a blank and the cut version: "Version 2.5.0".
std::string VersionText(const std::string& version, int parts = 3);

// Name, bracketed version text and file date of the running executable (the one the start-up
// routine saw, else /proc/self/exe).
TProgramVersion ProgramVersion(const std::string& fallbackName, const std::string& fallbackVersion,
                               const std::string& fallbackCopyright, int parts = 3);

// A file's modification time, 0 when it cannot be read.
std::time_t FileModificationTime(const std::string& fileName);
// Short date in the user's date format (LC_TIME of the environment); ISO "YYYY-MM-DD" under the
// C or POSIX locale. "" for the time value 0.
std::string ShortDateText(std::time_t t);
