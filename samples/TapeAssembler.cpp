// The sample programs' assembler.
//
// Source format, one statement per line:
//
//   [LABEL:] [statement] [; comment]
//
// - LABEL: letters, digits and "_", starting with a letter or "_"; its value is the address the
//   next word runs at. Names of devices (TTI, TTO, PTR, PTP, RTC, LPT, CPU) and of skips (SKP,
//   SZC, SNC, SZR, SNR, SEZ, SBN) are not labels.
// - An instruction: one line of the simulator's single-line assembler (HALT, LDA 0,@20,
//   MOVL# 0,0,SZC, DIAS 0,PTR, JMP .-1 ...). Each comma-separated operand that is an expression
//   with a label in it (after an optional "@") is replaced by its value in octal first, so
//   "LDA 0,MSG", "JMP @VEC" and "STA 0,CNT+1" work. An address above 377 becomes an operand
//   relative to the instruction and must lie within -200 and +177 of it.
// - Expressions: octal numbers, labels and character constants ('A') joined by + and -.
// - Directives:
//     .org EXPR       load (and run) the next word at this address (the start is 101)
//     .phase EXPR     the next words run at this address (labels get run addresses) but are
//                     still loaded where the load address stands: for code that is moved
//     .dephase        run addresses follow load addresses again
//     .word EXPR, ... one data word per expression
//     .text "..."     one word per character; escapes \r \n \t \0 \\ \"
//     .start LABEL    a JMP LABEL word; on a self-loading tape it must be the last word, the
//                     one the bootstrap jumps to
#include "TapeAssembler.h"

#include <cctype>
#include <map>
#include <optional>

#include "NovaUtils.h"

namespace {

using Text = std::string_view;

constexpr int MaxAddress = 077777;

std::string Octal(unsigned v) {
  char digits[12];
  int n = 0;
  do {
    digits[n++] = char('0' + (v & 7));
    v >>= 3;
  } while (v && n < 12);
  std::string s;
  while (n > 0) s += digits[--n];
  return s;
}

Text Trim(Text t) {
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front()))) t.remove_prefix(1);
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.remove_suffix(1);
  return t;
}

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string Upper(Text t) {
  std::string s(t);
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool IsReservedName(Text name) {
  static const char* const reserved[] = {"TTI", "TTO", "PTR", "PTP", "RTC", "LPT", "CPU", "SKP",
                                         "SZC", "SNC", "SZR", "SNR", "SEZ", "SBN"};
  const std::string u = Upper(name);
  for (const char* r : reserved)
    if (u == r) return true;
  return false;
}

// The line without its comment (a ";" outside quotes).
Text StripComment(Text line) {
  char quote = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote) {
      if (c == '\\' && quote == '"') ++i;
      else if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      return line.substr(0, i);
    }
  }
  return line;
}

class TAssembler {
public:
  bool Run(Text source, TAsmProgram& program, std::string& error);

private:
  struct TLine {
    int Number;
    std::string Label;
    std::string Directive;  // "" for an instruction
    std::string Operand;    // the rest
  };

  bool Fail(const std::string& message) {
    FError = "line " + std::to_string(FLineNumber) + ": " + message;
    return false;
  }
  bool Split(Text raw, TLine& line);
  bool Pass(bool emit);
  bool Evaluate(Text expr, bool allowUnknown, unsigned& value, bool* hasLabel = nullptr);
  bool ParseText(Text operand, std::string& chars);
  bool Instruction(const std::string& text, std::uint16_t& word);
  bool Emit(std::uint16_t value, bool emit);

  std::vector<TLine> FLines;
  std::map<std::string, unsigned> FLabels;  // upper-case name -> run address
  int FLineNumber = 0;
  int FStartIndex = -1;                     // the word of the last .start
  unsigned FLoad = SelfLoadFirst;           // load address of the next word
  std::optional<unsigned> FRun;             // run address while a .phase is on
  TAsmProgram* FProgram = nullptr;
  std::string FError;
};

