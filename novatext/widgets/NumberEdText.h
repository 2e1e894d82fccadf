// The number edit control's text rules without the control: how a value is shown (mode text,
// digit count, prefix, grouping, bytes view), how a text is read back and which characters may be
// typed in which base.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "NumberUtils.h"

struct TNumberEditFormat {
  TNumMode NumMode = nmDecimal;
  int Bits = 32;     // 1..65535
  int Digits = 0;    // 0: derived from Bits (plain text in nmDecimal)
  int GroupDigits = 0;
  bool Prefix = true;
  bool Bytes = false;
};

// "$", "%", "!" for hex, octal, binary; empty for the decimal modes.
const char* NumModePrefix(TNumMode mode);

// Digit count of a value of `bits` bits in the mode: Digits when set; else (not for nmDecimal)
// round-half-even(ln(2^bits) / ln(radix) + 0.5), bits limited to 0..63.
int NumberEditDigits(const TNumberEditFormat& format);

// The text the control shows for a value.
std::string NumberEditText(std::int64_t value, const TNumberEditFormat& format);

// Reads a text back. The base comes from the first character when prefix is on ("$" hex,
// "%" octal, "!" binary, else decimal) and is inputMode otherwise. Parts split at "_" are bytes,
// highest first. An empty text, or one of just a sign or a base prefix, gives 0 with
// Empty set; otherwise Error tells whether some part failed to convert (it counts as 0).
struct TNumberEditReading {
  std::int64_t Value = 0;
  bool Empty = false;
  bool Error = false;
};
TNumberEditReading ReadNumberEditText(std::string_view text, bool prefix, TNumMode inputMode);

// The base that typing switches to when the base character c is typed or leads the text.
TNumMode PrefixInputMode(char32_t c);
// Whether a typed character belongs to the base: control characters and space always do.
bool IsNumberEditChar(char32_t c, TNumMode inputMode);
