// The timed speed modes on a fake clock: the Nova 800 table charged per instruction class,
// fixed rates, the throttle's slices, hold-back and catch-up after a pause, real-speed device
// timing, and a change of speed during a run.
#include <vector>

#include "MachineTestSupport.h"
#include "Throttle.h"
#include "Timing.h"

using namespace w;

namespace {

constexpr TWord Nop = Arith(MOV, 0, 0);
constexpr std::int64_t Ms = 1'000'000;

// Wall-clock time moves only when the machine sleeps, or when a test moves it.
struct TFakeClock : TThrottleClock {
  std::int64_t Now = 1'000'000 * Ms;
  std::vector<std::int64_t> Sleeps;  // length of each wait
  std::int64_t NowNs() override { return Now; }
  void SleepUntilNs(std::int64_t Ns) override {
    Sleeps.push_back(Ns - Now);
    if (Ns > Now) Now = Ns;
  }
};

class RealSpeedTest : public MachineTest {
protected:
  RealSpeedTest() { M.SetThrottleClock(&Clock); }

  // Wall-clock time and executed count at each event pump.
  struct TSample {
    std::int64_t Wall;
    std::uint64_t Executed;
    std::uint64_t Sim;
  };
  void RecordPumps(std::function<void()> also = {}) {
    Host.OnPump = [this, also] {
      Samples.push_back({Clock.Now, M.ExecutedCount(), M.SimTimeNs()});
      if (also) also();
    };
  }

