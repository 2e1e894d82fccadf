// Going back in time: a reverse step puts back the whole state before the instruction, a
// journey to any moment finds it as it was, a reverse run stops where a run would have, the last
// writer of a word is found, and running forward again repeats what happened without printing it
// twice.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>

#include "KeyQueue.h"
#include "MachineState.h"
#include "MachineTestSupport.h"
#include "Peripherals.h"
#include "TestTempDir.h"

namespace {

using namespace w;

struct TOutputHost : TPeripheralHost {
  std::string Teletype;
  std::string Printed;
  void TeletypeOut(std::uint8_t b) override { Teletype += char(b); }
  void PrinterLine(const std::string& line) override { Printed += line + "\n"; }
};

struct TFakeClock : TThrottleClock {
  std::int64_t Now = 0;
  std::int64_t NowNs() override { return Now; }
  void SleepUntilNs(std::int64_t Ns) override { Now = Ns > Now ? Ns : Now; }
};

struct TRig {
  explicit TRig(std::uint64_t history = 10'000'000) {
    M.SetThrottleClock(&Clock);
    M.SetHost(&Host);
    M.SetHistorySize(history);
  }
  TFakeClock Clock;
  TRecordingHost Host;
  TNovaMachine M;
  TOutputHost Out;
  TPeripherals P{M, &Out};
  void Load(int addr, std::initializer_list<TWord> words) {
    for (TWord x : words) M.Memory[std::size_t(addr++ & nova::AddrMask)].Data = x;
  }
};

// The machine's part of a state: the files stay where they are when the machine goes back (and
// a journey is no run: why the last one stopped stays).
std::unique_ptr<TMachineState> MachinePart(const TRig& r) {
  auto s = std::make_unique<TMachineState>(CaptureState(r.M, r.P));
  s->LastStop = srNone;
  s->Readers = {};
  s->Outputs = {};
  s->LastTtoOutputAt = 0;
  s->LptLine.clear();
  return s;
}

// The fields in which two states differ, for the failure message.
std::string Differences(const TMachineState& a, const TMachineState& b) {
  std::string d;
  const auto check = [&d](bool same, const char* name) {
    if (!same) d += std::string(d.empty() ? "" : ", ") + name;
  };
  for (int i = 0; i < MemoryWords; ++i)
    if (a.Memory[std::size_t(i)] != b.Memory[std::size_t(i)]) {
      d += "memory " + TNovaMachine::AddrKey(TWord(i)) + " ";
      break;
    }
  check(a.MemSize == b.MemSize, "size");
  check(a.PC == b.PC, "PC");
  check(a.Carry == b.Carry, "carry");
  check(a.AC == b.AC, "AC");
  check(a.Switches == b.Switches, "switches");
  check(a.PreEnable == b.PreEnable && a.IntEnable == b.IntEnable && a.IrqFlag == b.IrqFlag, "interrupts");
  check(a.Executed == b.Executed, "executed");
  check(a.LastStop == b.LastStop, "last stop");
  for (std::size_t i = 0; i < a.Devices.size(); ++i) check(a.Devices[i] == b.Devices[i], ("device " + std::to_string(i)).c_str());
  check(a.TtiReaderOn == b.TtiReaderOn && a.RtcInterval == b.RtcInterval && a.RtcTimerOn == b.RtcTimerOn, "reader, clock");
  check(a.Speed == b.Speed && a.RealSpeedDevices == b.RealSpeedDevices, "speed");
  check(a.SimTimeNs == b.SimTimeNs && a.RateRemainder == b.RateRemainder, "time");
  check(a.Breakpoints == b.Breakpoints && a.StepOverMarks == b.StepOverMarks, "breakpoints");
  check(a.Watches == b.Watches, "watches");
  check(a.Trace.size() == b.Trace.size(), "trace count");
  check(a.Trace == b.Trace, "trace");
  return d;
}

// ---- programs

// Every instruction class once: arithmetic with shifts, carry and skips, loads and stores
// direct, relative, indexed and indirect through the counting words, ISZ and DSZ with their
// skips, JMP, JSR, multiply and divide, READS, interrupts on and off, then HALT.
void EveryClass(TRig& r, const TTempDir&) {
  r.Load(020, {0300});  // counts up before use
  r.Load(030, {0311});  // counts down
  r.Load(0300, {0, 5, 7, 0177777});
  r.Load(0310, {0, 0, 3});
  r.Load(0100, {Lda(0, 0301), Lda(1, 0302), Arith(ADD, 0, 1, L, C), Arith(SUB, 1, 0, R, Z, false, SZC),
                Arith(NEG, 0, 2, S, O, false, SNR), Arith(COM, 2, 3, 0, 0, true, SKP), Arith(INC, 3, 3),
                Sta(1, 0, 0, true) | 020, Lda(2, 030, 0, true), Isz(0303), Isz(0303), Dsz(0310),
                Jmp(2, 1), HALT, Jsr(0140), INTEN, INTDS, Io(DIA, 1, NoPulse, CPU), 073301 /* MUL */,
                073101 /* DIV */, Sta(3, 0, 3), HALT});
  r.Load(0140, {Arith(INC, 0, 0), Jmp(0, 3)});
  r.M.Switches = 01234;
  r.M.PC = 0100;
}

// Prints "HELLO" and CR LF on the teletype from its interrupts while the main program counts.
void TeletypeByInterrupts(TRig& r, const TTempDir&) {
  const std::string text = "HELLO\r\n";
  for (std::size_t i = 0; i < text.size(); ++i) r.M.Memory[0300 + i].Data = TWord(text[i]);
  r.Load(1, {0200});
  r.Load(050, {0301});
  r.Load(0100, {Lda(0, 0300), Io(DOA, 0, PS, TTO), INTEN, Isz(052), Jmp(0103), Jmp(0103)});
  r.Load(0200, {Lda(2, 050), Lda(0, 0, 2), Arith(MOV, 0, 0, 0, 0, false, SNR), Jmp(0210), Io(DOA, 0, PS, TTO),
                Isz(050), INTEN, Jmp(0, 0, true), HALT});
  r.M.PC = 0100;
}

// Copies a tape to the punch and the printer, waiting for each device.
void TapeToPunchAndPrinter(TRig& r, const TTempDir& d) {
  std::ofstream(d / "tape.bin", std::ios::binary) << "AB\rCD\r";
  r.P.OpenPtrFile(d / "tape.bin");
  r.P.AttachOutput(pdPtp, d / "out.ptp");
  r.Load(0100, {Io(NIO, 0, PS, PTR), Skp(DN, PTR), Jmp(0101), Io(DIA, 0, NoPulse, PTR), Io(DOA, 0, PS, PTP),
                Skp(DN, PTP), Jmp(0105), Io(DOA, 0, PS, LPT), Skp(DN, LPT), Jmp(0110), Dsz(040), Jmp(0100), HALT});
  r.Load(040, {6});
  r.M.PC = 0100;
}

void TeletypeAtNova800Speed(TRig& r, const TTempDir& d) {
  TeletypeByInterrupts(r, d);
  r.M.SetSpeed(speed::Nova800);
  r.M.SetRealSpeedDevices(false);  // a character's real time is too many steps to keep
}

void TeletypeAtFixedRate(TRig& r, const TTempDir& d) {
  TeletypeByInterrupts(r, d);
  r.M.SetSpeed(7919);
}

// Waits for keys and echoes them; an IORST at its start.
void KeyboardEcho(TRig& r, const TTempDir&) {
  r.Load(0100, {IORST, Io(NIO, 0, PS, TTI), Skp(DN, TTI), Jmp(0102), Io(DIA, 0, PS, TTI), Io(DOA, 0, PS, TTO),
                Skp(DN, TTO), Jmp(0106), Dsz(040), Jmp(0102), HALT});
  r.Load(040, {3});
  r.M.PC = 0100;
}

struct TProgram {
  const char* Name;
  void (*Setup)(TRig&, const TTempDir&);
};

const TProgram Programs[] = {
    {"every instruction class", EveryClass},
    {"teletype by interrupts", TeletypeByInterrupts},
    {"tape to punch and printer", TapeToPunchAndPrinter},
    {"teletype at Nova 800 speed", TeletypeAtNova800Speed},
    {"teletype at a fixed rate", TeletypeAtFixedRate},
    {"keyboard echo", KeyboardEcho},
};

// The moments whose states are kept to compare: the first ones, then a sample.
bool Kept(std::size_t k) { return k < 64 || k % 37 == 0; }

class HistoryTest : public ::testing::Test {
protected:
  TTempDir Dir;
};

// Each step of each program taken back: the state is the one before the step, all of it; then
// forward again the same states come, and nothing is printed twice.
TEST_F(HistoryTest, AReverseStepPutsBackTheStateBeforeTheInstruction) {
  for (const TProgram& program : Programs) {
    SCOPED_TRACE(program.Name);
    TRig rig;
    TKeyQueue keys(rig.M, rig.P);
    program.Setup(rig, Dir);
    // Keys typed between the steps of the keyboard program, as the pump hands them.
    const bool typing = program.Setup == KeyboardEcho;
    std::map<std::size_t, std::unique_ptr<TMachineState>> states;
    std::size_t n = 0;
    for (; n < 100000 && rig.M.LastStopReason() != srHalt; ++n) {
      if (typing && n % 5 == 0) keys.Type('a' + int(n / 5 % 26), true);
      if (typing) keys.Pump();
      if (Kept(n)) states[n] = MachinePart(rig);
      rig.M.Step();
    }
    ASSERT_EQ(rig.M.LastStopReason(), srHalt);
    states[n] = MachinePart(rig);
    const std::string printed = rig.Out.Teletype + rig.Out.Printed;
    ASSERT_GT(n, 15u);
    EXPECT_EQ(rig.M.HistoryStart(), 0u);
    for (std::size_t k = n; k-- > 0;) {
      ASSERT_TRUE(rig.M.ReverseStep()) << k;
      if (Kept(k)) {
        ASSERT_EQ(Differences(*MachinePart(rig), *states[k]), "") << "back to " << k;
      }
    }
    EXPECT_FALSE(rig.M.ReverseStep());
    for (std::size_t k = 1; k <= n; ++k) {
      rig.M.Step();
      if (Kept(k) || k == n) {
        ASSERT_EQ(Differences(*MachinePart(rig), *states[k]), "") << "forward to " << k;
      }
    }
    EXPECT_EQ(rig.Out.Teletype + rig.Out.Printed, printed);
    EXPECT_FALSE(rig.M.GoneBack());
  }
}

// A run is recorded as the steps are: a journey to any moment of it finds the state the steps
// had there, and running on from it ends as the run did.
TEST_F(HistoryTest, AJourneyFindsEveryMomentOfARun) {
  for (const TProgram& program : Programs) {
    SCOPED_TRACE(program.Name);
    if (program.Setup == KeyboardEcho) continue;  // its keys come from the steps' pumps
    TRig steps;
    program.Setup(steps, Dir);
    std::map<std::size_t, std::unique_ptr<TMachineState>> states;
    std::size_t n = 0;
    for (;; ++n) {
      if (Kept(n)) states[n] = MachinePart(steps);
      if (steps.M.LastStopReason() == srHalt) break;
      steps.M.Step();
    }
    states[n] = MachinePart(steps);

    TRig run;
    program.Setup(run, Dir);
    run.M.SetPumpInterval(3);
    run.M.InstructionLimit = 1'000'000;
    ASSERT_EQ(run.M.RunProgram(), srHalt);
    ASSERT_EQ(run.M.ExecutedCount(), n);
    const auto end = MachinePart(run);
    const std::string printed = run.Out.Teletype + run.Out.Printed;
    for (std::size_t k : {std::size_t(0), std::size_t(37 * (n / 111)), std::min<std::size_t>(63, n), n, std::size_t(1)}) {
      ASSERT_TRUE(run.M.TravelTo(k));
      // The trace holds what a run to this moment holds (the steps keep it as well).
      ASSERT_EQ(Differences(*MachinePart(run), *states[k]), "") << k;
    }
    EXPECT_EQ(run.M.RunProgram(), srHalt);
    EXPECT_EQ(*MachinePart(run), *end);
    EXPECT_EQ(run.Out.Teletype + run.Out.Printed, printed);
  }
}

// A long loop crosses many frames; the oldest are given up, but the history covers its size.
TEST_F(HistoryTest, ALongRunKeepsAtLeastItsSizeAndGoesBackAcrossFrames) {
  TRig rig(1'000'000);
  rig.Load(0100, {Isz(040), Jmp(0100), Isz(041), Jmp(0100), HALT});
  rig.M.PC = 0100;
  rig.M.InstructionLimit = 3'000'001;
  ASSERT_EQ(rig.M.RunProgram(), srLimit);
  const std::uint64_t now = rig.M.ExecutedCount();
  EXPECT_LE(rig.M.HistoryStart(), now - 1'000'000);
  EXPECT_GT(rig.M.HistoryStart(), 0u);
  EXPECT_FALSE(rig.M.TravelTo(rig.M.HistoryStart() - 1));

  const auto end = MachinePart(rig);
  // As the same run cut short there, with its trace.
  TRig shorter(0);
  shorter.Load(0100, {Isz(040), Jmp(0100), Isz(041), Jmp(0100), HALT});
  shorter.M.PC = 0100;
  shorter.M.InstructionLimit = 3'000'001 - 600'000;
  ASSERT_EQ(shorter.M.RunProgram(), srLimit);
  ASSERT_TRUE(rig.M.TravelTo(now - 600'000));
  EXPECT_EQ(Differences(*MachinePart(rig), *MachinePart(shorter)), "");
  ASSERT_TRUE(rig.M.TravelTo(now));
  EXPECT_EQ(Differences(*MachinePart(rig), *end), "");
  EXPECT_LT(rig.M.HistoryBytes(), std::size_t(12) << 20);
  // What the window tells before a size is chosen is what that size takes.
  EXPECT_EQ(rig.M.HistoryBytes(), THistory::BytesFor(rig.M.HistorySize()));
}

// ---- reverse run

TEST_F(HistoryTest, AReverseRunStopsWhereARunWouldHave) {
  struct TCase {
    const char* Name;
    std::function<void(TNovaMachine&)> Set;
    TStopReason Reason;
    std::uint64_t At;  // the moment it stops at
  };
  // 0100: 0101 0102 0103 0104 0105 0106 back to 0101 ... five passes, then HALT. Pass p (from 1)
  // executes 0101 at moment 1 + 6 (p - 1).
  const TCase cases[] = {
      {"execute breakpoint: before the instruction", [](TNovaMachine& m) { m.SetBreakpoint(0103); }, srBreakpoint, 3 + 6 * 4},
      {"its condition",
       [](TNovaMachine& m) {
         TBreakpoint b;
         b.First = 0103;
         b.Condition = "[40] == 2";
         ASSERT_TRUE(m.SetBreakpoint(b));
       },
       srBreakpoint, 3 + 6 * 1},
      {"write breakpoint: after the instruction",
       [](TNovaMachine& m) {
         TBreakpoint b;
         b.Kind = bkWrite;
         b.First = b.Last = 041;
         ASSERT_TRUE(m.SetBreakpoint(b));
       },
       srData, 5 + 6 * 4},
      {"watch with alert", [](TNovaMachine& m) { m.AddWatch(040), m.SetWatchAlert(040, true); }, srWatch, 2 + 6 * 4},
      {"a watch without alert does not stop it", [](TNovaMachine& m) { m.AddWatch(040); }, srNone, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRig rig;
    rig.Load(0100, {Arith(SUB, 0, 0), Isz(040), Arith(INC, 0, 0), Lda(1, 040), Sta(1, 041), Dsz(042), Jmp(0101), HALT});
    rig.Load(042, {5});
    rig.M.PC = 0100;
    ASSERT_EQ(rig.M.RunProgram(), srHalt);
    c.Set(rig.M);
    EXPECT_EQ(rig.M.ReverseRun(), c.Reason);
    EXPECT_EQ(rig.M.ExecutedCount(), c.At);
    if (c.Reason == srData) {
      EXPECT_EQ(rig.M.LastDataStop().PC, 0104);
    }
    // From the moment of a stop, the one before it.
    if (c.Reason != srNone) {
      rig.M.ReverseRun();
      EXPECT_LT(rig.M.ExecutedCount(), c.At);
    }
  }
}

// ---- the last writer of a word

TEST_F(HistoryTest, TheLastWriterIsTheOneAWriteBreakpointSawLast) {
  // Watched against a run that stops at every write of the word.
  const struct {
    const char* Name;
    TWord Addr;
  } words[] = {{"counted by the main loop", 052}, {"the interrupt's store into 0", 0}, {"never written", 0400},
               {"the pointer of the handler", 050}};
  for (const auto& c : words) {
    SCOPED_TRACE(c.Name);
    TLastWrite expected;
    {
      TRig seen(0);
      TeletypeByInterrupts(seen, Dir);
      TBreakpoint b;
      b.Kind = bkWrite;
      b.First = b.Last = c.Addr;
      seen.M.SetBreakpoint(b);
      TWord before = seen.M.Memory[c.Addr].Data;
      while (seen.M.ContinueRun() == srData) {
        expected = TLastWrite{true, c.Addr, seen.M.LastDataStop().PC, seen.M.LastDataStop().ByInterrupt,
                              seen.M.ExecutedCount(), before, seen.M.Memory[c.Addr].Data};
        before = seen.M.Memory[c.Addr].Data;
      }
      ASSERT_EQ(seen.M.LastStopReason(), srHalt);
    }
    TRig rig;
    TeletypeByInterrupts(rig, Dir);
    ASSERT_EQ(rig.M.RunProgram(), srHalt);
    const auto before = MachinePart(rig);
    const TLastWrite found = rig.M.LastWriter(c.Addr);
    EXPECT_EQ(found, expected);
    EXPECT_EQ(*MachinePart(rig), *before);  // looking changed nothing
    if (found.Found) {
      ASSERT_TRUE(rig.M.TravelTo(found.Step));
      EXPECT_EQ(rig.M.Memory[c.Addr].Data, found.New);
      ASSERT_TRUE(rig.M.ReverseStep());
      EXPECT_EQ(rig.M.Memory[c.Addr].Data, found.Old);
    }
  }
}

// ---- forward again, and a change from outside

TEST_F(HistoryTest, AfterGoingBackTheRunRepeatsUntilItIsChanged) {
  TRig rig;
  TapeToPunchAndPrinter(rig, Dir);
  ASSERT_EQ(rig.M.RunProgram(), srHalt);
  const auto end = MachinePart(rig);
  const std::uint64_t n = rig.M.ExecutedCount();
  ASSERT_TRUE(rig.M.TravelTo(n / 2));
  EXPECT_TRUE(rig.M.GoneBack());
  EXPECT_EQ(rig.M.HistoryEnd(), n);

  // Forward again: the tape bytes come from the history, nothing is printed or punched twice.
  EXPECT_EQ(rig.M.RunProgram(), srHalt);
  EXPECT_EQ(*MachinePart(rig), *end);
  EXPECT_EQ(rig.Out.Printed, "AB\nCD\n");
  EXPECT_FALSE(rig.M.GoneBack());

  // Back again, a register changed: the rest of the history is gone, and the run is a new one.
  ASSERT_TRUE(rig.M.TravelTo(3));
  rig.M.SetAC(0, 'Z');
  EXPECT_EQ(rig.M.HistoryEnd(), n);  // not yet: the change is seen when the machine goes on
  rig.M.Step();
  EXPECT_FALSE(rig.M.GoneBack());
  EXPECT_EQ(rig.M.HistoryEnd(), 4u);
  EXPECT_TRUE(rig.M.ReverseStep());
  EXPECT_EQ(rig.M.AC[0], 'Z');  // the change is part of the history
}

TEST_F(HistoryTest, TheHostIsToldOnceThatOutputStays) {
  struct THost : TRecordingHost {
    int Stays = 0;
    void OutputStays() override { ++Stays; }
  };
  TRig rig;
  THost host;
  rig.M.SetHost(&host);
  TeletypeByInterrupts(rig, Dir);
  ASSERT_EQ(rig.M.RunProgram(), srHalt);
  const std::uint64_t n = rig.M.ExecutedCount();
  ASSERT_TRUE(rig.M.TravelTo(n - 1));  // after the last output
  EXPECT_EQ(host.Stays, 0);
  ASSERT_TRUE(rig.M.TravelTo(2));
  EXPECT_EQ(host.Stays, 1);
  EXPECT_EQ(host.Told.back(), "trace 2");
}

TEST_F(HistoryTest, OffOrRefused) {
  TRig rig(0);
  rig.Load(0100, {Arith(INC, 0, 0), HALT});
  rig.M.PC = 0100;
  rig.M.Step();
  EXPECT_FALSE(rig.M.ReverseStep());
  EXPECT_EQ(rig.M.ReverseRun(), srRefused);
  EXPECT_FALSE(rig.M.LastWriter(0).Found);
  EXPECT_EQ(rig.M.HistoryBytes(), 0u);
  rig.M.SetHistorySize(1000);
  EXPECT_FALSE(rig.M.ReverseStep());  // nothing recorded yet
  rig.M.Step();
  EXPECT_TRUE(rig.M.ReverseStep());
  EXPECT_EQ(rig.M.AC[0], 1);
  // A state put back starts the history anew.
  std::vector<TAttachProblem> problems;
  ASSERT_TRUE(RestoreState(CaptureState(rig.M, rig.P), rig.M, rig.P, problems));
  EXPECT_FALSE(rig.M.ReverseStep());
}

}  // namespace
