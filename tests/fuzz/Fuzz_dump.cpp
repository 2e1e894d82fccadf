// The dump loader on a file of any length and content, alone and into the machine.
// Input: a flags byte (bit 0: keep breakpoints), the memory size before loading (two bytes) and a
// breakpoint address (two bytes), then the file.
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "MemoryDump.h"
#include "NovaMachine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<TNovaMachine> machine = std::make_unique<TNovaMachine>();
  TFuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  const bool keep = flags & 1;
  const int memSize = in.Word();
  const TWord breakpoint = in.Word();
  const std::string_view bytes = in.Rest();
  const std::string name = FuzzFolder() / "memory.dmp";
  WriteFuzzFile(name, bytes);

  // At most 32768 words, low byte first; an odd last byte is the low byte of one more word.
  std::vector<TWord> words;
  std::string error;
  FUZZ_CHECK(ReadDumpFile(name, words, error));
  const std::size_t used = std::min<std::size_t>(bytes.size(), 2 * MemoryWords);
  FUZZ_CHECK(words.size() == (used + 1) / 2);
  for (std::size_t i = 0; i < used; ++i)
    FUZZ_CHECK(std::uint8_t(words[i / 2] >> (i % 2 ? 8 : 0)) == std::uint8_t(bytes[i]));

  TNovaMachine& m = *machine;
  m.ClearBreakpoints();
  m.SetMemSize(memSize);
  const int before = m.MemSize;
  m.SetBreakpoint(breakpoint);
  FUZZ_CHECK(m.LoadDump(name, keep, &error));
  FUZZ_CHECK(m.MemSize == std::max(before, int(words.size())));
  for (int a = 0; a < MemoryWords; ++a) {
    FUZZ_CHECK(m.Memory[a].Data == (std::size_t(a) < words.size() ? words[a] : 0));
    const bool listed = keep && a == (breakpoint & nova::AddrMask);
    FUZZ_CHECK(bool(m.Memory[a].Flags & BreakpointFlag) == listed);
  }
  FUZZ_CHECK(m.BreakPoints.size() == (keep ? 1u : 0u));
  FUZZ_CHECK(m.PC == 2);

  // Saved and read back: the words of the memory size.
  const std::string saved = FuzzFolder() / "saved.dmp";
  FUZZ_CHECK(m.SaveDump(saved, &error));
  std::vector<TWord> back;
  FUZZ_CHECK(ReadDumpFile(saved, back, error));
  FUZZ_CHECK(back.size() == std::size_t(m.MemSize));
  for (std::size_t i = 0; i < back.size(); ++i) FUZZ_CHECK(back[i] == m.Memory[i].Data);
  return 0;
}
