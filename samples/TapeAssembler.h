// A small assembler for the sample programs: assembler source with labels and a few directives
// to words, and the words to a self-loading paper tape or a memory dump. The source format is
// described at the top of TapeAssembler.cpp.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One assembled word: where it is loaded, and the source line it came from.
struct TAsmWord {
  std::uint16_t Address = 0;
  std::uint16_t Value = 0;
  int Line = 0;
};

struct TAsmProgram {
  std::vector<TAsmWord> Words;  // in source order
  bool HasStart = false;        // the last word is the .start jump
};

// Assembles the whole source. On failure Error says "line N: ..." and the result is false.
bool AssembleSource(std::string_view Source, TAsmProgram& Program, std::string& Error);

// The tape the program-load bootstrap reads: leader, marker byte, the count word and the words
// (high byte first), trailer. The words must be loaded consecutively from 101 octal, at most
// 127 of them, the last one the .start jump.
constexpr std::uint16_t SelfLoadFirst = 0101;
constexpr int SelfLoadMaxWords = 0177;
bool SelfLoadingTape(const TAsmProgram& Program, std::vector<std::uint8_t>& Tape, std::string& Error);

// A memory image: every word at its load address, words between them 0, up to the highest one.
std::vector<std::uint16_t> DumpImage(const TAsmProgram& Program);
