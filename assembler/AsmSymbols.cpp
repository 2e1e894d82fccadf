// The permanent symbols, built from the instruction tables the disassembler shows.
#include "AsmSymbols.h"

#include "NovaTables.h"
#include "NovaUtils.h"
#include "NovaWord.h"

namespace dgasm {

TSymKey SymKey(std::string_view name) {
  TSymKey key = 0;
  for (std::size_t i = 0; i < name.size() && i < 5; ++i) {
    char c = name[i];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    key |= TSymKey(static_cast<unsigned char>(c)) << (8 * i);
  }
  return key;
}

namespace {

void Permanent(TSymMap& map, std::string name, TSymType type, unsigned value) {
  TAsmSym sym;
  sym.Name = std::move(name);
  sym.Value = std::uint16_t(value);
  sym.Type = type;
  sym.Builtin = true;
  sym.Pass1 = true;
  map[SymKey(sym.Name)] = std::move(sym);
}

TSymMap MakePermanent() {
  using namespace novatext;
  TSymMap map;
  for (unsigned f = 0; f < 8; ++f) Permanent(map, FunctionNames[f], stDalc, nova::ArithBit | f << 8);
  for (unsigned j = 0; j < 4; ++j) Permanent(map, JumpNames[j], stDmr, j << 11);
  Permanent(map, LoadStoreNames[0], stDmra, nova::LdaWord);
  Permanent(map, LoadStoreNames[1], stDmra, nova::StaWord);
  for (unsigned t = 0; t < 8; ++t) {
    const unsigned base = nova::IoClassBits | t << 8;
    if (t == TransferNio)
      Permanent(map, TransferNames[t], stDio, base);
    else if (t == TransferSkp)
      for (unsigned test = 0; test < 4; ++test)
        Permanent(map, std::string(TransferNames[t]) + IoSkipNames[test], stDio, base | test << 6);
    else
      Permanent(map, TransferNames[t], stDioa, base);
  }
  for (const TSpecialWord& s : SpecialWords) Permanent(map, s.Name, s.TakesAccumulator ? stDiac : stValue, s.Value);
  for (unsigned k = 1; k < 8; ++k) Permanent(map, SkipNames[k], stValue, k);
  for (const TDeviceName& d : DeviceNames) Permanent(map, d.Name, stValue, d.Value);
  return map;
}

int IndexIn(const char* const* names, int count, char c) {
  for (int i = 1; i < count; ++i)
    if (names[i][0] == c) return i;
  return 0;
}

}  // namespace

const TSymMap& PermanentSymbols() {
  static const TSymMap map = MakePermanent();
  return map;
}

bool SuffixBits(const TAsmSym& instruction, std::string_view suffix, std::uint16_t& bits) {
  using namespace novatext;
  bits = 0;
  switch (instruction.Type) {
    case stDalc: {
      // carry, then shift: "Z", "L", "ZL"
      std::size_t i = 0;
      if (i < suffix.size())
        if (const int carry = IndexIn(CarryNames, 4, suffix[i])) {
          bits |= std::uint16_t(carry << 4);
          ++i;
        }
      if (i < suffix.size())
        if (const int shift = IndexIn(ShiftNames, 4, suffix[i])) {
          bits |= std::uint16_t(shift << 6);
          ++i;
        }
      return i == suffix.size();
    }
    case stDio:
    case stDioa: {
      // a pulse: "S", "C" or "P"; the skip instructions have their test in that field
      if (suffix.empty()) return true;
      if (nova::TransferOf(instruction.Value) == TransferSkp || suffix.size() != 1) return false;
      const int pulse = IndexIn(PulseNames, 4, suffix[0]);
      bits = std::uint16_t(pulse << 6);
      return pulse != 0;
    }
    default: return suffix.empty();
  }
}

}  // namespace dgasm
