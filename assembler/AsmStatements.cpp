// Statements that make a word: instructions of every kind and data words.
#include "AsmPass.h"
#include "NovaWord.h"
#include "SafeFormat.h"
#include "Translate.h"

namespace dgasm {

namespace {

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& ch : u)
    if (ch >= 'a' && ch <= 'z') ch = char(ch - 'a' + 'A');
  return u;
}

}  // namespace

void TAssembler::WordStatement(TCursor& c) {
  // The word counts in both passes, also when it has an error, so that the addresses of the
  // lines after it are the same in both.
  CheckRoom(1);
  const std::uint16_t address = std::uint16_t(FLoc);
  FStarted = true;
  if (FPass == 1) {
    ++FLoc;
    return;
  }
  FLine->Address = address;
  ++FLoc;
  const TValue value = StatementValue(c, address);
  ExpectEnd(c);
  FLine->Value = value.Value;
  P.Words.push_back({address, value.Value});
}

// An instruction or a data word; in the first pass possibly not known yet.
TValue TAssembler::StatementValue(TCursor& c, std::uint16_t address) {
  FDot = address;
  const std::size_t start = c.Pos();
  const std::string_view name = c.Symbol();
  if (!name.empty()) {
    const bool noLoad = c.Peek() == '#';
    if (noLoad) c.Advance();
    TInstruction ins;
    if (FindInstruction(name, ins)) return Instruction(ins, name, noLoad, c, address);
    if (noLoad) Fail('U', SafeFormat(_("unknown instruction %s#"), Shown(name)));
    // Not an instruction: with fields after it, say so rather than evaluate it.
    TCursor after = c;
    after.SkipBlanks();
    if (!after.AtEnd() && !IsOperator(after.Peek()) && FPass == 2) {
      const TAsmSym* sym = Lookup(name);
      if (!sym && name.size() > 1 && name[0] == '.')
        Fail('P', SafeFormat(_("unknown pseudo-op %s"), Shown(name)));
      if (!sym) Fail('U', SafeFormat(_("unknown instruction %s"), Shown(name)));
      if (after.Peek() == ',' || IsSymbolStart(after.Peek()) || IsDigit(after.Peek()) || after.Peek() == '@')
        Fail('S', SafeFormat(_("%s is a value, not an instruction: nothing may follow it"), Shown(name)));
    }
    c.SetPos(start);
  }
  // A data word: an expression; "@" sets bit 0.
  TValue value = Expression(c);
  if (value.Indirect) value.Value |= 0100000;
  value.Indirect = false;
  return value;
}

// The whole name as an instruction, or an instruction followed by its suffixes ("ADDZL",
// "NIOS"); the longest instruction name that leaves a valid suffix wins.
bool TAssembler::FindInstruction(std::string_view name, TInstruction& found) const {
  const TAsmSym* whole = Lookup(name);
  if (whole && IsInstruction(whole->Type) && VisibleNow(*whole)) {
    found = {whole, 0};
    return true;
  }
  const std::string upper = Upper(name);
  for (std::size_t length = upper.size() - 1; length >= 1; --length) {
    const TAsmSym* sym = Lookup(std::string_view(upper).substr(0, length));
    if (!sym || !IsInstruction(sym->Type) || !VisibleNow(*sym)) continue;
    std::uint16_t bits = 0;
    if (SuffixBits(*sym, std::string_view(upper).substr(length), bits)) {
      found = {sym, bits};
      return true;
    }
  }
  return false;
}

// The fields after an instruction: expressions separated by blanks or one comma.
std::vector<TValue> TAssembler::Fields(TCursor& c) {
  std::vector<TValue> fields;
  c.SkipBlanks();
  if (c.Peek() == ',') Fail('S', _("a field is missing before the comma"));
  while (!c.AtEnd()) {
    fields.push_back(Expression(c));
    c.SkipBlanks();
    if (c.Peek() == ',') {
      c.Advance();
      c.SkipBlanks();
      if (c.AtEnd() || c.Peek() == ',') Fail('S', _("a field is missing after a comma"));
    }
  }
  return fields;
}

std::uint16_t TAssembler::FieldValue(const TValue& field, unsigned max, const char* what) const {
  if (field.Value > max)
    Fail('O', SafeFormat(_("%s %o is out of range (0 to %o)"), _(what), unsigned(field.Value), max));
  return field.Value;
}

