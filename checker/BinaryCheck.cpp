#include "BinaryCheck.h"

#include <cstdint>
#include <string>

#include "AbsoluteTape.h"
#include "NovaUtils.h"
#include "NumberUtils.h"
#include "ProgramLoadTape.h"
#include "PunchedLabel.h"
#include "SafeFormat.h"
#include "Translate.h"

namespace {

using tape::LongestDataBlockWord;
using tape::StartBlockWord;

// The trailer text shown is cut off after this many characters.
constexpr std::size_t TrailerShown = 72;

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

// " 000100 177743 ..." for every word, then the error when the tape ends before its last word.
bool ReportProgramLoadTape(const tape::TProgramLoadTape& t, TCheckContext& ctx) {
  ctx.Line("  " + SafeFormat(_("Program-load tape: %u words at %s"), t.Count, FormatWord(tape::ProgramLoadFirst, nmOctal)));
  if (ctx.ShowContents) {
    std::uint16_t address = tape::ProgramLoadFirst;
    for (std::uint16_t word : t.Words) {
      ctx.SelectedLine(ContentsLine(address, word) + ' ' + CommandToStr(address, word, nmOctal, true));
      ctx.LetCatchUp();
      ++address;
    }
  }
  if (t.Whole()) return true;
  ctx.Line("  " + SafeFormat(_("Program-load tape cut short by the end of the file: %u of %u words"), t.Words.size(),
                             t.Count));
  ctx.LetCatchUp();
  return false;
}

void ReportLabel(const tape::TPunchedLabel& label, TCheckContext& ctx) {
  ctx.Line("  " + SafeFormat(_("Label: %s"), label.Text));
  if (ctx.ShowContents)
    for (const std::string& dots : tape::LabelDots(label.Frames)) ctx.Line(' ' + dots);
  ctx.LetCatchUp();
}

// The text after the start block, shown when it is readable: printable characters after NUL
// leader, all in even parity (the parity bit stripped) or all without a parity bit, ending the
// tape or ended by NUL, CR or LF. False when reading failed.
bool ReportTrailer(TTapeReader& r, TCheckContext& ctx) {
  if (!r.SkipNulBytes()) return r.Error() == 0;
  std::string text;
  bool even = true, plain = true, ended = true;
  std::uint8_t b;
  while (text.size() < TrailerShown && r.GetByte(b)) {
    const char c = char(b & 0177);
    if (c < 040 || c > 0176) {
      ended = c == 0 || c == 012 || c == 015;
      break;
    }
    even = even && __builtin_parity(b) == 0;
    plain = plain && b < 0200;
    text += c;
  }
  if (r.Error() != 0) return false;
  if (!text.empty() && (even || plain) && ended) ctx.Line("  " + SafeFormat(_("Trailer: %s"), text));
  return true;
}

}  // namespace

bool CheckBinaryTape(TTapeReader& r, TCheckContext& ctx) {
  bool ok = true;
  std::uint64_t blocks = 0;
  // The head of the tape, before its blocks: a program-load tape (a binary tape may be spliced
  // behind it), a punched label.
  r.Fill();
  if (r.Error() != 0) return false;
  std::size_t head = 0;
  tape::TProgramLoadTape programLoad;
  const bool isProgramLoad = tape::FindProgramLoadTape(r.Data(), r.Available(), programLoad);
  if (isProgramLoad) {
    ok = ReportProgramLoadTape(programLoad, ctx);
    head = programLoad.End;
  }
  tape::TPunchedLabel label;
  if (tape::FindPunchedLabel(r.Data(), r.Available(), label, head)) {
    ReportLabel(label, ctx);
    head = label.End;
  }
  r.Consume(head);
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
    if (start) {  // the rest of the tape is trailer
      if (!ReportTrailer(r, ctx)) return false;
      break;
    }
    if (ctx.StopRequested()) return true;  // the file is left without its "Checked:" line
  }
  if (isProgramLoad && blocks == 0)
    ctx.Line("  " + (ok ? _("Checked: program-load tape: OK") : _("Checked: program-load tape: Errors found")));
  else
    ctx.Line("  " + SafeFormat(ok ? _("Checked: %u blocks: OK") : _("Checked: %u blocks: Errors found"), blocks));
  ctx.LetCatchUp();
  return true;
}
