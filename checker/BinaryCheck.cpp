#include "BinaryCheck.h"

#include <cstdint>
#include <string>

#include "NovaUtils.h"
#include "NumberUtils.h"
#include "SafeFormat.h"
#include "Translate.h"

namespace {

constexpr std::uint16_t StartBlockWord = 1;
constexpr std::uint16_t LongestDataBlockWord = 0177760;  // 16 data words

// " 001000 060110" (and " " + disassembly for data words)
std::string ContentsLine(std::uint16_t address, std::uint16_t word) {
  std::string line;
  line.reserve(48);
  line += ' ';
  line += FormatWord(address, nmOctal);
  line += ' ';
  line += FormatWord(word, nmOctal);
  return line;
}

void ReportBlockError(TCheckContext& ctx, const char* msgid, std::uint64_t position) {
  ctx.Line("  " + SafeFormat(UpperHexFormat(_(msgid)), position, position));
  ctx.LetCatchUp();
}

// Reads a data block after its word-count word; false when the file ends inside it.
bool ReadDataBlock(TTapeReader& r, TCheckContext& ctx, std::uint16_t w, std::uint16_t& sum) {
  const unsigned count = 0x10000u - w;
  std::uint16_t address, checksum, word;
  if (!r.GetWord(address) || !r.GetWord(checksum)) return false;
  sum = static_cast<std::uint16_t>(sum + address + checksum);
  if (!ctx.ShowContents) {
    for (unsigned i = 0; i < count; ++i) {
      if (!r.GetWord(word)) return false;
      sum = static_cast<std::uint16_t>(sum + word);
    }
    return true;
  }
  for (unsigned i = 0; i < count; ++i) {
    if (!r.GetWord(word)) return false;
    ctx.SelectedLine(ContentsLine(address, word) + ' ' + CommandToStr(address, word, nmOctal, true));
    ctx.LetCatchUp();
    ++address;
    sum = static_cast<std::uint16_t>(sum + word);
  }
  return true;
}

bool ReadRepeatBlock(TTapeReader& r, TCheckContext& ctx, std::uint16_t w, std::uint16_t& sum) {
  std::uint16_t address, checksum, value;
  if (!r.GetWord(address) || !r.GetWord(checksum) || !r.GetWord(value)) return false;
  sum = static_cast<std::uint16_t>(sum + address + checksum + value);
  if (ctx.ShowContents) {
    const unsigned count = 0x10000u - w;
    for (unsigned i = 1; i < count; ++i, ++address) ctx.Line(ContentsLine(address, value));
    if (count > 1) ctx.Sink.SelectLastLine();
  }
  ctx.LetCatchUp();
  return true;
}

bool ReadStartBlock(TTapeReader& r, TCheckContext& ctx, std::uint16_t& sum) {
  std::uint16_t start, checksum;
  if (!r.GetWord(start) || !r.GetWord(checksum)) return false;
  sum = static_cast<std::uint16_t>(sum + start + checksum);
  if (ctx.ShowContents) {
    std::string line(1, ' ');
    line.append(_("Start at")).append(1, ' ').append(FormatWord(start, nmOctal));
    ctx.SelectedLine(line);
  }
  return true;
}

}  // namespace

bool CheckBinaryTape(TTapeReader& r, TCheckContext& ctx) {
  bool ok = true;
  std::uint64_t blocks = 0;
  for (;;) {
    // An error names the offset just after the previous block, before its gap.
    const std::uint64_t position = r.Offset();
    if (!r.SkipNulBytes()) break;
    std::uint16_t w = 0;
    bool whole = r.GetWord(w);
    std::uint16_t sum = w;
    const bool start = w == StartBlockWord;
    if (whole) {
      if (start)
        whole = ReadStartBlock(r, ctx, sum);
      else if (w >= LongestDataBlockWord)
        whole = ReadDataBlock(r, ctx, w, sum);
      else
        whole = ReadRepeatBlock(r, ctx, w, sum);
    }
    if (r.Error() != 0) return false;
    ++blocks;
    if (!whole) {
      ReportBlockError(ctx, "Block cut short by the end of the file at position: %u ($%x)", position);
      ok = false;
      break;
    }
    if (sum != 0) {
      ReportBlockError(ctx, "Error in block at position: %u ($%x)", position);
      ok = false;
    }
    if (start) break;  // the rest of the tape is trailer
    if (ctx.StopRequested()) return true;  // the file is left without its "Checked:" line
  }
  ctx.Line("  " + SafeFormat(ok ? _("Checked: %u blocks: OK") : _("Checked: %u blocks: Errors found"), blocks));
  ctx.LetCatchUp();
  return true;
}
