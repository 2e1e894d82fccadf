// The dump format on bytes of any length and content, and the machine loading the words.
// Input: a flags byte (bit 0: keep breakpoints), the memory size before loading (two bytes) and a
// breakpoint address (two bytes), then the file's bytes. The file itself: Fuzz_dump_file.cpp.
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "MemoryDump.h"
#include "NovaMachine.h"

namespace {

// At most 32768 words, low byte first; an odd last byte is the low byte of one more word.
FUZZ_UNTRACED void CheckWords(const std::vector<TWord>& words, std::string_view bytes) {
  const std::size_t used = std::min<std::size_t>(bytes.size(), 2 * MemoryWords);
  FUZZ_CHECK(words.size() == (used + 1) / 2);
  for (std::size_t i = 0; i < used; ++i)
    FUZZ_CHECK(std::uint8_t(words[i / 2] >> (i % 2 ? 8 : 0)) == std::uint8_t(bytes[i]));
  if (used % 2) FUZZ_CHECK(words.back() >> 8 == 0);
  // Written again: the same bytes, an odd file made even with a zero.
  const std::vector<unsigned char> again = DumpBytes(words.data(), words.size());
  FUZZ_CHECK(again.size() == used + used % 2);
  for (std::size_t i = 0; i < used; ++i) FUZZ_CHECK(again[i] == std::uint8_t(bytes[i]));
  if (used % 2) FUZZ_CHECK(again.back() == 0);
}

// Every cell holds its word or 0 and has the breakpoint flag exactly when it is listed.
FUZZ_UNTRACED void CheckMemory(const TNovaMachine& m, const std::vector<TWord>& words, int listed) {
  for (int a = 0; a < MemoryWords; ++a) {
    FUZZ_CHECK(m.Memory[a].Data == (std::size_t(a) < words.size() ? words[a] : 0));
    FUZZ_CHECK(bool(m.Memory[a].Flags & BreakpointFlag) == (a == listed));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<TNovaMachine> machine = std::make_unique<TNovaMachine>();
  TFuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  const bool keep = flags & 1;
  const int memSize = in.Word();
  const TWord breakpoint = in.Word();
  const std::string_view bytes = in.Rest();

  const std::vector<TWord> words = DumpWords(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  CheckWords(words, bytes);

  TNovaMachine& m = *machine;
  m.ClearBreakpoints();
  m.SetMemSize(memSize);
  const int before = m.MemSize;
  m.SetBreakpoint(breakpoint);
  m.PC = 0777;
  m.LoadDumpWords(words, keep);
  FUZZ_CHECK(m.MemSize == std::max(before, int(words.size())));
  CheckMemory(m, words, keep ? breakpoint & nova::AddrMask : -1);
  FUZZ_CHECK(m.BreakPoints.size() == (keep ? 1u : 0u));
  FUZZ_CHECK(m.PC == 2);
  return 0;
}
