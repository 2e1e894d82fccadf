// Dump files themselves, on a memory file system: read as the format says, loaded into the
// machine, saved and read back. The format and the loading on any bytes: Fuzz_dump.cpp.
// Input: a flags byte (bit 0: save over the file that was read), then the file.
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "MemoryDump.h"
#include "NovaMachine.h"

namespace {

FUZZ_UNTRACED bool MemoryHolds(const TNovaMachine& m, const std::vector<TWord>& words) {
  for (std::size_t a = 0; a < std::size_t(MemoryWords); ++a)
    if (m.Memory[a].Data != (a < words.size() ? words[a] : 0)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<TNovaMachine> machine = std::make_unique<TNovaMachine>();
  static const std::string name = FuzzFolder() / "memory.dmp";
  static const std::string other = FuzzFolder() / "saved.dmp";
  TFuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  const std::string_view bytes = in.Rest();
  WriteFuzzFile(name, bytes);

  std::vector<TWord> words;
  std::string error;
  FUZZ_CHECK(ReadDumpFile(name, words, error));
  FUZZ_CHECK(words == DumpWords(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));

  TNovaMachine& m = *machine;
  m.SetMemSize(1);
  FUZZ_CHECK(m.LoadDump(name, false, &error));
  FUZZ_CHECK(m.MemSize == std::max<int>(1, int(words.size())));
  FUZZ_CHECK(MemoryHolds(m, words));

  // Saved whole and read back: the words of the memory size.
  const std::string& saved = (flags & 1) ? name : other;
  FUZZ_CHECK(m.SaveDump(saved, &error));
  std::vector<TWord> back;
  FUZZ_CHECK(ReadDumpFile(saved, back, error));
  FUZZ_CHECK(back.size() == std::size_t(m.MemSize));
  FUZZ_CHECK(MemoryHolds(m, back));
  return 0;
}
