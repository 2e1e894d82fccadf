// The single-line assembler on any line, and the disassembler's text assembled back.
// Input: a flags byte (bit 0: columns, bits 1-3: number base), the address and a word (two bytes
// each, low byte first), then the assembler line.
#include <string>

#include "FuzzSupport.h"
#include "NovaUtils.h"
#include "NovaWord.h"

namespace {

// NIO and the SKP tests do not show the accumulator field, which then assembles as 0.
std::uint16_t Reassembled(std::uint16_t word) {
  if (nova::IsIoClass(word) && (nova::TransferOf(word) == 0 || nova::TransferOf(word) == 7))
    return std::uint16_t(word & ~(3u << 11));
  return word;
}

bool IsRelative(std::uint16_t word) {
  return !(word & nova::ArithBit) && nova::GroupOf(word) != 3 && nova::IndexOf(word) == 1;
}

void CheckRoundTrip(std::uint16_t word, std::uint16_t address, TNumMode mode, bool columns) {
  // Without an address every text assembles back, at any address.
  const std::string text = CommandToStr(-1, word, mode, columns);
  std::uint16_t back = 0;
  FUZZ_CHECK(StrToCommand(text, address, back));
  FUZZ_CHECK(back == Reassembled(word));

  if (!IsRelative(word)) {
    FUZZ_CHECK(CommandToStr(address, word, mode, columns) == text);
    return;
  }
  // With the address, the target in parentheses is not accepted.
  FUZZ_CHECK(!StrToCommand(CommandToStr(address, word, mode, columns), address, back));
  // The target written as an absolute address above page zero, when it is not wrapped, is
  // made relative again.
  const int target = int(address) + nova::SignedDispOf(word);
  if (target > 0377 && target <= 0177777) {
    std::string absolute = CommandToStr(-1, word, nmOctal, false);
    absolute.replace(absolute.find('.'), std::string::npos, FormatOctal(std::uint32_t(target), 6));
    FUZZ_CHECK(StrToCommand(absolute, address, back));
    FUZZ_CHECK(back == word);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  const bool columns = flags & 1;
  const TNumMode mode = TNumMode(((flags >> 1) & 7) % NumModeCount);
  const std::uint16_t address = in.Word();
  const std::uint16_t word = in.Word();
  const std::string_view line = in.Rest();

  std::uint16_t assembled = 0;
  if (StrToCommand(line, address, assembled)) CheckRoundTrip(assembled, address, mode, columns);
  CheckRoundTrip(word, address, mode, columns);
  return 0;
}
