// Single-line assembler: one line of assembler text to one instruction word.
#include "NovaTables.h"
#include "NovaUtils.h"

#include <string>

namespace {

using namespace novatext;
using Text = std::string_view;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

void SkipBlanks(Text& t) {
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
}

// Case-insensitive comparison with a table entry; empty entries never match.
bool Matches(Text t, const char* name) {
  const Text n(name);
  if (n.empty() || t.size() != n.size()) return false;
  for (std::size_t i = 0; i < n.size(); ++i)
    if (Upper(t[i]) != n[i]) return false;
  return true;
}

// Index of the entry equal to t, or -1.
template <std::size_t N>
int Lookup(Text t, const char* const (&table)[N]) {
  for (std::size_t i = 0; i < N; ++i)
    if (Matches(t, table[i])) return int(i);
  return -1;
}

// Index of the single-letter entry equal to c (empty entries skipped), or -1.
template <std::size_t N>
int LookupLetter(char c, const char* const (&table)[N]) {
  return Lookup(Text(&c, 1), table);
}

// A digit 0..3 after optional blanks; everything up to and including the next comma is consumed.
bool TakeAccumulator(Text& rest, int& ac) {
  SkipBlanks(rest);
  if (rest.empty() || rest.front() < '0' || rest.front() > '3') return false;
  ac = rest.front() - '0';
  const std::size_t comma = rest.find(',');
  rest = comma == Text::npos ? Text() : rest.substr(comma + 1);
  return true;
}

// A signed displacement -200..+177 (octal), as its 8-bit field.
bool Displacement(Text p, nova::Word& field) {
  if (p.empty()) return false;
  if (p.front() == '+') p.remove_prefix(1);
  bool negative = false;
  if (!p.empty() && p.front() == '-') {
    negative = true;
    p.remove_prefix(1);
    if (p.empty()) return false;
  }
  std::int64_t value;
  if (!TryParseOctal(p, value)) return false;
  value &= 0xFFFF;
  if (negative ? value > 0200 : value > 0177) return false;
  field = nova::Word((negative ? -value : value) & 0377);
  return true;
}

// A device name or an octal device code 0..77.
bool Device(Text rest, nova::Word& word) {
  SkipBlanks(rest);
  for (const TDeviceName& d : DeviceNames)
    if (Matches(rest, d.Name)) {
      word |= d.Value;
      return true;
    }
  std::int64_t code;
  if (!TryParseOctal(rest, code) || code < 0 || code > nova::DevCPU) return false;
  word |= nova::Word(code);
  return true;
}

bool MemoryOperand(Text r, std::uint16_t address, nova::Word& word) {
  SkipBlanks(r);
  if (r.empty()) return false;
  if (r.front() == '@') {
    word |= nova::IndirectBit;
    r.remove_prefix(1);
    if (r.empty()) return false;
  }
  nova::Word disp = 0;
  const std::size_t comma = r.find(',');
  if (comma != Text::npos) {
    Text indexPart = r.substr(comma + 1);
    int index;
    if (!Displacement(r.substr(0, comma), disp) || !TakeAccumulator(indexPart, index) || index < 2)
      return false;
    word |= nova::Word(index << 8) | disp;
    return true;
  }
  if (r.front() == '.') {
    r.remove_prefix(1);
    if (!r.empty() && !Displacement(r, disp)) return false;
    word |= 0400 | disp;
    return true;
  }
  std::int64_t target;
  if (!TryParseOctal(r, target)) return false;
  target &= 0xFFFF;
  if (target <= 0377) {
    word |= nova::Word(target);
    return true;
  }
  const std::int64_t offset = target - address;
  if (offset < -0200 || offset > 0177) return false;
  word |= nova::Word(0400 | (offset & 0377));
  return true;
}

// Arithmetic class: suffixes (carry, shift, "#"), ACS, ACD and an optional skip.
bool Arithmetic(int function, Text tail, nova::Word& word) {
  word = nova::Word(nova::ArithBit | (function << 8));
  if (!tail.empty() && tail.front() != ' ') {
    const int carry = LookupLetter(tail.front(), CarryNames);
    if (carry > 0) {
      word |= nova::Word(carry << 4);
      tail.remove_prefix(1);
      if (tail.empty()) return false;
    }
  }
  if (!tail.empty() && tail.front() != ' ') {
    const int shift = LookupLetter(tail.front(), ShiftNames);
    if (shift > 0) {
      word |= nova::Word(shift << 6);
      tail.remove_prefix(1);
      if (tail.empty()) return false;
    }
    if (tail.front() == '#') {
      word |= 010;
      tail.remove_prefix(1);
      if (tail.empty()) return false;
    } else if (tail.front() != ' ') {
      return false;
    }
  }
  int acs, acd;
  if (!TakeAccumulator(tail, acs) || !TakeAccumulator(tail, acd)) return false;
  word |= nova::Word((acs << 13) | (acd << 11));
  const int skip = Lookup(tail, SkipNames);
  if (skip > 0) word |= nova::Word(skip);
  return true;
}

// I/O class in the general form: transfer with pulse or skip test, accumulator, device.
bool InputOutput(int transfer, Text tail, nova::Word& word) {
  word = nova::Word(nova::IoClassBits | (transfer << 8));
  if (transfer == TransferSkp) {
    const int test = tail.size() >= 2 ? Lookup(tail.substr(0, 2), IoSkipNames) : -1;
    if (test < 0) return false;
    word |= nova::Word(test << 6);
    return Device(tail.substr(2), word);
  }
  if (tail.empty() || tail.front() != ' ') {
    const int pulse = tail.empty() ? -1 : LookupLetter(tail.front(), PulseNames);
    if (pulse <= 0) return false;
    word |= nova::Word(pulse << 6);
    tail.remove_prefix(1);
    if (tail.empty()) return false;
  }
  if (transfer != TransferNio) {
    int ac;
    if (!TakeAccumulator(tail, ac)) return false;
    word |= nova::Word(ac << 11);
  }
  return Device(tail, word);
}

}  // namespace

