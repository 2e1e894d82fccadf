#include "BreakCondition.h"

#include <array>
#include <cctype>

#include "NovaMachine.h"
#include "SafeFormat.h"
#include "Translate.h"

namespace {

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

std::string NotANumber(std::string_view text, TNumMode base) {
  switch (base) {
    case nmHex: return SafeFormat(_("%s is not a hexadecimal number"), std::string(text));
    case nmOctal: return SafeFormat(_("%s is not an octal number"), std::string(text));
    case nmBin: return SafeFormat(_("%s is not a binary number"), std::string(text));
    default: return SafeFormat(_("%s is not a decimal number"), std::string(text));
  }
}

using TOp = TBreakCondition::TOp;
using TCode = TBreakCondition::TCode;

class TParser {
public:
  TParser(std::string_view text, TNumMode base, const TSymbolLookup* symbols)
      : FText(text), FRadix(NumModeRadix[base]), FBase(base), FSymbols(symbols) {}

  bool Run(std::vector<TCode>& code, std::string& error) {
    Or();
    Blanks();
    if (FError.empty() && FPos < FText.size()) Fail(SafeFormat(_("%s was not expected here"), Rest()));
    if (FError.empty() && FMaxDepth > TBreakCondition::MaxDepth) Fail(_("the condition is nested too deeply"));
    if (!FError.empty()) {
      error = FError;
      return false;
    }
    code = std::move(FCode);
    return true;
  }

private:
  void Fail(std::string text) {
    if (FError.empty()) FError = std::move(text);
  }
  void Blanks() {
    while (FPos < FText.size() && std::isspace(static_cast<unsigned char>(FText[FPos]))) ++FPos;
  }
  // The next characters are Op (skipping blanks); taken when they are.
  bool Take(std::string_view op) {
    Blanks();
    if (FText.substr(FPos, op.size()) != op) return false;
    FPos += op.size();
    return true;
  }
  std::string Rest() const {
    std::string_view rest = FText.substr(FPos);
    if (rest.size() > 20) rest = rest.substr(0, 20);
    std::string text(1, '"');
    text.append(rest.data(), rest.size());
    text += '"';
    return text;
  }
  void Emit(TOp op, int pushes, std::uint16_t value = 0) {
    FCode.push_back({op, value});
    FDepth += pushes;
    if (FDepth > FMaxDepth) FMaxDepth = FDepth;
  }

  void Or() {
    And();
    while (FError.empty() && Take("||")) {
      And();
      Emit(TBreakCondition::opLogOr, -1);
    }
  }
  void And() {
    Compare();
    while (FError.empty() && Take("&&")) {
      Compare();
      Emit(TBreakCondition::opLogAnd, -1);
    }
  }
  void Compare() {
    Bits();
    static constexpr std::pair<std::string_view, TOp> ops[] = {
        {"==", TBreakCondition::opEq}, {"!=", TBreakCondition::opNe}, {"<=", TBreakCondition::opLe},
        {">=", TBreakCondition::opGe}, {"<", TBreakCondition::opLt},  {">", TBreakCondition::opGt}};
    for (const auto& [text, op] : ops)
      if (FError.empty() && Take(text)) {
        Bits();
        Emit(op, -1);
        return;
      }
  }
  void Bits() {
    Sum();
    for (;;) {
      if (!FError.empty()) return;
      Blanks();
      // "&&" and "||" belong to the levels above.
      const std::string_view two = FText.substr(FPos, 2);
      if (two == "&&" || two == "||") return;
      TOp op;
      if (Take("&")) op = TBreakCondition::opAnd;
      else if (Take("|")) op = TBreakCondition::opOr;
      else if (Take("^")) op = TBreakCondition::opXor;
      else return;
      Sum();
      Emit(op, -1);
    }
  }
  void Sum() {
    Unary();
    for (;;) {
      if (!FError.empty()) return;
      TOp op;
      if (Take("+")) op = TBreakCondition::opAdd;
      else if (Take("-")) op = TBreakCondition::opSub;
      else return;
      Unary();
      Emit(op, -1);
    }
  }
  void Unary() {
    if (!FError.empty()) return;
    if (++FNesting > 200) {  // the depth check comes later; this keeps the parser's own stack small
      Fail(_("the condition is nested too deeply"));
      return;
    }
    Blanks();
    if (FText.substr(FPos, 2) != "!=" && Take("!")) {
      Unary();
      Emit(TBreakCondition::opNot, 0);
    } else if (Take("-")) {
      Unary();
      Emit(TBreakCondition::opNeg, 0);
    } else if (Take("~")) {
      Unary();
      Emit(TBreakCondition::opCompl, 0);
    } else {
      Primary();
    }
    --FNesting;
  }
  void Primary() {
    if (!FError.empty()) return;
    Blanks();
    if (FPos >= FText.size()) {
      Fail(_("the condition ends too early"));
    } else if (Take("(")) {
      Or();
      if (FError.empty() && !Take(")")) Fail(FPos >= FText.size() ? _("a \")\" is missing") : SafeFormat(_("%s was not expected here"), Rest()));
    } else if (Take("[")) {
      Or();
      if (FError.empty() && !Take("]")) Fail(FPos >= FText.size() ? _("a \"]\" is missing") : SafeFormat(_("%s was not expected here"), Rest()));
      Emit(TBreakCondition::opMemory, 0);
    } else if (std::isdigit(static_cast<unsigned char>(FText[FPos]))) {
      Number();
    } else if (IsNameStart(FText[FPos])) {
      Name();
    } else {
      Fail(SafeFormat(_("%s was not expected here"), Rest()));
    }
  }
  void Number() {
    const std::size_t start = FPos;
    while (FPos < FText.size() && std::isalnum(static_cast<unsigned char>(FText[FPos]))) ++FPos;
    const std::string_view text = FText.substr(start, FPos - start);
    std::uint32_t value = 0;
    for (char c : text) {
      const int d = DigitValue(c);
      if (d >= FRadix) {
        Fail(NotANumber(text, FBase));
        return;
      }
      value = value * std::uint32_t(FRadix) + std::uint32_t(d);
      if (value > 0xffff) {
        Fail(SafeFormat(_("%s is too large for a word"), std::string(text)));
        return;
      }
    }
    Emit(TBreakCondition::opNumber, 1, std::uint16_t(value));
  }
  void Name() {
    const std::size_t start = FPos;
    while (FPos < FText.size() && IsNameChar(FText[FPos])) ++FPos;
    const std::string_view name = FText.substr(start, FPos - start);
    for (int i = 0; i < 4; ++i)
      if (SameName(name, std::string("AC") + char('0' + i))) return Emit(TBreakCondition::opAC, 1, std::uint16_t(i));
    if (SameName(name, "PC")) return Emit(TBreakCondition::opPC, 1);
    if (SameName(name, "CARRY")) return Emit(TBreakCondition::opCarry, 1);
    if (SameName(name, "ION")) return Emit(TBreakCondition::opIon, 1);
    int value = 0;
    if (FSymbols && *FSymbols && (*FSymbols)(name, value)) return Emit(TBreakCondition::opNumber, 1, std::uint16_t(value));
    Fail(SafeFormat(_("%s is not a register, a number or a label"), std::string(name)));
  }

