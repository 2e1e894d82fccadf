// Assembler: accepted and refused lines, and disassembly read back over every word.
#include "NovaUtils.h"
#include "NovaWord.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

struct TAsmCase {
  const char* Text;
  int Word;  // -1: the line is refused
};

constexpr int Fails = -1;

void ExpectAssembles(const TAsmCase* begin, const TAsmCase* end, std::uint16_t address) {
  for (const TAsmCase* c = begin; c != end; ++c) {
    SCOPED_TRACE(testing::Message() << '"' << c->Text << '"');
    std::uint16_t word = 0;
    const bool ok = StrToCommand(c->Text, address, word);
    EXPECT_EQ(ok, c->Word != Fails);
    if (ok && c->Word != Fails) {
      EXPECT_EQ(word, c->Word) << std::oct << word;
    }
  }
}

TEST(Assembler, ExamplesAtAddress1000) {
  const TAsmCase cases[] = {
      {"JMP 5", 0000005},
      {"jmp @.+3", 0002403},
      {"JSR .", 0004400},
      {"JMP 1177", 0000577},
      {"JMP 600", 0000600},
      {"JMP 577", Fails},
      {"JMP 1200", Fails},
      {"JMP @5,2", 0003005},
      {"LDA 0,5,3", 0021405},
      {"LDA 0,-5,2", 0021373},
      {"LDA 0,@.-3", 0022775},
      {"STA 1,.-1", 0044777},
      {"ADDZL# 1,2,SZC", 0133132},
      {"addzl# 1,2, szc", 0133130},
      {"ADD 1,2 ; comment", 0133000},
      {"ADDL1,2", Fails},
      {"ADDLZ 1,2", Fails},
      {"DIAS 0,TTI", 0060510},
      {"DIA 0,12", 0060412},
      {"dicc 0,cpu", 0062677},
      {"NIOS TTI", 0060110},
      {"SKPBN TTI", 0063410},
      {"SKP TTI", Fails},
      {"DOAP 3,LPT", 0075317},
      {"READS 1", 0064477},
      {"READS", Fails},
      {"HALT", 0063077},
      {"MUL 5", 0073301},
      {"JMP .+200", Fails},
      {"JMP .-200", 0000600},
      {"JMP 1,1", Fails},
      {"", 0},
      {"AB", 0},
  };
  ExpectAssembles(std::begin(cases), std::end(cases), 01000);
}

TEST(Assembler, SpacingCaseCommentsAndSuffixes) {
  const TAsmCase cases[] = {
      {";x", 0},
      {"  ; only a comment", 0},
      {"COM\t0,0", 0100000},
      {"\t ADD 0,1 \t", 0107000},
      {"LDA0,5", 0020005},
      {"lda 2 , 5", 0030005},  // anything between the digit and the comma is ignored
      {"JMP 200000", 0000000},  // reduced to 16 bits before the page-zero test
      {"JMP %17", 0000017},
      {"JMP @ 17", 0002017},
      {"JMP .", 0000400},
      {"JMP .5", 0000405},
      {"JMP .+177", 0000577},
      {"JMP -200,3", 0001600},
      {"JMP +5,2", 0001005},
      {"JMP @", Fails},
      {"JMP 5,", Fails},
      {"JMP ,2", Fails},
      {"JMP -,2", Fails},
      {"JMP 5,0", Fails},
      {"JMP 5,x", Fails},
      {"JMP .-201", Fails},
      {"JMP 8", Fails},
      {"JMP", Fails},
      {"JMP .+1 (001001)", Fails},  // a target annotation is not read back
      {"LDA 4,5", Fails},
      {"LDA ,5", Fails},
      {"ADD#1,2", 0133010},
      {"ADDC 1,2,SKP", 0133061},
      {"addos# 1,2,sbn", 0133357},
      {"ADDZ1,2", Fails},
      {"ADDZ", Fails},
      {"ADDZ#", Fails},
      {"ADDL#", Fails},
      {"ADD 1", Fails},
      {"ADD", Fails},
      {"ADDX 1,2", Fails},
      {"ADD 1,2,SZX", 0133000},  // other trailing text is ignored
      {"INTA x", Fails},
      {"READS 3,", 0074477},
      {"msko 2", 0072077},
      {"inten", 0060177},
      {"skpdz cpu", 0063777},
      {"NIO 0,TTI", Fails},
      {"NIO TTI", 0060010},
      {"NIOS", Fails},
      {"NIOX TTI", Fails},
      {"DOA 0,", Fails},
      {"DOA 0,TTI junk", Fails},
      {"SKPBX TTI", Fails},
      {"SKPB", Fails},
  };
  ExpectAssembles(std::begin(cases), std::end(cases), 01000);
}

// Text that matches no table is refused, and device codes stay within 0..77.
TEST(Assembler, UnknownMnemonicsAndDeviceRange) {
  const TAsmCase cases[] = {
      {"XYZ 5", Fails},
      {"HLT", Fails},
      {"INTENX", Fails},
      {"NIO 77", 0060077},
      {"NIO 100", Fails},
      {"DOA 0,-1", Fails},
      {"DOA 0,%17", 0061017},
  };
  ExpectAssembles(std::begin(cases), std::end(cases), 01000);
}

TEST(Assembler, RelativeWindowAroundTheAddress) {
  std::uint16_t word;
  ASSERT_TRUE(StrToCommand("JMP 400", 0600, word));  // -200 from 600
  EXPECT_EQ(word, 0000600);
  ASSERT_TRUE(StrToCommand("JMP 777", 0600, word));  // +177
  EXPECT_EQ(word, 0000577);
  EXPECT_FALSE(StrToCommand("JMP 1000", 0600, word));
  ASSERT_TRUE(StrToCommand("STA 3,77777", 077777, word));
  EXPECT_EQ(word, 0054400);
}

// A word's NIO or SKP text does not show the accumulator field; it reads back as 0.
std::uint16_t Reassembled(std::uint16_t w) {
  const int transfer = nova::TransferOf(w);
  if (nova::IsIoClass(w) && (transfer == 0 || transfer == 7)) return std::uint16_t(w & ~014000);
  return w;
}

TEST(Assembler, ReadsBackEveryDisassembledWord) {
  for (int w = 0; w < 0x10000; ++w) {
    const std::uint16_t expected = Reassembled(std::uint16_t(w));
    for (bool columns : {false, true}) {
      const std::string text = CommandToStr(-1, std::uint16_t(w), nmOctal, columns);
      std::uint16_t word = 0;
      ASSERT_TRUE(StrToCommand(text, 01000, word)) << text;
      ASSERT_EQ(word, expected) << text;
    }
    // The same text in lower case, with the address the word would be listed at.
    std::string lower = CommandToStr(-1, std::uint16_t(w), nmOctal, false);
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    std::uint16_t word = 0;
    ASSERT_TRUE(StrToCommand(lower, 070000, word)) << lower;
    ASSERT_EQ(word, expected) << lower;
  }
}

}  // namespace
