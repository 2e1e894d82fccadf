// Breakpoints of all kinds: the list, the cell flags it gives, and what happens when the
// program arrives at one or reads or writes a word one covers.
#include <algorithm>
#include <charconv>

#include "ExecCore.h"
#include "SafeFormat.h"
#include "Translate.h"

const char* BreakKindName(TBreakKind Kind) {
  switch (Kind) {
    case bkRead: return "read";
    case bkWrite: return "write";
    case bkAccess: return "access";
    default: return "execute";
  }
}

bool BreakKindFromName(std::string_view Name, TBreakKind& Kind) {
  for (TBreakKind k : {bkExecute, bkRead, bkWrite, bkAccess})
    if (Name == BreakKindName(k)) {
      Kind = k;
      return true;
    }
  return false;
}

std::string BreakKindText(TBreakKind Kind) {
  switch (Kind) {
    case bkRead: return _("Read");
    case bkWrite: return _("Write");
    case bkAccess: return _("Access");
    default: return _("Execute");
  }
}

namespace {

constexpr std::pair<TNumMode, const char*> BaseNames[] = {
    {nmBin, "binary"}, {nmOctal, "octal"}, {nmZeroDec, "decimal"}, {nmDecimal, "decimal"}, {nmHex, "hex"}};

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool EntryWord(std::string_view s, TWord& w) {
  std::int64_t v = 0;
  if (!TryParseOctal(Trimmed(s), v) || v < 0 || v > nova::AddrMask) return false;
  w = TWord(v);
  return true;
}

}  // namespace

std::string BreakpointEntry(const TBreakpoint& B) {
  const char* base = "octal";
  for (const auto& [mode, name] : BaseNames)
    if (mode == B.Base) base = name;
  return std::string(BreakKindName(B.Kind)) + ',' + FormatOctal(B.First, 6) + ',' + FormatOctal(B.Last, 6) + ',' +
         std::to_string(B.Count) + ',' + base + ',' + B.Condition;
}

bool BreakpointFromEntry(std::string_view Entry, TBreakpoint& B) {
  std::string_view field[5];
  for (std::string_view& f : field) {
    const std::size_t comma = Entry.find(',');
    if (comma == std::string_view::npos) return false;
    f = Trimmed(Entry.substr(0, comma));
    Entry.remove_prefix(comma + 1);
  }
  TBreakpoint b;
  if (!BreakKindFromName(field[0], b.Kind) || !EntryWord(field[1], b.First) || !EntryWord(field[2], b.Last))
    return false;
  const auto [end, ec] = std::from_chars(field[3].data(), field[3].data() + field[3].size(), b.Count);
  if (field[3].empty() || ec != std::errc() || end != field[3].data() + field[3].size()) return false;
  bool known = false;
  for (const auto& [mode, name] : BaseNames)
    if (!known && field[4] == name) {
      b.Base = mode;
      known = true;
    }
  if (!known) return false;
  b.Condition = std::string(Trimmed(Entry));
  B = std::move(b);
  return true;
}

namespace {

bool Before(const TBreakpoint& a, const TBreakpoint& b) {
  if (a.First != b.First) return a.First < b.First;
  if (a.Kind != b.Kind) return a.Kind < b.Kind;
  return a.Last < b.Last;
}

std::uint8_t KindFlags(TBreakKind kind) {
  switch (kind) {
    case bkRead: return ReadBreakFlag;
    case bkWrite: return WriteBreakFlag;
    case bkAccess: return DataBreakFlags;
    default: return BreakpointFlag;
  }
}

constexpr std::uint8_t ListFlags = BreakpointFlag | DataBreakFlags;

}  // namespace

// ---- the list

void TNovaMachine::RemarkBreaks() {
  for (TMemCell& cell : Memory) cell.Flags &= std::uint8_t(~ListFlags);
  BreakPoints.clear();
  FDataBreaks.clear();
  for (std::size_t i = 0; i < FBreaks.size(); ++i) {
    const TBreakpoint& b = FBreaks[i];
    const std::uint8_t flags = KindFlags(b.Kind);
    for (int a = b.First; a <= b.Last; ++a) Memory[std::size_t(a)].Flags |= flags;
    if (b.Kind == bkExecute)
      BreakPoints.push_back(b.First);
    else
      FDataBreaks.push_back(TDataBreak{b.First, b.Last, flags, i, 0, 0, false});
  }
  // The run goes on in the loop that fits.
  if (FInExec && FRun && FLoopChecked != !FDataBreaks.empty()) {
    FSpeedSwitch = true;
    FRun = false;
  }
}

void TNovaMachine::BreaksChanged() {
  RemarkBreaks();
  FHost->BreakpointsChanged(int(FBreaks.size()));
}

bool TNovaMachine::InsertBreak(TBreakpoint b, bool Replace, std::string* Error, const TSymbolLookup* Symbols) {
  b.First &= nova::AddrMask;
  b.Last = b.Kind == bkExecute ? b.First : TWord(b.Last & nova::AddrMask);
  b.Hits = 0;
  std::string error;
  if (b.Last < b.First) {
    if (Error) *Error = _("the range ends before it begins");
    return false;
  }
  if (!b.Compiled.Parse(b.Condition, b.Base, error, Symbols)) {
    if (Error) *Error = error;
    return false;
  }
  const auto at = std::lower_bound(FBreaks.begin(), FBreaks.end(), b, Before);
  if (at == FBreaks.end() || !at->SameAs(b))
    FBreaks.insert(at, std::move(b));
  else if (Replace)
    *at = std::move(b);
  return true;
}

