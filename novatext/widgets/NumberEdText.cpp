#include "NumberEdText.h"

#include <charconv>
#include <cmath>

namespace {

std::string ModeText(std::int64_t value, TNumMode mode, int digits, int group) {
  const auto low = std::uint32_t(std::uint64_t(value));
  switch (mode) {
    case nmHex: return FormatHex(low, digits, group);
    case nmOctal: return FormatOctal(low, digits, group);
    case nmBin: return FormatBinary(low, digits, group);
    case nmZeroDec: return FormatDecimal(value, digits, group, true);
    case nmDecimal:
    default: return FormatDecimal(value, digits, group, false);
  }
}

std::string_view Trim(std::string_view t) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!t.empty() && blank(t.front())) t.remove_prefix(1);
  while (!t.empty() && blank(t.back())) t.remove_suffix(1);
  return t;
}

// Signed 32-bit decimal text after removing every space: an optional sign and digits.
bool TryParseDecimal32(std::string_view part, std::int64_t& value) {
  std::string digits;
  for (char c : part)
    if (c != ' ') digits += c;
  const char* first = digits.data();
  const char* last = first + digits.size();
  if (first != last && *first == '+') ++first;
  std::int32_t v = 0;
  auto [end, ec] = std::from_chars(first, last, v);
  if (ec != std::errc() || end != last) return false;
  value = v;
  return true;
}

bool TryParsePart(std::string_view part, TNumMode mode, std::int64_t& value) {
  switch (mode) {
    case nmHex: return TryParseHex(part, value);
    case nmOctal: return TryParseOctal(part, value);
    case nmBin: return TryParseBinary(part, value);
    default: return TryParseDecimal32(part, value);
  }
}

}  // namespace

const char* NumModePrefix(TNumMode mode) {
  switch (mode) {
    case nmHex: return "$";
    case nmOctal: return "%";
    case nmBin: return "!";
    default: return "";
  }
}

int NumberEditDigits(const TNumberEditFormat& f) {
  if (f.NumMode == nmDecimal || f.Digits != 0) return f.Digits;
  const int mode = f.NumMode >= 0 && f.NumMode < NumModeCount ? f.NumMode : nmDecimal;
  const int bits = f.Bits < 0 ? 0 : f.Bits > 63 ? 63 : f.Bits;
  return RoundHalfEven(std::log(std::ldexp(1.0, bits)) / std::log(double(NumModeRadix[mode])) + 0.5);
}

std::string NumberEditText(std::int64_t value, const TNumberEditFormat& f) {
  const std::string prefix = f.Prefix ? NumModePrefix(f.NumMode) : "";
  if (!f.Bytes) return prefix + ModeText(value, f.NumMode, NumberEditDigits(f), f.GroupDigits);
  const int mode = f.NumMode >= 0 && f.NumMode < NumModeCount ? f.NumMode : nmDecimal;
  const int groups = (f.Bits - 1) / 8 + 1;
  std::string text;
  for (int i = 0; i < groups; ++i) {
    std::string group = prefix + ModeText(value & 0xFF, f.NumMode, NumModeByteWidth[mode], f.GroupDigits);
    text = i == 0 ? group : group + "_" + text;
    value /= 256;
  }
  return text;
}

TNumberEditReading ReadNumberEditText(std::string_view text, bool prefix, TNumMode inputMode) {
  TNumberEditReading reading;
  const std::string_view t = Trim(text);
  if (t.empty() || t == "+" || t == "-" || t == "$" || t == "%" || t == "!") {
    reading.Empty = true;
    return reading;
  }
  TNumMode mode = inputMode;
  if (prefix) mode = PrefixInputMode(char32_t(t.front()));
  std::uint64_t result = 0;
  std::string_view rest = t;
  bool more = true;
  while (more) {
    const std::size_t cut = rest.find('_');
    const std::string_view part = rest.substr(0, cut);
    more = cut != std::string_view::npos;
    if (more) rest.remove_prefix(cut + 1);
    std::int64_t value = 0;
    if (!TryParsePart(part, mode, value)) {
      value = 0;
      reading.Error = true;
    }
    result = result * 256 + std::uint64_t(value);
  }
  reading.Value = std::int64_t(result);
  return reading;
}

TNumMode PrefixInputMode(char32_t c) {
  switch (c) {
    case U'$': return nmHex;
    case U'%': return nmOctal;
    case U'!': return nmBin;
    default: return nmDecimal;
  }
}

bool IsNumberEditChar(char32_t c, TNumMode mode) {
  if (c <= 32) return true;
  switch (mode) {
    case nmHex:
      return c == U'$' || (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'F') || (c >= U'a' && c <= U'f');
    case nmOctal: return c == U'%' || (c >= U'0' && c <= U'7');
    case nmBin: return c == U'!' || c == U'0' || c == U'1';
    case nmDecimal:
    case nmZeroDec:
    default: return c == U'+' || c == U'-' || (c >= U'0' && c <= U'9');
  }
}
