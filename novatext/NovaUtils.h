// Instruction text: one machine word to one line of assembler text and back.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "NumberUtils.h"

class TSymbolTable;

struct TDeviceName {
  const char* Name;
  std::uint16_t Value;
};
constexpr int DeviceNameCount = 7;
extern const TDeviceName DeviceNames[DeviceNameCount];  // TTI TTO PTR PTP RTC LPT CPU

// Address -1 when the word's address is unknown; NumMode is the base of instruction-relative
// targets; Columns pads the mnemonic field to 8 characters. With Symbols, an operand whose
// address has a name shows the name instead ("JMP LOOP", "LDA 1,@PTR"); page-zero operands
// always, instruction-relative ones when Address is known.
std::string CommandToStr(int address, std::uint16_t word, TNumMode numMode, bool columns,
                         const TSymbolTable* symbols = nullptr);

// One line of assembler text to a word; Address is where the word is meant to go.
bool StrToCommand(std::string_view text, std::uint16_t address, std::uint16_t& word);
