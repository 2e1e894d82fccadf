// Number texts: format widths and fills, grouping, parse rules, messages, size texts.
#include "NumberUtils.h"

#include <gtest/gtest.h>
#include <libintl.h>

#include <clocale>
#include <cstdlib>

extern "C" int _nl_msg_cat_cntr;  // glibc: bumping it flushes the catalog cache

namespace {

TEST(NumberFormat, WordAndByteInEveryMode) {
  struct Case {
    TNumMode Mode;
    const char *Word10, *Word65535, *Byte10;
  };
  const Case cases[] = {
      {nmDecimal, "   10", "65535", " 10"},
      {nmHex, "000A", "FFFF", "0A"},
      {nmOctal, "000012", "177777", "012"},
      {nmBin, "0000000000001010", "1111111111111111", "00001010"},
      {nmZeroDec, "00010", "65535", "010"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Mode);
    EXPECT_EQ(FormatWord(10, c.Mode), c.Word10);
    EXPECT_EQ(FormatWord(65535, c.Mode), c.Word65535);
    EXPECT_EQ(FormatByte(10, c.Mode), c.Byte10);
    // Values are reduced to 16 and 8 bits and shown unsigned.
    EXPECT_EQ(FormatWord(-1, c.Mode), c.Word65535);
    EXPECT_EQ(FormatWord(0x1000A, c.Mode), c.Word10);
    EXPECT_EQ(FormatByte(0x10A, c.Mode), c.Byte10);
    EXPECT_EQ(int(FormatWord(0, c.Mode).size()), NumModeWordWidth[c.Mode]);
    EXPECT_EQ(int(FormatByte(0, c.Mode).size()), NumModeByteWidth[c.Mode]);
  }
}

TEST(NumberFormat, DigitsWidthsAndGrouping) {
  EXPECT_EQ(FormatOctal(0, 0), "0");
  EXPECT_EQ(FormatOctal(0, 6), "000000");
  EXPECT_EQ(FormatOctal(65535, 3), "177777");  // the width never cuts
  EXPECT_EQ(FormatOctal(0xFFFFFFFF, 0), "37777777777");
  EXPECT_EQ(FormatBinary(5, 8, 4), "0000 0101");
  EXPECT_EQ(FormatBinary(0xFFFFFFFF, 0).size(), 32u);
  EXPECT_EQ(FormatBinary(1, 40).size(), 40u);
  EXPECT_EQ(FormatHex(0xBEEF, 6), "00BEEF");
  EXPECT_EQ(FormatHex(0xFFFFFFFF, 0, 4), "FFFF FFFF");
  EXPECT_EQ(FormatDecimal(10, 5), "   10");
  EXPECT_EQ(FormatDecimal(-12, 5, 0, true), "-00012");
  EXPECT_EQ(FormatDecimal(-12, 5), "  -12");
  EXPECT_EQ(FormatDecimal(-12, 0), "-12");
  EXPECT_EQ(FormatDecimal(123456, 3), "123456");
  EXPECT_EQ(FormatDecimal(INT64_MIN, 0), "-9223372036854775808");
  EXPECT_EQ(FormatDecimal(1234567, 0, 3), "1 234 567");
  EXPECT_EQ(FormatDecimal(10, 5, 3), "    10");  // grouped across the fill spaces
}

TEST(NumberFormat, InsertGroupSeparators) {
  EXPECT_EQ(InsertGroupSeparators("177777", 3), "177 777");
  EXPECT_EQ(InsertGroupSeparators("1234567", 3), "1 234 567");
  EXPECT_EQ(InsertGroupSeparators("777", 3), "777");
  EXPECT_EQ(InsertGroupSeparators("", 3), "");
  EXPECT_EQ(InsertGroupSeparators("12345", 0), "12345");
  EXPECT_EQ(InsertGroupSeparators("12345", -2), "12345");
  EXPECT_EQ(InsertGroupSeparators("12345", 1, '.'), "1.2.3.4.5");
}

TEST(NumberParse, OctalAndBinary) {
  struct Case {
    const char* Text;
    bool Ok;
    std::int64_t Value;
  };
  const Case octal[] = {
      {"", false, 0},     {"-", true, 0},    {"%", true, 0},     {" ", true, 0},
      {"1 7", true, 15},  {"%17", true, 15}, {"-%17", true, -15}, {"- 17", true, -15},
      {"8", false, 0},    {"17x", false, 0}, {"%-17", false, 0}, {" -17", false, 0},
      {"177777", true, 65535}, {"1777777777777777777777", true, -1},  // wraps in 64 bits
      {"\t5", false, 0},
  };
  for (const Case& c : octal) {
    SCOPED_TRACE(c.Text);
    std::int64_t value = 99;
    EXPECT_EQ(TryParseOctal(c.Text, value), c.Ok);
    EXPECT_EQ(value, c.Value);
  }
  std::int32_t low = 0;
  EXPECT_TRUE(TryParseOctal("77777777777", low));  // 33 bits: the low 32 are kept
  EXPECT_EQ(low, -1);

  const Case binary[] = {
      {"!101", true, 5}, {"102", false, 0}, {"-!1 0", true, -2}, {"", false, 0}, {"!", true, 0},
      {"%1", false, 0},
  };
  for (const Case& c : binary) {
    SCOPED_TRACE(c.Text);
    std::int64_t value = 99;
    EXPECT_EQ(TryParseBinary(c.Text, value), c.Ok);
    EXPECT_EQ(value, c.Value);
  }
}

TEST(NumberParse, Hex) {
  struct Case {
    const char* Text;
    bool Ok;
    std::int64_t Value;
  };
  const Case cases[] = {
      {"FF", true, 255},
      {"$ff", true, 255},
      {"f f", true, 255},
      {"-$10", true, -16},
      {"$-10", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"$", false, 0},
      {"0x10", false, 0},
      {"--1", false, 0},
      {"$$1", false, 0},
      {"G", false, 0},
      {"FFFFFFFFFFFFFFFF", true, -1},  // 16 digits: two's complement
      {"0000FFFFFFFFFFFFFFFF", true, -1},  // leading zeros do not count
      {"1FFFFFFFFFFFFFFFF", false, 0},  // 17 significant digits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    std::int64_t value = 99;
    EXPECT_EQ(TryParseHex(c.Text, value), c.Ok);
    EXPECT_EQ(value, c.Value);
  }
}

TEST(NumberParse, FailuresRaiseTheMessageWithTheText) {
  auto messageOf = [](auto parse, const char* text) -> std::string {
    try {
      parse(text);
    } catch (const EConvertError& e) {
      return e.what();
    }
    return "(nothing raised)";
  };
  EXPECT_EQ(messageOf(ParseOctal, "9"), "9 is not a valid octal value");
  EXPECT_EQ(messageOf(ParseHex, "x%sy"), "x%sy is not a valid hex value");
  EXPECT_EQ(messageOf(ParseBinary, "2"), "2 is not a valid binary value");
  EXPECT_EQ(messageOf(ParseOctal, ""), " is not a valid octal value");
  EXPECT_EQ(ParseOctal("-17"), -15);
  EXPECT_EQ(ParseHex("$7FFF"), 0x7FFF);
  EXPECT_EQ(ParseBinary("!11"), 3);
}

TEST(NumberParse, ParseNumberNeverRaises) {
  struct Case {
    const char* Text;
    TNumMode Mode;
    std::int32_t Value;
  };
  const Case cases[] = {
      {"12x", nmOctal, 0},
      {"177777", nmOctal, 65535},
      {"%77777777777", nmOctal, -1},  // the low 32 bits
      {"-$10", nmHex, -16},
      {"zz", nmHex, 0},
      {"!101", nmBin, 5},
      {"2", nmBin, 0},
      {"-123", nmDecimal, -123},
      {"   10", nmDecimal, 10},  // the space-filled word text reads back
      {"00010", nmZeroDec, 10},
      {"+7", nmDecimal, 7},
      {"+-7", nmDecimal, 0},
      {"1 2", nmDecimal, 0},
      {"12a", nmDecimal, 0},
      {"", nmDecimal, 0},
      {"2147483648", nmDecimal, 0},  // beyond 32 bits
      {"-2147483648", nmZeroDec, INT32_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(ParseNumber(c.Text, c.Mode), c.Value);
  }
  for (int m = 0; m < NumModeCount; ++m)
    EXPECT_EQ(ParseNumber(FormatWord(04321, TNumMode(m)), TNumMode(m)), 04321) << m;
}

TEST(NumberFormat, Size) {
  struct Case {
    std::int64_t Count;
    bool Decimal;
    const char* Text;
  };
  const Case cases[] = {
      {0, false, "0 B"},
      {512, false, "512 B"},
      {1023, false, "1023 B"},
      {1024, false, "1.00 KiB"},
      {1536, false, "1.50 KiB"},
      {65536, false, "64.0 KiB"},
      {262144, false, "256 KiB"},
      {1048576, false, "1.00 MiB"},
      {1048575, false, "1024 KiB"},  // rounding follows the fixed-point formatting
      {std::int64_t(3) << 30, false, "3.00 GiB"},
      {std::int64_t(2000) << 30, false, "2000.00 GiB"},
      {999, true, "999 B"},
      {1000, true, "1.00 kB"},
      {25000000, true, "25.0 MB"},
      {7000000000, true, "7.00 GB"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatSize(c.Count, c.Decimal), c.Text) << c.Count;
}

// The messages are resource strings of the "units" domain with a German catalog.
TEST(NumberParse, MessagesAreTranslated) {
  bindtextdomain("units", CORVANE_BINARY_DIR "/locale");
  bind_textdomain_codeset("units", "UTF-8");
  std::setlocale(LC_MESSAGES, "C.UTF-8");
  setenv("LANGUAGE", "de", 1);
  ++_nl_msg_cat_cntr;
  std::string message;
  try {
    ParseOctal("9");
  } catch (const EConvertError& e) {
    message = e.what();
  }
  unsetenv("LANGUAGE");
  ++_nl_msg_cat_cntr;
  std::setlocale(LC_MESSAGES, "C");
  EXPECT_EQ(message, "9 ist kein gültiger Oktalwert");
}

}  // namespace
