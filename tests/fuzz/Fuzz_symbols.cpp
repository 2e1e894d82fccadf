// Symbols read back from any text, as a symbol file or a listing: nothing crashes, every error
// names a line of the text, nothing is taken when there is one, and what is taken comes back the
// same from the file kept beside the memory image.
#include <string>

#include "FuzzSupport.h"
#include "SymbolFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const TSymbolRead read = ReadSymbolText("s.sym", text);
  for (const TSourceError& e : read.Errors) FUZZ_CHECK(e.File == "s.sym" && e.Line >= 0 && !e.Message.empty());
  if (!read.Ok()) {
    FUZZ_CHECK(read.Symbols.Empty());
    return 0;
  }
  const TSymbolRead back = ReadSymbolText("back.sym", SavedSymbolText(read.Symbols));
  FUZZ_CHECK(back.Ok() && back.Symbols.Size() == read.Symbols.Size());
  for (std::size_t i = 0; i < read.Symbols.Size(); ++i) {
    const TSymbol& a = read.Symbols.Symbols()[i];
    const TSymbol& b = back.Symbols.Symbols()[i];
    FUZZ_CHECK(a.Name == b.Name && a.Value == b.Value && a.Kind == b.Kind);
  }
  return 0;
}
