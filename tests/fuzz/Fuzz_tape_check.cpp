// The checks of the tape file checker on tapes in memory: binary mode with and without the
// contents listed, and the look at a text tape that decides on its repair. The check runs over
// files and the repair itself: Fuzz_tape_repair.cpp. Input: a flags byte (bit 0: text mode,
// bit 1: show contents), then the tape.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "BinaryCheck.h"
#include "FuzzSupport.h"
#include "TextRepair.h"

namespace {

// Keeps the last line and counts them all: a listing can have millions.
class TLastLine : public TResultSink {
public:
  void ClearLines() override { Count = 0; }
  void AppendLine(const std::string& line) override {
    Last = line;
    ++Count;
  }
  void SelectLastLine() override { FUZZ_CHECK(Count > 0); }

  std::string Last;
  std::size_t Count = 0;
};

// The number of contents lines a binary tape lists: a data word each, and a repeat block as many
// as its count (up to 65534). Tapes that would list more than a few hundred are checked without
// the contents, which otherwise take most of the time.
std::size_t ContentsLines(std::string_view tape) {
  std::size_t lines = 0;
  std::size_t at = 0;
  const auto word = [&] {
    const std::uint16_t low = at < tape.size() ? std::uint8_t(tape[at]) : 0;
    const std::uint16_t high = at + 1 < tape.size() ? std::uint8_t(tape[at + 1]) : 0;
    at += 2;
    return std::uint16_t(low | (high << 8));
  };
  while (at < tape.size()) {
    const std::uint16_t w = word();
    if (w == 0) continue;
    const std::size_t n = 0200000 - w;
    if (w == 1) {
      at += 4;
    } else if (n <= 16) {
      at += 4 + 2 * n;
      lines += n;
    } else {
      at += 6;
      lines += n - 1;
    }
  }
  return lines;
}

// The binary check's lines, ending with its verdict.
std::string CheckBinary(TTapeReader& reader, std::string_view tape, bool contents) {
  static const std::function<void()> noCatchUp;
  TLastLine lines;
  TCheckContext ctx{lines, noCatchUp, contents};
  reader.OpenBytes(reinterpret_cast<const std::uint8_t*>(tape.data()), tape.size());
  FUZZ_CHECK(CheckBinaryTape(reader, ctx));
  FUZZ_CHECK(lines.Last.compare(0, 11, "  Checked: ") == 0);
  return lines.Last;
}

FUZZ_UNTRACED TTextScan Counted(std::string_view tape) {
  TTextScan scan;
  for (const char c : tape) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b != 0 && (b & 0200)) ++scan.Parity;
    if (b == 0 || (b & 0177) == 0177) {
      ++scan.Fill;
    } else {
      ++scan.Content;
      if (IsForeignControl(b & 0177)) ++scan.Foreign;
    }
  }
  return scan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<TTapeReader> reader = std::make_unique<TTapeReader>();
  TFuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  const std::string_view tape = in.Rest();

  if (flags & 1) {
    TTextScan scan;
    reader->OpenBytes(reinterpret_cast<const std::uint8_t*>(tape.data()), tape.size());
    FUZZ_CHECK(ScanTextTape(*reader, scan));
    const TTextScan expected = Counted(tape);
    FUZZ_CHECK(scan.Content == expected.Content && scan.Fill == expected.Fill);
    FUZZ_CHECK(scan.Parity == expected.Parity && scan.Foreign == expected.Foreign);
    return 0;
  }
  // The verdict does not depend on the contents being listed.
  const std::string verdict = CheckBinary(*reader, tape, false);
  if ((flags & 2) && ContentsLines(tape) <= 300) FUZZ_CHECK(CheckBinary(*reader, tape, true) == verdict);
  return 0;
}
