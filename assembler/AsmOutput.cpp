// Listing, symbol file, tapes and memory image of an assembled program.
#include "AsmOutput.h"

#include <algorithm>

#include "NumberUtils.h"
#include "SafeFormat.h"
#include "Translate.h"

namespace {

constexpr std::size_t LeaderLength = 64;  // NUL frames before and after a tape's blocks
// A program-load tape's NUL frames: kept short, so that a binary tape fed after it (a loader,
// then its program) is not taken for one with a punched label, which ends in a long NUL leader.
constexpr std::size_t BootstrapLeader = 16;

void AppendOctal(std::string& out, unsigned value, int digits) {
  char text[8];
  for (int i = digits - 1; i >= 0; --i) {
    text[i] = char('0' + (value & 7));
    value >>= 3;
  }
  out.append(text, std::size_t(digits));
}

// flags (2), address (5), blank, word (6), two blanks, source: "  00101 020105  LOOP: LDA 0,X"
void AppendListed(std::string& out, std::string_view flags, int address, int value, std::string_view text) {
  const std::size_t start = out.size();
  out.append(flags.substr(0, 2));
  out.append(2 - std::min<std::size_t>(flags.size(), 2), ' ');
  if (address >= 0)
    AppendOctal(out, unsigned(address), 5);
  else
    out.append(5, ' ');
  out += ' ';
  if (value >= 0)
    AppendOctal(out, unsigned(value), 6);
  else
    out.append(6, ' ');
  if (!text.empty()) {
    out.append(2, ' ');
    out.append(text);
  }
  while (out.size() > start && out.back() == ' ') out.pop_back();
  out += '\n';
}

class TTapeBytes {
public:
  explicit TTapeBytes(std::vector<std::uint8_t>& tape) : FTape(tape) {}
  void Nul(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) FTape.push_back(0);
  }
  void LowFirst(std::uint16_t w) {
    FTape.push_back(std::uint8_t(w & 0xFF));
    FTape.push_back(std::uint8_t(w >> 8));
  }
  void HighFirst(std::uint16_t w) {
    FTape.push_back(std::uint8_t(w >> 8));
    FTape.push_back(std::uint8_t(w & 0xFF));
  }
  // A block: its words with the checksum third, chosen so that all of them sum to 0.
  void Block(std::uint16_t first, std::uint16_t address, const std::uint16_t* data, std::size_t count) {
    unsigned sum = first + address;
    for (std::size_t i = 0; i < count; ++i) sum += data[i];
    LowFirst(first);
    LowFirst(address);
    LowFirst(std::uint16_t(0 - sum));
    for (std::size_t i = 0; i < count; ++i) LowFirst(data[i]);
  }

private:
  std::vector<std::uint8_t>& FTape;
};

constexpr std::size_t MaxDataBlock = 16;
constexpr std::size_t MinRepeatRun = 17;

// The words of one stretch of consecutive addresses: data blocks, and repeat blocks for runs.
void AddStretch(TTapeBytes& tape, const TAsmWord* words, std::size_t count) {
  std::vector<std::uint16_t> values(count);
  for (std::size_t i = 0; i < count; ++i) values[i] = words[i].Value;
  std::size_t pending = 0;  // first word not yet on the tape
  const auto flush = [&](std::size_t end) {
    for (; pending < end; pending += std::min(MaxDataBlock, end - pending)) {
      const std::size_t n = std::min(MaxDataBlock, end - pending);
      tape.Block(std::uint16_t(0 - n), words[pending].Address, &values[pending], n);
    }
  };
  for (std::size_t i = 0; i < count;) {
    std::size_t run = 1;
    while (i + run < count && values[i + run] == values[i]) ++run;
    if (run >= MinRepeatRun) {
      flush(i);
      // A repeat block: -(n+1) puts the value at n addresses.
      tape.Block(std::uint16_t(0 - (run + 1)), words[i].Address, &values[i], 1);
      pending = i + run;
    }
    i += run;
  }
  flush(count);
}

}  // namespace