// Address [, index]: mode and displacement. With an index the expression is the displacement;
// without one, an address in page zero is used as it is, and any other must lie within -200 to
// +177 of the instruction, which then addresses it relative to itself.
std::uint16_t TAssembler::MemoryOperand(const std::vector<TValue>& fields, std::size_t at,
                                        std::uint16_t address) const {
  const std::uint16_t target = fields[at].Value;
  if (fields.size() > at + 1) {
    const unsigned index = FieldValue(fields[at + 1], 3, N_("index"));
    if (index == 0) {
      if (target > 0377) Fail('O', SafeFormat(_("page-zero displacement %o is out of range (0 to 377)"), unsigned(target)));
      return target;
    }
    const int signedTarget = target >= 0100000 ? int(target) - 0200000 : int(target);
    if (signedTarget < -0200 || signedTarget > 0177)
      Fail('O', SafeFormat(_("displacement %s%o is out of range (-200 to +177)"), signedTarget < 0 ? "-" : "",
                           unsigned(signedTarget < 0 ? -signedTarget : signedTarget)));
    return std::uint16_t(index << 8 | (unsigned(signedTarget) & 0377));
  }
  if (target <= 0377) return target;
  const int distance = int(target) - int(address);
  if (distance < -0200 || distance > 0177)
    Fail('A', SafeFormat(_("address %06o is out of reach from %06o: neither in page zero (0 to 377) nor within "
                           "-200 to +177 of the instruction"),
                         unsigned(target), unsigned(address)));
  return std::uint16_t(0400 | (unsigned(distance) & 0377));
}

TValue TAssembler::Instruction(const TInstruction& ins, std::string_view name, bool noLoad, TCursor& c,
                               std::uint16_t address) {
  const TAsmSym& sym = *ins.Sym;
  const std::string mnemonic = Upper(name);
  if (noLoad && sym.Type != stDalc)
    Fail('S', SafeFormat(_("# (no load) belongs only to arithmetic and logic instructions, not to %s"), mnemonic));
  const std::vector<TValue> fields = Fields(c);
  const auto count = [&](std::size_t least, std::size_t most, const char* form) {
    if (fields.size() < least || fields.size() > most) Fail('S', SafeFormat(_(form), mnemonic));
  };
  bool indirect = false;
  bool known = true;
  for (const TValue& f : fields) {
    indirect = indirect || f.Indirect;
    known = known && f.Known;
  }
  if (indirect && sym.Type != stDmr && sym.Type != stDmra)
    Fail('S', SafeFormat(_("@ (indirect) belongs only to memory-reference instructions, not to %s"), mnemonic));
  switch (sym.Type) {
    case stDalc: count(2, 3, N_("%s takes two accumulators and may take a skip")); break;
    case stDmr: count(1, 2, N_("%s takes an address and may take an index")); break;
    case stDmra: count(2, 3, N_("%s takes an accumulator and an address, and may take an index")); break;
    case stDio: count(1, 1, N_("%s takes a device code")); break;
    case stDioa: count(2, 2, N_("%s takes an accumulator and a device code")); break;
    default: count(1, 1, N_("%s takes an accumulator")); break;
  }
  TValue result;
  if (!known) {
    result.Known = false;
    return result;
  }
  std::uint16_t word = sym.Value | ins.SuffixBits;
  const char* const accumulator = N_("accumulator");
  switch (sym.Type) {
    case stDalc:
      word |= std::uint16_t(FieldValue(fields[0], 3, accumulator) << 13 | FieldValue(fields[1], 3, accumulator) << 11);
      if (fields.size() > 2) word |= FieldValue(fields[2], 7, N_("skip"));
      if (noLoad) word |= 010;
      break;
    case stDmr:
      word |= MemoryOperand(fields, 0, address);
      if (indirect) word |= nova::IndirectBit;
      break;
    case stDmra:
      word |= std::uint16_t(FieldValue(fields[0], 3, accumulator) << 11) | MemoryOperand(fields, 1, address);
      if (indirect) word |= nova::IndirectBit;
      break;
    case stDio: word |= FieldValue(fields[0], 077, N_("device code")); break;
    case stDioa:
      word |= std::uint16_t(FieldValue(fields[0], 3, accumulator) << 11) | FieldValue(fields[1], 077, N_("device code"));
      break;
    default: word |= std::uint16_t(FieldValue(fields[0], 3, accumulator) << 11); break;
  }
  result.Value = word;
  return result;
}

// .DUSR NAME = value, .DMR NAME = value and the other instruction-defining pseudo-ops.
void TAssembler::Definition(TCursor& c, TSymType type, std::string_view pseudoOp) {
  c.SkipBlanks();
  const std::string_view name = c.Symbol();
  if (name.empty()) Fail('S', SafeFormat(_("a name must follow %s"), pseudoOp));
  c.SkipBlanks();
  if (c.Peek() != '=') Fail('S', SafeFormat(_("= and a value must follow %s %s"), pseudoOp, Shown(name)));
  DefineAsValue(c, name, type);
}

// "= value" after NAME: the value (an instruction or an expression) defines the name.
void TAssembler::DefineAsValue(TCursor& c, std::string_view name, TSymType type) {
  c.Advance();
  c.SkipBlanks();
  const TValue value = StatementValue(c, std::uint16_t(FLoc));
  ExpectEnd(c);
  DefineSymbol(name, type, value, false);
  if (FPass == 2) FLine->Value = value.Value;
}

}  // namespace dgasm
