// The INI reader on any text, its text written and read again, and a value written into it, all
// in memory (the settings files themselves: Fuzz_settings_file.cpp). Input: a flags byte (not
// used), a section name, a key and a value (each a length byte and that many bytes), then the
// file's text.
#include <string>

#include "FuzzSupport.h"
#include "IniFile.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Names that are written as they are and found again.
bool CleanSection(std::string_view s) {
  return !HasLineBreak(s) && (s.empty() || (!IsBlank(s.front()) && !IsBlank(s.back())));
}
bool CleanKey(std::string_view k) {
  return !k.empty() && !HasLineBreak(k) && !IsBlank(k.front()) && !IsBlank(k.back()) &&
         k.find('=') == std::string_view::npos && k.front() != ';' && k.front() != '#' && k.front() != '[';
}

// Every section and key of a is in b with the same value.
void CheckSameValues(const TIniFile& a, const TIniFile& b) {
  FUZZ_CHECK(a.ReadSections() == b.ReadSections());
  for (const std::string& section : a.ReadSections()) {
    FUZZ_CHECK(a.SectionExists(section));
    FUZZ_CHECK(a.ReadSection(section) == b.ReadSection(section));
    for (const std::string& key : a.ReadSection(section)) {
      FUZZ_CHECK(a.ValueExists(section, key));
      FUZZ_CHECK(a.ReadString(section, key, "\x01") == b.ReadString(section, key, "\x02"));
      const int n = a.ReadInteger(section, key, 0);
      if (n == a.ReadInteger(section, key, 1)) FUZZ_CHECK(a.ReadBool(section, key, n == 0) == (n != 0));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  in.Byte();  // the flags of earlier inputs
  const std::string_view section = in.Take(in.Byte());
  const std::string_view key = in.Take(in.Byte());
  const std::string_view value = in.Take(in.Byte());
  const std::string_view text = in.Rest();

  TIniFile ini;
  ini.SetText(text);
  const std::string written = ini.Text();
  TIniFile again;
  again.SetText(written);
  FUZZ_CHECK(again.Text() == written);
  CheckSameValues(ini, again);

  if (CleanSection(section) && CleanKey(key)) {
    ini.WriteString(section, key, value);
    FUZZ_CHECK(ini.ReadString(section, key, "") == OneLine(value));
    again.SetText(ini.Text());
    FUZZ_CHECK(again.ReadString(section, key, "\x01") == OneLine(value));
    CheckSameValues(ini, again);
    ini.DeleteKey(section, key);
    FUZZ_CHECK(!ini.ValueExists(section, key));
    ini.EraseSection(section);
    FUZZ_CHECK(!ini.SectionExists(section));
  }
  return 0;
}
