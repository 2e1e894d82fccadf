// The whole-file assembler on any sources: nothing crashes, every error names a line of its
// source, and a program that assembles comes back whole from its absolute binary tape and its
// memory image. Input: up to three sources separated by NUL bytes (the first may be a
// definition file); the listing, symbol file and program-load tape are made every time.
#include <map>
#include <string>
#include <vector>

#include "AsmOutput.h"
#include "Assembler.h"
#include "FuzzSupport.h"

namespace {

// The memory an absolute binary tape loads, as a binary loader reads it.
std::map<unsigned, std::uint16_t> LoadTape(const std::vector<std::uint8_t>& tape, int& start) {
  std::map<unsigned, std::uint16_t> memory;
  std::size_t at = 0;
  const auto word = [&] {
    FUZZ_CHECK(at + 2 <= tape.size());
    const std::uint16_t w = std::uint16_t(tape[at] | tape[at + 1] << 8);
    at += 2;
    return w;
  };
  start = -2;
  for (;;) {
    while (at < tape.size() && tape[at] == 0) ++at;
    FUZZ_CHECK(at < tape.size());  // the start block ends every tape
    const std::uint16_t count = word();
    const std::uint16_t address = word();
    const std::uint16_t checksum = word();
    std::uint16_t sum = std::uint16_t(count + address + checksum);
    if (count == 1) {
      FUZZ_CHECK(sum == 0);
      start = address;
      break;
    }
    const unsigned n = 0200000u - count;
    if (n <= 16) {
      for (unsigned i = 0; i < n; ++i) {
        const std::uint16_t w = word();
        sum = std::uint16_t(sum + w);
        memory[(address + i) & 077777] = w;
      }
    } else {
      const std::uint16_t value = word();
      sum = std::uint16_t(sum + value);
      for (unsigned i = 0; i + 1 < n; ++i) memory[(address + i) & 077777] = value;
    }
    FUZZ_CHECK(sum == 0);
  }
  for (; at < tape.size(); ++at) FUZZ_CHECK(tape[at] == 0);
  return memory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> parts = SplitAtNul(data, size);
  if (parts.size() > 3) parts.resize(3);
  std::vector<TAsmSource> sources;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::string name = "s0.sr";
    name[1] = char('0' + i);
    sources.push_back({name, parts[i]});
  }
  const TAsmProgram program = Assemble(std::move(sources));

  for (const TAsmError& e : program.Errors) {
    FUZZ_CHECK(e.Source >= 0 && e.Source < int(program.Sources.size()));
    FUZZ_CHECK(e.Line >= 0 && !e.Message.empty());
  }
  FUZZ_CHECK(!ListingText(program).empty() || program.Lines.empty());
  SymbolFileText(program.Symbols);
  std::vector<std::uint8_t> bootstrap;
  std::string error;
  if (!BootstrapTape(program, bootstrap, error)) FUZZ_CHECK(!error.empty());
  if (!program.Ok()) return 0;

  // Every word lands where the program put it (the last one at an address wins).
  std::map<unsigned, std::uint16_t> expected;
  for (const TAsmWord& w : program.Words) {
    FUZZ_CHECK(w.Address <= 077777);
    expected[w.Address] = w.Value;
  }
  int start = 0;
  // Words given twice are punched twice, in source order: the later one stays, as in memory.
  FUZZ_CHECK(LoadTape(AbsoluteTape(program), start) == expected);
  FUZZ_CHECK(start == (program.Start >= 0 ? program.Start : 0100000));
  const std::vector<std::uint8_t> image = DumpImage(program);
  for (const auto& [address, value] : expected)
    FUZZ_CHECK(image.size() > address * 2 + 1 && (image[address * 2] | image[address * 2 + 1] << 8) == value);
  return 0;
}
