// Inside the assembler: the state of the two passes over all sources, and the scanners of
// expressions, statements and pseudo-ops that both passes share.
//
// Both passes read every line the same way. The first defines labels, equates and instructions
// as far as their values are known; the second has every symbol, encodes the words, fills the
// listing and reports the errors. A line must take the same number of words in both passes, so
// everything that sizes it (.LOC, .BLK, .RDX, .TXTM) is evaluated with only the symbols the
// first pass knew on that line.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "AsmCursor.h"
#include "AsmSymbols.h"
#include "Assembler.h"

namespace dgasm {

// An error that ends the line's assembly.
struct TLineError {
  char Flag;
  std::string Message;
};

// A value being computed; in the first pass it may not be known yet.
struct TValue {
  std::uint16_t Value = 0;
  bool Known = true;
  bool Indirect = false;  // written with "@"
};

// An instruction found in the statement: its symbol and the bits of its suffixes.
struct TInstruction {
  const TAsmSym* Sym = nullptr;
  std::uint16_t SuffixBits = 0;
};

enum TPseudoOp : std::uint8_t {
  poTitl, poLoc, poBlk, poEnd, poTxt, poTxtm, poTxte, poTxto, poTxtf, poRdx, poEot, poXpng,
  poDmr, poDmra, poDalc, poDio, poDioa, poDiac, poDusr, poEnt, poRelocatable,
};

class TAssembler {
public:
  explicit TAssembler(TAsmProgram& program);
  void Run();

private:
  // Passes and lines (Assembler.cpp)
  void Pass(int pass);
  void AssembleLine(std::string_view text);
  void Statement(TCursor& c);
  void AddError(char flag, std::string message);
  [[noreturn]] void Fail(char flag, std::string message) const;
  void DefineSymbol(std::string_view name, TSymType type, const TValue& value, bool label);
  const TAsmSym* Lookup(std::string_view name) const;
  bool VisibleNow(const TAsmSym& sym) const;
  void ExpectEnd(TCursor& c) const;
  void Emit(std::uint16_t value);
  void CheckRoom(std::size_t words) const;

  // Expressions (AsmExpr.cpp)
  TValue Expression(TCursor& c);
  TValue Term(TCursor& c);
  TValue Number(TCursor& c) const;
  TValue SymbolValue(std::string_view name);
  // A value that sizes the line: known with the first pass's symbols of this line, else an error.
  std::uint16_t KnownValue(TCursor& c, std::string_view pseudoOp);

  // Statements (AsmStatements.cpp)
  void WordStatement(TCursor& c);
  TValue StatementValue(TCursor& c, std::uint16_t address);
  bool FindInstruction(std::string_view name, TInstruction& found) const;
  TValue Instruction(const TInstruction& ins, std::string_view name, bool noLoad, TCursor& c,
                     std::uint16_t address);
  std::vector<TValue> Fields(TCursor& c);
  std::uint16_t MemoryOperand(const std::vector<TValue>& fields, std::size_t at, std::uint16_t address) const;
  std::uint16_t FieldValue(const TValue& field, unsigned max, const char* what) const;
  void Definition(TCursor& c, TSymType type, std::string_view pseudoOp);
  void DefineAsValue(TCursor& c, std::string_view name, TSymType type);

  // Pseudo-ops (AsmPseudoOps.cpp)
  bool FindPseudoOp(std::string_view name, TPseudoOp& op) const;
  void PseudoOp(TPseudoOp op, std::string_view name, TCursor& c);
  void Text(TCursor& c, std::string_view name, int parity);
  void Radix(TCursor& c);

  TAsmProgram& P;
  TSymMap FSyms;
  std::vector<std::vector<std::string_view>> FSourceLines;

  // State of the pass
  int FPass = 1;
  int FSource = 0;
  int FLineNumber = 0;
  int FOrdinal = 0;  // the line's number over all sources
  unsigned FLoc = 0;
  std::uint16_t FDot = 0;  // "." in the statement: the address of its word
  int FRadix = 8;
  bool FLeftFirst = false;  // .TXTM 1
  bool FEnded = false;      // .END seen
  bool FEndOfFile = false;  // .EOT seen
  bool FStarted = false;    // a symbol defined or a word assembled: too late for .XPNG
  bool FPass1View = false;  // symbols count only where the first pass knew them
  TAsmLine* FLine = nullptr;  // the listed line (second pass)
};

// A piece of source text as a message quotes it: other bytes than printable ASCII as \xNN, cut.
std::string Shown(std::string_view text);

}  // namespace dgasm
