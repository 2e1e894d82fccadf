// The machine on a random memory image and registers: a bounded run with every device attached
// to in-memory tapes. The readers are answered from the input bytes, output is swallowed, the
// clock ticks at event pumps. Checked: PC stays within 15 bits, the trace holds the executed
// instructions, the run ends for a reason that fits its last instruction; reads outside memory
// are the address sanitizer's part.
//
// Input (20 bytes, then the image and the tape):
//   0 mode: bits 0-1: 0 program load, 1 run, 2 single steps and step overs, 3 run, then run on;
//            bits 2-3: a data breakpoint (read, write, access) at the breakpoint address ^ 2,
//            bits 4-5: its condition and count, bits 6-7: its length (1, 2, 8 or 64 words)
//   1 flags: 1 interrupts on, 2 carry, 4 show each step, 8 plain ticks, 16 teletype reader on
//            (program load: from the teletype reader), 32 keys typed at pumps, 64 clock ticks at
//            pumps, 128 a watched location with alert
//   2 PC, 4 AC0 to AC3, 12 switches, 14 breakpoint address, 16 image address (bit 15: a run of
//   2000 instructions rather than 200), 18 image words n (each two bytes, low first); then n
//   words of memory image; the rest is the tape.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "FuzzSupport.h"
#include "NovaMachine.h"

namespace {

class TFuzzHost : public TMachineHost {
public:
  TFuzzHost(TNovaMachine& m, TFuzzInput& tape, std::uint8_t flags) : FMachine(m), FTape(tape), FFlags(flags) {}

  void PumpEvents() override {
    ++Pumps;
    FUZZ_CHECK(FMachine.Executing());
    FUZZ_CHECK(FMachine.RunProgram() == srRefused);
    FUZZ_CHECK(FMachine.PC <= nova::AddrMask);
    if ((FFlags & 64) && Pumps % 3 == 0) FMachine.Rtc.TimeElapsed();
    if ((FFlags & 32) && FTape.Left() > 0 && !FMachine.Tti.ReaderOn()) FMachine.KeyPress(FTape.Byte(), Pumps & 1);
  }
  void TraceChanged(int count) override { FUZZ_CHECK(count >= 0 && count <= TraceCapacity); }
  void WatchesChanged(int count) override { FUZZ_CHECK(count == int(FMachine.Watch.size())); }
  void MemSizeChanged(int size) override { FUZZ_CHECK(size >= 1 && size <= MemoryWords); }

