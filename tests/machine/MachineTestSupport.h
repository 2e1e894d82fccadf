// Helpers of the machine tests: instruction word builders, a recording host, a fixture.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "NovaMachine.h"

namespace w {
// Arithmetic class.
enum { COM, NEG, MOV, INC, ADC, SUB, ADD, AND };
enum { NoShift, L, R, S };
enum { Keep, Z, O, C };
enum { NoSkip, SKP, SZC, SNC, SZR, SNR, SEZ, SBN };
constexpr TWord Arith(int fn, int acs, int acd, int shift = 0, int carry = 0, bool noLoad = false, int skip = 0) {
  return TWord(0100000 | acs << 13 | acd << 11 | fn << 8 | shift << 6 | carry << 4 | (noLoad ? 010 : 0) | skip);
}
// Memory reference: mode 0 page zero, 1 PC, 2 AC2, 3 AC3.
constexpr TWord MemRef(int base, int disp, int mode, bool ind) {
  return TWord(base | (ind ? 02000 : 0) | mode << 8 | (disp & 0377));
}
constexpr TWord Jmp(int disp, int mode = 0, bool ind = false) { return MemRef(000000, disp, mode, ind); }
constexpr TWord Jsr(int disp, int mode = 0, bool ind = false) { return MemRef(004000, disp, mode, ind); }
constexpr TWord Isz(int disp, int mode = 0, bool ind = false) { return MemRef(010000, disp, mode, ind); }
constexpr TWord Dsz(int disp, int mode = 0, bool ind = false) { return MemRef(014000, disp, mode, ind); }
constexpr TWord Lda(int ac, int disp, int mode = 0, bool ind = false) { return MemRef(020000 | ac << 11, disp, mode, ind); }
constexpr TWord Sta(int ac, int disp, int mode = 0, bool ind = false) { return MemRef(040000 | ac << 11, disp, mode, ind); }
// I/O class: transfer 0 NIO 1 DIA 2 DOA 3 DIB 4 DOB 5 DIC 6 DOC 7 SKP; pulse 0 - 1 S 2 C 3 P.
enum { NIO, DIA, DOA, DIB, DOB, DIC, DOC };
enum { NoPulse, PS, PC_, PP };
enum { BN, BZ, DN, DZ };
constexpr TWord Io(int transfer, int ac, int pulse, int dev) {
  return TWord(060000 | ac << 11 | transfer << 8 | pulse << 6 | dev);
}
constexpr TWord Skp(int test, int dev) { return Io(7, 0, test, dev); }
constexpr int TTI = 010, TTO = 011, PTR = 012, PTP = 013, RTC = 014, LPT = 017, CPU = 077;
constexpr TWord HALT = 063077, INTEN = 060177, INTDS = 060277, IORST = 062677;
}  // namespace w

// Records what the machine tells its host: counts, and every change in order in Told
// ("registers", "words 000100+2", "breakpoints 1", ...).
struct TRecordingHost : TMachineHost {
  int Pumps = 0;
  int ShowRegs = 0;
  int RunStates = 0;
  int NumFormats = 0;
  std::vector<bool> Lamps;
  std::vector<int> TraceCounts, WatchCounts, BreakpointCounts, EffAddrs, MemSizes;
  std::vector<std::string> Told;
  std::function<void()> OnPump;
  std::function<void()> OnRegistersChanged;

  void PumpEvents() override {
    ++Pumps;
    if (OnPump) OnPump();
  }
  void RegistersChanged() override {
    ++ShowRegs;
    Told.push_back("registers");
    if (OnRegistersChanged) OnRegistersChanged();
  }
  void SwitchesChanged() override { Told.push_back("switches"); }
  void RunStateChanged() override {
    ++RunStates;
    Told.push_back("run state");
  }
  void WordsChanged(int first, int count) override {
    Told.push_back("words " + TNovaMachine::AddrKey(TWord(first)) + "+" + std::to_string(count));
  }
  void MemoryChanged() override {
    ++NumFormats;
    Told.push_back("memory");
  }
  void RunningChanged(bool on) override {
    Lamps.push_back(on);
    Told.push_back(on ? "running" : "stopped");
  }
  void TraceChanged(int n) override {
    TraceCounts.push_back(n);
    Told.push_back("trace " + std::to_string(n));
  }
  void WatchesChanged(int n) override {
    WatchCounts.push_back(n);
    Told.push_back("watches " + std::to_string(n));
  }
  void BreakpointsChanged(int n) override {
    BreakpointCounts.push_back(n);
    Told.push_back("breakpoints " + std::to_string(n));
  }
  void ReportEffAddr(int a) override { EffAddrs.push_back(a); }
  void MemSizeChanged(int n) override {
    MemSizes.push_back(n);
    Told.push_back("size " + std::to_string(n));
  }
};

class MachineTest : public ::testing::Test {
protected:
  MachineTest() { M.SetHost(&Host); }

  void Load(int addr, std::initializer_list<TWord> words) {
    for (TWord x : words) M.Memory[addr++ & nova::AddrMask].Data = x;
  }
  // Executes n single steps.
  void Steps(int n) {
    for (int i = 0; i < n; ++i) M.Step();
  }
  // Runs from addr with an instruction limit as a safety net.
  TStopReason RunFrom(int addr, std::uint64_t limit = 1'000'000) {
    M.PC = TWord(addr);
    M.InstructionLimit = limit;
    return M.RunProgram();
  }

  TNovaMachine M;
  TRecordingHost Host;
};
