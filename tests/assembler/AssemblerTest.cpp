// The language: every instruction class and pseudo-op, the addressing rule at its edges,
// expressions, names, instruction definitions after .XPNG, forward references.
#include "AsmTestSupport.h"

namespace {

struct TWordCase {
  const char* Source;  // assembled after ".LOC 1000"
  std::vector<std::uint16_t> Words;
};

TEST(Assembler, WordsOfEveryInstructionClassAndPseudoOp) {
  const TWordCase cases[] = {
      // arithmetic and logic: carry, shift, no-load, skip
      {"COM 0,0", {0100000}},
      {"NEGZ 1,2", {0130420}},
      {"ADDCS 0,1,SNC", {0107363}},
      {"MOVZR# 1,1,SZC", {0125232}},
      {"SUBZL 0,0", {0102520}},
      {"MOVL# 1,1,SZC", {0125112}},
      {"ADD 0 1", {0107000}},          // blanks separate fields as commas do
      {"AND 3, 3 ,SBN", {0177407}},
      {"incO 2,2,skp", {0151441}},     // lower case is the same
      {"ADC# 1,2,7", {0132017}},       // the skip as a number
      // memory reference, page zero, relative, indexed, indirect
      {"JMP 5", {0000005}},
      {"JMP @20", {0002020}},
      {"JMP 0,3", {0001400}},
      {"JSR @.+5", {0006405}},
      {"JMP 1177", {0000577}},
      {"JMP 600", {0000600}},
      {"ISZ -1,2", {0011377}},
      {"DSZ 177,3", {0015577}},
      {"JMP 5,1", {0000405}},
      {"LDA 0,5,3", {0021405}},
      {"LDA 0 -5,2", {0021373}},       // "0 -5": the minus signs the next field
      {"STA 1,.-1", {0044777}},
      {"LDA 3,@20", {0036020}},
      {"LDA 2, @.+1", {0032401}},
      // I/O with pulses, skips, device names and numbers
      {"NIO TTI", {0060010}},
      {"NIOS TTI", {0060110}},
      {"NIOC PTR", {0060212}},
      {"DIAS 0,PTR", {0060512}},
      {"DOAP 3,LPT", {0075317}},
      {"DICC 0,CPU", {0062677}},
      {"SKPDN TTO", {0063611}},
      {"SKPBZ 12", {0063512}},
      {"DOB 1,RTC", {0066014}},
      // accumulator only, and the words known whole
      {"READS 2", {0070477}},
      {"INTA 1", {0065477}},
      {"MSKO 0", {0062077}},
      {"HALT", {0063077}},
      {"INTEN", {0060177}},
      {"INTDS", {0060277}},
      {"IORST", {0062677}},
      {"MUL", {0073301}},
      {"DIV", {0073101}},
      // data words and expressions
      {"5", {0000005}},
      {"255.", {0000377}},
      {"-1", {0177777}},
      {"-80.", {0177660}},
      {"1B0", {0100000}},
      {"1B15", {0000001}},
      {"10B6", {0010000}},
      {"@1", {0100001}},
      {"\"A", {0000101}},
      {"\";", {0000073}},              // a character constant is not a comment
      {".", {0001000}},
      {".+3", {0001003}},
      {"1+2*3", {0000011}},            // left to right: (1+2)*3
      {"7!10&14", {0000014}},
      {"20/3-1", {0000004}},
      {"2 + 3 * 4", {0000024}},        // blanks around operators
      {"TTO", {0000011}},
      {"SZC", {0000002}},
      // texts: right byte first, a zero byte (or word) after
      {".TXT /AB/", {0041101, 0}},
      {".TXT \"ABC\"", {0041101, 0000103}},
      {".TXT /<15><12>/", {0005015, 0}},
      {".TXT ;ab; ; comment", {0061141, 0}},  // any delimiter, also ";"
      {".TXTM 1\n.TXT /AB/", {0040502, 0}},
      {".TXTE /AC/", {0141501, 0}},    // even parity: C has three ones
      {".TXTO /A/", {0000301}},
      {".TXT //", {0}},
      // radix
      {".RDX 10\n10", {0000012}},
      {".RDX 2\n101\n7.", {0000005, 0000007}},
      // equates and definitions; the value may be an instruction
      {"X = 5\nX", {0000005}},
      {"X = LDA 0,20\nX", {0020020}},
      {".DUSR FOO = DOC 0,CPU\nFOO", {0063077}},
      {".DIAC PSHA = 061401\nPSHA 2", {0071401}},
      {".DMR JUMP = 0\nJUMP @5,2", {0003005}},
      {".DALC ADDX = 103000\nADDXZL# 0,1", {0107130}},
      {".DIOA DOX = 061000\nDOXS 1,TTO", {0065111}},
      {".DIO NIX = 060000\nNIXP 20", {0060320}},
      // labels
      {"A: B: A\nB", {0001000, 0001000}},
      {"L:\n JMP L", {0000400}},
      {"JMP .+1\nHALT", {0000401, 0063077}},
      {".BLK 3\n.", {0001003}},
      {"X: .BLK 2\nX", {0001000}},
      {".ENT A\n.TITLE PROG\n1", {0000001}},
  };
  for (const TWordCase& c : cases) {
    SCOPED_TRACE(c.Source);
    const TAsmProgram p = Asm(std::string(".LOC 1000\n") + c.Source);
    EXPECT_EQ(ErrorLines(p), "");
    EXPECT_EQ(Octal(p), Octal(c.Words));
  }
}

TEST(Assembler, AddressingRuleAtPageZeroAndRelativeEdges) {
  struct TCase {
    unsigned At;
    const char* Operand;
    int Word;  // -1: out of reach or out of range
  };
  const TCase cases[] = {
      {01000, "377", 0000377},   {01000, "0", 0000000},    {01000, "400", -1},
      {01000, "1177", 0000577},  {01000, "1200", -1},      {01000, "600", 0000600},
      {01000, "577", -1},        {00200, "377", 0000377},  {00200, "400", -1},
      {00300, "400", 0000500},   {00377, "576", 0000577},  {00377, "577", -1},
      {077700, "0", 0000000},    {077700, "77777", 0000477},
      // an index takes the expression as the displacement
      {01000, "377,0", 0000377}, {01000, "400,0", -1},     {01000, "177,1", 0000577},
      {01000, "200,1", -1},      {01000, "-200,2", 0001200}, {01000, "-201,3", -1},
      {01000, "1000,2", -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "JMP " << c.Operand << " at " << std::oct << c.At);
    const TAsmProgram p = Asm(".LOC " + std::to_string(c.At) + ".\nJMP " + c.Operand);
    if (c.Word < 0) {
      ASSERT_EQ(p.Errors.size(), 1u);
      EXPECT_EQ(p.Errors[0].Line, 2);
      EXPECT_TRUE(p.Errors[0].Flag == 'A' || p.Errors[0].Flag == 'O') << p.Errors[0].Flag;
    } else {
      EXPECT_EQ(ErrorLines(p), "");
      EXPECT_EQ(Octal(p), Octal({std::uint16_t(c.Word)}));
    }
  }
}

TEST(Assembler, OnlyTheFirstFiveCharactersOfANameCount) {
  // ABCDEF and ABCDEG are one symbol; .TITLE is .TITL
  const TAsmProgram p = Asm(".TITLE LONGTITLE\n.LOC 100\nABCDEF: ABCDEG\nabcdex");
  EXPECT_EQ(ErrorLines(p), "");
  EXPECT_EQ(Octal(p), Octal({0100, 0100}));
  EXPECT_EQ(p.Title, "LONGTITLE");
  ASSERT_EQ(p.Symbols.Size(), 1u);
  EXPECT_EQ(p.Symbols.Symbols()[0].Name, "ABCDEF");  // as first written

  const TAsmProgram two = Asm("COUNTER1: 1\nCOUNTER2: 2");
  EXPECT_EQ(ErrorLines(two), "2 M COUNTER2 is defined twice with different values (000000 and 000001); COUNTER1 and "
                             "COUNTER2 are one name: only the first 5 characters count\n");
}

TEST(Assembler, XpngLeavesOnlyTheDefinitionsThatFollow) {
  const std::string definitions =
      ".XPNG\n"
      ".DALC ADD=103000\n"
      ".DMR JMP=0\n"
      ".DMRA LDA=20000\n"
      ".DIO NIO=60000\n"
      ".DIO SKPDN=63600\n"
      ".DIOA DOA=61000\n"
      ".DIAC READS=60477\n"
      ".DUSR TTO=11\n"
      ".DUSR CPU=77\n"
      ".DUSR SNC=3\n"
      ".DUSR HALT=DOC 0,CPU\n"  // DOC is not defined: an error
      ".EOT\n";
  std::vector<TAsmSource> sources = {
      {"defs.sr", definitions},
      {"prog.sr",
       "ADDCS 0,1,SNC\nNIOS CPU\nDOAP 1,TTO\nJMP 5\nLDA 2,@5,3\nREADS 1\nSKPDN TTO\nSKPBN TTO\nMOV 0,0\nINTEN\n"},
  };
  const TAsmProgram p = Assemble(std::move(sources));
  EXPECT_EQ(ErrorLines(p),
            "12 U unknown instruction DOC\n"
            "8 U unknown instruction SKPBN\n"
            "9 U unknown instruction MOV\n"
            "10 U undefined symbol INTEN\n");
  EXPECT_EQ(Octal(p), Octal({0107363, 0060177, 0065311, 0000005, 0033405, 0064477, 0063611}));
  EXPECT_EQ(p.Errors[0].Source, 0);
  EXPECT_EQ(p.Errors[1].Source, 1);
  // The user's values are symbols of the program; the instruction definitions are not.
  EXPECT_NE(p.Symbols.Find("TTO"), nullptr);
  EXPECT_EQ(p.Symbols.Find("ADD"), nullptr);

  const TAsmProgram late = Asm("A: 1\n.XPNG");
  EXPECT_EQ(ErrorLines(late), "2 P .XPNG must come first, before any symbol is defined or any word assembled\n");
  // Definitions without .XPNG add to the permanent symbols; the same definition again is fine.
  EXPECT_EQ(ErrorLines(Asm(".DMR JMP=0\n.DUSR TTI=10\nJMP 5")), "");
  EXPECT_EQ(ErrorLines(Asm(".DMR JMP=4000")).substr(0, 5), "1 M J");
}

TEST(Assembler, ForwardReferences) {
  const TAsmProgram p = Asm(
      "      .LOC 100\n"
      "      JMP L\n"
      "      LDA 0,X\n"
      "      LDA 1,PNT\n"
      "L:    HALT\n"
      "PNT:  Y\n"
      "X = 7\n"
      "Y = L+1\n"
      "      .END L\n");
  EXPECT_EQ(ErrorLines(p), "");
  EXPECT_EQ(Octal(p), Octal({0000103, 0020007, 0024104, 0063077, 0000104}));
  EXPECT_EQ(p.Start, 0103);
  // Values that size the program must be known where they stand.
  EXPECT_EQ(ErrorLines(Asm(".LOC A\nA = 100")).substr(0, 4), "1 F ");
  EXPECT_EQ(ErrorLines(Asm(".BLK N\nN = 2\n.BLK N")).substr(0, 4), "1 F ");
  EXPECT_EQ(ErrorLines(Asm("N = 2\n.BLK N")), "");
}

TEST(Assembler, LocationCountersAndEnd) {
  const TAsmProgram p = Asm(".LOC 200\n1\n.LOC 100\n2\n.BLK 4\n3\n.END\nHALT ; not assembled\n");
  EXPECT_EQ(ErrorLines(p), "");
  ASSERT_EQ(p.Words.size(), 3u);
  EXPECT_EQ(p.Words[0].Address, 0200);
  EXPECT_EQ(p.Words[1].Address, 0100);
  EXPECT_EQ(p.Words[2].Address, 0105);
  EXPECT_EQ(p.Start, -1);
  EXPECT_EQ(p.Lines.size(), 7u);  // the line after .END is not listed

  // .EOT ends one file; the next goes on at the same location; after .END no file is read.
  std::vector<TAsmSource> sources = {{"a.sr", ".LOC 50\n1\n.EOT\n2\n"}, {"b.sr", "3\n.END 50\n"}, {"c.sr", "4\n"}};
  const TAsmProgram q = Assemble(std::move(sources));
  EXPECT_EQ(Octal(q), Octal({1, 3}));
  EXPECT_EQ(q.Words[1].Address, 051);
  ASSERT_EQ(q.Errors.size(), 1u);
  EXPECT_EQ(q.ErrorText(q.Errors[0]), "c.sr: c.sr comes after .END and is not assembled");
}

TEST(Assembler, TapeFillAndLineEndsOfRealTapes) {
  // NUL and rubout frames (with parity too) are dropped; CR alone, LF and CR LF end lines.
  const char text[] = "\0\0\x7f" "1\r2\n\xff" "3\r\n4";
  const TAsmProgram p = Asm(std::string(text, sizeof text - 1));
  EXPECT_EQ(ErrorLines(p), "");
  EXPECT_EQ(Octal(p), Octal({1, 2, 3, 4}));
  EXPECT_EQ(p.Lines.size(), 4u);
}

}  // namespace
