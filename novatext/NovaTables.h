// Mnemonic tables shared by the disassembler and the assembler, indexed by the field value.
// An empty entry adds nothing to a text and never matches one.
#pragma once
#include "NovaWord.h"

namespace novatext {

inline constexpr const char* FunctionNames[8] = {"COM", "NEG", "MOV", "INC",
                                                 "ADC", "SUB", "ADD", "AND"};
inline constexpr const char* CarryNames[4] = {"", "Z", "O", "C"};
inline constexpr const char* ShiftNames[4] = {"", "L", "R", "S"};
inline constexpr const char* SkipNames[8] = {"", "SKP", "SZC", "SNC", "SZR", "SNR", "SEZ", "SBN"};
inline constexpr const char* TransferNames[8] = {"NIO", "DIA", "DOA", "DIB",
                                                 "DOB", "DIC", "DOC", "SKP"};
inline constexpr const char* PulseNames[4] = {"", "S", "C", "P"};
inline constexpr const char* IoSkipNames[4] = {"BN", "BZ", "DN", "DZ"};
inline constexpr const char* JumpNames[4] = {"JMP", "JSR", "ISZ", "DSZ"};
inline constexpr const char* LoadStoreNames[2] = {"LDA", "STA"};

constexpr int TransferNio = 0;
constexpr int TransferSkp = 7;

// Special mnemonics: fixed words, and three that add an accumulator (shifted left 11).
struct TSpecialWord {
  const char* Name;
  nova::Word Value;
  bool TakesAccumulator;
};
inline constexpr TSpecialWord SpecialWords[9] = {
    {"MUL", nova::MulWord, false},     {"DIV", nova::DivWord, false},
    {"INTEN", nova::IntenWord, false}, {"INTDS", nova::IntdsWord, false},
    {"IORST", nova::IorstWord, false}, {"HALT", nova::HaltWord, false},
    {"READS", nova::ReadsWord, true},  {"INTA", nova::IntaWord, true},
    {"MSKO", nova::MskoWord, true},
};

}  // namespace novatext
