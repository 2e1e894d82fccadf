// The number edit's text rules (the value input dialog's field): any typed text read back, and
// every value shown in a format read back as itself. Input: a flags byte (bit 0: prefix, bit 1:
// bytes view, bits 2-4: the mode of the format, bits 5-7: the mode typing is in), the bit count
// and the digit count (a byte each), the group size (a byte), the value (eight bytes, low
// first), then the typed text.
#include <string>

#include "FuzzSupport.h"
#include "NumberEdText.h"

namespace {

std::string_view Trimmed(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t' || t.front() == '\r' || t.front() == '\n')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r' || t.back() == '\n')) t.remove_suffix(1);
  return t;
}

// A text read back: nothing there, or a value with the error flag telling whether a part failed.
// One part without a prefix in octal, hex or binary reads as those parsers read it.
void CheckReading(std::string_view text, bool prefix, TNumMode mode) {
  const TNumberEditReading r = ReadNumberEditText(text, prefix, mode);
  if (r.Empty) FUZZ_CHECK(r.Value == 0 && !r.Error);
  const std::string_view t = Trimmed(text);
  if (prefix || r.Empty || t.find('_') != std::string_view::npos) return;
  std::int64_t value = 0;
  bool ok = true;
  switch (mode) {
    case nmHex: ok = TryParseHex(t, value); break;
    case nmOctal: ok = TryParseOctal(t, value); break;
    case nmBin: ok = TryParseBinary(t, value); break;
    default: return;
  }
  FUZZ_CHECK(r.Error == !ok);
  FUZZ_CHECK(r.Value == (ok ? value : 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  TNumberEditFormat f;
  f.Prefix = flags & 1;
  f.Bytes = flags & 2;
  f.NumMode = TNumMode(((flags >> 2) & 7) % NumModeCount);
  const TNumMode typing = TNumMode((flags >> 5) % NumModeCount);
  f.Bits = 1 + in.Byte() % 32;
  f.Digits = in.Byte() % 40;
  f.GroupDigits = in.Byte() % 12;
  std::uint64_t raw = 0;
  for (int b = 0; b < 8; ++b) raw |= std::uint64_t(in.Byte()) << (8 * b);
  const std::string_view text = in.Rest();

  CheckReading(text, f.Prefix, typing);
  for (const char32_t c : {U'$', U'%', U'!', U'0', U'+'}) PrefixInputMode(c);

  // A value of the field's bits (any 32-bit value in decimal) comes back from its text; every
  // character of it but the byte separator can be typed in the format's mode.
  const bool decimal = f.NumMode == nmDecimal || f.NumMode == nmZeroDec;
  const std::int64_t value = decimal && !f.Bytes ? std::int64_t(std::int32_t(raw))
                                                 : std::int64_t(raw & ((std::uint64_t(1) << f.Bits) - 1));
  const std::string shown = NumberEditText(value, f);
  const TNumberEditReading back = ReadNumberEditText(shown, f.Prefix, f.NumMode);
  FUZZ_CHECK(!back.Empty && !back.Error);
  FUZZ_CHECK(back.Value == value);
  for (const char c : shown) FUZZ_CHECK(c == '_' ? f.Bytes : IsNumberEditChar(char32_t(std::uint8_t(c)), f.NumMode));
  FUZZ_CHECK(NumberEditDigits(f) >= 0);
  return 0;
}
