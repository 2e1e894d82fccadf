// The options of `corvane-cli run`.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Breakpoint.h"
#include "TimeTravel.h"

struct TRunOptions {
  int MemSize = 0;  // 0: not given (the machine's 32768 words)
  std::string LoadDump;
  int Pc = -1;        // -1: the reset address
  int Switches = -1;  // -1: not given (0)
  bool ProgLoad = false;
  // The readers' tapes in the order given: the first is in the reader, each next one goes in
  // when the one before has run out.
  std::vector<std::string> Ptr, Ttr;
  std::string Ptp, Ttp, Lpt;
  bool PtrText = false;  // every tape of that reader is a text tape
  bool TtrText = false;
  // --break (execute, with its count), --break-read, --break-write, --break-access, in order.
  std::vector<TBreakpoint> Breaks;
  int TraceLength = 0;  // 0: not given (the machine's 10000)
  std::uint64_t MaxInstructions = 0;  // 0: no limit
  std::string SaveDump;
  std::string TraceOut;
  bool Regs = false;
  std::uint32_t Speed = 0;  // speed::Maximum, speed::Nova800, or instructions per second
  bool SpeedGiven = false;  // --speed given (a loaded state keeps its speed otherwise)
  std::string LoadState;    // a machine state file that takes the place of the reset
  std::string SaveState;    // the machine state at the end of the run
  std::uint64_t Reverse = 0;  // instructions to go back after the run (0: none)
  int LastWriter = -1;        // the word whose last writer is told after the run (-1: none)
};

// Reads the options after "run". Returns -1 to go on, otherwise the exit status (0 after --help,
// 1 after an error, whose message has gone to standard error).
int ReadRunOptions(int argc, char** argv, TRunOptions& options);
