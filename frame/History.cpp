#include "History.h"

#include <algorithm>

#include "TextUtils.h"

namespace {

std::string Replaced(std::string s, char from, char to) {
  std::replace(s.begin(), s.end(), from, to);
  return s;
}

}  // namespace

void AddToHistory(std::vector<std::string>& list, std::string_view text, int max) {
  if (text.empty()) return;
  const std::size_t limit = static_cast<std::size_t>(std::max(max, 1));
  auto erased = std::erase_if(list, [&](const std::string& e) { return SameText(e, text); });
  if (erased == 0)
    while (list.size() >= limit) list.pop_back();
  list.insert(list.begin(), std::string(text));
}

bool LoadHistory(const TIniFile& ini, std::string_view section, std::vector<std::string>& list, int max,
                 bool quote, std::string_view prefix) {
  if (!ini.SectionExists(section)) return false;
  list.clear();
  for (int i = 0; i < max; ++i) {
    std::string value = ini.ReadString(section, std::string(prefix) + std::to_string(i), "");
    if (value.empty()) continue;
    list.push_back(quote ? Replaced(std::move(value), '#', '"') : std::move(value));
  }
  return true;
}

void SaveHistory(TIniFile& ini, std::string_view section, const std::vector<std::string>& list, bool erase,
                 int max, bool quote, std::string_view prefix) {
  if (erase) ini.EraseSection(section);
  const std::size_t count = std::min(list.size(), static_cast<std::size_t>(std::max(max, 0)));
  for (std::size_t i = 0; i < count; ++i)
    ini.WriteString(section, std::string(prefix) + std::to_string(i), quote ? Replaced(list[i], '"', '#') : list[i]);
}

bool SaveHistory(const std::string& fileName, std::string_view section, const std::vector<std::string>& list,
                 bool erase, int max, bool quote, std::string_view prefix) {
  TIniFile ini(fileName);
  SaveHistory(ini, section, list, erase, max, quote, prefix);
  return ini.UpdateFile();
}
