// The I/O bus: absent devices, the processor's functions, device timing in instructions, the
// interrupt cycle, masks, INTA, IORST, and the tick fast path against plain ticking.
#include "MachineTestSupport.h"

using namespace w;

namespace {

constexpr TWord Nop = Arith(MOV, 0, 0);

// Every case runs with the tick fast path and with plain ticking of all six devices.
class IoTest : public MachineTest, public ::testing::WithParamInterface<bool> {
protected:
  IoTest() {
    M.SetPlainTicks(GetParam());
    M.Ptr.OnByteRequest = [](TDevice& d) { static_cast<TInDevice&>(d).SetInputByte(0101); };
  }
  // Steps NIOS dev, then plain instructions; returns after how many of them Done showed.
  int InstructionsUntilDone(int dev, TDevice& device) {
    Load(0100, {Io(NIO, 0, PS, dev)});
    for (int i = 1; i < 40; ++i) M.Memory[0100 + i].Data = Nop;
    M.PC = 0100;
    M.Step();
    for (int n = 1; n < 40; ++n) {
      M.Step();
      if (device.DoneFlag()) return n;
    }
    return -1;
  }
};

TEST_P(IoTest, AbsentDevicesAreNeitherBusyNorDone) {
  M.PC = 0100;
  EXPECT_FALSE(M.ExecCommand(Skp(DN, 020), true));
  EXPECT_TRUE(M.ExecCommand(Skp(DZ, 020), true));
  EXPECT_FALSE(M.ExecCommand(Skp(BN, 020), true));
  EXPECT_TRUE(M.ExecCommand(Skp(BZ, 020), true));
  M.AC = {5, 5, 5, 5};
  M.ExecCommand(Io(DIB, 2, PS, 020), true);
  EXPECT_EQ(M.AC[2], 0);
  M.ExecCommand(Io(DOA, 1, PS, 020), true);
  EXPECT_EQ(M.AC[1], 5);
}

TEST_P(IoTest, ProcessorFunctions) {
  M.Switches = 0123456;
  Load(0100, {Io(DIA, 1, NoPulse, CPU), INTEN, Skp(BN, CPU), Nop, Skp(DN, CPU), Skp(DZ, CPU), Nop, INTDS,
              Skp(BZ, CPU), Nop, Io(DOC, 0, PS, CPU)});
  M.PC = 0100;
  Steps(1);
  EXPECT_EQ(M.AC[1], 0123456);  // READS 1
  Steps(2);                        // INTEN, SKPBN CPU: interrupts now on
  EXPECT_EQ(M.PC, 0104);
  Steps(2);  // SKPDN CPU never skips, SKPDZ CPU always does
  EXPECT_EQ(M.PC, 0107);
  Steps(2);  // INTDS, SKPBZ
  EXPECT_EQ(M.PC, 0112);
  EXPECT_FALSE(M.IntEnable);
  EXPECT_EQ(M.Step(), srHalt);  // DOCS 0,CPU halts and asks for interrupts on
  EXPECT_EQ(M.PC, 0112);
  EXPECT_TRUE(M.IntEnable);
}

TEST_P(IoTest, TransfersAreDoneTicksPlusOneInstructionsAfterTheStart) {
  EXPECT_EQ(InstructionsUntilDone(TTO, M.Tto), 11);
  EXPECT_EQ(InstructionsUntilDone(PTR, M.Ptr), 16);
  EXPECT_EQ(InstructionsUntilDone(PTP, M.Ptp), 6);
  EXPECT_EQ(InstructionsUntilDone(LPT, M.Lpt), 6);
}

TEST_P(IoTest, SkipSeesDoneFromTheEleventhInstruction) {
  Load(0100, {Io(NIO, 0, PS, TTO), Skp(DN, TTO), Jmp(0101), nova::HaltWord});
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_EQ(M.ExecutedCount(), 13u);  // NIOS, 11 of SKPDN/JMP, HALT
}

TEST_P(IoTest, InterruptAfterTheInstructionFollowingInten) {
  M.Memory[1].Data = 0500;
  M.Tto.Start();
  for (int i = 0; i < 11; ++i) M.TickDevices();
  ASSERT_TRUE(M.Tto.DoneFlag());
  ASSERT_TRUE(M.IrqFlag);
  Load(0100, {INTEN, Nop, Nop});
  Load(0500, {Nop});
  M.PC = 0100;
  Steps(1);
  EXPECT_EQ(M.PC, 0101);
  Steps(1);
  EXPECT_EQ(M.PC, 0500);
  EXPECT_EQ(M.Memory[0].Data, 0102);
  EXPECT_FALSE(M.IntEnable);
  EXPECT_FALSE(M.PreEnable);
  EXPECT_FALSE(M.IrqFlag);
  Steps(1);  // the tick of the next instruction raises the latch again
  EXPECT_TRUE(M.IrqFlag);
}

TEST_P(IoTest, InterruptVectorChainIsFollowed) {
  M.Memory[1].Data = 0100020;   // through the auto-increment location 20
  M.Memory[020].Data = 0577;    // becomes 600
  M.IrqFlag = true;
  M.IntEnable = true;
  M.PreEnable = true;
  M.PC = 0100;
  M.CheckInterrupt();
  EXPECT_EQ(M.PC, 0600);
  EXPECT_EQ(M.Memory[0].Data, 0100);
}

TEST_P(IoTest, MaskOutAndInta) {
  M.Tto.Start();
  M.Ptr.Start();
  for (int i = 0; i < 16; ++i) M.TickDevices();
  M.Tti.SetInputByte('x');
  EXPECT_EQ(M.GetInterruptDevice(), PTR);  // PTR comes first in the tick order

  Load(0100, {Io(DOB, 0, NoPulse, CPU), Io(DIB, 1, NoPulse, CPU), Io(DOB, 2, NoPulse, CPU)});
  M.AC = {000023, 0, 0, 0};  // TTO, TTI and PTR masked
  M.PC = 0100;
  Steps(2);
  EXPECT_EQ(M.AC[1], 0);  // INTA: nobody requests
  EXPECT_FALSE(M.Tto.Interrupt());
  EXPECT_TRUE(M.IrqFlag);  // the latch stays
  M.IrqFlag = false;
  Steps(1);  // MSKO 0: requests again at once
  EXPECT_TRUE(M.Tto.Interrupt());
  EXPECT_TRUE(M.IrqFlag);

  M.MaskOutDevices(000001);  // TTO only
  EXPECT_TRUE(M.Tto.Masked());
  EXPECT_FALSE(M.Tti.Masked());
  EXPECT_FALSE(M.Ptr.Masked());
}

TEST_P(IoTest, IorstKeepsTheLatchAndOutputFlags) {
  M.Tto.Start();
  for (int i = 0; i < 11; ++i) M.TickDevices();
  M.Rtc.Start();
  M.Tti.SetReaderOn(true);
  M.IntEnable = M.PreEnable = true;
  Load(0100, {IORST});
  M.PC = 0100;
  Steps(1);
  EXPECT_TRUE(M.IrqFlag);
  EXPECT_FALSE(M.IntEnable);
  EXPECT_TRUE(M.Tto.DoneFlag());
  EXPECT_FALSE(M.Rtc.TimerEnabled());
  EXPECT_FALSE(M.Tti.ReaderOn());
}

TEST_P(IoTest, HaltWithAPendingInterruptStopsAtTheHandler) {
  M.Memory[1].Data = 0500;
  M.IrqFlag = true;
  Load(0100, {INTEN, nova::HaltWord});
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_EQ(M.PC, 0500);
  EXPECT_EQ(M.Memory[0].Data, 0101);
}

INSTANTIATE_TEST_SUITE_P(Ticks, IoTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "plain" : "fast"; });

