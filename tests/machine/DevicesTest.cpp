// The device classes on their own: printer characters, output repeats, input requests, the
// teletype keyboard and reader, the real time clock and its timers.
#include "MachineTestSupport.h"
#include "SteadyTimer.h"

using namespace w;

namespace {

struct TFakeTimer : TIntervalTimer {
  int Interval = 0;
  int IntervalSets = 0;
  bool On = false;
  int Enables = 0;
  void SetInterval(int ms) override {
    Interval = ms;
    ++IntervalSets;
  }
  void SetEnabled(bool on) override {
    Enables += on && !On;
    On = on;
  }
  bool Enabled() const override { return On; }
};

TEST(PrintDevice, Characters) {
  TPrintDevice lpt(017, 12, 5);
  const std::pair<TWord, int> cases[] = {{011, 040}, {012, 012}, {014, 014}, {015, 015}, {0101, 0101},
                                         {0301, 0101}, {0200, 040}, {0177, 0177}, {0, 040}};
  for (auto [in, out] : cases) {
    lpt.DOA(in);
    EXPECT_EQ(lpt.OutputByte(), out) << in;
  }
  EXPECT_EQ(lpt.DIA(), 1);
}

TEST(OutDevice, EveryStartSendsTheByte) {
  TOutDevice ptp(013, 13, 5);
  std::vector<std::uint8_t> sent;
  ptp.OnByteOut = [&](TDevice&, std::uint8_t b) { sent.push_back(b); };
  ptp.DOA(0777);
  ptp.Start();
  ptp.Start();  // again while busy, no new DOA
  ptp.Reset();
  ptp.Start();
  EXPECT_EQ(sent, (std::vector<std::uint8_t>{0377, 0377, 0}));
  EXPECT_TRUE(ptp.BusyFlag());  // Reset keeps the flags of output devices
}

TEST(InDevice, ResetKeepsTheFlags) {
  TInDevice ptr(012, 11, 15);
  int requests = 0;
  ptr.OnByteRequest = [&](TDevice& d) {
    ++requests;
    static_cast<TInDevice&>(d).SetInputByte(0301);
  };
  ptr.Start();
  EXPECT_EQ(ptr.DIA(), 0301);
  ptr.Reset();
  EXPECT_EQ(ptr.DIA(), 0);
  EXPECT_TRUE(ptr.BusyFlag());
  EXPECT_TRUE(ptr.Completed());
  EXPECT_EQ(requests, 1);
}

TEST_F(MachineTest, KeyWithTheReaderOffIsDoneAtOnce) {
  M.KeyPress(8, false);
  EXPECT_TRUE(M.Tti.DoneFlag());
  EXPECT_FALSE(M.Tti.BusyFlag());
  EXPECT_EQ(M.Tti.InputByte(), 0177);
  EXPECT_TRUE(M.IrqFlag);

  M.IrqFlag = false;
  M.Tti.MaskOut(000002);
  M.KeyPress('q', true);
  EXPECT_EQ(M.Tti.InputByte(), 0121);
  EXPECT_FALSE(M.Tti.Interrupt());
  EXPECT_FALSE(M.IrqFlag);  // masked: no request
}

TEST_F(MachineTest, TeletypeTicksNothingWithTheReaderOff) {
  M.Tti.Start();
  for (int i = 0; i < 20; ++i) M.TickDevices();
  EXPECT_TRUE(M.Tti.BusyFlag());  // waits for a key
  EXPECT_FALSE(M.Tti.DoneFlag());
}

TEST_F(MachineTest, TeletypeReaderAsksOnEveryStart) {
  int requests = 0;
  M.Tti.OnByteRequest = [&](TDevice& d) {
    ++requests;
    static_cast<TInDevice&>(d).SetInputByte('Z');
  };
  M.Tti.SetReaderOn(true);
  M.Tti.SetReaderOn(true);  // unchanged: nothing
  M.Tti.Start();            // busy or not, every S pulse asks
  EXPECT_EQ(requests, 2);
  M.Tti.Reset();
  EXPECT_FALSE(M.Tti.ReaderOn());
  EXPECT_EQ(M.Tti.InputByte(), 0);
}

TEST(RtcDevice, FrequencyAndTimer) {
  TFakeTimer timer;
  TRtcDevice rtc(014, 13, &timer);
  EXPECT_EQ(timer.Interval, 100);
  EXPECT_FALSE(timer.On);
  const int want[] = {20, 100, 10, 1};
  for (int v = 0; v < 4; ++v) {
    rtc.DOA(TWord(0170 | v));
    EXPECT_EQ(timer.Interval, want[v]);
  }
  const int sets = timer.IntervalSets;
  rtc.DOA(3);  // the same frequency again: the timer keeps its phase
  EXPECT_EQ(timer.IntervalSets, sets);
  rtc.Start();
  rtc.Start();
  EXPECT_TRUE(timer.On);
  EXPECT_EQ(timer.Enables, 1);  // a running timer keeps running
  rtc.Clear();
  EXPECT_FALSE(timer.On);

  TFakeTimer second;
  rtc.DOA(2);
  rtc.Start();
  rtc.SetTimer(&second);  // takes over interval and state
  EXPECT_EQ(second.Interval, 10);
  EXPECT_TRUE(second.On);
}

TEST_F(MachineTest, ClockDoneAtTheIntervalAndRequestAtTheNextInstruction) {
  M.Rtc.Start();
  M.Rtc.TimeElapsed();
  EXPECT_TRUE(M.Rtc.DoneFlag());
  EXPECT_FALSE(M.IrqFlag);  // the request comes with the next tick
  Load(0100, {Arith(MOV, 0, 0), Io(NIO, 0, PS, RTC), Arith(MOV, 0, 0), Arith(MOV, 0, 0)});
  M.PC = 0100;
  Steps(1);
  EXPECT_TRUE(M.IrqFlag);
  Steps(3);  // restarted: Done waits for the next interval
  EXPECT_FALSE(M.Rtc.DoneFlag());
  EXPECT_TRUE(M.Rtc.BusyFlag());
  M.Rtc.Clear();
  M.Rtc.TimeElapsed();  // not busy: nothing
  EXPECT_FALSE(M.Rtc.DoneFlag());
}

TEST(SteadyTimer, PollsIntervals) {
  int fired = 0;
  TSteadyTimer timer([&] { ++fired; });
  const auto t0 = TSteadyTimer::TClock::now();
  EXPECT_FALSE(timer.Poll(t0 + std::chrono::seconds(1)));  // disabled
  timer.SetInterval(10);
  timer.SetEnabled(true);
  EXPECT_FALSE(timer.Poll(t0));
  EXPECT_TRUE(timer.Poll(t0 + std::chrono::milliseconds(20)));
  EXPECT_FALSE(timer.Poll(t0 + std::chrono::milliseconds(20)));
  EXPECT_TRUE(timer.Poll(t0 + std::chrono::seconds(5)));  // missed intervals are dropped
  EXPECT_FALSE(timer.Poll(t0 + std::chrono::seconds(5)));
  EXPECT_EQ(fired, 2);
  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Poll(t0 + std::chrono::seconds(10)));
}

}  // namespace
