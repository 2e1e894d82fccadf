// The address typed into the Goto field or an add dialog: a number in the base or a label, with
// an offset. Any text gives an address of 15 bits or says why not; the text of an address in the
// base reads back as that address; every label of the table reads as its value, and with an
// offset as its value moved by it.
//
// Input: 0 base, 1 number of labels (0 to 7), then each label as a length byte, the name and its
// value (two bytes, low first); the rest is the text.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "NovaSymbols.h"
#include "NumberUtils.h"

namespace {

// A name that reads as itself: not blank at the ends, no sign after its first character.
bool PlainName(std::string_view name) {
  if (name.empty() || name.front() == ' ' || name.front() == '\t' || name.back() == ' ' || name.back() == '\t')
    return false;
  return name.find_first_of("+-", 1) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const TNumMode base = TNumMode(in.Byte() % NumModeCount);
  const int count = in.Byte() % 8;
  std::vector<TSymbol> symbols;
  for (int i = 0; i < count; ++i) {
    TSymbol& s = symbols.emplace_back();
    s.Name = std::string(in.Take(in.Byte() % 16));
    s.Value = in.Word();
  }
  const TSymbolTable table(symbols);
  const std::string_view text = in.Rest();

  int addr = -1;
  const TAddressText result = AddressFromText(text, base, &table, addr);
  if (result == atOk) FUZZ_CHECK(addr >= 0 && addr <= 077777);

  // An address written in the base reads back as itself.
  for (const int a : {0, 077777, addr & 077777}) {
    int back = -1;
    FUZZ_CHECK(AddressFromText(FormatWord(a, base), base, nullptr, back) == atOk && back == a);
  }
  // The labels read as their values, offsets included.
  for (const TSymbol& s : table.Symbols()) {
    if (!PlainName(s.Name) || table.Find(s.Name) != &s) continue;
    int at = -1;
    const TAddressText r = AddressFromText(s.Name, base, &table, at);
    FUZZ_CHECK(r == (s.Value <= 077777 ? atOk : atOutOfRange));
    if (r != atOk) continue;
    FUZZ_CHECK(at == s.Value);
    const std::string moved = s.Name + " + " + FormatWord(1, base);
    const TAddressText m = AddressFromText(moved, base, &table, at);
    FUZZ_CHECK(m == (s.Value < 077777 ? atOk : atOutOfRange));
    if (m == atOk) FUZZ_CHECK(at == s.Value + 1);
  }
  return 0;
}
