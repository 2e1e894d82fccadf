// What an assembled program becomes: the listing, the symbol file, the absolute binary tape
// read back by the checker, the program-load tape loaded by the front panel's bootstrap, the
// memory image.
#include <gtest/gtest.h>

#include "AsmOutput.h"
#include "AsmTestSupport.h"
#include "CheckerTestUtils.h"
#include "Peripherals.h"

namespace {

TEST(AssemblerListing, DgLayout) {
  const TAsmProgram p = Asm(
      "; echo one key\n"
      "        .LOC 100\n"
      "START:\n"
      "        SKPDN TTI\n"
      "        JMP .-1\n"
      "        DIAS 0,TTI\n"
      "MSG:    .TXT /OK/\n"
      "N = 5\n"
      "        LDA 0,NONE\n"
      "        .END START\n");
  EXPECT_EQ(ListingText(p),
            "                ; echo one key\n"
            "        000100          .LOC 100\n"
            "                START:\n"
            "  00100 063610          SKPDN TTI\n"
            "  00101 000100          JMP .-1\n"
            "  00102 060510          DIAS 0,TTI\n"
            "  00103 045517  MSG:    .TXT /OK/\n"
            "  00104 000000\n"
            "        000005  N = 5\n"
            "U 00105                 LDA 0,NONE\n"
            "*** U: undefined symbol NONE\n"
            "        000100          .END START\n"
            "\n"
            "MSG 000103\n"
            "N 000005\n"
            "START 000100\n");
}

TEST(AssemblerListing, SymbolFileIsSortedByName) {
  const TAsmProgram p = Asm(".LOC 200\nzeta: 0\nAlpha: 0\nMID = 7\n.DUSR USR = 177777\n");
  EXPECT_EQ(SymbolFileText(p.Symbols), "Alpha 000201\nMID 000007\nUSR 177777\nzeta 000200\n");
  // Labels name addresses before values do.
  EXPECT_EQ(Asm("A = 200\n.LOC 200\nB: 0").Symbols.NameOf(0200)->Name, "B");
}

TEST(AssemblerTape, CheckerReadsBlocksRepeatBlocksAndTheStartBlock) {
  // 18 words at 1000 (a data block of 16, then 2), 17 equal words (a repeat block), 16 equal
  // words (a data block: a run shorter than 17), one word elsewhere, the start block.
  std::string source = ".LOC 1000\n";
  for (int i = 0; i < 18; ++i) source += std::to_string(i) + ".\n";
  for (int i = 0; i < 17; ++i) source += "7\n";
  for (int i = 0; i < 16; ++i) source += "6\n";
  source += ".LOC 2000\nHALT\n.END 1000\n";
  const TAsmProgram p = Asm(source);
  ASSERT_TRUE(p.Ok()) << ErrorLines(p);
  const std::vector<std::uint8_t> bytes = AbsoluteTape(p);

  TTempDir dir;
  WriteFile(dir / "p.ab", std::string(bytes.begin(), bytes.end()));
  const std::vector<std::string> lines = CheckOne(dir.Path(), "p.ab", cmBinary, true);
  ASSERT_EQ(lines.size(), 18u + 17u + 16u + 1u + 1u + 1u);
  EXPECT_EQ(lines[0], " 001000 000000 JMP     000");
  EXPECT_EQ(lines[17], " 001021 000021 JMP     021");
  EXPECT_EQ(lines[18], " 001022 000007");  // repeat block lines: address and value
  EXPECT_EQ(lines[34], " 001042 000007");  // the 17th copy
  EXPECT_EQ(lines[35], " 001043 000006 JMP     006");
  EXPECT_EQ(lines[51], " 002000 063077 HALT");
  EXPECT_EQ(lines[52], " Start at 001000");
  EXPECT_EQ(lines.back(), "  Checked: 6 blocks: OK");

  // Leader and trailer of NUL frames, and the block words themselves
  TTape expected;
  expected.Nul(64).Data(01000, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}).Data(01020, {16, 17});
  expected.Repeat(0200000 - 18, 01022, 7).Data(01043, std::vector<std::uint16_t>(16, 6)).Data(02000, {063077});
  expected.Start(01000).Nul(64);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected.Str());
}

TEST(AssemblerTape, WithoutAStartTheStartBlockHalts) {
  const std::vector<std::uint8_t> bytes = AbsoluteTape(Asm("1"));
  EXPECT_EQ(std::string(bytes.end() - 64 - 6, bytes.end() - 64), TTape().Start(0100000).Str());
}