  std::string_view FText;
  std::size_t FPos = 0;
  int FRadix;
  TNumMode FBase;
  const TSymbolLookup* FSymbols;
  std::vector<TCode> FCode;
  std::string FError;
  int FDepth = 0;
  int FMaxDepth = 0;
  int FNesting = 0;
};

}  // namespace

bool TBreakCondition::Parse(std::string_view Text, TNumMode Base, std::string& Error, const TSymbolLookup* Symbols) {
  std::size_t first = 0;
  while (first < Text.size() && std::isspace(static_cast<unsigned char>(Text[first]))) ++first;
  if (first == Text.size()) {
    FCode.clear();
    return true;
  }
  std::vector<TCode> code;
  if (!TParser(Text, Base, Symbols).Run(code, Error)) return false;
  FCode = std::move(code);
  return true;
}

bool TBreakCondition::Holds(const TNovaMachine& m) const {
  if (FCode.empty()) return true;
  std::array<std::uint32_t, MaxDepth> stack;
  int top = -1;  // the parser has checked the depth and the balance
  for (const TCode& c : FCode) {
    switch (c.Op) {
      case opNumber: stack[std::size_t(++top)] = c.Value; continue;
      case opAC: stack[std::size_t(++top)] = m.AC[c.Value & 3]; continue;
      case opPC: stack[std::size_t(++top)] = m.PC & nova::AddrMask; continue;
      case opCarry: stack[std::size_t(++top)] = m.Carry & 1; continue;
      case opIon: stack[std::size_t(++top)] = m.IntEnable ? 1 : 0; continue;
      default: break;
    }
    std::uint32_t& x = stack[std::size_t(top)];
    switch (c.Op) {
      case opMemory: x = m.ReadMemory(TWord(x)); continue;
      case opNot: x = x == 0; continue;
      case opNeg: x = (0x10000u - x) & 0xffff; continue;
      case opCompl: x = ~x & 0xffff; continue;
      default: break;
    }
    const std::uint32_t y = x;
    std::uint32_t& z = stack[std::size_t(--top)];
    switch (c.Op) {
      case opAdd: z = (z + y) & 0xffff; break;
      case opSub: z = (z - y) & 0xffff; break;
      case opAnd: z &= y; break;
      case opOr: z |= y; break;
      case opXor: z ^= y; break;
      case opEq: z = z == y; break;
      case opNe: z = z != y; break;
      case opLt: z = z < y; break;
      case opLe: z = z <= y; break;
      case opGt: z = z > y; break;
      case opGe: z = z >= y; break;
      case opLogAnd: z = z && y; break;
      case opLogOr: z = z || y; break;
      default: break;
    }
  }
  return stack[0] != 0;
}
