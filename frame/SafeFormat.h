// Message formatting that never fails. Format texts come from translated catalogs and are parsed
// here (flags - + blank # 0, width, precision, "*", "n$" positions, length letters ignored; the
// conversions d i u x X o c s f e E g G and %%). When a conversion does not fit its argument (text
// for %u, a number for %s, a missing argument, an unknown conversion) the result is the translated
// "Format error: " followed by the format text. Extra arguments are ignored.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

class TFormatArg {
public:
  enum TKind { fkSigned, fkUnsigned, fkFloat, fkText };

  template <class T>
    requires std::is_integral_v<T>
  TFormatArg(T v) {
    if constexpr (std::is_signed_v<T>) {
      FKind = fkSigned;
      FSigned = v;
    } else {
      FKind = fkUnsigned;
      FUnsigned = v;
    }
  }
  TFormatArg(double v) : FKind(fkFloat), FFloat(v) {}
  TFormatArg(const char* v) : FKind(fkText), FText(v ? v : "") {}
  TFormatArg(std::string_view v) : FKind(fkText), FText(v) {}
  TFormatArg(const std::string& v) : FKind(fkText), FText(v) {}

  TKind Kind() const { return FKind; }
  std::int64_t Signed() const { return FSigned; }
  std::uint64_t Unsigned() const { return FUnsigned; }
  double Float() const { return FFloat; }
  std::string_view Text() const { return FText; }

private:
  TKind FKind;
  std::int64_t FSigned = 0;
  std::uint64_t FUnsigned = 0;
  double FFloat = 0;
  std::string_view FText;
};

// False when the format does not fit the arguments; out then holds nothing useful.
bool TryFormat(std::string_view format, std::span<const TFormatArg> args, std::string& out);
std::string SafeFormatArgs(std::string_view format, std::span<const TFormatArg> args);

template <class... TArgs>
std::string SafeFormat(std::string_view format, const TArgs&... args) {
  if constexpr (sizeof...(TArgs) == 0) {
    return SafeFormatArgs(format, {});
  } else {
    const TFormatArg list[] = {TFormatArg(args)...};
    return SafeFormatArgs(format, list);
  }
}
