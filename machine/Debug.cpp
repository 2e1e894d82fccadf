// Watches and the trace ring.
#include <algorithm>

#include "ExecCore.h"
#include "NumberUtils.h"
#include "SafeFormat.h"
#include "Translate.h"

std::string TNovaMachine::AddrKey(TWord Addr) { return FormatWord(Addr & nova::AddrMask, nmOctal); }

// ---- watches

namespace {
auto FindWatch(std::vector<TWatchMem>& list, TWord addr) {
  return std::lower_bound(list.begin(), list.end(), addr, [](const TWatchMem& w, TWord a) { return w.Addr < a; });
}
}  // namespace

// A new entry with the location's value now; an address already watched keeps its entry.
void TNovaMachine::InsertWatch(TWord Addr) {
  Addr &= nova::AddrMask;
  const auto at = FindWatch(Watch, Addr);
  if (at == Watch.end() || at->Addr != Addr) Watch.insert(at, TWatchMem{Addr, Memory[Addr].Data, false, false});
}

void TNovaMachine::AddWatch(TWord Addr) {
  InsertWatch(Addr);
  UpdateAttention();
  FHost->WatchesChanged(int(Watch.size()));
}

void TNovaMachine::AddWatches(const std::vector<TWord>& Addrs) {
  for (TWord a : Addrs) {
    a &= nova::AddrMask;
    Watch.push_back(TWatchMem{a, Memory[a].Data, false, false});
  }
  // The first entry of an address stays.
  std::stable_sort(Watch.begin(), Watch.end(), [](const TWatchMem& x, const TWatchMem& y) { return x.Addr < y.Addr; });
  Watch.erase(std::unique(Watch.begin(), Watch.end(), [](const TWatchMem& x, const TWatchMem& y) { return x.Addr == y.Addr; }),
              Watch.end());
  UpdateAttention();
  FHost->WatchesChanged(int(Watch.size()));
}

void TNovaMachine::RemoveWatch(TWord Addr) {
  Addr &= nova::AddrMask;
  const auto at = FindWatch(Watch, Addr);
  if (at != Watch.end() && at->Addr == Addr) Watch.erase(at);
  UpdateAttention();
  FHost->WatchesChanged(int(Watch.size()));
}

void TNovaMachine::ClearWatches() {
  Watch.clear();
  UpdateAttention();
  FHost->WatchesChanged(0);
}

void TNovaMachine::SetWatchAlert(TWord Addr, bool On) {
  Addr &= nova::AddrMask;
  const auto at = FindWatch(Watch, Addr);
  if (at == Watch.end() || at->Addr != Addr) return;
  at->Alert = On;
  FHost->WatchesChanged(int(Watch.size()));
}

bool TNovaMachine::CheckWatches(bool InRun) {
  bool result = false;
  bool any = false;
  for (TWatchMem& w : Watch) {
    const TWord now = Memory[w.Addr].Data;
    w.Changed = InRun && now != w.Data;
    any |= w.Changed;
    w.Data = now;
    result |= w.Alert && w.Changed;
  }
  if (any || !InRun) {
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
  FTrace[std::size_t(FTracePos)] = Item;
  if (++FTracePos == FTraceLength) {
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
  if (at < 0) at += FTraceLength;
  return FTrace[std::size_t(at)];
}

void TNovaMachine::SetTraceLength(int Length) {
  Length = std::clamp(Length, MinTraceLength, MaxTraceLength);
  if (Length == FTraceLength && FTraceData) return;
  // The newest records, oldest first, in the new ring.
  const int keep = std::min(FTraceData ? TraceCount() : 0, Length);
  std::vector<TTraceData> ring(static_cast<std::size_t>(Length));
  for (int i = 0; i < keep; ++i) ring[std::size_t(i)] = TraceItem(TraceCount() - keep + i);
  FTrace = std::move(ring);
  FTraceData = FTrace.data();
  FTraceEnd = FTraceData + Length;
  FTraceLength = Length;
  FTracePos = keep == Length ? 0 : keep;
  FTraceFull = keep == Length;
  FHost->TraceChanged(TraceCount());
}

void TNovaMachine::ClearTrace() {
  FTracePos = 0;
  FTraceFull = false;
  FTraceDirty = true;
  FHost->TraceChanged(0);
}
