// The assembler's own symbol table: every name with its kind (a value, or one of the
// instruction kinds that DG's instruction-defining pseudo-ops make) and where it was defined.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace dgasm {

// What a symbol is, as the pseudo-op that defines it says.
enum TSymType : std::uint8_t {
  stValue,  // .DUSR, labels and equates
  stDmr,    // memory reference: address
  stDmra,   // memory reference: accumulator, address
  stDalc,   // arithmetic and logic: two accumulators, skip; carry, shift and # suffixes
  stDio,    // I/O: device; pulse suffix
  stDioa,   // I/O: accumulator, device; pulse suffix
  stDiac,   // accumulator only
};

struct TAsmSym {
  std::string Name;  // as first written
  std::uint16_t Value = 0;
  TSymType Type = stValue;
  bool Builtin = false;  // a permanent symbol (forgotten by .XPNG)
  bool Label = false;
  bool Pass1 = false;    // defined in the first pass ...
  int DefinedAt = -1;    // ... on this line (its number over all sources); -1 built in
};

// The first 5 characters of a name, in upper case, packed into a number.
using TSymKey = std::uint64_t;
TSymKey SymKey(std::string_view name);

using TSymMap = std::unordered_map<TSymKey, TAsmSym>;

// The permanent symbols: every instruction, skip and device name an ordinary program uses.
const TSymMap& PermanentSymbols();

// The bits a suffix adds to an instruction of this kind, for suffix texts like "ZL", "S" or
// "" (upper case); false when the kind takes no such suffix.
bool SuffixBits(const TAsmSym& instruction, std::string_view suffix, std::uint16_t& bits);

// True for the kinds of instructions (all but stValue).
inline bool IsInstruction(TSymType type) { return type != stValue; }

}  // namespace dgasm