// A program with interrupt-driven teletype output, a polled reader and the clock.
void LoadMixedProgram(TNovaMachine& m) {
  const TWord program[] = {
      Io(NIO, 0, PS, RTC),    // 076 NIOS RTC
      Io(DOA, 0, PS, RTC),    // 077 DOAS 0,RTC
      Io(DOB, 3, 0, CPU),     // 100 MSKO 3: PTR masked
      INTEN,                  // 101
      Io(DOA, 0, PS, TTO),    // 102 DOAS 0,TTO
      Io(NIO, 0, PS, PTR),    // 103 NIOS PTR
      Skp(DN, PTR),           // 104
      Jmp(0104),              // 105
      Io(DIA, 1, 0, PTR),     // 106 DIA 1,PTR
      Arith(INC, 0, 0),       // 107 INC 0,0
      Isz(050),               // 110 ISZ 50
      Jmp(0102),              // 111
      nova::HaltWord,         // 112
  };
  for (int i = 0; i < int(std::size(program)); ++i) m.Memory[076 + i].Data = program[i];
  const TWord handler[] = {Io(DIB, 2, 0, CPU), Io(NIO, 0, PC_, TTO), Io(NIO, 0, PS, RTC), INTEN, Jmp(0, 0, true)};
  for (int i = 0; i < int(std::size(handler)); ++i) m.Memory[0400 + i].Data = handler[i];
  m.Memory[1].Data = 0400;
  m.Memory[050].Data = TWord(-20);
  m.AC = {0101, 0, 0, 000020};
  m.PC = 076;
  m.SetPumpInterval(97);  // the clock interval passes at each pump
  m.Ptr.OnByteRequest = [n = 0](TDevice& d) mutable { static_cast<TInDevice&>(d).SetInputByte(std::uint8_t(n++)); };
}

