// The history-list reader on any settings text, a new entry added, and the list saved and read
// back, all in memory (the settings files themselves: Fuzz_settings_file.cpp). Input: a flags
// byte (bit 0: quoting, bits 2-3: the key prefix), the list length (a signed byte), the new
// entry (a length byte and its bytes), then the text.
#include <string>

#include "FuzzSupport.h"
#include "History.h"
#include "TextUtils.h"

namespace {

constexpr const char* Prefixes[4] = {DefaultHistoryPrefix, "Dir", "File", "Pattern"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  const bool quote = flags & 1;
  const char* prefix = Prefixes[(flags >> 2) & 3];
  const int max = std::int8_t(in.Byte());
  const std::string_view entry = in.Take(in.Byte());

  TIniFile ini;
  ini.SetText(in.Rest());
  const std::vector<std::string> sections = ini.ReadSections();
  // The programs' section names are plain; a name with a line break is not written back as it is.
  const bool plain = !sections.empty() && sections.front().find_first_of("\r\n") == std::string::npos;
  const std::string section = plain ? sections.front() : "History";

  std::vector<std::string> list{"stays when the section is missing"};
  const bool exists = LoadHistory(ini, section, list, max, quote, prefix);
  FUZZ_CHECK(exists == ini.SectionExists(section));
  if (!exists) {
    FUZZ_CHECK(list.size() == 1);
    list.clear();
  }
  FUZZ_CHECK(list.size() <= std::size_t(max < 0 ? 0 : max));
  for (const std::string& e : list) {
    FUZZ_CHECK(!e.empty());
    FUZZ_CHECK(!quote || e.find('#') == std::string::npos);
  }

  const std::string added = OneLine(entry);
  AddToHistory(list, added, max);
  if (!added.empty()) {
    FUZZ_CHECK(list.front() == added);
    FUZZ_CHECK(list.size() <= std::size_t(max < 1 ? 1 : max));
    for (std::size_t i = 1; i < list.size(); ++i) FUZZ_CHECK(!SameText(list[i], added));
  }

  // Saved into a settings text and loaded from it again: the same list, up to max entries.
  // Line breaks inside an entry are stored as blanks, and with quoting '#' reads back as '"'.
  std::vector<std::string> expected;
  for (const std::string& e : list) {
    if (expected.size() >= std::size_t(max < 0 ? 0 : max)) break;
    expected.push_back(OneLine(e));
    if (quote)
      for (char& c : expected.back())
        if (c == '#') c = '"';
  }
  TIniFile saved;
  SaveHistory(saved, section, list, true, max, quote, prefix);
  TIniFile reread;
  reread.SetText(saved.Text());
  std::vector<std::string> back;
  if (LoadHistory(reread, section, back, max, quote, prefix)) FUZZ_CHECK(back == expected);
  else FUZZ_CHECK(expected.empty());
  return 0;
}