bool TAssembler::Split(Text raw, TLine& line) {
  Text t = Trim(StripComment(raw));
  std::size_t n = 0;
  while (n < t.size() && IsIdentChar(t[n])) ++n;
  if (n > 0 && IsIdentStart(t[0]) && n < t.size() && t[n] == ':') {
    line.Label = std::string(t.substr(0, n));
    if (IsReservedName(line.Label)) return Fail(line.Label + " is a device or skip name, not a label");
    t = Trim(t.substr(n + 1));
  }
  if (!t.empty() && t.front() == '.' && t.size() > 1 && std::isalpha(static_cast<unsigned char>(t[1]))) {
    std::size_t end = 1;
    while (end < t.size() && !std::isspace(static_cast<unsigned char>(t[end]))) ++end;
    line.Directive = std::string(t.substr(0, end));
    for (char& c : line.Directive) c = char(std::tolower(static_cast<unsigned char>(c)));
    t = Trim(t.substr(end));
  }
  line.Operand = std::string(t);
  return true;
}

// Terms (octal numbers, labels, 'c') joined by + and -, reduced to 16 bits. An unknown label is an
// error unless allowUnknown (the first pass, where labels further down are not known yet).
bool TAssembler::Evaluate(Text expr, bool allowUnknown, unsigned& value, bool* hasLabel) {
  expr = Trim(expr);
  if (expr.empty()) return Fail("missing value");
  long long sum = 0;
  std::size_t i = 0;
  bool first = true;
  if (hasLabel) *hasLabel = false;
  while (i < expr.size()) {
    int sign = 1;
    while (i < expr.size() && std::isspace(static_cast<unsigned char>(expr[i]))) ++i;
    if (i < expr.size() && (expr[i] == '+' || expr[i] == '-')) {
      sign = expr[i] == '-' ? -1 : 1;
      ++i;
    } else if (!first) {
      return Fail("bad expression " + std::string(expr));
    }
    while (i < expr.size() && std::isspace(static_cast<unsigned char>(expr[i]))) ++i;
    if (i >= expr.size()) return Fail("bad expression " + std::string(expr));
    long long term = 0;
    const char c = expr[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      while (i < expr.size() && std::isdigit(static_cast<unsigned char>(expr[i]))) {
        if (expr[i] > '7') return Fail(std::string(expr) + " is not octal");
        term = term * 8 + (expr[i] - '0');
        if (term > 0177777) return Fail(std::string(expr) + " is too large");
        ++i;
      }
    } else if (c == '\'') {
      if (i + 2 >= expr.size() || expr[i + 2] != '\'') return Fail("bad character constant in " + std::string(expr));
      term = static_cast<unsigned char>(expr[i + 1]);
      i += 3;
    } else if (IsIdentStart(c)) {
      std::size_t end = i;
      while (end < expr.size() && IsIdentChar(expr[end])) ++end;
      const std::string name = Upper(expr.substr(i, end - i));
      i = end;
      if (hasLabel) *hasLabel = true;
      const auto it = FLabels.find(name);
      if (it != FLabels.end()) {
        term = it->second;
      } else if (!allowUnknown) {
        return Fail("unknown label " + std::string(expr.substr(end - name.size(), name.size())));
      }
    } else {
      return Fail("bad expression " + std::string(expr));
    }
    sum += sign * term;
    first = false;
    while (i < expr.size() && std::isspace(static_cast<unsigned char>(expr[i]))) ++i;
  }
  value = unsigned(sum) & 0xFFFF;
  return true;
}

