// Settings files themselves, on a memory file system: a file of any text reads as that text
// does, a settings object writes it whole and it reads back the same, and a history list saved
// into the file changes it as it changes the text in memory. The text in memory: Fuzz_ini.cpp
// and Fuzz_history.cpp. Input: a flags byte (bit 0: the file written whole rather than in place,
// bit 1: quoting), the list length (a signed byte), a history entry (a length byte and its
// bytes), then the file's text.
#include <string>

#include "AtomicFile.h"
#include "FuzzSupport.h"
#include "History.h"
#include "IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string source = FuzzFolder() / "source.ini";
  static const std::string copy = FuzzFolder() / "copy.ini";
  TFuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  const bool quote = flags & 2;
  const int max = std::int8_t(in.Byte());
  const std::string entry = OneLine(in.Take(in.Byte()));
  const std::string_view text = in.Rest();

  TIniFile memory;
  memory.SetText(text);
  const std::string written = memory.Text();

  if (flags & 1) FUZZ_CHECK(WriteFileAtomic(source, text));
  else WriteFuzzFile(source, text);
  std::string content;
  FUZZ_CHECK(ReadWholeFile(source, content) && content == text);
  const TIniFile read(source);
  FUZZ_CHECK(!read.Unreadable());
  FUZZ_CHECK(read.Text() == written);

  TIniFile other(copy);
  other.SetText(written);
  FUZZ_CHECK(other.UpdateFile());
  FUZZ_CHECK(ReadWholeFile(copy, content) && content == written);
  FUZZ_CHECK(TIniFile(copy).Text() == written);

  // A history saved into the file: the file ends as the text does with the same list saved.
  const std::vector<std::string> sections = memory.ReadSections();
  const bool plain = !sections.empty() && sections.front().find_first_of("\r\n") == std::string::npos;
  const std::string section = plain ? sections.front() : "History";
  std::vector<std::string> list;
  LoadHistory(memory, section, list, max, quote);
  AddToHistory(list, entry, max);
  FUZZ_CHECK(SaveHistory(source, section, list, true, max, quote));
  SaveHistory(memory, section, list, true, max, quote);
  FUZZ_CHECK(ReadWholeFile(source, content) && content == memory.Text());
  std::vector<std::string> fromFile, fromMemory;
  FUZZ_CHECK(LoadHistory(TIniFile(source), section, fromFile, max, quote) ==
             LoadHistory(memory, section, fromMemory, max, quote));
  FUZZ_CHECK(fromFile == fromMemory);
  return 0;
}
