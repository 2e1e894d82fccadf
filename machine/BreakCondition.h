// The condition of a breakpoint: an expression on the registers and memory, written in a number
// base ("AC0 == 5", "PC > 1000 && CARRY", "[1234] != 0"), parsed once and evaluated without
// allocating each time the breakpoint is reached.
//
//   or      := and { "||" and }
//   and     := compare { "&&" compare }
//   compare := bits [ ("==" | "!=" | "<" | "<=" | ">" | ">=") bits ]
//   bits    := sum { ("&" | "|" | "^") sum }
//   sum     := unary { ("+" | "-") unary }
//   unary   := ("!" | "-" | "~") unary | primary
//   primary := number | AC0 | AC1 | AC2 | AC3 | PC | CARRY | ION | label | "[" or "]" | "(" or ")"
//
// Values are 16-bit words: numbers (in the base; a number starts with a digit) up to a word,
// arithmetic taken modulo 2^16, comparisons unsigned; "[a]" is the word at address a (15 bits);
// comparisons and logical operators give 1 or 0; a value is true when it is not 0. Names are
// read in any case.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "NumberUtils.h"

class TNovaMachine;

// Looks up a label for a condition: true with its value.
using TSymbolLookup = std::function<bool(std::string_view Name, int& Value)>;

class TBreakCondition {
public:
  // Parses Text (empty or blank: no condition, always true). False with the reason (translated)
  // in Error; the condition is then unchanged.
  bool Parse(std::string_view Text, TNumMode Base, std::string& Error, const TSymbolLookup* Symbols = nullptr);
  bool Empty() const { return FCode.empty(); }
  // Evaluates on the machine's registers and memory as they are now.
  bool Holds(const TNovaMachine& Machine) const;

  // Deepest evaluation stack a condition may need (deeper ones are refused).
  static constexpr int MaxDepth = 32;

  enum TOp : std::uint8_t {
    opNumber, opAC, opPC, opCarry, opIon, opMemory,
    opNot, opNeg, opCompl,
    opAdd, opSub, opAnd, opOr, opXor,
    opEq, opNe, opLt, opLe, opGt, opGe,
    opLogAnd, opLogOr,
  };
  struct TCode {
    TOp Op;
    std::uint16_t Value;  // opNumber: the number; opAC: the accumulator
  };

private:
  std::vector<TCode> FCode;  // postfix
};
