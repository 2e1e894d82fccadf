// The sample programs' assembler: labels, expressions, directives, errors, and the layout of a
// self-loading tape.
#include <gtest/gtest.h>

#include "TapeAssembler.h"

namespace {

std::vector<std::uint16_t> Values(const TAsmProgram& p) {
  std::vector<std::uint16_t> v;
  for (const TAsmWord& w : p.Words) v.push_back(w.Value);
  return v;
}

TAsmProgram Assemble(const std::string& source) {
  TAsmProgram program;
  std::string error;
  EXPECT_TRUE(AssembleSource(source, program, error)) << error;
  return program;
}

TEST(TapeAssemblerTest, LabelsExpressionsAndData) {
  const TAsmProgram p = Assemble(
      "; comment line\n"
      "START:  LDA 0,MSGP      ; forward label, page zero\n"
      "        JMP @VEC\n"
      "        STA 1,CNT+1\n"
      "        LDA 2,-5,3      ; index mode stays as written\n"
      "        JMP .-1\n"
      "        SKPDN TTI\n"
      "        MOVL# 0,0,SZC\n"
      "VEC:    .word START, MSG-1, -3, 'A'+1\n"
      "MSGP:   .word MSG\n"
      "MSG:    .text \"A;\\r\\n\\\"\"\n"
      "CNT:    .word 0\n"
      "        .start START\n");
  // VEC is at 110, MSGP at 114, MSG at 115, CNT at 122.
  const std::vector<std::uint16_t> expected = {
      020114,                     // 101 LDA 0,114
      002110,                     // 102 JMP @110
      044123,                     // 103 STA 1,123
      031773,                     // 104 LDA 2,-5,3
      000777,                     // 105 JMP .-1
      063610,                     // 106 SKPDN TTI
      0101112,                    // 107 MOVL# 0,0,SZC
      0101, 0114, 0177775, 0102,  // 110..113
      0115,                       // 114
      'A', ';', '\r', '\n', '"',  // 115..121
      0,                          // 122
      000101,                     // 123 JMP 101
  };
  EXPECT_EQ(Values(p), expected);
  EXPECT_TRUE(p.HasStart);
  EXPECT_EQ(p.Words.front().Address, 0101);
  EXPECT_EQ(p.Words.back().Address, 0123);
}

TEST(TapeAssemblerTest, PhasedCodeRunsElsewhereButLoadsInLine) {
  const TAsmProgram p = Assemble(
      "        JMP @ENTRY\n"
      "ENTRY:  .word HIGH\n"
      "        .phase 77600\n"
      "HIGH:   JMP LOOP\n"     // relative: run address 77600, target 77601
      "LOOP:   JMP HIGH\n"
      "        .dephase\n"
      "AFTER:  .word AFTER\n"
      "        .org 200\n"
      "        .word 7\n");
  ASSERT_EQ(p.Words.size(), 6u);
  EXPECT_EQ(p.Words[1].Value, 077600);
  EXPECT_EQ(p.Words[2].Address, 0103);
  EXPECT_EQ(p.Words[2].Value, 000401);  // JMP .+1
  EXPECT_EQ(p.Words[3].Value, 000777);  // JMP .-1
  EXPECT_EQ(p.Words[4].Value, 0105);    // load and run address agree again
  EXPECT_EQ(p.Words[5].Address, 0200);
  EXPECT_FALSE(p.HasStart);
  const std::vector<std::uint16_t> image = DumpImage(p);
  ASSERT_EQ(image.size(), 0201u);
  EXPECT_EQ(image[0101], 002102);
  EXPECT_EQ(image[0150], 0);
  EXPECT_EQ(image[0200], 7);
}

TEST(TapeAssemblerTest, ErrorsNameTheLine) {
  const struct {
    const char* Source;
    const char* Error;
  } cases[] = {
      {"JMP NOWHERE\n", "line 1: unknown label NOWHERE"},
      {"\n  XYZ 5\n", "line 2: cannot assemble \"XYZ 5\""},
      {"  AB\n", "line 1: \"AB\" is not an instruction"},
      {"A: HALT\nA: HALT\n", "line 2: label A defined twice"},
      {"TTI: HALT\n", "line 1: TTI is a device or skip name, not a label"},
      {"  JMP FAR\n  .org 1000\nFAR: HALT\n", "line 1: cannot assemble \"JMP FAR\" (as \"JMP 1000\")"},
      {"  .text HELLO\n", "line 1: .text needs a quoted text"},
      {"  .text \"\\q\"\n", "line 1: unknown escape \\q"},
      {"  .byte 1\n", "line 1: unknown directive .byte"},
      {"  .word 8\n", "line 1: 8 is not octal"},
      {"  .word 1+\n", "line 1: bad expression 1+"},
      {"  .org 77777\n  .word 1, 2\n", "line 2: the program runs past address 77777"},
      {"  .org 100000\n", "line 1: .org address above 77777"},
  };
  for (const auto& c : cases) {
    TAsmProgram p;
    std::string error;
    EXPECT_FALSE(AssembleSource(c.Source, p, error)) << c.Source;
    EXPECT_EQ(error, c.Error) << c.Source;
    EXPECT_TRUE(p.Words.empty());
  }
}

TEST(TapeAssemblerTest, SelfLoadingTapeLayout) {
  const TAsmProgram p = Assemble("START: HALT\n .word 0123456\n .start START\n");
  std::vector<std::uint8_t> tape;
  std::string error;
  ASSERT_TRUE(SelfLoadingTape(p, tape, error)) << error;
  std::vector<std::uint8_t> expected(16, 0);
  const std::uint8_t body[] = {0377,           // marker
                               0377, 0374,     // count -4: itself and three words, high byte first
                               0146, 0077,     // 063077 HALT
                               0247, 0056,     // 123456
                               0000, 0101};    // JMP 101
  expected.insert(expected.end(), std::begin(body), std::end(body));
  expected.insert(expected.end(), 16, 0);
  EXPECT_EQ(tape, expected);
}

TEST(TapeAssemblerTest, SelfLoadingTapeRefusals) {
  std::string error;
  std::vector<std::uint8_t> tape;
  EXPECT_FALSE(SelfLoadingTape(Assemble("HALT\n"), tape, error));
  EXPECT_EQ(error, "a self-loading tape ends with .start");
  EXPECT_FALSE(SelfLoadingTape(Assemble("S: HALT\n .start S\n HALT\n"), tape, error));
  EXPECT_EQ(error, "a self-loading tape ends with .start");
  EXPECT_FALSE(SelfLoadingTape(Assemble(" .org 200\nS: HALT\n .start S\n"), tape, error));
  EXPECT_EQ(error, "line 2: a self-loading tape loads its words one after another from 101");

  std::string big = "S: HALT\n";
  for (int i = 0; i < 0176; ++i) big += " .word 0\n";
  big += " .start S\n";  // 128 words: one too many
  EXPECT_FALSE(SelfLoadingTape(Assemble(big), tape, error));
  EXPECT_EQ(error, "128 words: a self-loading tape holds at most 127 (101 to 377)");
  EXPECT_TRUE(tape.empty());
}

}  // namespace
