// Breakpoints, watches and the trace ring.
#include <algorithm>

#include "ExecCore.h"
#include "NumberUtils.h"
#include "SafeFormat.h"
#include "Translate.h"

std::string TNovaMachine::AddrKey(TWord Addr) { return FormatWord(Addr & nova::AddrMask, nmOctal); }

// ---- breakpoints

void TNovaMachine::AddBreakpointItem(TWord Addr) {
  Addr &= nova::AddrMask;
  const auto at = std::lower_bound(BreakPoints.begin(), BreakPoints.end(), Addr);
  if (at == BreakPoints.end() || *at != Addr) BreakPoints.insert(at, Addr);
}

void TNovaMachine::AddBreakpointItems(const std::vector<TWord>& Addrs) {
  for (TWord a : Addrs) BreakPoints.push_back(TWord(a & nova::AddrMask));
  std::sort(BreakPoints.begin(), BreakPoints.end());
  BreakPoints.erase(std::unique(BreakPoints.begin(), BreakPoints.end()), BreakPoints.end());
}

void TNovaMachine::RemoveBreakpointItem(TWord Addr) {
  Addr &= nova::AddrMask;
  const auto at = std::lower_bound(BreakPoints.begin(), BreakPoints.end(), Addr);
  if (at != BreakPoints.end() && *at == Addr) BreakPoints.erase(at);
}

void TNovaMachine::SetBreakpoint(TWord Addr) {
  Addr &= nova::AddrMask;
  Memory[Addr].Flags |= BreakpointFlag;
  AddBreakpointItem(Addr);
  FHost->BreakpointsChanged(int(BreakPoints.size()));
}

void TNovaMachine::ClearBreakpoint(TWord Addr) {
  Addr &= nova::AddrMask;
  Memory[Addr].Flags &= std::uint8_t(~BreakpointFlag);
  RemoveBreakpointItem(Addr);
  FHost->BreakpointsChanged(int(BreakPoints.size()));
}

int TNovaMachine::DeleteBreakpoint(TWord Addr) {
  Addr &= nova::AddrMask;
  const auto at = std::lower_bound(BreakPoints.begin(), BreakPoints.end(), Addr);
  if (at != BreakPoints.end() && *at == Addr) {
    Memory[Addr].Flags &= std::uint8_t(~BreakpointFlag);
    BreakPoints.erase(at);
  }
  FHost->BreakpointsChanged(int(BreakPoints.size()));
  return int(BreakPoints.size());
}

void TNovaMachine::DeleteAllBreakpoints() {
  for (TWord a : BreakPoints) Memory[a].Flags &= std::uint8_t(~BreakpointFlag);
  BreakPoints.clear();
  FHost->BreakpointsChanged(0);
}

// ---- watches

void TNovaMachine::AddWatch(TWord Addr) { AddWatchItem(Addr, Memory[Addr & nova::AddrMask].Data); }

void TNovaMachine::AddWatchItem(TWord Addr, TWord Data) {
  Addr &= nova::AddrMask;
  const auto at = std::lower_bound(Watch.begin(), Watch.end(), Addr,
                                   [](const TWatchMem& w, TWord a) { return w.Addr < a; });
  if (at == Watch.end() || at->Addr != Addr) Watch.insert(at, TWatchMem{Addr, Data, false, false});
  UpdateAttention();
  FHost->WatchesChanged(int(Watch.size()));
}

void TNovaMachine::AddWatchItems(const std::vector<TWord>& Addrs) {
  for (TWord a : Addrs) Watch.push_back(TWatchMem{TWord(a & nova::AddrMask), 0, false, false});
  // Stable: of repeated addresses the one listed before (an existing watch) stays.
  std::stable_sort(Watch.begin(), Watch.end(), [](const TWatchMem& a, const TWatchMem& b) { return a.Addr < b.Addr; });
  Watch.erase(std::unique(Watch.begin(), Watch.end(), [](const TWatchMem& a, const TWatchMem& b) { return a.Addr == b.Addr; }),
              Watch.end());
  UpdateAttention();
  FHost->WatchesChanged(int(Watch.size()));
}

int TNovaMachine::DeleteWatch(TWord Addr) {
  Addr &= nova::AddrMask;
  const auto at = std::lower_bound(Watch.begin(), Watch.end(), Addr,
                                   [](const TWatchMem& w, TWord a) { return w.Addr < a; });
  if (at != Watch.end() && at->Addr == Addr) Watch.erase(at);
  UpdateAttention();
  FHost->WatchesChanged(int(Watch.size()));
  return int(Watch.size());
}

void TNovaMachine::ClearWatches() {
  Watch.clear();
  UpdateAttention();
  FHost->WatchesChanged(0);
}

bool TNovaMachine::CheckWatches(bool Running) {
  bool result = false;
  bool any = false;
  for (TWatchMem& w : Watch) {
    const TWord now = Memory[w.Addr].Data;
    w.Changed = Running && now != w.Data;
    any |= w.Changed;
    w.Data = now;
    result |= w.Alert && w.Changed;
  }
  if (any || !Running) {
    FWatchesDirty = true;
    if (!FInExec) FlushNotifications();
  }
  return result;
}

// Per executed instruction: stops the run when a location with alert changed.
bool TNovaMachine::CheckWatchesRunning() {
  bool any = false;
  const TWatchMem* alerted = nullptr;
  for (TWatchMem& w : Watch) {
    const TWord now = Memory[w.Addr].Data;
    w.Changed = now != w.Data;
    if (w.Changed) {
      any = true;
      w.Data = now;
      if (w.Alert && !alerted) alerted = &w;
    }
  }
  if (!any) return false;
  FWatchesDirty = true;
  if (!alerted) return false;
  Stop(srWatch, SafeFormat(_("Watched location %s changed"), AddrKey(alerted->Addr)));
  return true;
}

// ---- trace

void TNovaMachine::AddTraceItem(const TTraceData& Item) {
  FTrace[FTracePos] = Item;
  if (++FTracePos == TraceCapacity) {
    FTracePos = 0;
    FTraceFull = true;
  }
  FTraceDirty = true;
}

const TTraceData& TNovaMachine::TraceItem(int i) const {
  static const TTraceData none{};
  const int count = TraceCount();
  if (i < 0 || i >= count) return none;
  int at = FTracePos - count + i;
  if (at < 0) at += TraceCapacity;
  return FTrace[at];
}

void TNovaMachine::ClearTrace() {
  FTracePos = 0;
  FTraceFull = false;
  FTraceDirty = true;
}
