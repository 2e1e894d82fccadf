// Disassembler: worked examples in both layouts, operand forms, and the CPU device's words.
#include "NovaSymbols.h"
#include "NovaUtils.h"

#include <gtest/gtest.h>

namespace {

struct TListingCase {
  std::uint16_t Word;
  const char* Columns;  // columns on, address 001000 octal
  const char* Plain;    // columns off, no address
};

// Words with their texts at address 001000, octal targets.
const TListingCase ListingCases[] = {
    {0000000, "JMP     000", "JMP 000"},
    {0002017, "JMP     @017", "JMP @017"},
    {0000401, "JMP     .+1 (001001)", "JMP .+1"},
    {0000777, "JMP     .-1 (000777)", "JMP .-1"},
    {0001377, "JMP     -1,2", "JMP -1,2"},
    {0001603, "JMP     -175,3", "JMP -175,3"},
    {0006405, "JSR     @.+5 (001005)", "JSR @.+5"},
    {0020010, "LDA     0,010", "LDA 0,010"},
    {0034577, "LDA     3,.+177 (001177)", "LDA 3,.+177"},
    {0050777, "STA     2,.-1 (000777)", "STA 2,.-1"},
    {0102520, "SUBZL   0,0", "SUBZL 0,0"},
    {0107000, "ADD     0,1", "ADD 0,1"},
    {0125112, "MOVL#   1,1,SZC", "MOVL# 1,1,SZC"},
    {0175113, "MOVL#   3,3,SNC", "MOVL# 3,3,SNC"},
    {0133022, "ADDZ    1,2,SZC", "ADDZ 1,2,SZC"},
    {0060110, "NIOS    TTI", "NIOS TTI"},
    {0061411, "DIB     0,TTO", "DIB 0,TTO"},
    {0062110, "DOBS    0,TTI", "DOBS 0,TTI"},
    {0063510, "SKPBZ   TTI", "SKPBZ TTI"},
    {0063677, "SKPDN   CPU", "SKPDN CPU"},
    {0064012, "NIO     PTR", "NIO PTR"},
    {0060020, "NIO     20", "NIO 20"},
    {0060060, "NIO     60", "NIO 60"},
    {0060001, "NIO     1", "NIO 1"},
    {0060177, "INTEN", "INTEN"},
    {0060277, "INTDS", "INTDS"},
    {0062677, "IORST", "IORST"},
    {0063077, "HALT", "HALT"},
    {0060477, "READS   0", "READS 0"},
    {0071477, "INTA    2", "INTA 2"},
    {0066077, "MSKO    1", "MSKO 1"},
    {0067077, "DOC     1,CPU", "DOC 1,CPU"},
    {0073301, "MUL", "MUL"},
    {0073101, "DIV", "DIV"},
    // Displacement 200 in every index mode.
    {0000600, "JMP     .-200 (000600)", "JMP .-200"},
    {0001200, "JMP     -200,2", "JMP -200,2"},
    {0000200, "JMP     200", "JMP 200"},
    // The CPU device in the general form; only the exact words above are special.
    {0060077, "NIO     CPU", "NIO CPU"},
    {0061077, "DOA     0,CPU", "DOA 0,CPU"},
    {0062477, "DIC     0,CPU", "DIC 0,CPU"},
    {0063477, "SKPBN   CPU", "SKPBN CPU"},
    {0064177, "NIOS    CPU", "NIOS CPU"},
    {0060577, "DIAS    0,CPU", "DIAS 0,CPU"},
    {0061177, "DOAS    0,CPU", "DOAS 0,CPU"},
    {0077777, "SKPDZ   CPU", "SKPDZ CPU"},
    {0177777, "ANDCS#  3,3,SBN", "ANDCS# 3,3,SBN"},
};

TEST(Disassembler, WorkedExamples) {
  for (const TListingCase& c : ListingCases) {
    SCOPED_TRACE(c.Plain);
    EXPECT_EQ(CommandToStr(01000, c.Word, nmOctal, true), c.Columns);
    EXPECT_EQ(CommandToStr(-1, c.Word, nmOctal, false), c.Plain);
  }
}

TEST(Disassembler, RelativeTargetFollowsTheNumberMode) {
  EXPECT_EQ(CommandToStr(01000, 0000401, nmHex, true), "JMP     .+1 (0201)");
  EXPECT_EQ(CommandToStr(01000, 0000401, nmDecimal, false), "JMP .+1 (  513)");
  EXPECT_EQ(CommandToStr(01000, 0000401, nmBin, false), "JMP .+1 (0000001000000001)");
  EXPECT_EQ(CommandToStr(01000, 0000401, nmZeroDec, false), "JMP .+1 (00513)");
  // The target is reduced to 16 bits: below 0 it wraps.
  EXPECT_EQ(CommandToStr(0, 0000777, nmOctal, false), "JMP .-1 (177777)");
  EXPECT_EQ(CommandToStr(0177777, 0000401, nmOctal, false), "JMP .+1 (000000)");
  // Only the instruction-relative form shows a target.
  EXPECT_EQ(CommandToStr(01000, 0001377, nmOctal, false), "JMP -1,2");
  EXPECT_EQ(CommandToStr(01000, 0020010, nmOctal, false), "LDA 0,010");
}

TEST(Disassembler, EveryWordHasAnUpperCaseText) {
  for (int w = 0; w < 0x10000; ++w) {
    const std::string text = CommandToStr(077777, std::uint16_t(w), nmBin, true);
    ASSERT_FALSE(text.empty()) << w;
    for (char c : text) ASSERT_FALSE(c >= 'a' && c <= 'z') << text;
  }
}

}  // namespace