std::string ListingText(const TAsmProgram& program) {
  std::string out;
  out.reserve(program.Lines.size() * 48);
  for (const TAsmLine& line : program.Lines) {
    char flags[3] = {0, 0, 0};
    for (std::uint32_t e = 0; e < line.ErrorCount && e < 2; ++e) flags[e] = program.Errors[line.FirstError + e].Flag;
    AppendListed(out, flags, line.Address, line.Value, line.Text);
    for (std::uint32_t w = 1; w < line.WordCount; ++w) {
      const TAsmWord& word = program.Words[line.FirstWord + w];
      AppendListed(out, "", word.Address, word.Value, "");
    }
    for (std::uint32_t e = 0; e < line.ErrorCount; ++e) {
      const TAsmError& error = program.Errors[line.FirstError + e];
      out += "*** ";
      out += error.Flag;
      out += ": ";
      out += error.Message;
      out += '\n';
    }
  }
  // Errors of whole files (a source after .END)
  for (const TAsmError& error : program.Errors)
    if (error.Line <= 0) out += "*** " + program.ErrorText(error) + '\n';
  if (!program.Symbols.Empty()) {
    out += '\n';
    out += SymbolFileText(program.Symbols);
  }
  return out;
}

std::string SymbolFileText(const TSymbolTable& symbols) {
  std::string out;
  for (const TSymbol& s : symbols.Symbols()) {
    out += s.Name;
    out += ' ';
    AppendOctal(out, s.Value, 6);
    out += '\n';
  }
  return out;
}

std::vector<std::uint8_t> AbsoluteTape(const TAsmProgram& program) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(4 * LeaderLength + 3 * program.Words.size());
  TTapeBytes tape(bytes);
  tape.Nul(LeaderLength);
  const std::vector<TAsmWord>& words = program.Words;
  for (std::size_t i = 0; i < words.size();) {
    std::size_t n = 1;
    while (i + n < words.size() && words[i + n].Address == words[i + n - 1].Address + 1) ++n;
    AddStretch(tape, &words[i], n);
    i += n;
  }
  const std::uint16_t start = program.Start >= 0 ? std::uint16_t(program.Start) : std::uint16_t(0100000);
  tape.Block(1, start, nullptr, 0);
  tape.Nul(LeaderLength);
  return bytes;
}

bool BootstrapTape(const TAsmProgram& program, std::vector<std::uint8_t>& tape, std::string& error) {
  tape.clear();
  if (program.Words.empty()) {
    error = _("the program has no words to put on a program-load tape");
    return false;
  }
  std::vector<std::uint16_t> image(BootstrapLast + 1, 0);
  unsigned last = BootstrapFirst;
  for (const TAsmWord& w : program.Words) {
    if (w.Address < BootstrapFirst || w.Address >= BootstrapLast) {
      error = SafeFormat(_("a program-load tape loads words at 101 to 376 only, and the program has one at %06o"),
                         unsigned(w.Address));
      return false;
    }
    image[w.Address] = w.Value;
    last = std::max(last, unsigned(w.Address));
  }
  if (program.Start < BootstrapFirst || program.Start > int(last)) {
    error = program.Start < 0 ? _("a program-load tape needs a start address: end the program with .END and its start")
                              : SafeFormat(_("the start address %06o lies outside the program (000101 to %06o)"),
                                           unsigned(program.Start), last);
    return false;
  }
  // The loader jumps to the last word it loaded: a JMP to the start (page zero).
  image[last + 1] = std::uint16_t(program.Start);
  const unsigned count = (last + 1 - BootstrapFirst + 1) + 1;  // the words, and the count word itself
  TTapeBytes bytes(tape);
  constexpr std::uint8_t Marker = 0377;
  bytes.Nul(BootstrapLeader);
  tape.push_back(Marker);
  bytes.HighFirst(std::uint16_t(0 - count));
  for (unsigned a = BootstrapFirst; a <= last + 1; ++a) bytes.HighFirst(image[a]);
  bytes.Nul(BootstrapLeader);
  return true;
}

std::vector<std::uint8_t> DumpImage(const TAsmProgram& program) {
  unsigned size = 0;
  for (const TAsmWord& w : program.Words) size = std::max(size, unsigned(w.Address) + 1);
  std::vector<std::uint8_t> image(std::size_t(size) * 2, 0);
  for (const TAsmWord& w : program.Words) {
    image[std::size_t(w.Address) * 2] = std::uint8_t(w.Value & 0xFF);
    image[std::size_t(w.Address) * 2 + 1] = std::uint8_t(w.Value >> 8);
  }
  return image;
}
