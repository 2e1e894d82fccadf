// corvane-cli disasm --dump: the listing lines of a memory dump file.
#include <iostream>

#include "CliText.h"
#include "Commands.h"
#include "Listing.h"
#include "MemoryDump.h"

int DisasmDump(const TDisasmDumpOptions& options) {
  std::vector<TWord> words;
  TMachineError error;
  if (!ReadDumpFile(options.FileName, words, error)) return ReportError(ErrorText(error, elLine));
  // Addresses beyond the end of the dump read 0, as in memory after loading it.
  const int last = options.To >= 0 ? options.To : int(words.size()) - 1;
  std::string text;
  for (int address = options.From; address <= last; ++address) {
    const TWord word = std::size_t(address) < words.size() ? words[std::size_t(address)] : 0;
    text += ListingLine(address, word, options.Base, lcAddress | lcContents | lcDisassembly, options.Base);
    text += '\n';
    if (text.size() >= 65536) {
      std::cout << text;
      text.clear();
    }
  }
  std::cout << text;
  std::cout.flush();
  return std::cout ? 0 : ReportError(Tr("standard output cannot be written"));
}
