// Expressions: numbers, symbols, ".", character constants, and the operators + - * / ! &,
// evaluated strictly from left to right.
#include "AsmPass.h"
#include "SafeFormat.h"
#include "Translate.h"

namespace dgasm {

namespace {

std::uint16_t Apply(std::uint16_t a, char op, std::uint16_t b) {
  switch (op) {
    case '+': return std::uint16_t(a + b);
    case '-': return std::uint16_t(a - b);
    case '*': return std::uint16_t(unsigned(a) * unsigned(b));
    case '/': return b == 0 ? 0 : std::uint16_t(a / b);
    case '!': return std::uint16_t(a | b);
    default: return std::uint16_t(a & b);
  }
}

}  // namespace

// Blanks separate fields, but an operator may stand between blanks: "A + 1" is one field,
// while in "0 -5" the minus signs the second field.
TValue TAssembler::Expression(TCursor& c) {
  bool indirect = false;
  while (c.Peek() == '@') {
    indirect = true;
    c.Advance();
    c.SkipBlanks();
  }
  TValue result = Term(c);
  for (;;) {
    const std::size_t before = c.Pos();
    const std::size_t blanks = c.SkipBlanks();
    const char op = c.Peek();
    const bool sign = op == '+' || op == '-';
    if (!IsOperator(op) || (blanks > 0 && sign && !IsBlank(c.Peek(1)))) {
      c.SetPos(before);
      break;
    }
    c.Advance();
    c.SkipBlanks();
    const TValue right = Term(c);
    if (op == '/' && right.Known && right.Value == 0 && result.Known) Fail('O', _("division by zero"));
    result.Value = Apply(result.Value, op, right.Value);
    result.Known = result.Known && right.Known;
  }
  result.Indirect = indirect;
  return result;
}

TValue TAssembler::Term(TCursor& c) {
  // Signs in front (a loop, so that no line of signs runs the stack out)
  bool negate = false;
  while (c.Peek() == '-' || c.Peek() == '+') {
    if (c.Peek() == '-') negate = !negate;
    c.Advance();
  }
  if (negate) {
    TValue t = Term(c);
    t.Value = std::uint16_t(-t.Value);
    return t;
  }
  const char ch = c.Peek();
  if (IsDigit(ch)) return Number(c);
  if (ch == '"') {
    // "c: the character's code
    c.Advance();
    if (c.AtLineEnd()) Fail('S', _("a character must follow \""));
    const unsigned char code = static_cast<unsigned char>(c.Peek());
    if (code >= 0200) Fail('S', _("the character after \" is not 7-bit ASCII"));
    c.Advance();
    return TValue{code};
  }
  if (IsSymbolStart(ch)) {
    const std::string_view name = c.Symbol();
    if (name == ".") return TValue{FDot};
    return SymbolValue(name);
  }
  if (c.AtEnd()) Fail('S', _("a value is missing"));
  Fail('S', SafeFormat(_("%s is not a valid expression"), Shown(c.RestOfStatement())));
}

TValue TAssembler::SymbolValue(std::string_view name) {
  const TAsmSym* sym = Lookup(name);
  if (sym && VisibleNow(*sym)) return TValue{sym->Value};
  if (FPass == 2 && !sym) {
    if (name.size() > 1 && name[0] == '.')
      Fail('U', SafeFormat(_("undefined symbol %s (no pseudo-op has this name)"), Shown(name)));
    Fail('U', SafeFormat(_("undefined symbol %s"), Shown(name)));
  }
  TValue unknown;
  unknown.Known = false;
  return unknown;
}

// Digits in the input radix; a trailing "." makes them decimal; nBm puts n's lowest bit on
// bit m (bit 0 the leftmost).
TValue TAssembler::Number(TCursor& c) const {
  const std::size_t start = c.Pos();
  while (IsDigit(c.Peek())) c.Advance();
  const std::string_view digits = c.Text().substr(start, c.Pos() - start);
  bool decimal = false;
  if (c.Peek() == '.') {
    decimal = true;
    c.Advance();
  }
  int bit = -1;
  std::string_view bitDigits;
  if ((c.Peek() == 'B' || c.Peek() == 'b') && IsDigit(c.Peek(1))) {
    c.Advance();
    const std::size_t at = c.Pos();
    while (IsDigit(c.Peek())) c.Advance();
    bitDigits = c.Text().substr(at, c.Pos() - at);
    bit = bitDigits.size() <= 2 ? std::stoi(std::string(bitDigits)) : 99;
  }
  if (IsSymbolChar(c.Peek())) {
    while (IsSymbolChar(c.Peek())) c.Advance();
    Fail('N', SafeFormat(_("%s is not a valid number"), Shown(c.Text().substr(start, c.Pos() - start))));
  }
  const std::string_view number = c.Text().substr(start, c.Pos() - start);
  const unsigned radix = decimal ? 10u : unsigned(FRadix);
  std::uint32_t value = 0;
  for (char d : digits) {
    if (unsigned(d - '0') >= radix)
      Fail('N', SafeFormat(_("%s is not a number in radix %d (a decimal number ends with a point: 19.)"),
                           Shown(number), FRadix));
    value = value * radix + unsigned(d - '0');
    if (value > 0177777)
      Fail('N', SafeFormat(_("%s is too large for a word (at most 177777, or 65535.)"), Shown(number)));
  }
  if (bit > 15) Fail('N', SafeFormat(_("%s: the bit number after B must be 0 to 15"), Shown(number)));
  if (bit >= 0) value = (value << (15 - bit)) & 0177777;
  return TValue{std::uint16_t(value)};
}

std::uint16_t TAssembler::KnownValue(TCursor& c, std::string_view pseudoOp) {
  c.SkipBlanks();
  FPass1View = true;
  const TValue value = Expression(c);
  FPass1View = false;
  if (value.Indirect) Fail('S', SafeFormat(_("@ makes no sense after %s"), pseudoOp));
  if (!value.Known)
    Fail('F', SafeFormat(_("the value after %s must be known where it stands: it uses a symbol defined further on"),
                         pseudoOp));
  ExpectEnd(c);
  return value.Value;
}

}  // namespace dgasm
