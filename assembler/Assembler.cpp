// The two passes over the sources, the lines, labels and symbol definitions.
#include "Assembler.h"

#include <algorithm>

#include "AsmPass.h"
#include "AtomicFile.h"
#include "SafeFormat.h"
#include "SourceError.h"
#include "TextUtils.h"
#include "Translate.h"

namespace dgasm {

std::string Shown(std::string_view text) { return EscapeControls(text, 40); }

namespace {

// Paper-tape fill carries no text: NUL and rubout (with or without the parity bit).
void DropTapeFill(std::string& text) {
  std::erase_if(text, [](char c) {
    const unsigned char b = static_cast<unsigned char>(c);
    return b == 0 || b == 0177 || b == 0377;
  });
}

}  // namespace

TAssembler::TAssembler(TAsmProgram& program) : P(program) {
  for (TAsmSource& source : P.Sources) {
    DropTapeFill(source.Text);
    FSourceLines.push_back(SplitTextLines(source.Text));
  }
}

void TAssembler::Run() {
  FSyms = PermanentSymbols();
  Pass(1);
  Pass(2);
  std::vector<TSymbol> symbols;
  for (const auto& [key, sym] : FSyms)
    if (!sym.Builtin && sym.Type == stValue) symbols.push_back({sym.Name, sym.Value, sym.Label ? skLabel : skValue});
  P.Symbols.Assign(std::move(symbols));
}

void TAssembler::Pass(int pass) {
  FPass = pass;
  FOrdinal = 0;
  FLoc = 0;
  FRadix = 8;
  FLeftFirst = false;
  FEnded = false;
  FStarted = false;
  for (FSource = 0; FSource < int(FSourceLines.size()); ++FSource) {
    if (FEnded) {
      if (FPass == 2)
        P.Errors.push_back({FSource, 0, ' ', SafeFormat(_("%s comes after .END and is not assembled"),
                                                          P.Sources[FSource].Name)});
      continue;
    }
    FEndOfFile = false;
    FLineNumber = 0;
    for (std::string_view text : FSourceLines[FSource]) {
      ++FLineNumber;
      ++FOrdinal;
      AssembleLine(text);
      if (FEnded || FEndOfFile) break;
    }
  }
}

void TAssembler::AddError(char flag, std::string message) {
  if (FPass != 2) return;
  P.Errors.push_back({FSource, FLineNumber, flag, std::move(message)});
  ++FLine->ErrorCount;
}

void TAssembler::Fail(char flag, std::string message) const { throw TLineError{flag, std::move(message)}; }

void TAssembler::AssembleLine(std::string_view text) {
  TAsmLine line;
  if (FPass == 2) {
    line.Source = FSource;
    line.Line = FLineNumber;
    line.Text = text;
    line.FirstWord = std::uint32_t(P.Words.size());
    line.FirstError = std::uint32_t(P.Errors.size());
    FLine = &line;
  }
  TCursor c(text);
  FPass1View = false;
  FDot = std::uint16_t(FLoc);
  try {
    // Labels: NAME: (several may stand before the statement)
    for (;;) {
      c.SkipBlanks();
      const std::size_t start = c.Pos();
      const std::string_view name = c.Symbol();
      if (name.empty() || c.Peek() != ':') {
        c.SetPos(start);
        break;
      }
      c.Advance();
      try {
        DefineSymbol(name, stValue, TValue{std::uint16_t(FLoc)}, true);
      } catch (const TLineError& e) {
        AddError(e.Flag, e.Message);
      }
    }
    c.SkipBlanks();
    if (!c.AtEnd()) Statement(c);
  } catch (const TLineError& e) {
    AddError(e.Flag, e.Message);
  }
  if (FPass == 2) {
    line.WordCount = std::uint32_t(P.Words.size()) - line.FirstWord;
    P.Lines.push_back(line);
    FLine = nullptr;
  }
}

void TAssembler::Statement(TCursor& c) {
  const std::size_t start = c.Pos();
  const std::string_view name = c.Symbol();
  if (!name.empty()) {
    TPseudoOp op;
    if (FindPseudoOp(name, op)) return PseudoOp(op, name, c);
    c.SkipBlanks();
    if (c.Peek() == '=') return DefineAsValue(c, name, stValue);  // NAME = value
  }
  c.SetPos(start);
  WordStatement(c);
}

// Only symbols the first pass knew on this line count while FPass1View is set.
bool TAssembler::VisibleNow(const TAsmSym& sym) const {
  return !FPass1View || (sym.Pass1 && sym.DefinedAt <= FOrdinal);
}

const TAsmSym* TAssembler::Lookup(std::string_view name) const {
  const auto it = FSyms.find(SymKey(name));
  return it == FSyms.end() ? nullptr : &it->second;
}

void TAssembler::DefineSymbol(std::string_view name, TSymType type, const TValue& value, bool label) {
  if (name == ".") Fail('S', _("the location counter . is set with .LOC"));
  TPseudoOp op;
  if (FindPseudoOp(name, op)) Fail('M', SafeFormat(_("%s is a pseudo-op and cannot be defined"), Shown(name)));
  if (type == stValue) {
    TInstruction ins;
    if (FindInstruction(name, ins) && ins.SuffixBits != 0)
      Fail('M', SafeFormat(_("%s reads as the instruction %s with suffixes; choose another name"), Shown(name),
                           ins.Sym->Name));
  }
  FStarted = true;
  const TSymKey key = SymKey(name);
  const auto it = FSyms.find(key);
  if (FPass == 1) {
    // The first definition stands; the second pass reports a conflict at the later one.
    if (it != FSyms.end() || !value.Known) return;
    TAsmSym sym;
    sym.Name = name;
    sym.Value = value.Value;
    sym.Type = type;
    sym.Label = label;
    sym.Pass1 = true;
    sym.DefinedAt = FOrdinal;
    FSyms.emplace(key, std::move(sym));
    return;
  }
  if (it == FSyms.end()) {
    // An equate the first pass could not evaluate.
    TAsmSym sym;
    sym.Name = name;
    sym.Value = value.Value;
    sym.Type = type;
    sym.Label = label;
    FSyms.emplace(key, std::move(sym));
    return;
  }
  const TAsmSym& old = it->second;
  if (old.Type == type && old.Value == value.Value) return;
  if (old.Builtin)
    Fail('M', SafeFormat(_("%s is a permanent symbol and cannot be given another meaning (.XPNG at the start "
                           "of the source forgets the permanent symbols)"),
                         Shown(name)));
  if (old.Type != type)
    Fail('M', SafeFormat(_("%s is defined twice, as two kinds of symbol"), Shown(name)));
  std::string message = SafeFormat(_("%s is defined twice with different values (%06o and %06o)"), Shown(name),
                                   unsigned(old.Value), unsigned(value.Value));
  if (!SameText(old.Name, name))
    message += SafeFormat(_("; %s and %s are one name: only the first 5 characters count"), Shown(old.Name),
                          Shown(name));
  Fail('M', message);
}

void TAssembler::ExpectEnd(TCursor& c) const {
  c.SkipBlanks();
  if (!c.AtEnd()) Fail('S', SafeFormat(_("unexpected text: %s"), Shown(c.RestOfStatement())));
}

void TAssembler::CheckRoom(std::size_t words) const {
  if (FLoc + words > 0100000)
    Fail('L', SafeFormat(_("the program runs past the end of memory (77777) at %06o"), FLoc));
}

void TAssembler::Emit(std::uint16_t value) {
  if (FPass == 2) P.Words.push_back({std::uint16_t(FLoc), value});
  ++FLoc;
}

}  // namespace dgasm

std::string TAsmProgram::ErrorText(const TAsmError& error) const {
  const std::string file =
      EscapeControls(error.Source >= 0 && error.Source < int(Sources.size()) ? Sources[error.Source].Name : "");
  if (error.Line <= 0) return file + ": " + error.Message;
  return file + ":" + std::to_string(error.Line) + ": " + error.Message;
}

TAsmProgram Assemble(std::vector<TAsmSource> sources) {
  TAsmProgram program;
  program.Sources = std::move(sources);
  dgasm::TAssembler(program).Run();
  return program;
}

bool ReadAsmSource(const std::string& fileName, TAsmSource& source, std::string& error) {
  source.Name = fileName;
  source.Text.clear();
  if (ReadWholeFile(fileName, source.Text)) return true;
  error = fileName + ": " + WhyUnreadable(fileName, _("is a folder, not a source file"));
  return false;
}
