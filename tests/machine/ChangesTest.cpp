// Every change from outside the running program goes through an operation of the core that
// tells the host what changed: one table of operation -> what the host was told. And the
// breakpoint list and the cell flags stay one, whatever the operations.
#include <random>

#include "FileTestSupport.h"
#include "MachineTestSupport.h"
#include "MemoryDump.h"

using namespace w;

namespace {

using TTold = std::vector<std::string>;

struct TChangeCase {
  const char* Name;
  std::function<void(TNovaMachine&)> Setup;  // before recording starts (may be empty)
  std::function<void(TNovaMachine&)> Op;
  TTold Told;
  std::function<void(const TNovaMachine&)> Check;  // the state afterwards (may be empty)
};

class ChangeTable : public ::testing::TestWithParam<TChangeCase> {};

TEST_P(ChangeTable, TellsWhatChanged) {
  const TChangeCase& c = GetParam();
  TNovaMachine m;
  TRecordingHost host;
  m.SetHost(&host);
  m.SetMemSize(01000);
  if (c.Setup) c.Setup(m);
  host.Told.clear();
  c.Op(m);
  EXPECT_EQ(host.Told, c.Told);
  if (c.Check) c.Check(m);
}

const TWord Three[3] = {1, 2, 3};

const TChangeCase ChangeCases[] = {
    {"SetPC", {}, [](TNovaMachine& m) { m.SetPC(0100123); }, {"registers"},
     [](const TNovaMachine& m) { EXPECT_EQ(m.PC, 0123); }},
    {"SetAC", {}, [](TNovaMachine& m) { m.SetAC(3, 0177777); }, {"registers"},
     [](const TNovaMachine& m) { EXPECT_EQ(m.AC[3], 0177777); }},
    {"SetCarry", {}, [](TNovaMachine& m) { m.SetCarry(3); }, {"registers"},
     [](const TNovaMachine& m) { EXPECT_EQ(m.Carry, 1); }},
    {"SetSwitches", {}, [](TNovaMachine& m) { m.SetSwitches(0100012); }, {"switches"},
     [](const TNovaMachine& m) { EXPECT_EQ(m.Switches, 0100012); }},
    {"SetShowEachStep", {}, [](TNovaMachine& m) { m.SetShowEachStep(true); }, {"run state"},
     [](const TNovaMachine& m) { EXPECT_TRUE(m.ShowEachStep); }},
    {"WriteWord", {}, [](TNovaMachine& m) { m.WriteWord(0100100, 7); }, {"words 000100+1"},
     [](const TNovaMachine& m) { EXPECT_EQ(m.Memory[0100].Data, 7); }},
    {"WriteWordsWrapAround", {}, [](TNovaMachine& m) { m.WriteWords(077776, Three, 3); },
     {"words 077776+2", "words 000000+1"},
     [](const TNovaMachine& m) {
       EXPECT_EQ(m.Memory[077777].Data, 2);
       EXPECT_EQ(m.Memory[0].Data, 3);
     }},
    // The watch list is told too, so that it shows the zeros.
    {"ClearMemory",
     [](TNovaMachine& m) {
       m.Memory[0777].Data = 5;
       m.AddWatch(0777);
     },
     [](TNovaMachine& m) { m.ClearMemory(); }, {"watches 1", "memory", "registers"},
     [](const TNovaMachine& m) {
       EXPECT_EQ(m.Memory[0777].Data, 0);
       EXPECT_EQ(m.Watch.front().Data, 0);
       EXPECT_FALSE(m.Watch.front().Changed);
     }},
    {"SetMemSize", {}, [](TNovaMachine& m) { m.SetMemSize(0); }, {"size 1"}, {}},
    {"SetMemSizeUnchanged", {}, [](TNovaMachine& m) { m.SetMemSize(01000); }, {}, {}},
    {"SetBreakpoint", {}, [](TNovaMachine& m) { m.SetBreakpoint(0100); }, {"breakpoints 1"},
     [](const TNovaMachine& m) { EXPECT_TRUE(m.HasBreakpoint(0100)); }},
    {"ToggleBreakpointOff", [](TNovaMachine& m) { m.SetBreakpoint(0100); },
     [](TNovaMachine& m) { m.ToggleBreakpoint(0100100); }, {"breakpoints 0"},
     [](const TNovaMachine& m) { EXPECT_FALSE(m.HasBreakpoint(0100)); }},
    {"SetBreakpointsAtOnce", [](TNovaMachine& m) { m.SetBreakpoint(0200); },
     [](TNovaMachine& m) { m.SetBreakpoints({0300, 0100, 0200, 0100300}); }, {"breakpoints 3"},
     [](const TNovaMachine& m) { EXPECT_EQ(m.BreakPoints, (std::vector<TWord>{0100, 0200, 0300})); }},
    {"ClearBreakpoints", [](TNovaMachine& m) { m.SetBreakpoints({1, 2}); },
     [](TNovaMachine& m) { m.ClearBreakpoints(); }, {"breakpoints 0"}, {}},
    {"AddWatch", {}, [](TNovaMachine& m) { m.AddWatch(0100); }, {"watches 1"}, {}},
    {"AddWatchesAtOnce", [](TNovaMachine& m) { m.AddWatch(0200); },
     [](TNovaMachine& m) { m.AddWatches({0300, 0200, 0300}); }, {"watches 2"}, {}},
    {"SetWatchAlert", [](TNovaMachine& m) { m.AddWatch(0100); },
     [](TNovaMachine& m) { m.SetWatchAlert(0100, true); }, {"watches 1"},
     [](const TNovaMachine& m) { EXPECT_TRUE(m.Watch[0].Alert); }},
    {"SetWatchAlertNotWatched", {}, [](TNovaMachine& m) { m.SetWatchAlert(0100, true); }, {}, {}},
    {"RemoveWatch", [](TNovaMachine& m) { m.AddWatches({1, 2}); }, [](TNovaMachine& m) { m.RemoveWatch(2); },
     {"watches 1"}, {}},
    {"ClearWatches", [](TNovaMachine& m) { m.AddWatch(1); }, [](TNovaMachine& m) { m.ClearWatches(); },
     {"watches 0"}, {}},
    {"ClearTrace", [](TNovaMachine& m) { m.Step(); }, [](TNovaMachine& m) { m.ClearTrace(); }, {"trace 0"},
     [](const TNovaMachine& m) { EXPECT_EQ(m.TraceCount(), 0); }},
    {"ResetCpu", {}, [](TNovaMachine& m) { m.ResetCpu(); }, {"trace 0", "registers"},
     [](const TNovaMachine& m) { EXPECT_EQ(m.PC, 2); }},
    {"StopWhileStopped", {}, [](TNovaMachine& m) { m.RequestStop(); }, {"run state", "stopped"},
     [](const TNovaMachine& m) { EXPECT_EQ(m.LastStopReason(), srNone); }},
    {"Step", {}, [](TNovaMachine& m) { m.Step(); }, {"memory", "registers", "trace 1"}, {}},
    {"Run", [](TNovaMachine& m) { m.Memory[0].Data = 067077; },  // a HALT that is not stepped over
     [](TNovaMachine& m) { m.RunProgram(); },
     {"run state", "running", "run state", "stopped", "memory", "registers", "trace 1"}, {}},
    {"ProgramLoad",
     [](TNovaMachine& m) {
       m.InstructionLimit = 1;
       m.SetPumpInterval(1000);
     },
     [](TNovaMachine& m) { m.ProgramLoad(); },
     {"words 000000+32", "registers", "run state", "running", "trace 1", "run state", "stopped", "memory",
      "registers", "trace 1"},
     [](const TNovaMachine& m) { EXPECT_EQ(m.Memory[037].Data, TNovaMachine::Bootstrap[037]); }},
};

INSTANTIATE_TEST_SUITE_P(Operations, ChangeTable, ::testing::ValuesIn(ChangeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(MachineTest, ChangesFromThePumpTakeEffectInTheRun) {
  // 100: INC 0,0; JMP 100. The pump sets AC0, PC and a word; the run goes on with them.
  Load(0100, {Arith(INC, 0, 0), Jmp(0100)});
  Load(0200, {nova::HaltWord});
  M.SetPumpInterval(10);
  Host.OnPump = [&] {
    if (Host.Pumps != 1) return;
    M.SetAC(0, 0177770);
    M.WriteWord(0101, Jmp(0200));
  };
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_EQ(M.PC, 0200);
  EXPECT_EQ(M.AC[0], 0177771);
}

TEST_F(MachineTest, ThePreviewChangesNothing) {
  Load(0100, {Isz(020, 0, true)});  // ISZ @20: 20 counts up when executed
  Load(020, {0300});
  M.PC = 0100;
  const TNovaMachine::TPreview p = M.PreviewAtPC();
  EXPECT_EQ(p.EffAddr, 0300);  // the auto-increment location is read, not counted
  EXPECT_FALSE(p.Skip);
  EXPECT_EQ(M.Memory[020].Data, 0300);
  M.Memory[0100].Data = Arith(MOV, 0, 0, NoShift, Keep, false, SKP);
  EXPECT_EQ(M.PreviewAtPC().EffAddr, -1);
  EXPECT_TRUE(M.PreviewAtPC().Skip);
}

// Whatever the list operations and dump loads, a cell has BreakpointFlag exactly when its address
// is listed, and the list is sorted without duplicates.
TEST_F(MachineTest, BreakpointListAndFlagsStayOne) {
  TTempDir dir;
  TMachineError error;
  const std::vector<TWord> words(0400, 1);
  ASSERT_TRUE(WriteDumpFile(dir / "d.dmp", words.data(), words.size(), error));
  std::mt19937 random(18);
  const auto addr = [&] { return TWord(random() % 0400 | (random() % 2 ? 0100000 : 0)); };
  for (int i = 0; i < 2000; ++i) {
    switch (random() % 9) {
      case 0: M.SetBreakpoint(addr()); break;
      case 1: M.ClearBreakpoint(addr()); break;
      case 2: M.ToggleBreakpoint(addr()); break;
      case 3: M.SetBreakpoints({addr(), addr(), addr()}); break;
      case 4: if (random() % 20 == 0) M.ClearBreakpoints(); break;
      case 5: M.ClearBreakpoint(addr()); break;
      case 6:
        if (random() % 20 == 0) {
          ASSERT_TRUE(M.LoadDump(dir / "d.dmp", random() % 4 != 0));
        }
        break;
      case 7: M.ClearMemory(); break;
      default: M.WriteWord(addr(), TWord(random())); break;
    }
    std::vector<TWord> flagged;
    for (int a = 0; a < MemoryWords; ++a)
      if (M.Memory[std::size_t(a)].Flags & BreakpointFlag) flagged.push_back(TWord(a));
    ASSERT_EQ(flagged, M.BreakPoints) << "after operation " << i;
  }
}

}  // namespace
