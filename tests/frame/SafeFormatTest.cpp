#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "SafeFormat.h"
#include "Translate.h"

TEST(SafeFormat, ConversionsThatFit) {
  const std::uint16_t word = 0177777;
  EXPECT_EQ(SafeFormat("%u Files checked", 12u), "12 Files checked");
  EXPECT_EQ(SafeFormat("Error in block at position: %u ($%x)", 300, 300), "Error in block at position: 300 ($12c)");
  EXPECT_EQ(SafeFormat("Do you really want to reduce memory size to\r\n%s words?", std::string("16K")),
            "Do you really want to reduce memory size to\r\n16K words?");
  EXPECT_EQ(SafeFormat("%06o|%-4d|%+d|%5.2f|%X|%c%c|%%", word, -3, 7, 3.14159, 255, 'A', 0xE4),
            "177777|-3  |+7| 3.14|FF|A\xC3\xA4|%");
  EXPECT_EQ(SafeFormat("[%*s][%-*s][%.2s]", 4, "ab", 3, "x", "\xC3\xA4\xC3\xB6\xC3\xBC"), "[  ab][x  ][\xC3\xA4\xC3\xB6]");
  EXPECT_EQ(SafeFormat("%2$s %1$s", "world", "hello"), "hello world");
  EXPECT_EQ(SafeFormat("%lu %lld %hx", 1u, -2LL, 17), "1 -2 11");  // length letters are ignored
  EXPECT_EQ(SafeFormat("%d", std::uint64_t(18446744073709551615u)), "18446744073709551615");
  EXPECT_EQ(SafeFormat("%u", 1, "extra"), "1");  // extra arguments are ignored
  EXPECT_EQ(SafeFormat("no conversions"), "no conversions");
}

TEST(SafeFormat, MisfitsGiveFormatError) {
  ActivateLanguage("en");
  struct {
    const char* format;
    std::vector<TFormatArg> args;
  } cases[] = {
      {"%u files", {"text"}},          // text for %u
      {"%s", {5}},                     // number for %s
      {"%d %d", {5}},                  // missing argument
      {"%k", {5}},                     // unknown conversion
      {"50%", {}},                     // lone % at the end
      {"%0$s", {"x"}},                 // position 0
      {"%99999d", {5}},                // absurd width
      {"%.*f", {"text", 1.0}},         // precision from a text
      {"%c", {-1}},                    // no such character
  };
  for (const auto& c : cases)
    EXPECT_EQ(SafeFormatArgs(c.format, c.args), "Format error: " + std::string(c.format)) << c.format;
}