class AssemblerBootstrap : public ::testing::Test {
protected:
  struct THost : TPeripheralHost {
    std::string Tty;
    void TeletypeOut(std::uint8_t b) override { Tty += char(b); }
  };
  // Program load from the paper-tape reader, as the front panel does it.
  TStopReason ProgramLoad(const std::vector<std::uint8_t>& tape) {
    WriteFile(Dir / "p.bin", std::string(tape.begin(), tape.end()));
    EXPECT_TRUE(P.OpenPtrFile(Dir / "p.bin"));
    M.Switches = 012;
    M.InstructionLimit = 1'000'000;
    return M.ProgramLoad();
  }
  TTempDir Dir;
  TNovaMachine M;
  THost Host;
  TPeripherals P{M, &Host};
};

TEST_F(AssemblerBootstrap, TheFrontPanelLoadsAndStartsIt) {
  const TAsmProgram p = Asm(
      "        .LOC 101\n"
      "MSG:    .TXT /HI/\n"
      "START:  LDA 0,MSG\n"
      "        DOAS 0,TTO\n"
      "        SKPDN TTO\n"
      "        JMP .-1\n"
      "        MOVS 0,0\n"
      "        DOAS 0,TTO\n"
      "        SKPDN TTO\n"
      "        JMP .-1\n"
      "        HALT\n"
      "        .END START\n");
  std::vector<std::uint8_t> tape;
  std::string error;
  ASSERT_TRUE(BootstrapTape(p, tape, error)) << error;
  // leader, marker, count (the count word, 11 words, the jump), the words high byte first
  ASSERT_EQ(tape.size(), 16u + 1 + 2 * 13 + 16);
  EXPECT_EQ(tape[16], 0377);
  EXPECT_EQ(tape[17] << 8 | tape[18], 0200000 - 13);
  EXPECT_EQ(tape[19] << 8 | tape[20], 044510);  // "HI"
  EXPECT_EQ(ProgramLoad(tape), srHalt);
  EXPECT_EQ(Host.Tty, "HI");
  EXPECT_EQ(M.Memory[0114].Data, 0103);  // the jump to START, loaded last
}

TEST_F(AssemblerBootstrap, TheLargestProgramFillsPageZeroUpTo376) {
  std::string source = ".LOC 101\nSTART: HALT\n";
  for (unsigned a = 0102; a <= 0376; ++a) source += std::to_string(a) + ".\n";
  const TAsmProgram p = Asm(source + ".END START\n");
  std::vector<std::uint8_t> tape;
  std::string error;
  ASSERT_TRUE(BootstrapTape(p, tape, error)) << error;
  EXPECT_EQ(ProgramLoad(tape), srHalt);
  EXPECT_EQ(M.PC, 0101);
  EXPECT_EQ(M.Memory[0376].Data, 0376);
  EXPECT_EQ(M.Memory[0377].Data, 0101);

  const TAsmProgram big = Asm(source + "377\n.END START\n");
  EXPECT_FALSE(BootstrapTape(big, tape, error));
  EXPECT_EQ(error, "a program-load tape loads words at 101 to 376 only, and the program has one at 000377");
}

TEST(AssemblerBootstrapRefusals, EachSaysWhy) {
  struct TCase {
    const char* Source;
    const char* Error;
  };
  const TCase cases[] = {
      {".END", "the program has no words to put on a program-load tape"},
      {".LOC 100\n1\n.END 100", "a program-load tape loads words at 101 to 376 only, and the program has one at 000100"},
      {".LOC 101\n1", "a program-load tape needs a start address: end the program with .END and its start"},
      {".LOC 101\n1\n.END 200", "the start address 000200 lies outside the program (000101 to 000101)"},
  };
  for (const TCase& c : cases) {
    std::vector<std::uint8_t> tape;
    std::string error;
    EXPECT_FALSE(BootstrapTape(Asm(c.Source), tape, error));
    EXPECT_EQ(error, c.Error);
  }
}

TEST(AssemblerDump, WordsAtTheirAddressesFromZero) {
  const std::vector<std::uint8_t> image = DumpImage(Asm(".LOC 2\n0401\n.LOC 0\n7"));
  EXPECT_EQ(image, (std::vector<std::uint8_t>{7, 0, 0, 0, 1, 1}));
}

}  // namespace
