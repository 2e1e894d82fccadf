// The typed-key queue: keys kept in order and handed one at a time, emptied by every reset of the
// devices, and real BASIC at the Nova 800's pace taking a line typed far faster than its teletype
// echoes (typed straight onto the keyboard, the same burst loses keys or hangs BASIC).
#include <fstream>
#include <iterator>
#include <string>

#include "KeyQueue.h"
#include "MachineTestSupport.h"
#include "Peripherals.h"
#include "TestTempDir.h"
#include "Throttle.h"

using namespace w;

namespace {

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class KeyQueueTest : public MachineTest {
protected:
  TPeripherals P{M};
  TKeyQueue Q{M, P};
};

TEST_F(KeyQueueTest, KeysWaitInOrderUntilTheProgramTakesTheOneBefore) {
  EXPECT_TRUE(Q.Type('a', true));
  EXPECT_TRUE(M.Tti.DoneFlag());  // the first key at once, as a key press always did
  EXPECT_EQ(M.Tti.InputByte(), 'A');
  Q.Type('b', false);
  Q.Type(8, true);
  EXPECT_EQ(Q.Waiting(), 2u);
  EXPECT_FALSE(Q.Pump());  // 'A' not read yet: it is not overwritten
  EXPECT_EQ(M.Tti.InputByte(), 'A');

  // The program reads the key (DIAC 0,TTI); stopped, the next one follows at the next look.
  Load(0100, {Io(DIA, 0, PC_, TTI), HALT});
  M.PC = 0100;
  M.Step();
  EXPECT_EQ(M.AC[0], 'A');
  EXPECT_TRUE(Q.Pump());
  EXPECT_EQ(M.Tti.InputByte(), 'b');
  M.Tti.Clear();
  EXPECT_TRUE(Q.Pump());
  EXPECT_EQ(M.Tti.InputByte(), 0177);  // backspace as rubout
  EXPECT_EQ(Q.Waiting(), 0u);
  EXPECT_FALSE(Q.Pump());
}

TEST_F(KeyQueueTest, EveryResetOfTheDevicesEmptiesTheQueue) {
  const std::function<void()> resets[] = {
      [&] { M.ResetCpu(); },
      [&] {  // the program's own IORST
        Load(0100, {IORST, HALT});
        M.PC = 0100;
        M.Step();
      },
      [&] {  // program load: the bootstrap starts with IORST
        M.Switches = 0100000 | PTR;  // bit 0: the loader ends in its jump to itself
        M.InstructionLimit = 2000;
        M.ProgramLoad();
        M.InstructionLimit = 0;
      },
  };
  for (const auto& reset : resets) {
    M.Tti.Clear();
    Q.Type('x', true);
    Q.Type('y', true);
    Q.Type('z', true);
    ASSERT_EQ(Q.Waiting(), 2u);
    ASSERT_TRUE(M.Tti.DoneFlag());  // 'X' handed, not read
    reset();
    EXPECT_EQ(Q.Waiting(), 0u);
    EXPECT_FALSE(M.Tti.DoneFlag());  // the unread key is taken back as well
    EXPECT_FALSE(Q.Pump());  // nothing of it reaches the program
    EXPECT_FALSE(M.Tti.DoneFlag());
  }
}

// A program that resets the devices and reads the keyboard at once, in one time slice, as BASIC
// does after program load: a key typed before the run never reaches it.
TEST_F(KeyQueueTest, AProgramReadingRightAfterItsResetGetsNoEarlierKey) {
  Q.Type('\r', true);
  Q.Type('\r', true);
  ASSERT_TRUE(M.Tti.DoneFlag());
  // IORST; SKPDN TTI; JMP .-1; DIAC 0,TTI; HALT
  Load(0100, {IORST, Skp(DN, TTI), Jmp(-1, 1), Io(DIA, 0, PC_, TTI), HALT});
  M.PC = 0100;
  M.InstructionLimit = 1000;
  M.RunProgram();
  M.InstructionLimit = 0;
  EXPECT_LT(M.PC, 0103);  // still waiting for a key
  EXPECT_EQ(Q.Waiting(), 0u);
}

TEST_F(KeyQueueTest, AFullQueueRefusesKeys) {
  for (std::size_t i = 0; i <= TKeyQueue::MaxKeys; ++i) ASSERT_TRUE(Q.Type('k', true));  // one handed
  EXPECT_FALSE(Q.Type('k', true));
  EXPECT_EQ(Q.Waiting(), TKeyQueue::MaxKeys);
}

// Simulated time passes only as the machine charges it: a session of a minute runs in a second.
struct TInstantClock : TThrottleClock {
  std::int64_t Now = 0;
  std::int64_t NowNs() override { return Now; }
  void SleepUntilNs(std::int64_t Ns) override { Now = std::max(Now, Ns); }
};

// BASIC at Nova 800 speed, its teletype at 10 characters a second. Once it has asked its question
// and taken the answer, a line and LIST arrive in one burst, a key every millisecond.
struct TBasicSession : TMachineHost, TPeripheralHost {
  TNovaMachine M;
  TPeripherals P{M, this};
  TKeyQueue Q{M, P};
  TInstantClock Clock;
  std::string Out;
  bool Queued = true;  // false: the keys go straight onto the keyboard
  std::string Burst;
  std::size_t Typed = 0;
  std::uint64_t AnsweredAt = 0, DoneAt = 0;
  bool Hung = false;

