// The number parsers on any text, and number texts read back in every mode.
// Input: a word (two bytes), a group size byte, then the text.
#include <string>

#include "FuzzSupport.h"
#include "NumberUtils.h"

namespace {

using TTry = bool (*)(std::string_view, std::int64_t&);
using TParse = std::int64_t (*)(std::string_view);

// The throwing parser agrees with the trying one: the same value, or EConvertError exactly when
// the text is refused.
void CheckParsePair(std::string_view text, TTry tryParse, TParse parse) {
  std::int64_t tried = 0;
  const bool ok = tryParse(text, tried);
  try {
    const std::int64_t parsed = parse(text);
    FUZZ_CHECK(ok && parsed == tried);
  } catch (const EConvertError& e) {
    FUZZ_CHECK(!ok);
    if (text.find('\0') == std::string_view::npos)  // the text is put in the message
      FUZZ_CHECK(std::string_view(e.what()).find(text) != std::string_view::npos);
  }
}

void CheckText(std::string_view text) {
  CheckParsePair(text, TryParseOctal, ParseOctal);
  CheckParsePair(text, TryParseHex, ParseHex);
  CheckParsePair(text, TryParseBinary, ParseBinary);

  std::int64_t wide = 0;
  std::int32_t narrow = 0;
  const bool ok = TryParseOctal(text, wide);
  FUZZ_CHECK(TryParseOctal(text, narrow) == ok);
  FUZZ_CHECK(narrow == std::int32_t(std::uint32_t(std::uint64_t(wide))));
  FUZZ_CHECK(ParseNumber(text, nmOctal) == (ok ? narrow : 0));

  for (int m = 0; m < NumModeCount; ++m) ParseNumber(text, TNumMode(m));  // never throws
}

void CheckWord(std::uint16_t word, int group) {
  for (int m = 0; m < NumModeCount; ++m) {
    const TNumMode mode = TNumMode(m);
    const std::string text = FormatWord(word, mode);
    FUZZ_CHECK(text.size() == std::size_t(NumModeWordWidth[m]));
    FUZZ_CHECK(ParseNumber(text, mode) == word);
    char buf[16];
    FUZZ_CHECK(std::string(buf, FormatWordInto(buf, word, mode)) == text);
    const std::string byteText = FormatByte(word, mode);
    FUZZ_CHECK(byteText.size() == std::size_t(NumModeByteWidth[m]));
    FUZZ_CHECK(ParseNumber(byteText, mode) == (word & 0xFF));
  }
  // Group separators are blanks, which the octal, hex and binary readers skip.
  FUZZ_CHECK(ParseNumber(FormatOctal(word, 6, group), nmOctal) == word);
  FUZZ_CHECK(ParseNumber(FormatHex(word, 4, group), nmHex) == word);
  FUZZ_CHECK(ParseNumber(FormatBinary(word, 16, group), nmBin) == word);
  const std::int32_t negative = -std::int32_t(word);
  FUZZ_CHECK(ParseNumber(FormatDecimal(negative, group), nmDecimal) == negative);
  FUZZ_CHECK(ParseNumber(FormatDecimal(negative, group, 0, true), nmZeroDec) == negative);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const std::uint16_t word = in.Word();
  const int group = in.Byte() % 20;
  const std::string_view text = in.Rest();

  CheckText(text);
  CheckWord(word, group);
  // Text taken as a 32-bit value: FormatSize copes with any count.
  std::int64_t value = 0;
  if (TryParseHex(text, value)) {
    FUZZ_CHECK(!FormatSize(value).empty());
    FUZZ_CHECK(!FormatSize(value, true).empty());
  }
  return 0;
}
