// The pseudo-ops: location, blocks, texts, radix, the end of the program and of a tape, and
// the symbol-defining ones.
#include "AsmPass.h"
#include "SafeFormat.h"
#include "Translate.h"

namespace dgasm {

namespace {

struct TPseudoOpName {
  const char* Name;
  TPseudoOp Op;
};

// Only the first 5 characters count: ".TITLE" is ".TITL".
constexpr TPseudoOpName PseudoOps[] = {
    {".TITL", poTitl}, {".LOC", poLoc},   {".BLK", poBlk},   {".END", poEnd},   {".TXT", poTxt},
    {".TXTM", poTxtm}, {".TXTE", poTxte}, {".TXTO", poTxto}, {".TXTF", poTxtf}, {".RDX", poRdx},
    {".EOT", poEot},   {".XPNG", poXpng}, {".DMR", poDmr},   {".DMRA", poDmra}, {".DALC", poDalc},
    {".DIO", poDio},   {".DIOA", poDioa}, {".DIAC", poDiac}, {".DUSR", poDusr}, {".ENT", poEnt},
    // for a relocating loader only
    {".EXTN", poRelocatable}, {".EXTD", poRelocatable}, {".EXTU", poRelocatable}, {".ZREL", poRelocatable},
    {".NREL", poRelocatable}, {".COMM", poRelocatable}, {".CSIZ", poRelocatable}, {".GADD", poRelocatable},
    {".GREF", poRelocatable}, {".ENTO", poRelocatable},
};

// The even-parity bit of a 7-bit character (bit 7 set when the other bits hold an odd number of ones).
unsigned EvenParityBit(unsigned ch) {
  unsigned ones = 0;
  for (unsigned b = ch & 0177; b; b >>= 1) ones += b & 1;
  return (ones & 1) ? 0200 : 0;
}

}  // namespace

bool TAssembler::FindPseudoOp(std::string_view name, TPseudoOp& op) const {
  if (name.size() < 2 || name[0] != '.') return false;
  const TSymKey key = SymKey(name);
  for (const TPseudoOpName& p : PseudoOps)
    if (SymKey(p.Name) == key) {
      op = p.Op;
      return true;
    }
  return false;
}

void TAssembler::PseudoOp(TPseudoOp op, std::string_view name, TCursor& c) {
  const std::string pseudoOp = [&] {
    for (const TPseudoOpName& p : PseudoOps)
      if (p.Op == op && SymKey(p.Name) == SymKey(name)) return std::string(p.Name);
    return std::string(name);
  }();
  switch (op) {
    case poTitl: {
      c.SkipBlanks();
      const std::string_view title = c.Symbol();
      if (title.empty()) Fail('S', _("a title (a name) must follow .TITL"));
      ExpectEnd(c);
      if (FPass == 2) P.Title = title;
      return;
    }
    case poLoc: {
      const std::uint16_t at = KnownValue(c, pseudoOp);
      if (at > 077777) Fail('L', SafeFormat(_(".LOC %06o lies beyond the end of memory (77777)"), unsigned(at)));
      FLoc = at;
      if (FPass == 2) FLine->Value = at;
      return;
    }
    case poBlk: {
      const std::uint16_t count = KnownValue(c, pseudoOp);
      if (FPass == 2) FLine->Address = int(FLoc);
      CheckRoom(count);
      FLoc += count;
      FStarted = true;
      return;
    }
    case poEnd: {
      FEnded = true;
      c.SkipBlanks();
      if (c.AtEnd()) return;
      const TValue start = Expression(c);
      ExpectEnd(c);
      if (FPass != 2) return;
      if (start.Indirect) Fail('S', _("@ makes no sense after .END"));
      if (start.Value > 077777) Fail('O', SafeFormat(_("start address %06o is out of range (0 to 77777)"), unsigned(start.Value)));
      P.Start = start.Value;
      FLine->Value = start.Value;
      return;
    }
    case poTxt: return Text(c, pseudoOp, -1);
    case poTxte: return Text(c, pseudoOp, 0);
    case poTxto: return Text(c, pseudoOp, 1);
    case poTxtm: {
      const std::uint16_t mode = KnownValue(c, pseudoOp);
      if (mode > 1) Fail('O', _(".TXTM takes 0 (right byte first) or 1 (left byte first)"));
      FLeftFirst = mode == 1;
      return;
    }
    case poRdx: return Radix(c);
    case poEot:
      ExpectEnd(c);
      FEndOfFile = true;
      return;
    case poXpng:
      ExpectEnd(c);
      if (FStarted)
        Fail('P', _(".XPNG must come first, before any symbol is defined or any word assembled"));
      // Forgets every symbol but the pseudo-ops; the definitions that follow make the new set.
      if (FPass == 1) FSyms.clear();
      return;
    case poDmr: return Definition(c, stDmr, pseudoOp);
    case poDmra: return Definition(c, stDmra, pseudoOp);
    case poDalc: return Definition(c, stDalc, pseudoOp);
    case poDio: return Definition(c, stDio, pseudoOp);
    case poDioa: return Definition(c, stDioa, pseudoOp);
    case poDiac: return Definition(c, stDiac, pseudoOp);
    case poDusr: return Definition(c, stValue, pseudoOp);
    case poEnt: return;  // the entry names matter only to a relocating loader
    case poTxtf: Fail('P', SafeFormat(_("%s is not supported"), pseudoOp));
    case poRelocatable:
      Fail('P', SafeFormat(_("%s is for relocatable programs; this assembler makes absolute programs only"),
                           pseudoOp));
  }
}

// .RDX n: the radix of numbers without a point, 2 to 10; n itself is always decimal.
void TAssembler::Radix(TCursor& c) {
  c.SkipBlanks();
  const std::size_t start = c.Pos();
  while (IsDigit(c.Peek())) c.Advance();
  const std::string_view digits = c.Text().substr(start, c.Pos() - start);
  if (c.Peek() == '.') c.Advance();
  if (digits.empty()) Fail('S', _("a radix (2 to 10, decimal) must follow .RDX"));
  ExpectEnd(c);
  const int radix = digits.size() <= 2 ? std::stoi(std::string(digits)) : 99;
  if (radix < 2 || radix > 10) Fail('O', SafeFormat(_("radix %s is out of range (2 to 10)"), Shown(digits)));
  FRadix = radix;
}

// .TXT /text/: two characters a word, then a zero byte (a whole zero word after an even count);
// <n> is a character code. Parity -1 none, 0 even, 1 odd.
void TAssembler::Text(TCursor& c, std::string_view name, int parity) {
  c.SkipBlanks();
  if (c.AtLineEnd()) Fail('T', SafeFormat(_("a text between two delimiters must follow %s"), name));
  const char delimiter = c.Peek();
  c.Advance();
  std::string bytes;
  // Errors in the characters leave the count of words as it is: they are reported at the end.
  bool failed = false;
  TLineError first{' ', {}};
  const auto note = [&](char flag, std::string message) {
    if (!failed) first = {flag, std::move(message)};
    failed = true;
  };
  for (;;) {
    if (c.AtLineEnd())
      Fail('T', SafeFormat(_("the text of %s is not terminated: %s is missing at the end of the line"), name,
                           Shown(std::string_view(&delimiter, 1))));
    const char ch = c.Peek();
    c.Advance();
    if (ch == delimiter) break;
    if (ch == '<') {
      const std::string_view rest = c.Rest();
      const std::size_t close = rest.find('>');
      if (close == std::string_view::npos || rest.substr(0, close).find(delimiter) != std::string_view::npos)
        Fail('T', _("a character code <n> in the text is not closed with >"));
      TCursor inner(rest.substr(0, close));
      c.Advance(close + 1);
      try {
        inner.SkipBlanks();
        const TValue code = Expression(inner);
        ExpectEnd(inner);
        if (code.Value > 0377) Fail('O', SafeFormat(_("character code %o is out of range (0 to 377)"), unsigned(code.Value)));
        bytes.push_back(char(code.Value));
      } catch (const TLineError& e) {
        note(e.Flag, e.Message);
        bytes.push_back(0);
      }
      continue;
    }
    if (static_cast<unsigned char>(ch) >= 0200)
      note('T', SafeFormat(_("the text holds a byte that is not 7-bit ASCII (%s); write its code as <n>"),
                           Shown(std::string_view(&ch, 1))));
    bytes.push_back(ch);
  }
  if (parity >= 0)
    for (char& b : bytes) {
      const unsigned ch = static_cast<unsigned char>(b) & 0177;
      b = char(ch | (EvenParityBit(ch) ^ (parity ? 0200 : 0)));
    }
  bytes.push_back(0);
  if (bytes.size() % 2) bytes.push_back(0);
  ExpectEnd(c);
  const std::size_t words = bytes.size() / 2;
  CheckRoom(words);
  FStarted = true;
  if (FPass == 2) {
    FLine->Address = int(FLoc);
    const auto b = [&](std::size_t i) { return unsigned(static_cast<unsigned char>(bytes[i])); };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
      const std::uint16_t word = FLeftFirst ? std::uint16_t(b(i) << 8 | b(i + 1)) : std::uint16_t(b(i + 1) << 8 | b(i));
      if (i == 0) FLine->Value = word;
      Emit(word);
    }
  } else {
    FLoc += unsigned(words);
  }
  if (failed) throw first;
}

}  // namespace dgasm