bool TAssembler::ParseText(Text operand, std::string& chars) {
  operand = Trim(operand);
  if (operand.size() < 2 || operand.front() != '"' || operand.back() != '"')
    return Fail(".text needs a quoted text");
  chars.clear();
  for (std::size_t i = 1; i + 1 < operand.size(); ++i) {
    char c = operand[i];
    if (c == '"') return Fail("unescaped \" in .text");
    if (c == '\\') {
      if (i + 2 >= operand.size()) return Fail("\\ at the end of .text");
      switch (operand[++i]) {
        case 'r': c = '\r'; break;
        case 'n': c = '\n'; break;
        case 't': c = '\t'; break;
        case '0': c = '\0'; break;
        case '\\': c = '\\'; break;
        case '"': c = '"'; break;
        default: return Fail(std::string("unknown escape \\") + operand[i]);
      }
    }
    chars += c;
  }
  return true;
}

// Operands with labels become octal numbers; then the single-line assembler.
bool TAssembler::Instruction(const std::string& text, std::uint16_t& word) {
  const unsigned runAddress = FRun ? *FRun : FLoad;
  std::size_t end = 0;
  while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
  const std::string mnemonic = text.substr(0, end);
  std::string line = mnemonic;
  Text rest = end < text.size() ? Text(text).substr(end) : Text();
  bool firstPart = true;
  while (true) {
    const std::size_t comma = rest.find(',');
    Text part = Trim(rest.substr(0, comma));
    std::string replaced(part);
    Text body = part;
    const bool indirect = !body.empty() && body.front() == '@';
    if (indirect) body.remove_prefix(1);
    if (!body.empty() && (IsIdentStart(body.front()) || body.find_first_of("+-'") != Text::npos) &&
        body.front() != '.' && !IsReservedName(body)) {
      unsigned value;
      bool hasLabel = false;
      const std::string saved = FError;
      if (Evaluate(body, false, value, &hasLabel) && hasLabel) {
        replaced.clear();
        if (indirect) replaced += '@';
        replaced += Octal(value);
      } else if (hasLabel) {
        return false;  // unknown label: Evaluate has said so
      } else {
        FError = saved;
      }
    }
    line += firstPart ? " " : ",";
    line += replaced;
    firstPart = false;
    if (comma == Text::npos) break;
    rest = rest.substr(comma + 1);
  }
  if (!StrToCommand(line, std::uint16_t(runAddress), word)) {
    std::string message = "cannot assemble \"" + text + "\"";
    if (line != text) message.append(" (as \"").append(line).append("\")");
    return Fail(message);
  }
  // The single-line assembler takes unknown three-letter words as an empty command.
  if (word == 0 && Upper(mnemonic) != "JMP") return Fail("\"" + text + "\" is not an instruction");
  return true;
}

bool TAssembler::Emit(std::uint16_t value, bool emit) {
  if (FLoad > unsigned(MaxAddress) || (FRun && *FRun > unsigned(MaxAddress)))
    return Fail("the program runs past address 77777");
  if (emit) FProgram->Words.push_back({std::uint16_t(FLoad), value, FLineNumber});
  ++FLoad;
  if (FRun) ++*FRun;
  return true;
}

bool TAssembler::Pass(bool emit) {
  FLoad = SelfLoadFirst;
  FRun.reset();
  for (const TLine& line : FLines) {
    FLineNumber = line.Number;
    if (!line.Label.empty()) {
      const std::string name = Upper(line.Label);
      const unsigned address = FRun ? *FRun : FLoad;
      if (!emit) {
        if (FLabels.count(name)) return Fail("label " + line.Label + " defined twice");
        FLabels[name] = address;
      }
    }
    const std::string& d = line.Directive;
    unsigned value = 0;
    if (d.empty()) {
      if (line.Operand.empty()) continue;
      std::uint16_t word = 0;
      if (emit && !Instruction(line.Operand, word)) return false;
      if (!Emit(word, emit)) return false;
    } else if (d == ".org" || d == ".phase") {
      if (!Evaluate(line.Operand, false, value)) return false;
      if (value > unsigned(MaxAddress)) return Fail(d + " address above 77777");
      if (d == ".org") {
        FLoad = value;
        FRun.reset();
      } else {
        FRun = value;
      }
    } else if (d == ".dephase") {
      FRun.reset();
    } else if (d == ".word") {
      Text rest = line.Operand;
      while (true) {
        const std::size_t comma = rest.find(',');
        if (!Evaluate(rest.substr(0, comma), !emit, value)) return false;
        if (!Emit(std::uint16_t(value), emit)) return false;
        if (comma == Text::npos) break;
        rest = rest.substr(comma + 1);
      }
    } else if (d == ".text") {
      std::string chars;
      if (!ParseText(line.Operand, chars)) return false;
      for (char c : chars)
        if (!Emit(static_cast<unsigned char>(c), emit)) return false;
    } else if (d == ".start") {
      std::uint16_t word = 0;
      if (emit) {
        if (!Evaluate(line.Operand, false, value)) return false;
        if (!Instruction("JMP " + Octal(value), word)) return false;
        FStartIndex = int(FProgram->Words.size());
      }
      if (!Emit(word, emit)) return false;
    } else {
      return Fail("unknown directive " + d);
    }
  }
  if (emit) FProgram->HasStart = FStartIndex >= 0 && std::size_t(FStartIndex) + 1 == FProgram->Words.size();
  return true;
}

