// Going back in time on a random program: one straight run with the history on, then journeys
// (travel to a moment, reverse steps, steps and runs forward again, reverse runs to an execute
// breakpoint, the last writer of a word). After each the machine must be exactly as a second
// machine is that ran straight from the same start to the same moment: registers, interrupts,
// memory, devices, the newest trace records. A reverse run must stop at the last moment before
// it at which the breakpoint's word was about to execute, the last writer must be the write a
// write breakpoint saw last, and nothing may be printed twice.
//
// Input: 17 bytes, then the image, 8 journeys of 3 bytes, then the tape the readers read:
//   0 flags: 1 interrupts on, 2 carry, 4 a run of 2000 instructions rather than 200, 16 teletype
//     reader on; 1 PC, 3 AC0 to AC3, 11 switches, 13 image address, 15 image words n (each two
//     bytes, low first); then n words of memory image.
//   A journey: a byte (bits 0-2 the kind, bit 3: the address as given rather than one the run
//   used), then a word (the moment, count or address).
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "FuzzSupport.h"
#include "NovaMachine.h"

namespace {

class TFuzzHost : public TMachineHost {
public:
  explicit TFuzzHost(TNovaMachine& m) : FMachine(m) {}
  void PumpEvents() override { FUZZ_CHECK(FMachine.Executing()); }
  void TraceChanged(int count) override { FUZZ_CHECK(count >= 0 && count <= FMachine.TraceLength()); }
  void MemSizeChanged(int size) override { FUZZ_CHECK(size >= 1 && size <= MemoryWords); }

private:
  TNovaMachine& FMachine;
};

// The start of every run: the same registers and memory for both machines.
struct TStart {
  std::uint8_t Flags = 0;
  TWord PC = 0;
  TAccumulators AC{};
  TWord Switches = 0;
  TWord ImageAt = 0;
  std::vector<TWord> Image;
  std::string_view Tape;
};

// A machine with its tape: the readers take the tape's bytes in turn, output is counted.
struct TRig {
  TRig() : Host(M) {
    M.SetHost(&Host);
    const auto reader = [this](TDevice& device) {
      if (Tape.Left() > 0) static_cast<TInDevice&>(device).SetInputByte(Tape.Byte());
    };
    M.Ptr.OnByteRequest = reader;
    M.Tti.OnByteRequest = reader;
    const auto punch = [this](TDevice&, std::uint8_t) { ++Output; };
    M.Tto.OnByteOut = punch;
    M.Ptp.OnByteOut = punch;
    M.Lpt.OnByteOut = punch;
    M.IndirectLimit = 1000;
    M.SetPumpInterval(50);
  }

  FUZZ_UNTRACED void Begin(const TStart& s) {
    M.Tti.SetReaderOn(false);  // turned on below afresh, as at a start
    M.ResetCpu();
    // A reset leaves the delay counts as they were: both machines start from the same ones.
    for (TDevice* d : {static_cast<TDevice*>(&M.Ptr), static_cast<TDevice*>(&M.Ptp), static_cast<TDevice*>(&M.Tti),
                       static_cast<TDevice*>(&M.Tto), static_cast<TDevice*>(&M.Rtc), static_cast<TDevice*>(&M.Lpt)})
      d->SetState(TDeviceState{});
    if (!M.Breakpoints().empty()) M.ClearBreakpoints();
    static_assert(std::is_trivially_copyable_v<TMemCell>);
    std::memset(static_cast<void*>(M.Memory.data()), 0, sizeof(TMemCell) * M.Memory.size());
    for (std::size_t i = 0; i < s.Image.size(); ++i) M.Memory[(s.ImageAt + i) & nova::AddrMask].Data = s.Image[i];
    M.PC = s.PC & nova::AddrMask;
    M.AC = s.AC;
    M.Carry = (s.Flags & 2) ? 1 : 0;
    M.Switches = s.Switches;
    M.IntEnable = M.PreEnable = s.Flags & 1;
    // The tape first: switching the reader on may read its first byte at once.
    Tape = TFuzzInput(reinterpret_cast<const std::uint8_t*>(s.Tape.data()), s.Tape.size());
    M.Tti.SetReaderOn(s.Flags & 16);
    Output = 0;
    Base = M.ExecutedCount();
  }
  std::uint64_t Now() const { return M.ExecutedCount() - Base; }

