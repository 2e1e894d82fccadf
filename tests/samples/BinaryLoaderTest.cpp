// The binary loader sample, program-loaded from the paper-tape reader with an absolute binary
// tape behind it, as an operator feeds them: data, repeat and start blocks, and its error halts.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "NovaMachine.h"
#include "Peripherals.h"
#include "TestTape.h"
#include "TestTempDir.h"

namespace {

constexpr TWord HALT = 063077;

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A machine with the loader tape and the program tape behind it in the paper-tape reader.
struct TLoaderRun {
  // Program-loads from the reader; returns how the run stopped.
  TStopReason Load(const TTempDir& dir, const TTape& program) {
    const std::string loader = ReadFile(std::string(CORVANE_BINARY_DIR) + "/samples/binloader.bin");
    EXPECT_FALSE(loader.empty());
    const std::string tape = dir / "program.tape";
    std::ofstream(tape, std::ios::binary) << loader << program.Str();
    EXPECT_TRUE(P.OpenPtrFile(tape));
    M.Switches = 012;
    M.InstructionLimit = 5'000'000;
    return M.ProgramLoad();
  }
  TWord At(int addr) const { return M.Memory[addr].Data; }

  TNovaMachine M;
  TPeripherals P{M};
};

class BinaryLoaderTest : public ::testing::Test, public TLoaderRun {
protected:
  TStopReason Load(const TTape& program) { return TLoaderRun::Load(Dir, program); }
  TTempDir Dir;
};

TEST_F(BinaryLoaderTest, LoadsDataAndRepeatBlocksAndStartsTheProgram) {
  TTape tape;
  tape.Nul(17)  // an odd leader
      .Data(0500, {HALT, 0123})
      .Nul(3)
      .Repeat(0177757, 01000, 052525)  // 16 words
      .Repeat(0177700, 02000, 7)       // 63 words
      .Data(01020, {1, 2, 3})
      .Start(0500)
      .Nul(20);
  ASSERT_EQ(Load(tape), srHalt);
  EXPECT_EQ(M.PC, 0500);  // on the program's own HALT
  EXPECT_EQ(At(0501), 0123);
  EXPECT_EQ(At(0777), 0);
  for (int a = 01000; a < 01020; ++a) EXPECT_EQ(At(a), 052525) << std::oct << a;
  EXPECT_EQ(At(01020), 1);
  EXPECT_EQ(At(01022), 3);
  for (int a = 02000; a < 02077; ++a) EXPECT_EQ(At(a), 7) << std::oct << a;
  EXPECT_EQ(At(02077), 0);
}

TEST_F(BinaryLoaderTest, StartWordWithBitZeroHaltsInTheLoader) {
  TTape tape;
  tape.Nul(10).Repeat(0177757, 0400, 1).Start(0100400);
  ASSERT_EQ(Load(tape), srHalt);
  EXPECT_EQ(At(0417), 1);
  EXPECT_GE(M.PC, 077600);
  EXPECT_EQ(At(M.PC), HALT);
}

// A repeat block whose sum is wrong halts before it stores anything, and halts again on
// CONTINUE; so does a block that begins with a positive word other than 1.
TEST_F(BinaryLoaderTest, BadRepeatBlockAndBadBlockHalt) {
  struct Case {
    const char* name;
    TTape tape;
  };
  Case cases[] = {
      {"checksum", TTape().Nul(4).Data(0500, {5}).Words({0177757, 01000, 0, 052525}).Start(0500)},
      {"positive count", TTape().Nul(4).Data(0500, {5}).Repeat(2, 01000, 052525).Start(0500)},
  };
  for (const Case& c : cases) {
    TLoaderRun run;
    ASSERT_EQ(run.Load(Dir, c.tape), srHalt) << c.name;
    const TWord halted = run.M.PC;
    EXPECT_GE(halted, 077600) << c.name;
    EXPECT_EQ(run.At(0500), 5) << c.name;
    EXPECT_EQ(run.At(01000), 0) << c.name;
    EXPECT_EQ(run.M.RunProgram(), srHalt) << c.name;
    EXPECT_EQ(run.M.PC, halted) << c.name;
  }
}

// A Data General tape as it comes: label, leader, data and repeat blocks, start block, trailer.
// Fed after the loader's own tape, it goes in after its label, as an operator would place it.
TEST_F(BinaryLoaderTest, LabelledTapeFedAfterTheLoaderTape) {
  const TTape tape = TTape()
                         .LabelledHead("091-000064-03")
                         .Data(0500, {HALT, 0321})
                         .Repeat(0177757, 01000, 052525)
                         .Start(0500)
                         .Nul(5)
                         .EvenParity("*U*U*U*U091-000064-03\r\n")
                         .Nul(50);
  std::ofstream(Dir / "dg.ab", std::ios::binary) << tape.Str();
  ASSERT_TRUE(P.OpenPtrFile(std::string(CORVANE_BINARY_DIR) + "/samples/binloader.bin"));
  ASSERT_TRUE(P.QueueInput(pdPtr, Dir / "dg.ab"));
  M.Switches = 012;
  M.InstructionLimit = 5'000'000;
  ASSERT_EQ(M.ProgramLoad(), srHalt);
  EXPECT_EQ(M.PC, 0500);
  EXPECT_EQ(At(0501), 0321);
  for (int a = 01000; a < 01020; ++a) EXPECT_EQ(At(a), 052525) << std::oct << a;
  EXPECT_EQ(P.PtrFile->FName, Dir / "dg.ab");
}

}  // namespace