bool TNovaMachine::SetBreakpoint(const TBreakpoint& B, std::string* Error, const TSymbolLookup* Symbols) {
  if (!InsertBreak(B, true, Error, Symbols)) return false;
  BreaksChanged();
  return true;
}

int TNovaMachine::AddBreakpoints(const std::vector<TBreakpoint>& List) {
  int refused = 0;
  for (const TBreakpoint& b : List) refused += InsertBreak(b, true, nullptr, nullptr) ? 0 : 1;
  BreaksChanged();
  return refused;
}

void TNovaMachine::ClearBreakpoint(TBreakKind Kind, TWord First, TWord Last) {
  TBreakpoint key;
  key.Kind = Kind;
  key.First = TWord(First & nova::AddrMask);
  key.Last = Kind == bkExecute ? key.First : TWord(Last & nova::AddrMask);
  const auto at = std::lower_bound(FBreaks.begin(), FBreaks.end(), key, Before);
  if (at != FBreaks.end() && at->SameAs(key)) FBreaks.erase(at);
  BreaksChanged();
}

void TNovaMachine::SetBreakpoint(TWord Addr) {
  TBreakpoint b;
  b.First = Addr;
  InsertBreak(b, false, nullptr, nullptr);  // one there keeps its condition
  BreaksChanged();
}

void TNovaMachine::ClearBreakpoint(TWord Addr) { ClearBreakpoint(bkExecute, Addr, Addr); }

void TNovaMachine::ToggleBreakpoint(TWord Addr) {
  if (HasBreakpoint(Addr))
    ClearBreakpoint(Addr);
  else
    SetBreakpoint(Addr);
}

void TNovaMachine::SetBreakpoints(const std::vector<TWord>& Addrs) {
  for (TWord a : Addrs) {
    TBreakpoint b;
    b.First = a;
    InsertBreak(b, false, nullptr, nullptr);
  }
  BreaksChanged();
}

void TNovaMachine::ClearBreakpoints() {
  FBreaks.clear();
  BreaksChanged();
}

void TNovaMachine::ResetHitCounts() {
  bool any = false;
  for (TBreakpoint& b : FBreaks) {
    any |= b.Hits != 0;
    b.Hits = 0;
  }
  FBreaksDirty = false;
  if (any) FHost->BreakpointsChanged(int(FBreaks.size()));
}

// ---- arrivals

bool TNovaMachine::Reached(TBreakpoint& B) {
  if (!B.Compiled.Holds(*this)) return false;
  ++B.Hits;
  FBreaksDirty = true;
  return B.Hits >= B.Count;
}

bool TNovaMachine::ExecuteBreakReached(TWord Pc) {
  TBreakpoint key;
  key.First = key.Last = Pc;
  const auto at = std::lower_bound(FBreaks.begin(), FBreaks.end(), key, Before);
  if (at == FBreaks.end() || !at->SameAs(key)) return true;  // a flag set directly: a plain stop
  return Reached(*at);
}

void TNovaMachine::NoteAccess(TWord a, std::uint8_t Kinds) {
  if (FHistory && FHistory->ProbeAddr == a && (Kinds & WriteBreakFlag) && !FHistory->ProbeHit) {
    FHistory->ProbeHit = true;
    FHistory->ProbeByInterrupt = FInInterrupt;
    FHistory->ProbeOld = Memory[a].Data;
  }
  for (TDataBreak& d : FDataBreaks) {
    const std::uint8_t hit = d.Kinds & Kinds;
    if (!hit || a < d.First || a > d.Last) continue;
    if (!d.Touched) {
      d.At = a;
      d.ByInterrupt = FInInterrupt;
    }
    if (d.At == a) d.Touched |= hit;
  }
  FAttention |= DataHitAttention;
}

void TNovaMachine::DataHits(TWord pc, TWord carry) {
  FAttention &= ~DataHitAttention;
  // The conditions read the registers; the run keeps its own copies and stores them later.
  PC = pc;
  Carry = carry;
  for (TDataBreak& d : FDataBreaks) {
    if (!d.Touched) continue;
    const bool write = d.Touched & WriteBreakFlag;
    d.Touched = 0;
    TBreakpoint& b = FBreaks[d.Index];
    if (!Reached(b) || FStopReason != srNone) continue;
    FDataStop = TDataStop{b.Kind, d.At, FExecPC, write, d.ByInterrupt};
    const std::string addr = AddrKey(d.At), pc = AddrKey(FExecPC);
    std::string text;
    if (d.ByInterrupt)
      text = SafeFormat(write ? _("Stopped: write to %s by the interrupt after the instruction at %s")
                              : _("Stopped: read of %s by the interrupt after the instruction at %s"),
                        addr, pc);
    else
      text = SafeFormat(write ? _("Stopped: write to %s by the instruction at %s")
                              : _("Stopped: read of %s by the instruction at %s"),
                        addr, pc);
    Stop(srData, std::move(text));
  }
}