  TBasicSession() {
    M.SetHost(this);
    M.SetThrottleClock(&Clock);
    M.SetSpeed(speed::Nova800);
  }
  void TeletypeOut(std::uint8_t b) override { Out.push_back(char(b)); }
  void Type(char c) {
    if (Queued)
      Q.Type(c, true);
    else
      M.KeyPress(c, true);
  }
  void PumpEvents() override {
    const std::uint64_t t = M.SimTimeNs();
    Q.Pump();
    if (!AnsweredAt) {
      if (Out.find("(TYPE N)?") == std::string::npos) return;
      Type('Y');
      Type('\r');
      AnsweredAt = t;
    } else if (t > AnsweredAt + 2'000'000'000 && Typed < Burst.size()) {
      Type(Burst[Typed++]);
    } else if (Typed == Burst.size() && Q.Waiting() == 0) {
      if (!DoneAt) DoneAt = t;
      if (t > DoneAt + 10'000'000'000ull) M.RequestStop();  // time enough for LIST at 10 cps
    }
    // BASIC waiting, interrupts off, for an output that can no longer end.
    if (M.PC >= 01171 && M.PC <= 01173 && !M.IntEnable && M.IrqFlag) {
      Hung = true;
      M.RequestStop();
    }
  }
  void Run(const std::string& tape) {
    ASSERT_TRUE(P.OpenPtrFile(tape));
    M.Switches = PTR;
    M.ResetCpu();
    M.InstructionLimit = 200'000'000;  // a safety net: about three minutes of a Nova 800
    M.ProgramLoad();
  }
};

TEST(KeyQueueBasic, ALineTypedFasterThanTheTeletypeEchoesReachesBasicWhole) {
  TTempDir dir;
  const std::string tape = dir / "basic.tape";
  {
    std::ofstream out(tape, std::ios::binary);
    out << ReadFile(CORVANE_BINARY_DIR "/samples/binloader.bin") << ReadFile(CORVANE_TAPES_DIR "/novabasic1.ab");
  }
  const std::string line = "20 PRINT \"ABCDEFGHIJKLMNOPQRSTUVWXYZ\"";
  TBasicSession queued;
  queued.Burst = line + "\rLIST\r";
  queued.Run(tape);
  EXPECT_FALSE(queued.Hung);
  EXPECT_NE(queued.Out.find(line + "\r\nLIST"), std::string::npos) << queued.Out;
  EXPECT_NE(queued.Out.find("20  PRINT \"ABCDEFGHIJKLMNOPQRSTUVWXYZ\""), std::string::npos) << queued.Out;

  // Straight onto the keyboard the same burst loses most of the line.
  TBasicSession direct;
  direct.Queued = false;
  direct.Burst = queued.Burst;
  direct.Run(tape);
  EXPECT_EQ(direct.Out.find(line), std::string::npos) << direct.Out;
}

}  // namespace