TEST(TickFastPath, AgreesWithPlainTicking) {
  TNovaMachine fast, plain;
  plain.SetPlainTicks(true);
  std::vector<std::uint8_t> fastOut, plainOut;
  fast.Tto.OnByteOut = [&](TDevice&, std::uint8_t b) { fastOut.push_back(b); };
  plain.Tto.OnByteOut = [&](TDevice&, std::uint8_t b) { plainOut.push_back(b); };
  TRecordingHost fastHost, plainHost;
  fastHost.OnPump = [&] { fast.Rtc.TimeElapsed(); };
  plainHost.OnPump = [&] { plain.Rtc.TimeElapsed(); };
  fast.SetHost(&fastHost);
  plain.SetHost(&plainHost);
  LoadMixedProgram(fast);
  LoadMixedProgram(plain);
  fast.InstructionLimit = plain.InstructionLimit = 100000;
  EXPECT_EQ(fast.RunProgram(), srHalt);
  EXPECT_EQ(plain.RunProgram(), srHalt);

  EXPECT_EQ(fast.ExecutedCount(), plain.ExecutedCount());
  EXPECT_EQ(fastOut, plainOut);
  EXPECT_EQ(fastOut.size(), 20u);
  ASSERT_EQ(fast.TraceCount(), plain.TraceCount());
  int interrupts = 0;
  for (int i = 0; i < fast.TraceCount(); ++i) {
    const TTraceData& a = fast.TraceItem(i);
    const TTraceData& b = plain.TraceItem(i);
    ASSERT_EQ(a.PC, b.PC) << "record " << i;
    ASSERT_EQ(a.ACs, b.ACs) << "record " << i;
    if (a.PC == 0400) ++interrupts;
  }
  EXPECT_GT(interrupts, 20);  // teletype and clock interrupts both came
  EXPECT_EQ(fast.IrqFlag, plain.IrqFlag);
  for (int code : TNovaMachine::TickOrder) {
    EXPECT_EQ(fast.IoDevices[code]->BusyFlag(), plain.IoDevices[code]->BusyFlag());
    EXPECT_EQ(fast.IoDevices[code]->DoneFlag(), plain.IoDevices[code]->DoneFlag());
    EXPECT_EQ(fast.IoDevices[code]->TicksLeft(), plain.IoDevices[code]->TicksLeft());
  }
}

}  // namespace
