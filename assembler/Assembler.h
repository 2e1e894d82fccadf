// The whole-file assembler: Nova assembler sources in Data General's syntax to an absolute
// program (words at their addresses, a start address, the user's symbols), with the listing of
// every line and the errors of the lines. The language is described in docs/assembler.md.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "NovaSymbols.h"

// One source file: the name its errors are reported under, and its text.
struct TAsmSource {
  std::string Name;
  std::string Text;
};

// An error of one line (Line from 1), or of a whole file (Line 0). Flag is the letter the
// listing shows at the start of the line.
struct TAsmError {
  int Source = 0;  // index into TAsmProgram::Sources
  int Line = 0;
  char Flag = ' ';
  std::string Message;
};

struct TAsmWord {
  std::uint16_t Address = 0;
  std::uint16_t Value = 0;
};

// One listed source line: the line, its address and word columns, its words and errors.
struct TAsmLine {
  int Source = 0;
  int Line = 0;
  std::string_view Text;  // into TAsmProgram::Sources, without the line end
  int Address = -1;       // -1: no address shown
  int Value = -1;         // -1: no word column (a word, or the value of .LOC, .END, an equate)
  std::uint32_t FirstWord = 0, WordCount = 0;    // the line's words in TAsmProgram::Words
  std::uint32_t FirstError = 0, ErrorCount = 0;  // its errors in TAsmProgram::Errors
};

struct TAsmProgram {
  std::vector<TAsmSource> Sources;
  std::vector<TAsmWord> Words;  // in source order
  std::vector<TAsmLine> Lines;  // every line assembled, in order
  std::vector<TAsmError> Errors;  // in source order; file errors too
  int Start = -1;               // .END's start address; -1 when none was given
  std::string Title;            // .TITL
  TSymbolTable Symbols;         // the user's symbols: labels, equates, .DUSR

  bool Ok() const { return Errors.empty(); }
  // "FILE:LINE: message" (or "FILE: message" for a file error).
  std::string ErrorText(const TAsmError& error) const;
};

// Assembles the sources as one program, in order. Errors are collected, never thrown.
TAsmProgram Assemble(std::vector<TAsmSource> sources);

// Reads a source file whole. False with the reason in error when it cannot be read.
bool ReadAsmSource(const std::string& fileName, TAsmSource& source, std::string& error);
