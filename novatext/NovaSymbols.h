// A program's symbols: names with 16-bit values, found by name and by value. Names match as the
// assembler reads them: upper and lower case alike, and only the first 5 characters count.
// The debugger's views share one table: the disassembler shows the names of addresses in
// operands, the memory grid the label of a row.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "NumberUtils.h"

enum TSymbolKind : std::uint8_t {
  skLabel,  // names a place in the program
  skValue,  // an equate or a user value (.DUSR)
};

struct TSymbol {
  std::string Name;  // as first written
  std::uint16_t Value = 0;
  TSymbolKind Kind = skLabel;
};

class TSymbolTable {
public:
  static constexpr std::size_t SignificantLength = 5;

  TSymbolTable() = default;
  // The symbols, sorted; of several with one name the last counts.
  explicit TSymbolTable(std::vector<TSymbol> symbols) { Assign(std::move(symbols)); }
  void Assign(std::vector<TSymbol> symbols);
  // Adds one symbol or gives a known name its new value.
  void Add(std::string_view name, std::uint16_t value, TSymbolKind kind = skLabel);
  void Clear();

  // The name's first 5 characters in upper case: the name as the table compares it.
  static std::string Key(std::string_view name);
  const TSymbol* Find(std::string_view name) const;
  // The name shown for an address (15 bits): a label before a value, then the first by name;
  // nullptr when no symbol has the value.
  const TSymbol* NameOf(std::uint16_t address) const;

  const std::vector<TSymbol>& Symbols() const { return FSymbols; }  // sorted by name
  bool Empty() const { return FSymbols.empty(); }
  std::size_t Size() const { return FSymbols.size(); }

private:
  void Index();
  std::vector<TSymbol> FSymbols;
  std::vector<std::uint32_t> FByValue;  // positions in FSymbols, by value, then as NameOf prefers
};

// What typed text (the Goto address field, an add dialog) says as an address.
enum TAddressText : std::uint8_t {
  atOk,
  atInvalid,     // neither a number in the base nor a label
  atOutOfRange,  // above 077777
};
// The text, blanks around it ignored: a label of Symbols (which may be nullptr) or a number in
// the base Mode (with its optional prefix "$", "%" or "!"), either followed by "+" or "-" and a
// number in the base ("LOOP+2"). A known label wins over a number of the same letters (in hex,
// "ADD" is a label when the table has one). Addr gets the address on atOk.
TAddressText AddressFromText(std::string_view text, TNumMode mode, const TSymbolTable* symbols, int& addr);