namespace {

TEST(Disassembler, SymbolsNameTheAddressesOfOperands) {
  const TSymbolTable symbols({{"LEADR", 001005, skLabel},
                              {"DVMSK", 000020, skLabel},
                              {"COUNT", 000020, skValue},
                              {"FAR", 003000, skLabel}});
  struct TCase {
    std::uint16_t Word;
    int Address;
    const char* Text;
  };
  const TCase cases[] = {
      {0000405, 01000, "JMP     LEADR"},            // relative, address known
      {0000405, -1, "JMP     .+5"},                 // relative, no address: as before
      {0026020, 01000, "LDA     1,@DVMSK"},         // page zero; the label before the value
      {0024021, 01000, "LDA     1,021"},            // no name there
      {0001005, 01000, "JMP     5,2"},              // indexed: no fixed address
      {0000777, 01000, "JMP     .-1 (000777)"},
  };
  for (const TCase& c : cases) EXPECT_EQ(CommandToStr(c.Address, c.Word, nmOctal, true, &symbols), c.Text);
  // Without symbols nothing changes.
  EXPECT_EQ(CommandToStr(01000, 0000405, nmOctal, true), "JMP     .+5 (001005)");
  // A name longer than the line holds is cut, never written past it.
  const TSymbolTable longName({{std::string(500, 'X'), 5, skLabel}});
  EXPECT_EQ(CommandToStr(0, 0020005, nmOctal, false, &longName), "LDA 0," + std::string(74, 'X'));
}

TEST(SymbolTable, FindsByNameAndByValue) {
  TSymbolTable t({{"Loop", 0100, skLabel}, {"START", 0200, skLabel}, {"N", 0100, skValue}, {"ABCDEF", 1, skLabel}});
  ASSERT_NE(t.Find("loop"), nullptr);
  EXPECT_EQ(t.Find("LOOP")->Name, "Loop");
  EXPECT_EQ(t.Find("ABCDEXYZ")->Value, 1);  // only 5 characters count
  EXPECT_EQ(t.Find("LOO"), nullptr);
  EXPECT_EQ(t.NameOf(0100)->Name, "Loop");  // a label before a value
  EXPECT_EQ(t.NameOf(0101), nullptr);
  t.Add("LOOP", 0300);  // the same name: a new value
  EXPECT_EQ(t.Size(), 4u);
  EXPECT_EQ(t.Find("loop")->Value, 0300);
  EXPECT_EQ(t.NameOf(0100)->Name, "N");
  std::vector<std::string> names;
  for (const TSymbol& s : t.Symbols()) names.push_back(s.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"ABCDEF", "LOOP", "N", "START"}));
}

TEST(SymbolTable, TypedTextToAddress) {
  const TSymbolTable t({{"LOOP", 0100, skLabel}, {"ADD", 0200, skLabel}, {"TOP", 077777, skLabel}, {"START1", 0300, skLabel}});
  struct TCase {
    const char* Text;
    TNumMode Mode;
    TAddressText Result;
    int Addr;
  };
  const TCase cases[] = {
      {"1234", nmOctal, atOk, 01234},
      {"  %17 ", nmOctal, atOk, 017},
      {"loop", nmOctal, atOk, 0100},         // any case
      {"STARTX", nmOctal, atOk, 0300},       // 5 characters count
      {"LOOP+2", nmOctal, atOk, 0102},
      {"loop - 10", nmOctal, atOk, 070},     // the offset in the base
      {"ADD", nmHex, atOk, 0200},            // the label, not hex ADD
      {"ADE", nmHex, atOk, 0xADE},
      {"$7FFF", nmHex, atOk, 077777},
      {"32767", nmDecimal, atOk, 077777},
      {"!101", nmBin, atOk, 5},
      {"TOP+1", nmOctal, atOutOfRange, 0},
      {"100000", nmOctal, atOutOfRange, 0},
      {"99999999999999999999", nmDecimal, atOutOfRange, 0},
      {"LOOP-101", nmOctal, atOutOfRange, 0},
      {"8", nmOctal, atInvalid, 0},
      {"NOSUCH", nmOctal, atInvalid, 0},
      {"", nmOctal, atInvalid, 0},
      {"LOOP+", nmOctal, atInvalid, 0},
      {"-5", nmOctal, atInvalid, 0},
      {"2", nmBin, atInvalid, 0},
  };
  for (const TCase& c : cases) {
    int addr = -1;
    EXPECT_EQ(AddressFromText(c.Text, c.Mode, &t, addr), c.Result) << c.Text;
    if (c.Result == atOk) {
      EXPECT_EQ(addr, c.Addr) << c.Text;
    }
  }
  // Without a table only numbers are addresses.
  int addr = -1;
  EXPECT_EQ(AddressFromText("LOOP", nmOctal, nullptr, addr), atInvalid);
  EXPECT_EQ(AddressFromText("ADD", nmHex, nullptr, addr), atOk);
  EXPECT_EQ(addr, 0xADD);
}

}  // namespace