  TFakeClock Clock;
  std::vector<TSample> Samples;
};

// ---- the Nova 800 table

struct TChargeCase {
  const char* Name;
  std::vector<TWord> Words;  // at 0100, the instruction first
  TAccumulators Acs;
  std::uint64_t Ns;
};

TEST_F(RealSpeedTest, EachInstructionClassIsChargedItsTableTime) {
  using namespace nova800;
  const TChargeCase cases[] = {
      {"ADD", {Arith(ADD, 1, 0)}, {}, ClassNs[tcAlu]},
      {"ADD with shift and skip", {Arith(ADD, 1, 0, L, Z, false, SZR)}, {}, ClassNs[tcAlu]},
      {"LDA", {Lda(0, 050)}, {}, ClassNs[tcLda]},
      {"STA", {Sta(0, 050)}, {}, ClassNs[tcSta]},
      {"JMP", {Jmp(050)}, {}, ClassNs[tcJmp]},
      {"JSR", {Jsr(050)}, {}, ClassNs[tcJsr]},
      {"ISZ", {Isz(050)}, {}, ClassNs[tcIszDsz]},
      {"DSZ", {Dsz(050)}, {}, ClassNs[tcIszDsz]},
      {"DOA", {Io(DOA, 0, NoPulse, LPT)}, {}, ClassNs[tcIo]},
      {"SKPDN", {Skp(DN, TTO)}, {}, ClassNs[tcIo]},
      {"READS", {nova::ReadsWord}, {}, ClassNs[tcIo]},
      {"MUL", {nova::MulWord}, {0, 3, 4, 0}, ClassNs[tcMul]},
      {"DIV", {nova::DivWord}, {0, 100, 7, 0}, ClassNs[tcDiv]},
      {"DIV overflow", {nova::DivWord}, {7, 0, 7, 0}, ClassNs[tcDivOverflow]},
      {"DIV by zero", {nova::DivWord}, {0, 5, 0, 0}, ClassNs[tcDivOverflow]},
  };
  M.SetSpeed(speed::Nova800);
  for (const TChargeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    M.Memory[050].Data = 1;
    for (std::size_t i = 0; i < c.Words.size(); ++i) M.Memory[0100 + i].Data = c.Words[i];
    M.PC = 0100;
    M.AC = c.Acs;
    const std::uint64_t before = M.SimTimeNs();
    M.Step();
    EXPECT_EQ(M.SimTimeNs() - before, c.Ns);
  }
}

TEST_F(RealSpeedTest, IndirectChainsAddALevelPerWordRead) {
  using namespace nova800;
  M.SetSpeed(speed::Nova800);
  // 050 -> 051 -> 052 -> 060: three words read; 020 counts up before use: one word read.
  Load(050, {0100051, 0100052, 060});
  M.Memory[020].Data = 057;
  const struct {
    TWord Word;
    std::uint64_t Ns;
  } cases[] = {
      {Lda(0, 052, 0, true), ClassNs[tcLda] + 1 * ClassNs[tcIndirect]},
      {Lda(0, 050, 0, true), ClassNs[tcLda] + 3 * ClassNs[tcIndirect]},
      {Jmp(050, 0, true), ClassNs[tcJmp] + 3 * ClassNs[tcIndirect]},
      {Isz(020, 0, true), ClassNs[tcIszDsz] + 1 * ClassNs[tcIndirect]},
  };
  for (const auto& c : cases) {
    Load(0100, {c.Word});
    M.PC = 0100;
    const std::uint64_t before = M.SimTimeNs();
    M.Step();
    EXPECT_EQ(M.SimTimeNs() - before, c.Ns) << std::oct << c.Word;
  }
  EXPECT_EQ(M.Memory[020].Data, 060);
}

TEST_F(RealSpeedTest, RunAndStepChargeAlike) {
  Load(0100, {Lda(0, 050, 0, true), Arith(ADD, 1, 0), nova::DivWord, Sta(0, 051), nova::HaltWord});
  M.Memory[050].Data = 052;
  M.SetSpeed(speed::Nova800);
  M.PC = 0100;
  M.AC = {0, 5, 7, 0};  // AC0 5 < AC2 7: the divide completes
  Steps(5);
  const std::uint64_t stepped = M.SimTimeNs();
  EXPECT_EQ(stepped, 2400u + 800 + 8800 + 1600 + 1600);
  M.AC = {0, 5, 7, 0};
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_EQ(M.SimTimeNs(), 2 * stepped);
}

TEST_F(RealSpeedTest, MaximumSpeedChargesNothingAndNeverWaits) {
  Load(0100, {Nop, Jmp(0100)});
  EXPECT_EQ(RunFrom(0100, 100'000), srLimit);
  M.Step();
  EXPECT_EQ(M.SimTimeNs(), 0u);
  EXPECT_TRUE(Clock.Sleeps.empty());
}

// ---- the throttle

TEST_F(RealSpeedTest, FixedRatesKeepToTheClockInSlicesOfAMillisecond) {
  const struct {
    std::uint32_t Rate;
    std::uint64_t PerSlice;
  } cases[] = {{1'000, 1}, {3'000, 3}, {100'000, 100}, {1'000'000, 1000}, {10'000'000, 10'000}};
  Load(0100, {Nop, Jmp(0100)});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rate);
    M.SetSpeed(c.Rate);
    Samples.clear();
    RecordPumps();
    const std::int64_t start = Clock.Now;
    const std::uint64_t sim = M.SimTimeNs();
    EXPECT_EQ(RunFrom(0100, c.Rate), srLimit);  // one second's worth
    EXPECT_EQ(M.SimTimeNs() - sim, 1'000'000'000u);
    EXPECT_EQ(Clock.Now - start, 1000 * Ms);
    ASSERT_EQ(Samples.size(), 1000u);
    for (std::size_t i = 1; i < Samples.size(); ++i) {
      EXPECT_EQ(Samples[i].Executed - Samples[i - 1].Executed, c.PerSlice);
      EXPECT_EQ(Samples[i].Wall - Samples[i - 1].Wall, Ms);
    }
  }
}

TEST_F(RealSpeedTest, ARateThatDoesNotDivideASecondLosesNoTime) {
  Load(0100, {Nop, Jmp(0100)});
  M.SetSpeed(7'777);
  EXPECT_EQ(RunFrom(0100, 7'777), srLimit);
  EXPECT_EQ(M.SimTimeNs(), 1'000'000'000u);
  M.SetSpeed(1'001);
  for (int i = 0; i < 1001; ++i) M.Step();
  EXPECT_EQ(M.SimTimeNs(), 2'000'000'000u);
}

TEST_F(RealSpeedTest, Nova800SlicesEndByChargedTime) {
  // DIVs of 8.8 us: about 114 to a millisecond, far fewer than the 1250 ADDs a slice may hold.
  Load(0100, {nova::DivWord, Jmp(0100)});
  M.AC = {0, 1, 3, 0};
  M.SetSpeed(speed::Nova800);
  RecordPumps();
  EXPECT_EQ(RunFrom(0100, 20'000), srLimit);
  ASSERT_GT(Samples.size(), 10u);
  for (std::size_t i = 1; i + 1 < Samples.size(); ++i) {
    const std::uint64_t sim = Samples[i].Sim - Samples[i - 1].Sim;
    EXPECT_GE(sim, std::uint64_t(Ms));
    EXPECT_LT(sim, std::uint64_t(Ms) + 8800);
    // Simulated time is never ahead of the wall clock at a pump.
    EXPECT_LE(std::int64_t(Samples[i].Sim), Samples[i].Wall - Samples[0].Wall + std::int64_t(Samples[0].Sim) + Ms);
  }
}

TEST_F(RealSpeedTest, SlowSlicesAreNotHeldBack) {
  // The host takes 3 ms per pump, more than a slice: the machine runs on without waiting, a
  // slice's time behind at most.
  Load(0100, {Nop, Jmp(0100)});
  M.SetSpeed(1'000'000);
  RecordPumps([this] { Clock.Now += 3 * Ms; });
  EXPECT_EQ(RunFrom(0100, 50'000), srLimit);
  EXPECT_EQ(Clock.Sleeps.size(), 1u);  // the first slice only
  // The lag grows by 2 ms a slice; past 20 ms it is let go, every 11 slices.
  EXPECT_EQ(M.Throttle().LagsDropped(), 4u);
}

TEST_F(RealSpeedTest, APauseDuringARunIsNotCaughtUp) {
  // A modal dialog holds the pump for 5 s: afterwards the machine goes on at 1,000 a second.
  Load(0100, {Nop, Jmp(0100)});
  M.SetSpeed(1'000);
  RecordPumps([this] {
    if (Samples.size() == 100) Clock.Now += 5000 * Ms;
  });
  EXPECT_EQ(RunFrom(0100, 400), srLimit);
  ASSERT_EQ(Samples.size(), 400u);
  for (std::size_t i = 101; i < Samples.size(); ++i) {
    EXPECT_EQ(Samples[i].Executed - Samples[i - 1].Executed, 1u);
    EXPECT_EQ(Samples[i].Wall - Samples[i - 1].Wall, Ms) << i;
  }
  EXPECT_EQ(M.Throttle().LagsDropped(), 1u);
}

TEST_F(RealSpeedTest, AShortStallIsCaughtUpSoTheRateHolds) {
  // 5 ms lost once (a slow repaint): the next few slices run without waiting, and a second of
  // wall-clock time still holds 1,000 instructions.
  Load(0100, {Nop, Jmp(0100)});
  M.SetSpeed(1'000);
  RecordPumps([this] {
    if (Samples.size() == 100) Clock.Now += 5 * Ms;
  });
  const std::int64_t start = Clock.Now;
  EXPECT_EQ(RunFrom(0100, 1000), srLimit);
  EXPECT_EQ(Clock.Now - start, 1000 * Ms);
  EXPECT_EQ(M.Throttle().LagsDropped(), 0u);
}

TEST_F(RealSpeedTest, ANewRunAfterAStopStartsFromNow) {
  // A debugger stop: the time while stopped is not made up by the next run.
  Load(0100, {Nop, Jmp(0100)});
  M.SetSpeed(1'000);
  EXPECT_EQ(RunFrom(0100, 10), srLimit);
  Clock.Now += 60'000 * Ms;
  RecordPumps();
  const std::int64_t start = Clock.Now;
  M.InstructionLimit = 100;
  EXPECT_EQ(M.RunProgram(), srLimit);
  EXPECT_EQ(Clock.Now - start, 100 * Ms);
  for (std::size_t i = 1; i < Samples.size(); ++i) EXPECT_EQ(Samples[i].Wall - Samples[i - 1].Wall, Ms);
}

TEST_F(RealSpeedTest, SpeedChangesDuringARunTakeEffectAtTheSliceEnd) {
  Load(0100, {Nop, Nop, Nop, Jmp(0100)});
  M.SetBreakpoint(0102);
  M.SetPumpInterval(1);  // maximum speed pumps after each instruction
  int pumps = 0;
  Host.OnPump = [&] {
    ++pumps;
    if (pumps == 1) M.SetSpeed(speed::Nova800);
  };
  // Pump after 0100; the timed loop resumes at 0101, runs it, and stops at the breakpoint.
  EXPECT_EQ(RunFrom(0100), srBreakpoint);
  EXPECT_EQ(M.ExecutedCount(), 2u);
  EXPECT_EQ(M.SimTimeNs(), nova800::ClassNs[nova800::tcAlu]);

  // Back to maximum speed with the breakpoint next: it still stops there.
  M.ClearBreakpoint(0102);
  M.SetBreakpoint(0103);
  M.SetSpeed(1'000);
  Host.OnPump = [&] { M.SetSpeed(speed::Maximum); };
  EXPECT_EQ(M.RunProgram(), srBreakpoint);  // 0102 runs timed, then maximum speed meets 0103
  EXPECT_EQ(M.PC, 0103);
  EXPECT_EQ(M.Speed(), speed::Maximum);

  // Maximum speed chosen and the run stopped in the same pump: the run just ends.
  M.ClearBreakpoint(0103);
  M.SetSpeed(1'000);
  Host.OnPump = [&] {
    M.SetSpeed(speed::Maximum);
    M.RequestStop();
  };
  EXPECT_EQ(M.RunProgram(), srStop);
  EXPECT_EQ(M.PC, 0100);
}

TEST(SpeedSetting, StoredValuesAreMadeValid) {
  EXPECT_EQ(speed::Normalize(0), speed::Maximum);
  EXPECT_EQ(speed::Normalize(1), speed::Nova800);
  EXPECT_EQ(speed::Normalize(2), speed::MinRate);
  EXPECT_EQ(speed::Normalize(-5), speed::MinRate);
  EXPECT_EQ(speed::Normalize(123'456), 123'456u);
  EXPECT_EQ(speed::Normalize(5'000'000'000), speed::MaxRate);
}

// ---- real-speed devices

struct TDeviceCase {
  const char* Name;
  int Device;
  std::uint32_t Cps;
  int Ticks;  // the tick count at maximum speed
};

class RealSpeedDeviceTest : public RealSpeedTest {
protected:
  RealSpeedDeviceTest() {
    const auto give = [](TDevice& d) { static_cast<TInDevice&>(d).SetInputByte(0101); };
    M.Ptr.OnByteRequest = give;
    M.Tti.OnByteRequest = give;
  }
  // Starts the device, then waits for Done: the Done time (simulated) after the start, and the
  // instructions executed in between.
  std::pair<std::uint64_t, std::uint64_t> TimeToDone(int device) {
    Load(0100, {Io(DOA, 0, PS, device), Skp(DN, device), Jmp(0101), nova::HaltWord});
    M.PC = 0100;
    M.Step();
    const std::uint64_t start = M.SimTimeNs();
    const std::uint64_t executed = M.ExecutedCount();
    M.InstructionLimit = 1'000'000;
    EXPECT_EQ(M.RunProgram(), srHalt);
    EXPECT_TRUE(M.IoDevices[device]->DoneFlag());
    return {M.SimTimeNs() - start, M.ExecutedCount() - executed};
  }
};

const TDeviceCase DeviceCases[] = {
    {"teletype printer", TTO, nova800::TeletypeCps, 10},
    {"tape punch", PTP, nova800::TapePunchCps, 5},
    {"tape reader", PTR, nova800::TapeReaderCps, 15},
    {"line printer", LPT, nova800::LinePrinterCps, 5},
    {"teletype reader", TTI, nova800::TeletypeCps, 5},
};

TEST_F(RealSpeedDeviceTest, DoneComesACharactersTimeAfterStart) {
  M.SetSpeed(speed::Nova800);
  M.Tti.SetReaderOn(true);
  for (const TDeviceCase& c : DeviceCases) {
    SCOPED_TRACE(c.Name);
    const std::uint64_t character = 1'000'000'000u / c.Cps;
    const auto [ns, executed] = TimeToDone(c.Device);
    // Done is seen by the first test at or after the due time: at most one loop pass later.
    EXPECT_GE(ns + 1600, character);  // the start came during the DOAS
    EXPECT_LE(ns, character + 1600 + 800 + 1600 + 1600);
    EXPECT_GT(executed, 100u);
  }
  EXPECT_GE(Clock.Now - 1'000'000 * Ms, 100 * Ms);  // and the wall clock kept pace
}

TEST_F(RealSpeedDeviceTest, OtherwiseDoneFollowsTheTickCount) {
  const struct {
    const char* Name;
    std::uint32_t Speed;
    bool Real;
  } modes[] = {{"maximum", speed::Maximum, true}, {"fixed rate", 1'000'000, true}, {"Nova 800 without", speed::Nova800, false}};
  M.Tti.SetReaderOn(true);
  for (const auto& mode : modes) {
    M.SetSpeed(mode.Speed);
    M.SetRealSpeedDevices(mode.Real);
    for (const TDeviceCase& c : DeviceCases) {
      SCOPED_TRACE(std::string(mode.Name) + ", " + c.Name);
      const auto [ns, executed] = TimeToDone(c.Device);
      // The start's own tick, then the count, then the tick that sets Done: 2 instructions a pass.
      EXPECT_LE(executed, std::uint64_t(c.Ticks + 4));
    }
  }
}

TEST_F(RealSpeedDeviceTest, AKeyIsDoneAtOnceAndTheClockIsUntouched) {
  M.SetSpeed(speed::Nova800);
  Load(0100, {Io(NIO, 0, PS, TTI), nova::HaltWord});
  M.PC = 0100;
  Steps(2);
  M.KeyPress('A', false);
  EXPECT_TRUE(M.Tti.DoneFlag());
  EXPECT_EQ(M.Rtc.DelayNs(), 0u);
  EXPECT_EQ(M.Tto.DelayNs(), nova800::CharacterNs(nova800::TeletypeCps));
}

TEST_F(RealSpeedDeviceTest, LeavingNova800ModeReleasesAWaitingDevice) {
  M.SetSpeed(speed::Nova800);
  Load(0100, {Io(DOA, 0, PS, TTO), Nop, Nop});
  M.PC = 0100;
  Steps(3);
  EXPECT_FALSE(M.Tto.DoneFlag());
  M.SetSpeed(speed::Maximum);
  Steps(1);
  EXPECT_TRUE(M.Tto.DoneFlag());
}

}  // namespace
