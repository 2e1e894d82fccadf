// Number texts: words and bytes in five number modes, parsing them back, and size texts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

enum TNumMode : int { nmDecimal = 0, nmHex = 1, nmOctal = 2, nmBin = 3, nmZeroDec = 4 };

constexpr int NumModeCount = 5;
extern const int NumModeRadix[NumModeCount];      // 10 16 8 2 10
extern const int NumModeWordWidth[NumModeCount];  // 5 4 6 16 5
extern const int NumModeByteWidth[NumModeCount];  // 3 2 3 8 3

// Raised by the Parse... operations; what() is the translated message with the text put in.
class EConvertError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

std::string FormatHex(std::uint32_t value, int digits, int group = 0);
std::string FormatOctal(std::uint32_t value, int digits, int group = 0);
std::string FormatBinary(std::uint32_t value, int digits, int group = 0);
std::string FormatDecimal(std::int64_t value, int digits, int group = 0, bool zeroFill = false);
std::string FormatWord(std::int64_t value, TNumMode mode);  // reduced to 16 bits first
std::string FormatByte(std::int64_t value, TNumMode mode);  // reduced to 8 bits first
// FormatWord without allocating: writes at most 16 characters (no terminator), returns the count.
std::size_t FormatWordInto(char* out, std::int64_t value, TNumMode mode);
std::string InsertGroupSeparators(std::string_view text, int group, char separator = ' ');
std::string FormatSize(std::int64_t count, bool decimalUnits = false);

bool TryParseHex(std::string_view text, std::int64_t& value);
bool TryParseOctal(std::string_view text, std::int64_t& value);
bool TryParseOctal(std::string_view text, std::int32_t& value);  // the low 32 bits
bool TryParseBinary(std::string_view text, std::int64_t& value);
std::int64_t ParseHex(std::string_view text);     // throws EConvertError
std::int64_t ParseOctal(std::string_view text);   // throws EConvertError
std::int64_t ParseBinary(std::string_view text);  // throws EConvertError
std::int32_t ParseNumber(std::string_view text, TNumMode mode);  // 0 on any failure, never throws

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int RoundHalfEven(double value);
