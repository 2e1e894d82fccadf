// Number texts: formatting in the five number modes, parsing back, size texts.
#include "NumberUtils.h"

#include <cfenv>
#include <cmath>

#include <libintl.h>

#include <charconv>
#include <clocale>
#include <cstring>

const int NumModeRadix[NumModeCount] = {10, 16, 8, 2, 10};
const int NumModeWordWidth[NumModeCount] = {5, 4, 6, 16, 5};
const int NumModeByteWidth[NumModeCount] = {3, 2, 3, 8, 3};

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

// Digits of a power-of-two radix (shift 1, 3 or 4 bits per digit), at least minDigits of them,
// written right-aligned into the end of buf; returns the start.
char* PowerOfTwoDigits(char* end, std::uint32_t value, int shift, int minDigits) {
  const std::uint32_t mask = (1u << shift) - 1;
  char* p = end;
  do {
    *--p = HexDigits[value & mask];
    value >>= shift;
  } while (value != 0);
  while (end - p < minDigits) *--p = '0';
  return p;
}

std::string FormatPowerOfTwo(std::uint32_t value, int shift, int digits, int group) {
  char buf[40];
  char* end = buf + sizeof buf;
  const int width = digits > 32 ? 32 : digits;
  std::string text(PowerOfTwoDigits(end, value, shift, width), end);
  if (digits > width) text.insert(0, std::size_t(digits - width), '0');
  return group > 0 ? InsertGroupSeparators(text, group) : text;
}

