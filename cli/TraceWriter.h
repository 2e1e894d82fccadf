// --trace-out: every executed instruction as one line "PC WORD C AC0 AC1 AC2 AC3" (octal), taken
// from the machine's trace whenever the machine reports a new trace count.
#pragma once
#include <cstdint>
#include <string>

#include "NovaMachine.h"
#include "ReplacingFile.h"

class TTraceWriter {
public:
  explicit TTraceWriter(const TNovaMachine& Machine) : FMachine(Machine) {}

  // Creates the file (it replaces the target only at Commit). Error: the system's text.
  bool Open(const std::string& Name, std::string& Error);
  // Writes the records executed since the last call; false after a write error, which discards
  // the file (the target is untouched) and puts "cannot write file NAME: reason" into Error.
  bool WriteNew(std::string& Error);
  bool Commit(std::string& Error) { return FFile.Commit(Error); }
  bool IsOpen() const { return FFile.IsOpen(); }

  // One line, without the line end, into out (TraceLineLength characters).
  static constexpr int TraceLineLength = 43;
  static void FormatLine(const TTraceData& t, char* out);

private:
  const TNovaMachine& FMachine;
  TReplacingFile FFile;
  std::uint64_t FWritten = 0;  // executed count up to which the trace is written
};
