// Assembling straight into the machine's memory, with no tape in between: what the window's
// "Assemble source file .." does, and what corvane-cli can do before a run. Also the window's
// "Assemble to tape ..": source files to a tape file.
#pragma once
#include <string>
#include <vector>

#include "Assembler.h"
#include "NovaMachine.h"
#include "SourceError.h"

struct TMemoryAssembly {
  std::vector<TSourceError> Errors;  // when there are any, nothing in the machine has changed
  TSymbolTable Symbols;              // the program's symbols, for the views
  int Start = -1;                    // the start address PC was set to; -1: none (PC as it was)
  std::string Title;                 // .TITL
  std::size_t Words = 0;             // words written
  bool Ok() const { return Errors.empty(); }
};

// Assembles the sources as one program. Without errors the words go into memory through the
// machine's notifying operations, in source order (of two words at one address the later
// stays), the memory size grows to take the highest one, the watches take the new values
// (without alerts, as after loading a dump), and PC is set to the start address of .END.
TMemoryAssembly AssembleIntoMemory(TNovaMachine& machine, std::vector<TAsmSource> sources);
// The same from files; a file that cannot be read is an error of its own, and nothing is
// assembled.
TMemoryAssembly AssembleFilesIntoMemory(TNovaMachine& machine, const std::vector<std::string>& fileNames);

// The program's errors as the windows list them (file, line, message).
std::vector<TSourceError> SourceErrors(const TAsmProgram& program);

struct TTapeAssembly {
  std::vector<TSourceError> Errors;  // of the sources (or a file that cannot be read): no tape written
  std::string Failure;               // no program-load tape for this program, or the tape cannot be written
  std::size_t Words = 0;             // words on the tape
  int Start = -1;
  bool Ok() const { return Errors.empty() && Failure.empty(); }
};

// Assembles the files as one program and writes its tape whole (a temporary file renamed over
// the old one): the absolute binary tape, or with Bootstrap the program-load tape. With any
// error the tape file is neither made nor changed.
TTapeAssembly AssembleFilesToTape(const std::vector<std::string>& fileNames, const std::string& tapeFile, bool bootstrap);