bool TAssembler::Run(Text source, TAsmProgram& program, std::string& error) {
  program = TAsmProgram{};
  FProgram = &program;
  int number = 0;
  while (!source.empty() || number == 0) {
    const std::size_t nl = source.find('\n');
    Text raw = source.substr(0, nl);
    source = nl == Text::npos ? Text() : source.substr(nl + 1);
    TLine line;
    line.Number = FLineNumber = ++number;
    if (!Split(raw, line)) {
      error = FError;
      return false;
    }
    if (!line.Label.empty() || !line.Directive.empty() || !line.Operand.empty()) FLines.push_back(line);
    if (source.empty()) break;
  }
  if (!Pass(false) || !Pass(true)) {
    error = FError;
    program = TAsmProgram{};
    return false;
  }
  return true;
}

}  // namespace

bool AssembleSource(std::string_view Source, TAsmProgram& Program, std::string& Error) {
  TAssembler assembler;
  return assembler.Run(Source, Program, Error);
}

bool SelfLoadingTape(const TAsmProgram& Program, std::vector<std::uint8_t>& Tape, std::string& Error) {
  Tape.clear();
  if (Program.Words.empty()) {
    Error = "the program is empty";
    return false;
  }
  for (std::size_t i = 0; i < Program.Words.size(); ++i)
    if (Program.Words[i].Address != SelfLoadFirst + i) {
      Error = "line " + std::to_string(Program.Words[i].Line) +
              ": a self-loading tape loads its words one after another from 101";
      return false;
    }
  if (Program.Words.size() > std::size_t(SelfLoadMaxWords)) {
    Error = std::to_string(Program.Words.size()) + " words: a self-loading tape holds at most " +
            std::to_string(SelfLoadMaxWords) + " (101 to 377)";
    return false;
  }
  if (!Program.HasStart) {
    Error = "a self-loading tape ends with .start";
    return false;
  }
  constexpr int LeaderLength = 16;
  constexpr std::uint8_t Marker = 0377;
  Tape.assign(LeaderLength, 0);
  Tape.push_back(Marker);
  const auto put = [&Tape](std::uint16_t w) {
    Tape.push_back(std::uint8_t(w >> 8));
    Tape.push_back(std::uint8_t(w & 0xFF));
  };
  put(std::uint16_t(-int(Program.Words.size() + 1)));
  for (const TAsmWord& w : Program.Words) put(w.Value);
  Tape.insert(Tape.end(), LeaderLength, 0);
  return true;
}

std::vector<std::uint16_t> DumpImage(const TAsmProgram& Program) {
  std::vector<std::uint16_t> image;
  for (const TAsmWord& w : Program.Words) {
    if (w.Address >= image.size()) image.resize(std::size_t(w.Address) + 1, 0);
    image[w.Address] = w.Value;
  }
  return image;
}
