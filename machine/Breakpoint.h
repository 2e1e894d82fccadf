// One breakpoint of any kind: an instruction address, or a word or range of words the program
// reads or writes as data; with an optional condition and hit count.
#pragma once
#include <cstdint>
#include <string>

#include "BreakCondition.h"
#include "MachineTypes.h"

struct TBreakpoint {
  TBreakKind Kind = bkExecute;
  TWord First = 0;  // the word, or the first of the range
  TWord Last = 0;   // the last word of the range (First for one word; always First for execute)
  std::string Condition;    // as written, empty: none
  TNumMode Base = nmOctal;  // the number base the condition is written in
  // Stops from the Count-th arrival on (0 and 1: at every arrival). An arrival counts when the
  // condition holds.
  std::uint64_t Count = 0;
  std::uint64_t Hits = 0;  // arrivals counted since the machine was reset
  TBreakCondition Compiled;  // the parsed condition, kept by the machine

  bool Covers(TWord Addr) const { return Addr >= First && Addr <= Last; }
  bool SameAs(const TBreakpoint& b) const { return Kind == b.Kind && First == b.First && Last == b.Last; }
};

// "execute", "read", "write", "access": the names of the command line and the settings.
const char* BreakKindName(TBreakKind Kind);
// The kind of a name of BreakKindName; false for any other text.
bool BreakKindFromName(std::string_view Name, TBreakKind& Kind);
// Translated, for the windows: "Execute", "Read", "Write", "Access".
std::string BreakKindText(TBreakKind Kind);

// A breakpoint as one line of the settings, "kind,first,last,count,base,condition" ("write,001234,
// 001240,3,octal,AC0 == 5": the words in octal, the count in decimal, the condition's base by
// name, the condition as written), and back. False for a line that does not read that way; the
// condition itself is parsed only when the breakpoint is set.
std::string BreakpointEntry(const TBreakpoint& B);
bool BreakpointFromEntry(std::string_view Entry, TBreakpoint& B);
