// Bad input: every error names its line and says what is wrong; nothing is assembled wrongly
// quietly, and a bad line leaves the addresses of the lines after it as they were.
#include <algorithm>

#include "AsmOutput.h"
#include "AsmTestSupport.h"
#include "TestTempDir.h"

namespace {

struct TErrorCase {
  const char* Source;  // the error is on line 2, after ".LOC 1000"
  char Flag;
  const char* Message;
};

TEST(AssemblerErrors, EachErrorNamesItsLineAndWhatIsWrong) {
  const TErrorCase cases[] = {
      {"LDA 0,FOO", 'U', "undefined symbol FOO"},
      {"LDB 0,5", 'U', "unknown instruction LDB"},
      {"ADDQ 0,1", 'U', "unknown instruction ADDQ"},
      {"A: 1\nA: 2", 'M', "A is defined twice with different values (001000 and 001001)"},
      {"X = 1\nX = 2", 'M', "X is defined twice with different values (000001 and 000002)"},
      {"TTI = 11", 'M', "TTI is a permanent symbol and cannot be given another meaning (.XPNG at the start of the "
                        "source forgets the permanent symbols)"},
      {"ADDZ: 1", 'M', "ADDZ reads as the instruction ADD with suffixes; choose another name"},
      {".LOC: 1", 'M', ".LOC is a pseudo-op and cannot be defined"},
      {"JMP 400", 'A', "address 000400 is out of reach from 001000: neither in page zero (0 to 377) nor within -200 "
                       "to +177 of the instruction"},
      {"LDA 4,5", 'O', "accumulator 4 is out of range (0 to 3)"},
      {"ADD 0,1,10", 'O', "skip 10 is out of range (0 to 7)"},
      {"DOA 0,100", 'O', "device code 100 is out of range (0 to 77)"},
      {"JMP 5,4", 'O', "index 4 is out of range (0 to 3)"},
      {"JMP 400,0", 'O', "page-zero displacement 400 is out of range (0 to 377)"},
      {"JMP -201,2", 'O', "displacement -201 is out of range (-200 to +177)"},
      {".TXT /<400>/", 'O', "character code 400 is out of range (0 to 377)"},
      {".END 100000", 'O', "start address 100000 is out of range (0 to 77777)"},
      {".RDX 16", 'O', "radix 16 is out of range (2 to 10)"},
      {"1/0", 'O', "division by zero"},
      {".FOO 5", 'P', "unknown pseudo-op .FOO"},
      {".ZREL", 'P', ".ZREL is for relocatable programs; this assembler makes absolute programs only"},
      {".TXTF /A/", 'P', ".TXTF is not supported"},
      {"LDA 0,3+", 'S', "a value is missing"},
      {"LDA 0,(5)", 'S', "(5) is not a valid expression"},
      {"LDA 0,,5", 'S', "a field is missing after a comma"},
      {"JMP 5,", 'S', "a field is missing after a comma"},
      {"LDA 0", 'S', "LDA takes an accumulator and an address, and may take an index"},
      {"ADD 0,1,2,3", 'S', "ADD takes two accumulators and may take a skip"},
      {"NIO 0,TTI", 'S', "NIO takes a device code"},
      {"HALT 5", 'S', "HALT is a value, not an instruction: nothing may follow it"},
      {"MOV@ 0,1", 'S', "@ (indirect) belongs only to memory-reference instructions, not to MOV"},
      {"JMP# 5", 'S', "# (no load) belongs only to arithmetic and logic instructions, not to JMP"},
      {"5 6", 'S', "unexpected text: 6"},
      {"19", 'N', "19 is not a number in radix 8 (a decimal number ends with a point: 19.)"},
      {"1A", 'N', "1A is not a valid number"},
      {"200000", 'N', "200000 is too large for a word (at most 177777, or 65535.)"},
      {"1B16", 'N', "1B16: the bit number after B must be 0 to 15"},
      {".TXT /abc", 'T', "the text of .TXT is not terminated: / is missing at the end of the line"},
      {".TXT /a<15/", 'T', "a character code <n> in the text is not closed with >"},
      {".TXT /\xc3\xa4/", 'T', "the text holds a byte that is not 7-bit ASCII (\\xC3); write its code as <n>"},
      {".LOC A\nA = 5", 'F', "the value after .LOC must be known where it stands: it uses a symbol defined further on"},
      {".LOC 100000", 'L', ".LOC 100000 lies beyond the end of memory (77777)"},
      {".LOC 77777\n1\n2", 'L', "the program runs past the end of memory (77777) at 100000"},
  };
  for (const TErrorCase& c : cases) {
    SCOPED_TRACE(c.Source);
    const TAsmProgram p = Asm(std::string(".LOC 1000\n") + c.Source);
    ASSERT_EQ(p.Errors.size(), 1u) << ErrorLines(p);
    const TAsmError& e = p.Errors[0];
    EXPECT_EQ(e.Flag, c.Flag);
    EXPECT_EQ(e.Message, c.Message);
    EXPECT_EQ(p.ErrorText(e), "t.sr:" + std::to_string(e.Line) + ": " + c.Message);
    const std::string source = c.Source;
    EXPECT_EQ(e.Line, c.Flag == 'F' ? 2 : 2 + int(std::count(source.begin(), source.end(), '\n')));
  }
}

TEST(AssemblerErrors, ABadLineKeepsTheAddressesOfTheLinesAfterIt) {
  // The bad word and the bad text still take their room, so L stays where the program says.
  const TAsmProgram p = Asm(".LOC 100\nLDA 0,NOWHERE\n.TXT /<999>/\nL: JMP L\n");
  EXPECT_EQ(ErrorLines(p), "2 U undefined symbol NOWHERE\n3 N 999 is not a number in radix 8 (a decimal number ends "
                           "with a point: 19.)\n");
  ASSERT_NE(p.Symbols.Find("L"), nullptr);
  EXPECT_EQ(p.Symbols.Find("L")->Value, 0102);
}

TEST(AssemblerErrors, MissingAndUnreadableFiles) {
  TTempDir dir;
  TAsmSource source;
  std::string error;
  EXPECT_FALSE(ReadAsmSource(dir / "none.sr", source, error));
  EXPECT_EQ(error, dir / "none.sr" + ": file not found");
  EXPECT_FALSE(ReadAsmSource(dir.Path(), source, error));
  EXPECT_EQ(error, dir.Path() + ": is a folder, not a source file");
}

TEST(AssemblerErrors, NothingCrashesOnHostileLines) {
  // Long names, lone quotes and brackets, control bytes, huge numbers
  const std::string lines[] = {
      "JMP " + std::string(5000, 'A'),
      "\"", ".TXT", ".TXT <", ".TXT /<", ".TXT /<>/", "<", "@", "#", ",", ":", "=", "A =", ".DUSR", ".DUSR X",
      ".DMR = 5", "\x01\x02", "ADD# 0,1,", "1B", "1B99999999999999999999", ".RDX 99999999999999999999",
      "9999999999999999999999.", "LDA 0,@", "JMP @", ".END @5",
  };
  for (const std::string& line : lines) {
    SCOPED_TRACE(line.substr(0, 40));
    const TAsmProgram p = Asm(line);
    EXPECT_FALSE(p.Ok());
    EXPECT_FALSE(ListingText(p).empty());
  }
  // Deep signs and indirections are values; long names are fine (only 5 characters count).
  const TAsmProgram p = Asm(std::string(100001, '-') + "1\n" + std::string(100000, '@') + "1\n" +std::string(5000, 'A') + ": " + std::string(5000, 'B') + " = 1\nAAAAAX\nBBBBBX");
  EXPECT_EQ(ErrorLines(p), "");
  EXPECT_EQ(Octal(p), Octal({0177777, 0100001, 2, 1}));
}

}  // namespace