  TNovaMachine M;
  TFuzzHost Host;
  TFuzzInput Tape{nullptr, 0};
  std::uint64_t Output = 0;
  std::uint64_t Base = 0;
};

// The straight run from the start to moment k.
void RunTo(TRig& r, const TStart& s, std::uint64_t k) {
  r.Begin(s);
  if (k == 0) return;
  r.M.InstructionLimit = k;
  const TStopReason reason = r.M.RunProgram();
  FUZZ_CHECK(r.Now() == k);
  FUZZ_CHECK(reason == srLimit || reason == srHalt || reason == srChain);
}

FUZZ_UNTRACED bool SameMemory(const TNovaMachine& a, const TNovaMachine& b) {
  for (int i = 0; i < MemoryWords; ++i)
    if (a.Memory[std::size_t(i)].Data != b.Memory[std::size_t(i)].Data) return false;
  return true;
}

void CheckSame(const TRig& h, const TRig& r) {
  const TNovaMachine& a = h.M;
  const TNovaMachine& b = r.M;
  FUZZ_CHECK(h.Now() == r.Now());
  FUZZ_CHECK(a.PC == b.PC && a.AC == b.AC && a.Carry == b.Carry && a.Switches == b.Switches);
  FUZZ_CHECK(a.PreEnable == b.PreEnable && a.IntEnable == b.IntEnable && a.IrqFlag == b.IrqFlag);
  FUZZ_CHECK(a.MemSize == b.MemSize);
  FUZZ_CHECK(SameMemory(a, b));
  const TDevice* const da[6] = {&a.Ptr, &a.Ptp, &a.Tti, &a.Tto, &a.Rtc, &a.Lpt};
  const TDevice* const db[6] = {&b.Ptr, &b.Ptp, &b.Tti, &b.Tto, &b.Rtc, &b.Lpt};
  for (int i = 0; i < 6; ++i) FUZZ_CHECK(da[i]->State(0) == db[i]->State(0));
  FUZZ_CHECK(a.Tti.ReaderOn() == b.Tti.ReaderOn());
  FUZZ_CHECK(a.TraceCount() == b.TraceCount());
  for (int i = std::max(0, a.TraceCount() - 8); i < a.TraceCount(); ++i) FUZZ_CHECK(a.TraceItem(i) == b.TraceItem(i));
}

// The moments at which the word at Addr is written, with the instruction's address, from a
// stepped straight run with a write breakpoint there: what LastWriter must find.
TLastWrite LastWriteSeen(TRig& r, const TStart& s, TWord addr, std::uint64_t until) {
  r.Begin(s);
  TBreakpoint b;
  b.Kind = bkWrite;
  b.First = b.Last = addr;
  FUZZ_CHECK(r.M.SetBreakpoint(b));
  TLastWrite last;
  TWord before = r.M.Memory[addr].Data;
  while (r.Now() < until) {
    if (r.M.Step() == srData && r.M.LastDataStop().Addr == addr) {
      const TNovaMachine::TDataStop& stop = r.M.LastDataStop();
      last = TLastWrite{true, addr, stop.PC, stop.ByInterrupt, 0, before, r.M.Memory[addr].Data};
      last.Step = r.Now();
    }
    before = r.M.Memory[addr].Data;
  }
  r.M.ClearBreakpoints();
  return last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<TRig> history = std::make_unique<TRig>();
  static const std::unique_ptr<TRig> straight = std::make_unique<TRig>();
  TRig& h = *history;
  TRig& r = *straight;
  TFuzzInput in(data, size);
  TStart s;
  s.Flags = in.Byte();
  s.PC = in.Word();
  for (TWord& ac : s.AC) ac = in.Word();
  s.Switches = in.Word();
  s.ImageAt = in.Word();
  const int imageWords = std::min<int>(in.Word(), MemoryWords);
  for (int i = 0; i < imageWords && in.Left() >= 2; ++i) s.Image.push_back(in.Word());
  struct TJourney {
    std::uint8_t Kind = 0;
    TWord Arg = 0;
  };
  std::array<TJourney, 8> journeys;
  const std::string_view taken = in.Take(3 * journeys.size());
  for (std::size_t i = 0; i < taken.size() / 3; ++i) {
    const auto byte = [&](std::size_t k) { return std::uint8_t(taken[3 * i + k]); };
    journeys[i] = TJourney{byte(0), TWord(byte(1) | (byte(2) << 8))};
  }
  s.Tape = in.Rest();
  const std::uint64_t limit = (s.Flags & 4) ? 2000 : 200;

  // The straight run with the history on, the history started afresh.
  h.M.SetHistorySize(0);
  h.Begin(s);
  h.M.SetHistorySize(100'000);
  h.M.InstructionLimit = limit;
  TStopReason reason = h.M.RunProgram();
  FUZZ_CHECK(reason != srRefused && reason != srNone);
  FUZZ_CHECK(h.M.HistoryStart() == h.Base);
  // Runs may go on past the end of the history only while nothing but the limit stopped them.
  bool goesOn = reason == srLimit;
  std::uint64_t end = h.Now();
  // The address of the instruction about to execute at each moment, from a stepped run.
  std::vector<TWord> pcs;

  for (const TJourney& j : journeys) {
    const std::uint64_t now = h.Now();
    const bool given = j.Kind & 8;
    switch (j.Kind & 7) {
      case 0:
      case 7: {
        const std::uint64_t to = (j.Kind & 7) == 7 ? end : j.Arg % (end + 1);
        FUZZ_CHECK(h.M.TravelTo(h.Base + to));
        break;
      }
      case 1:
        FUZZ_CHECK(h.M.ReverseStep() == (now > 0));
        break;
      case 2:
        if (now == end && !goesOn) break;
        reason = h.M.Step();
        if (h.Now() > end) {
          end = h.Now();
          goesOn = reason == srNone;
        }
        break;
      case 3: {
        if (now == end && !goesOn) break;
        h.M.InstructionLimit = 1 + j.Arg % limit;
        reason = h.M.RunProgram();
        // Forward again the run ends at its limit, or where the straight one ended; past that
        // end it is a new run.
        const std::uint64_t expected = now + h.M.InstructionLimit;
        if (expected < end) {
          FUZZ_CHECK(reason == srLimit && h.Now() == expected);
        } else if (!goesOn) {
          FUZZ_CHECK(h.Now() == end);
        } else {
          FUZZ_CHECK(h.Now() >= end && h.Now() <= expected);
          if (reason == srLimit) FUZZ_CHECK(h.Now() == expected);
        }
        if (h.Now() > end) {
          end = h.Now();
          goesOn = reason == srLimit;
        }
        break;
      }
      case 4: {
        if (pcs.size() <= end) {
          r.Begin(s);
          pcs.clear();
          for (std::uint64_t k = 0; k <= end; ++k) {
            pcs.push_back(r.M.PC);
            if (k < end) r.M.Step();
          }
        }
        const TWord at = given ? TWord(j.Arg & nova::AddrMask) : pcs[j.Arg % (end + 1)];
        h.M.SetBreakpoint(at);
        // Back to the last moment before now with the word about to execute, else to the start.
        std::uint64_t expected = 0;
        bool hit = false;
        for (std::uint64_t k = now; k-- > 0 && !hit;)
          if (pcs[k] == at) {
            expected = k;
            hit = true;
          }
        reason = h.M.ReverseRun();
        FUZZ_CHECK(reason == (now == 0 ? srRefused : hit ? srBreakpoint : srNone));
        FUZZ_CHECK(h.Now() == expected);
        h.M.ClearBreakpoints();
        break;
      }
      case 5:
      case 6: {
        // A word the image filled, one the program wrote to, or any.
        const TWord addr = given ? TWord(j.Arg & nova::AddrMask)
                         : (j.Kind & 7) == 5 && !s.Image.empty() ? TWord((s.ImageAt + j.Arg % s.Image.size()) & nova::AddrMask)
                                                                 : TWord(j.Arg & 037);
        const TLastWrite found = h.M.LastWriter(addr);
        TLastWrite expected = LastWriteSeen(r, s, addr, now);
        expected.Step += expected.Found ? h.Base : 0;
        FUZZ_CHECK(found == expected);
        break;
      }
    }
    FUZZ_CHECK(h.M.HistoryStart() == h.Base);
    FUZZ_CHECK(h.M.HistoryEnd() == h.Base + end);
    FUZZ_CHECK(h.Now() <= end);
    RunTo(r, s, h.Now());
    CheckSame(h, r);
  }
  // Output is made once: what the straight run to the end made.
  RunTo(r, s, end);
  FUZZ_CHECK(h.Output == r.Output);
  return 0;
}