// Decimal digits of |value| written right-aligned before end; returns the start.
char* DecimalDigits(char* end, std::int64_t value) {
  // Work on the unsigned magnitude so that the smallest 64-bit value is safe.
  std::uint64_t magnitude = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
  char* p = end;
  do {
    *--p = char('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  return p;
}

// Every character of the text except spaces.
std::string WithoutSpaces(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text)
    if (c != ' ') result += c;
  return result;
}

// Octal and binary reading: optional "-", optional prefix, spaces ignored, empty remainder is 0.
bool TryParseRadix(std::string_view text, char prefix, int bits, std::int64_t& value) {
  value = 0;
  if (text.empty()) return false;
  bool negative = false;
  if (text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (!text.empty() && text.front() == prefix) text.remove_prefix(1);
  const char maxDigit = char('0' + (1 << bits) - 1);
  std::uint64_t result = 0;
  for (char c : text) {
    if (c == ' ') continue;
    if (c < '0' || c > maxDigit) return false;
    result = (result << bits) + std::uint64_t(c - '0');  // wraps, no overflow check
  }
  value = std::int64_t(negative ? 0 - result : result);
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The translated message with the text put in place of its "%s" (no printf: the text is the
// user's and may contain "%").
[[noreturn]] void RaiseConvertError(const char* messageId, std::string_view text) {
  std::string message = dgettext("units", messageId);
  const std::size_t at = message.find("%s");
  if (at != std::string::npos)
    message.replace(at, 2, text);
  else
    message.append(" ").append(text);
  throw EConvertError(message);
}

}  // namespace

std::string FormatHex(std::uint32_t value, int digits, int group) {
  return FormatPowerOfTwo(value, 4, digits, group);
}

std::string FormatOctal(std::uint32_t value, int digits, int group) {
  return FormatPowerOfTwo(value, 3, digits, group);
}

std::string FormatBinary(std::uint32_t value, int digits, int group) {
  return FormatPowerOfTwo(value, 1, digits, group);
}

std::string FormatDecimal(std::int64_t value, int digits, int group, bool zeroFill) {
  char buf[24];
  char* end = buf + sizeof buf;
  char* start = DecimalDigits(end, value);
  std::string text;
  const std::size_t length = std::size_t(end - start) + (value < 0 ? 1 : 0);
  const std::size_t width = digits > 0 ? std::size_t(digits) : 0;
  if (zeroFill) {
    // At least `digits` digits; the sign stands before the zeros.
    const std::size_t count = std::size_t(end - start);
    if (value < 0) text += '-';
    if (count < width) text.append(width - count, '0');
  } else if (length < width) {
    text.append(width - length, ' ');
    if (value < 0) text += '-';
  } else if (value < 0) {
    text += '-';
  }
  text.append(start, end);
  return group > 0 ? InsertGroupSeparators(text, group) : text;
}

std::size_t FormatWordInto(char* out, std::int64_t value, TNumMode mode) {
  const std::uint32_t word = std::uint32_t(value) & 0xFFFF;
  char buf[16];
  char* end = buf + sizeof buf;
  char* start;
  switch (mode) {
    case nmDecimal:
    case nmZeroDec:
      start = DecimalDigits(end, word);
      while (end - start < 5) *--start = mode == nmDecimal ? ' ' : '0';
      break;
    case nmHex: start = PowerOfTwoDigits(end, word, 4, 4); break;
    case nmBin: start = PowerOfTwoDigits(end, word, 1, 16); break;
    case nmOctal:
    default: start = PowerOfTwoDigits(end, word, 3, 6); break;
  }
  const std::size_t length = std::size_t(end - start);
  std::memcpy(out, start, length);
  return length;
}

std::string FormatWord(std::int64_t value, TNumMode mode) {
  char buf[16];
  return std::string(buf, FormatWordInto(buf, value, mode));
}

std::string FormatByte(std::int64_t value, TNumMode mode) {
  const std::uint32_t byte = std::uint32_t(value) & 0xFF;
  switch (mode) {
    case nmDecimal: return FormatDecimal(byte, 3, 0, false);
    case nmZeroDec: return FormatDecimal(byte, 3, 0, true);
    case nmHex: return FormatHex(byte, 2);
    case nmBin: return FormatBinary(byte, 8);
    case nmOctal:
    default: return FormatOctal(byte, 3);
  }
}

std::string InsertGroupSeparators(std::string_view text, int group, char separator) {
  if (group <= 0 || text.size() <= std::size_t(group)) return std::string(text);
  const std::size_t n = std::size_t(group);
  std::string result;
  result.reserve(text.size() + text.size() / n);
  // The first run is what is left over when the text is cut into runs of n from the right.
  std::size_t first = text.size() % n;
  if (first == 0) first = n;
  result.append(text.substr(0, first));
  for (std::size_t i = first; i < text.size(); i += n) {
    result += separator;
    result.append(text.substr(i, n));
  }
  return result;
}

std::string FormatSize(std::int64_t count, bool decimalUnits) {
  const double step = decimalUnits ? 1000.0 : 1024.0;
  if (count < std::int64_t(step)) return FormatDecimal(count, 0) + " B";
  double x = double(count) / step;
  const char* unit;
  int decimals;
  if (x < step) {
    unit = decimalUnits ? "kB" : "KiB";
  } else {
    x /= step;
    if (x < step) {
      unit = decimalUnits ? "MB" : "MiB";
    } else {
      x /= step;
      unit = decimalUnits ? "GB" : "GiB";
    }
  }
  if (unit[0] == 'G') decimals = 2;
  else decimals = x < 10 ? 2 : x < 100 ? 1 : 0;

  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
  std::string number = ec == std::errc() ? std::string(buf, end) : std::string("?");
  const std::size_t point = number.find('.');
  if (point != std::string::npos) {
    const char* separator = std::localeconv()->decimal_point;
    number.replace(point, 1, separator && *separator ? separator : ".");
  }
  return number + " " + unit;
}

bool TryParseOctal(std::string_view text, std::int64_t& value) {
  return TryParseRadix(text, '%', 3, value);
}

bool TryParseOctal(std::string_view text, std::int32_t& value) {
  std::int64_t wide;
  const bool ok = TryParseOctal(text, wide);
  value = std::int32_t(std::uint32_t(std::uint64_t(wide)));
  return ok;
}

bool TryParseBinary(std::string_view text, std::int64_t& value) {
  return TryParseRadix(text, '!', 1, value);
}

bool TryParseHex(std::string_view text, std::int64_t& value) {
  value = 0;
  if (text.empty()) return false;
  bool negative = false;
  if (text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  // The "$" is optional; with it or without, the rest must be hexadecimal digits.
  if (text.empty()) return false;
  if (text.front() == '$') text.remove_prefix(1);
  const std::string digits = WithoutSpaces(text);
  if (digits.empty()) return false;
  std::uint64_t result = 0;
  int significant = 0;
  for (char c : digits) {
    const int d = HexValue(c);
    if (d < 0) return false;
    if (significant > 0 || d != 0) ++significant;
    if (significant > 16) return false;
    result = (result << 4) | std::uint64_t(d);
  }
  value = std::int64_t(negative ? 0 - result : result);
  return true;
}

std::int64_t ParseHex(std::string_view text) {
  std::int64_t value;
  if (!TryParseHex(text, value)) RaiseConvertError("%s is not a valid hex value", text);
  return value;
}

std::int64_t ParseOctal(std::string_view text) {
  std::int64_t value;
  if (!TryParseOctal(text, value)) RaiseConvertError("%s is not a valid octal value", text);
  return value;
}

std::int64_t ParseBinary(std::string_view text) {
  std::int64_t value;
  if (!TryParseBinary(text, value)) RaiseConvertError("%s is not a valid binary value", text);
  return value;
}

std::int32_t ParseNumber(std::string_view text, TNumMode mode) {
  std::int64_t value = 0;
  switch (mode) {
    case nmHex:
      if (!TryParseHex(text, value)) return 0;
      break;
    case nmOctal:
      if (!TryParseOctal(text, value)) return 0;
      break;
    case nmBin:
      if (!TryParseBinary(text, value)) return 0;
      break;
    case nmDecimal:
    case nmZeroDec:
    default: {
      // Signed 32-bit decimal; blanks around it are allowed, so that the space-filled word
      // texts of nmDecimal read back.
      while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
      while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
      if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
      std::int32_t number = 0;
      auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
      if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return 0;
      return number;
    }
  }
  return std::int32_t(std::uint32_t(std::uint64_t(value)));
}

int RoundHalfEven(double value) {
  const int mode = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double r = std::nearbyint(value);
  std::fesetround(mode);
  return int(r);
}
