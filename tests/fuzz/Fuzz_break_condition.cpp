// The condition text of a breakpoint: any text in any base parses or is refused with a reason,
// a refused text leaves the condition as it was, and a condition that parses holds exactly when
// a plain evaluator of the same text (straight from the characters, no code, no fixed stack) says
// it does. The evaluation's fixed stack is the address sanitizer's part.
//
// Input (16 bytes, then the text): 0 base, 1 flags (1 labels known, 2 carry, 4 interrupts on),
// 2 AC0 to AC3 and PC (two bytes each, low first), 12 two memory words put at the addresses
// AC0 and AC1 hold.
#include <cctype>
#include <memory>
#include <string>

#include "BreakCondition.h"
#include "FuzzSupport.h"
#include "NovaMachine.h"

namespace {

// Labels: a name that starts with "L" (in any case), worth its length times 0101.
bool Label(std::string_view name, int& value) {
  if (name.empty() || std::toupper(static_cast<unsigned char>(name[0])) != 'L') return false;
  value = int(name.size() * 0101);
  return true;
}

bool Same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// Evaluates the text as it is read, one level of the grammar a function; false when the text
// is not a condition. Nesting is not limited here (the inputs are short).
class TPlainEvaluator {
public:
  TPlainEvaluator(std::string_view text, int radix, const TNovaMachine& m, bool labels)
      : FText(text), FRadix(radix), FMachine(m), FLabels(labels) {}

  bool Run(std::uint32_t& value) {
    value = Or();
    Blanks();
    return FOk && FPos == FText.size();
  }

private:
  void Blanks() {
    while (FPos < FText.size() && std::isspace(static_cast<unsigned char>(FText[FPos]))) ++FPos;
  }
  bool Next(std::string_view op) {
    Blanks();
    return FText.substr(FPos, op.size()) == op;
  }
  bool Take(std::string_view op) {
    if (!Next(op)) return false;
    FPos += op.size();
    return true;
  }
  std::uint32_t Bad() {
    FOk = false;
    return 0;
  }

  std::uint32_t Or() {
    std::uint32_t x = And();
    while (FOk && Take("||")) x = (And() != 0) | (x != 0);
    return x;
  }
  std::uint32_t And() {
    std::uint32_t x = Compare();
    while (FOk && Take("&&")) x = (Compare() != 0) & (x != 0);
    return x;
  }
  std::uint32_t Compare() {
    const std::uint32_t x = Bits();
    if (!FOk) return 0;
    if (Take("==")) return x == Bits();
    if (Take("!=")) return x != Bits();
    if (Take("<=")) return x <= Bits();
    if (Take(">=")) return x >= Bits();
    if (Take("<")) return x < Bits();
    if (Take(">")) return x > Bits();
    return x;
  }
  std::uint32_t Bits() {
    std::uint32_t x = Sum();
    while (FOk && !Next("&&") && !Next("||")) {
      if (Take("&")) x &= Sum();
      else if (Take("|")) x |= Sum();
      else if (Take("^")) x ^= Sum();
      else break;
    }
    return x;
  }
  std::uint32_t Sum() {
    std::uint32_t x = Unary();
    while (FOk) {
      if (Take("+")) x = (x + Unary()) & 0xffff;
      else if (Take("-")) x = (x - Unary()) & 0xffff;
      else break;
    }
    return x;
  }
  std::uint32_t Unary() {
    if (!Next("!=") && Take("!")) return Unary() == 0;
    if (Take("-")) return (0x10000u - Unary()) & 0xffff;
    if (Take("~")) return ~Unary() & 0xffff;
    return Primary();
  }
  std::uint32_t Primary() {
    Blanks();
    if (FPos >= FText.size()) return Bad();
    if (Take("(")) {
      const std::uint32_t x = Or();
      return Take(")") ? x : Bad();
    }
    if (Take("[")) {
      const std::uint32_t x = Or();
      return Take("]") ? FMachine.Memory[x & 077777].Data : Bad();
    }
    const char c = FText[FPos];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      std::uint32_t value = 0;
      for (; FPos < FText.size() && std::isalnum(static_cast<unsigned char>(FText[FPos])); ++FPos) {
        const char d = char(std::tolower(static_cast<unsigned char>(FText[FPos])));
        const int digit = d <= '9' ? d - '0' : d <= 'f' ? d - 'a' + 10 : 99;
        if (digit >= FRadix) return Bad();
        value = value * std::uint32_t(FRadix) + std::uint32_t(digit);
        if (value > 0xffff) return Bad();
      }
      return value;
    }
    const auto nameChar = [](char ch) { return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' || ch == '.'; };
    if (!nameChar(c)) return Bad();
    const std::size_t start = FPos;
    while (FPos < FText.size() && nameChar(FText[FPos])) ++FPos;
    const std::string_view name = FText.substr(start, FPos - start);
    for (int i = 0; i < 4; ++i)
      if (Same(name, std::string("AC") + char('0' + i))) return FMachine.AC[std::size_t(i)];
    if (Same(name, "PC")) return FMachine.PC & 077777;
    if (Same(name, "CARRY")) return FMachine.Carry & 1;
    if (Same(name, "ION")) return FMachine.IntEnable ? 1 : 0;
    int value = 0;
    if (FLabels && Label(name, value)) return std::uint16_t(value);
    return Bad();
  }

  std::string_view FText;
  std::size_t FPos = 0;
  int FRadix;
  const TNovaMachine& FMachine;
  bool FLabels;
  bool FOk = true;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<TNovaMachine> machine = std::make_unique<TNovaMachine>();
  static const TSymbolLookup labels = Label;
  TNovaMachine& m = *machine;
  TFuzzInput in(data, size);
  const TNumMode base = TNumMode(in.Byte() % NumModeCount);
  const std::uint8_t flags = in.Byte();
  for (TWord& ac : m.AC) ac = in.Word();
  m.PC = in.Word();
  m.Carry = (flags & 2) ? 1 : 0;
  m.IntEnable = flags & 4;
  const TWord first = in.Word(), second = in.Word();
  m.Memory[m.AC[0] & nova::AddrMask].Data = first;
  m.Memory[m.AC[1] & nova::AddrMask].Data = second;
  const std::string_view text = in.Rest();

  // A condition that was there before: a refused text must leave it.
  TBreakCondition condition;
  std::string error;
  FUZZ_CHECK(condition.Parse("AC2 == 1", nmOctal, error));
  const bool before = m.AC[2] == 1;

  const bool uses = flags & 1;
  const bool parsed = condition.Parse(text, base, error, uses ? &labels : nullptr);
  std::size_t blank = 0;
  while (blank < text.size() && std::isspace(static_cast<unsigned char>(text[blank]))) ++blank;
  std::uint32_t value = 0;
  const bool plain = TPlainEvaluator(text, NumModeRadix[base], m, uses).Run(value);
  if (!parsed) {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(condition.Holds(m) == before);
    // Only nesting is refused that the plain evaluator takes.
    FUZZ_CHECK(!plain || error == "the condition is nested too deeply");
  } else if (blank == text.size()) {
    FUZZ_CHECK(condition.Empty() && condition.Holds(m));
  } else {
    FUZZ_CHECK(plain && !condition.Empty());
    FUZZ_CHECK(condition.Holds(m) == (value != 0));
  }

  m.Memory[m.AC[0] & nova::AddrMask].Data = 0;
  m.Memory[m.AC[1] & nova::AddrMask].Data = 0;
  return 0;
}
