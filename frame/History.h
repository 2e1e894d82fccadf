// Most-recently-used text lists, most recent first, stored in a settings file section as
// <prefix>0, <prefix>1, ... With quoting, every '"' of an entry is stored as '#' and read back as '"'.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "IniFile.h"

inline constexpr int DefaultHistoryMax = 50;
inline constexpr const char* DefaultHistoryPrefix = "History";

// Empty text: nothing. A text already present (compared without regard to ASCII case) moves to
// the front in its new spelling; a new text goes to the front after the list is cut to max - 1.
// max < 1 counts as 1.
void AddToHistory(std::vector<std::string>& list, std::string_view text, int max = DefaultHistoryMax);

// Only when the section exists: the list is cleared and the non-empty values of <prefix>0 ..
// <prefix>(max-1) are appended in order (missing numbers are skipped). True when it existed.
bool LoadHistory(const TIniFile& ini, std::string_view section, std::vector<std::string>& list,
                 int max = DefaultHistoryMax, bool quote = false, std::string_view prefix = DefaultHistoryPrefix);

// With erase the section is removed first; then the first min(max, count) entries are written.
void SaveHistory(TIniFile& ini, std::string_view section, const std::vector<std::string>& list, bool erase,
                 int max = DefaultHistoryMax, bool quote = false, std::string_view prefix = DefaultHistoryPrefix);
// The same on the named settings file, which is written at once; false when it cannot be written.
bool SaveHistory(const std::string& fileName, std::string_view section, const std::vector<std::string>& list,
                 bool erase, int max = DefaultHistoryMax, bool quote = false,
                 std::string_view prefix = DefaultHistoryPrefix);
