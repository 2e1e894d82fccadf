// Assembling straight into memory: the words through the machine's notifying operations, PC at
// the start, the symbols handed back; on any error the machine as it was and the errors listed.
#include <fstream>

#include "AsmTestSupport.h"
#include "MachineTestSupport.h"
#include "AsmOutput.h"
#include "MemoryAssembly.h"
#include "TestTempDir.h"

namespace {

std::vector<TAsmSource> Sources(std::initializer_list<std::pair<const char*, const char*>> files) {
  std::vector<TAsmSource> sources;
  for (const auto& [name, text] : files) sources.push_back({name, text});
  return sources;
}

class MemoryAssembly : public MachineTest {
protected:
  MemoryAssembly() {
    M.SetMemSize(01000);
    M.PC = 0555;
    Host.Told.clear();
  }
};

TEST_F(MemoryAssembly, WritesTheWordsSetsPcAndHandsBackTheSymbols) {
  const TMemoryAssembly a = AssembleIntoMemory(M, Sources({{"p.sr",
                                                            "        .TITL DEMO\n"
                                                            "        .LOC 100\n"
                                                            "START:  LDA 0,N\n"
                                                            "        HALT\n"
                                                            "N:      5\n"
                                                            "        .LOC 300\n"
                                                            "        1\n"
                                                            "        .LOC 300\n"
                                                            "        2               ; the later word stays\n"
                                                            "K = 7\n"
                                                            "        .END START\n"}}));
  ASSERT_TRUE(a.Ok());
  EXPECT_EQ(Host.Told, (std::vector<std::string>{"words 000100+3", "words 000300+1", "words 000300+1", "registers"}));
  EXPECT_EQ(M.Memory[0100].Data, 020102);
  EXPECT_EQ(M.Memory[0101].Data, w::HALT);
  EXPECT_EQ(M.Memory[0102].Data, 5);
  EXPECT_EQ(M.Memory[0300].Data, 2);
  EXPECT_EQ(M.PC, 0100);
  EXPECT_EQ(a.Start, 0100);
  EXPECT_EQ(a.Title, "DEMO");
  EXPECT_EQ(a.Words, 5u);
  ASSERT_EQ(a.Symbols.Size(), 3u);
  EXPECT_EQ(a.Symbols.NameOf(0102)->Name, "N");
  EXPECT_EQ(a.Symbols.Find("K")->Kind, skValue);
}

TEST_F(MemoryAssembly, WithoutStartAddressPcStays) {
  const TMemoryAssembly a = AssembleIntoMemory(M, Sources({{"p.sr", ".LOC 100\nHALT\n.END\n"}}));
  ASSERT_TRUE(a.Ok());
  EXPECT_EQ(a.Start, -1);
  EXPECT_EQ(M.PC, 0555);
  EXPECT_EQ(Host.Told, (std::vector<std::string>{"words 000100+1"}));
}

TEST_F(MemoryAssembly, MemoryGrowsToTakeTheProgramBeforeItIsWritten) {
  ASSERT_TRUE(AssembleIntoMemory(M, Sources({{"p.sr", ".LOC 2000\nHALT\n"}})).Ok());
  EXPECT_EQ(Host.Told, (std::vector<std::string>{"size 1025", "words 002000+1"}));
  EXPECT_EQ(M.MemSize, 02001);
}

TEST_F(MemoryAssembly, WatchesTakeTheNewValuesWithoutAlert) {
  M.Memory[0102].Data = 9;
  M.AddWatch(0102);
  M.SetWatchAlert(0102, true);
  Host.Told.clear();
  ASSERT_TRUE(AssembleIntoMemory(M, Sources({{"p.sr", ".LOC 100\nGO: LDA 0,N\nHALT\nN: 5\n.END GO\n"}})).Ok());
  EXPECT_EQ(Host.Told, (std::vector<std::string>{"words 000100+3", "watches 1", "registers"}));
  EXPECT_EQ(M.Watch.front().Data, 5);
  EXPECT_FALSE(M.Watch.front().Changed);
  // The program runs to its HALT: the assembled word is not taken for a change of the watch.
  M.InstructionLimit = 100;
  EXPECT_EQ(M.RunProgram(), srHalt);
}

TEST_F(MemoryAssembly, OnErrorsNothingChangesAndEveryErrorIsListed) {
  M.Memory[0100].Data = 0123;
  const TMemoryAssembly a = AssembleIntoMemory(M, Sources({{"defs.sr", "X = 1\n.EOT\n"},
                                                            {"prog.sr", ".LOC 100\nLDA 0,FOO\nJMP 400\n.END 100\n"},
                                                            {"late.sr", "HALT\n"}}));
  EXPECT_FALSE(a.Ok());
  EXPECT_EQ(a.Errors, (std::vector<TSourceError>{
                          {"prog.sr", 2, "undefined symbol FOO"},
                          {"prog.sr", 3,
                           "address 000400 is out of reach from 000101: neither in page zero (0 to 377) nor within "
                           "-200 to +177 of the instruction"},
                          {"late.sr", 0, "late.sr comes after .END and is not assembled"},
                      }));
  EXPECT_TRUE(Host.Told.empty());
  EXPECT_EQ(M.Memory[0100].Data, 0123);
  EXPECT_EQ(M.PC, 0555);
  EXPECT_TRUE(a.Symbols.Empty());
}

TEST_F(MemoryAssembly, FromFilesInTheirOrder) {
  TTempDir dir;
  std::ofstream(dir / "defs.sr") << ".DIAC PSHA=61401\n.EOT\n";
  std::ofstream(dir / "prog.sr") << ".LOC 100\nGO: PSHA 2\n.END GO\n";

  // A file that cannot be read: nothing is assembled, not even the others.
  TMemoryAssembly a = AssembleFilesIntoMemory(M, {dir / "defs.sr", dir / "none.sr", dir / "prog.sr"});
  EXPECT_EQ(a.Errors, (std::vector<TSourceError>{{dir / "none.sr", 0, "file not found"}}));
  EXPECT_EQ(a.Errors[0].Text(), dir / "none.sr" + ": file not found");
  EXPECT_TRUE(Host.Told.empty());

  a = AssembleFilesIntoMemory(M, {dir / "defs.sr", dir / "prog.sr"});
  ASSERT_TRUE(a.Ok()) << a.Errors[0].Text();
  EXPECT_EQ(M.Memory[0100].Data, 071401);
  EXPECT_EQ(M.PC, 0100);
}

// The tape is written whole, and on any error not at all: an old tape stays as it was.
TEST(TapeAssembly, WritesTheTapeOrLeavesTheOldOne) {
  TTempDir dir;
  const std::string tape = dir / "prog.bin";
  std::ofstream(dir / "prog.sr") << ".LOC 101\nGO: HALT\n.END GO\n";
  std::ofstream(dir / "far.sr") << ".LOC 1000\nGO: HALT\n.END GO\n";
  std::ofstream(dir / "bad.sr") << ".LOC 100\nJMP NOWHERE\n.END\n";
  const auto contents = [](const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const auto expected = [&](bool bootstrap) {
    TAsmSource source;
    std::string error;
    EXPECT_TRUE(ReadAsmSource(dir / "prog.sr", source, error));
    const TAsmProgram p = Assemble({source});
    std::vector<std::uint8_t> bytes = AbsoluteTape(p);
    if (bootstrap) {
      EXPECT_TRUE(BootstrapTape(p, bytes, error));
    }
    return std::string(bytes.begin(), bytes.end());
  };

  TTapeAssembly a = AssembleFilesToTape({dir / "prog.sr"}, tape, false);
  ASSERT_TRUE(a.Ok());
  EXPECT_EQ(a.Words, 1u);
  EXPECT_EQ(a.Start, 0101);
  EXPECT_EQ(contents(tape), expected(false));
  a = AssembleFilesToTape({dir / "prog.sr"}, tape, true);
  ASSERT_TRUE(a.Ok());
  EXPECT_EQ(contents(tape), expected(true));

  const std::size_t files = dir.FileCount();
  a = AssembleFilesToTape({dir / "bad.sr"}, tape, false);
  ASSERT_EQ(a.Errors.size(), 1u);
  EXPECT_EQ(a.Errors[0].Line, 2);
  a = AssembleFilesToTape({dir / "far.sr"}, tape, true);  // beyond a program-load tape
  EXPECT_TRUE(a.Errors.empty());
  EXPECT_FALSE(a.Failure.empty());
  a = AssembleFilesToTape({dir / "none.sr", dir / "prog.sr"}, tape, false);
  EXPECT_EQ(a.Errors.size(), 1u);
  a = AssembleFilesToTape({dir / "prog.sr"}, dir / "no folder/t.bin", false);
  EXPECT_NE(a.Failure.find("no folder/t.bin"), std::string::npos) << a.Failure;
  EXPECT_EQ(contents(tape), expected(true));
  EXPECT_EQ(dir.FileCount(), files);  // no temporary file left behind
}

}  // namespace