  std::uint64_t Pumps = 0;

private:
  TNovaMachine& FMachine;
  TFuzzInput& FTape;
  std::uint8_t FFlags;
};

void Attach(TNovaMachine& m, TFuzzInput& tape, std::uint64_t& output) {
  const auto reader = [&tape](TDevice& device) {
    if (tape.Left() > 0) static_cast<TInDevice&>(device).SetInputByte(tape.Byte());  // else: run out
  };
  m.Ptr.OnByteRequest = reader;
  m.Tti.OnByteRequest = reader;
  const auto punch = [&output](TDevice&, std::uint8_t) { ++output; };
  m.Tto.OnByteOut = punch;
  m.Ptp.OnByteOut = punch;
  m.Lpt.OnByteOut = punch;
}

// Data and flags (breakpoints, watches) of every word to 0, in one go.
void ClearMemory(TNovaMachine& m) {
  static_assert(std::is_trivially_copyable_v<TMemCell>);
  std::memset(static_cast<void*>(m.Memory.data()), 0, sizeof(TMemCell) * m.Memory.size());
}

// The data breakpoints' conditions and counts.
struct TDataBreakCase {
  const char* Condition;
  std::uint64_t Count;
};
constexpr TDataBreakCase DataBreakCases[4] = {{"", 0}, {"", 3}, {"AC0 & 1", 0}, {"[AC1] != 0 || CARRY", 2}};
constexpr int DataBreakLengths[4] = {1, 2, 8, 64};

// A data breakpoint of a kind that fits the access covers the word, and it has counted
// enough arrivals.
void CheckDataStop(const TNovaMachine& m) {
  const TNovaMachine::TDataStop& stop = m.LastDataStop();
  for (const TBreakpoint& b : m.Breakpoints()) {
    if (b.Kind == bkExecute || !b.Covers(stop.Addr)) continue;
    if (b.Kind != bkAccess && (b.Kind == bkWrite) != stop.Write) continue;
    FUZZ_CHECK(b.Hits >= std::max<std::uint64_t>(b.Count, 1));
    return;
  }
  FUZZ_CHECK(!"a data stop without a data breakpoint there");
}

bool IsHaltWord(TWord w) { return nova::IsIoClass(w) && nova::TransferOf(w) == 6 && nova::DeviceOf(w) == nova::DevCPU; }

// A run's stop: a real reason, at most the limit of instructions, exactly the limit when that
// stopped it, and a HALT or a breakpoint where the reason says so.
void CheckRun(TNovaMachine& m, TStopReason reason, std::uint64_t executed) {
  FUZZ_CHECK(reason != srNone && reason != srRefused);
  FUZZ_CHECK(reason == m.LastStopReason());
  FUZZ_CHECK(executed <= m.InstructionLimit);
  if (reason == srLimit) FUZZ_CHECK(executed == m.InstructionLimit);
  if (reason == srHalt) FUZZ_CHECK(IsHaltWord(m.TraceItem(m.TraceCount() - 1).Data));
  if (reason == srBreakpoint) FUZZ_CHECK(m.Memory[m.PC].Flags & BreakpointFlag);
  if (reason == srData) CheckDataStop(m);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<TNovaMachine> machine = std::make_unique<TNovaMachine>();
  TNovaMachine& m = *machine;
  TFuzzInput in(data, size);
  const std::uint8_t modeByte = in.Byte();
  const int mode = modeByte & 3;
  const std::uint8_t flags = in.Byte();
  const TWord pc = in.Word();
  TAccumulators acs;
  for (TWord& ac : acs) ac = in.Word();
  const TWord switches = in.Word();
  const TWord breakpoint = in.Word();
  const TWord imageAt = in.Word();
  const int imageWords = in.Word();

  TFuzzHost host(m, in, flags);
  m.SetHost(&host);
  std::uint64_t output = 0;
  Attach(m, in, output);

  // A fresh machine with the image and the registers.
  m.ResetCpu();
  if (!m.Breakpoints().empty()) m.ClearBreakpoints();
  if (!m.Watch.empty()) m.ClearWatches();
  ClearMemory(m);
  for (int i = 0; i < imageWords && in.Left() >= 2; ++i) m.Memory[(imageAt + i) & nova::AddrMask].Data = in.Word();
  m.PC = pc;  // all 16 bits: the machine keeps to 15
  m.AC = acs;
  m.Carry = (flags & 2) ? 1 : 0;
  m.Switches = switches;
  m.IntEnable = m.PreEnable = flags & 1;
  m.ShowEachStep = flags & 4;
  m.SetPlainTicks(flags & 8);
  m.SetPumpInterval(1 + (switches >> 10));
  // Long runs only when the input asks for them (bit 15 of the image address): most programs show
  // what they do in a few hundred instructions, and the fuzzer then tries ten times as many.
  const std::uint64_t limit = (imageAt & 0100000) ? 2000 : 200;
  m.InstructionLimit = (flags & 4) ? limit / 4 : limit;
  // Memory full of words with bit 0 set is a common input, and each of its endless indirect
  // chains would take a million levels: cut after a thousand, the same way.
  m.IndirectLimit = 1000;
  // All breakpoints at once: each change of the list marks the words of all memory anew.
  std::vector<TBreakpoint> breaks;
  if (breakpoint & 0100000) {
    breaks.emplace_back();
    breaks.back().First = breakpoint;
  }
  if (modeByte & 014) {
    TBreakpoint& data = breaks.emplace_back();
    data.Kind = TBreakKind((modeByte >> 2) & 3);
    data.First = TWord((breakpoint ^ 2) & nova::AddrMask);
    data.Last = TWord(std::min(data.First + DataBreakLengths[modeByte >> 6] - 1, int(nova::AddrMask)));
    data.Condition = DataBreakCases[(modeByte >> 4) & 3].Condition;
    data.Count = DataBreakCases[(modeByte >> 4) & 3].Count;
  }
  if (!breaks.empty()) FUZZ_CHECK(m.AddBreakpoints(breaks) == 0);
  if (flags & 128) {
    m.AddWatch(breakpoint ^ 1);
    m.Watch.front().Alert = true;
  }
  if (flags & 16) m.Tti.SetReaderOn(true);

  const std::uint64_t start = m.ExecutedCount();
  std::uint64_t last = start;
  const auto ran = [&] {
    const std::uint64_t n = m.ExecutedCount() - last;
    last = m.ExecutedCount();
    return n;
  };
  switch (mode) {
    case 0: {
      m.Switches = TWord((switches & ~077) | ((flags & 16) ? nova::DevTTI : nova::DevPTR));
      const TStopReason reason = m.ProgramLoad();
      CheckRun(m, reason, ran());
      break;
    }
    case 1: {
      const TStopReason reason = m.RunProgram();
      CheckRun(m, reason, ran());
      break;
    }
    case 2:
      // A step executes one instruction whatever it ends with; a step over a JSR is a run. The
      // steps end where the runs over subroutines have used up the limit.
      for (int i = 0; i < 64 && m.ExecutedCount() - start < m.InstructionLimit; ++i) {
        const TWord at = m.PC & nova::AddrMask;
        const bool jsr = (m.Memory[at].Data & nova::JsrMask) == nova::JsrWord && at != m.MemSize - 1;
        const bool over = (switches >> (i % 16)) & 1;
        const TStopReason reason = over ? m.StepOver() : m.Step();
        const std::uint64_t n = ran();
        if (over && jsr) CheckRun(m, reason, n);
        else FUZZ_CHECK(n == 1 && reason != srRefused);
      }
      break;
    default:
      for (int i = 0; i < 3; ++i) {
        const TStopReason reason = m.RunProgram();
        CheckRun(m, reason, ran());
      }
      break;
  }

  // PC within 15 bits; the trace holds the last executed instructions, the newest with the
  // registers as they are now.
  FUZZ_CHECK(m.PC <= nova::AddrMask);
  const std::uint64_t executed = m.ExecutedCount() - start;
  FUZZ_CHECK(std::uint64_t(m.TraceCount()) == std::min<std::uint64_t>(executed, TraceCapacity));
  for (int i = std::max(0, m.TraceCount() - 100); i < m.TraceCount(); ++i) FUZZ_CHECK(m.TraceItem(i).PC <= nova::AddrMask);
  if (m.TraceCount() > 0) {
    const TTraceData& newest = m.TraceItem(m.TraceCount() - 1);
    FUZZ_CHECK(newest.ACs == m.AC);
    FUZZ_CHECK(newest.Carry == m.Carry);
  }
  FUZZ_CHECK(!m.Executing());

  m.SetHost(nullptr);
  m.Ptr.OnByteRequest = m.Tti.OnByteRequest = nullptr;
  m.Tto.OnByteOut = m.Ptp.OnByteOut = m.Lpt.OnByteOut = nullptr;
  return 0;
}