bool StrToCommand(std::string_view input, std::uint16_t address, std::uint16_t& word) {
  word = 0;
  // Comment, blanks at both ends, tabs inside.
  Text cut = input.substr(0, input.find(';'));
  while (!cut.empty() && IsBlank(cut.front())) cut.remove_prefix(1);
  while (!cut.empty() && IsBlank(cut.back())) cut.remove_suffix(1);
  if (cut.size() < 3) return true;  // an empty command stores 0
  std::string line(cut);
  for (char& c : line)
    if (c == '\t') c = ' ';
  const Text text(line);

  const Text firstWord = text.substr(0, text.find(' '));
  for (const TSpecialWord& s : SpecialWords) {
    if (!Matches(firstWord, s.Name)) continue;
    word = s.Value;
    if (!s.TakesAccumulator) return true;
    Text rest = text.substr(firstWord.size());
    int ac;
    if (!TakeAccumulator(rest, ac)) return false;
    word = nova::Word(word + (ac << 11));
    return true;
  }

  const Text mnemonic = text.substr(0, 3);
  Text tail = text.substr(3);
  if (const int f = Lookup(mnemonic, FunctionNames); f >= 0) return Arithmetic(f, tail, word);
  if (const int ls = Lookup(mnemonic, LoadStoreNames); ls >= 0) {
    int ac;
    if (!TakeAccumulator(tail, ac)) return false;
    word = nova::Word((ls == 0 ? nova::LdaWord : nova::StaWord) | (ac << 11));
    return MemoryOperand(tail, address, word);
  }
  if (const int j = Lookup(mnemonic, JumpNames); j >= 0) {
    word = nova::Word(j << 11);
    return MemoryOperand(tail, address, word);
  }
  if (const int t = Lookup(mnemonic, TransferNames); t >= 0) return InputOutput(t, tail, word);
  return false;  // no such mnemonic
}
