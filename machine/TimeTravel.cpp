// Going back in time: recording frames and the answers from outside, replaying them, reverse
// step and run, and the last writer of a word.
#include <algorithm>

#include "ExecCore.h"

namespace {

constexpr std::uint8_t EvBusy = 1, EvDone = 2, EvMask = 4, EvIrq = 8, EvCompleted = 16, EvReaderOn = 32,
                       EvLatch = 64;

constexpr int SlotPtr = 0, SlotTti = 2;

}  // namespace

// ---- switching it on and off

void TNovaMachine::SetHistorySize(std::uint64_t Instructions) {
  if (FInExec) return;
  TDevice* const taps[] = {&Ptr, &Tti, &Tto, &Ptp, &Lpt};
  if (Instructions == 0) {
    if (FHistory && FHistory->ReplayTo) Diverge();  // the readers back to now
    FHistory.reset();
    for (TDevice* d : taps) d->Tap = nullptr;
    return;
  }
  Instructions = std::min(Instructions, MaxHistorySize);
  if (FHistory && FHistory->Size == Instructions) return;
  if (FHistory && FHistory->ReplayTo) Diverge();  // the readers back to now
  auto h = std::make_unique<THistory>();
  h->Size = Instructions;
  // Frames are at least FrameInterval apart: one more than that covers the size, one more is
  // being written.
  const THistory::TCapacity c = THistory::CapacityFor(Instructions);
  h->Frames.Allocate(c.Frames);
  h->Events.Allocate(c.Events);
  h->Points.Allocate(c.Points);
  FHistory = std::move(h);
  for (TDevice* d : taps) d->Tap = &FTap;
  ClearHistory();
}

void TNovaMachine::ClearHistory() {
  THistory& h = *FHistory;
  h.Frames.First = h.Frames.End = 0;
  h.Events.First = h.Events.End = 0;
  h.Points.First = h.Points.End = 0;
  h.EventCursor = h.PointCursor = 0;
  h.ReplayTo = 0;
  h.NeedFrame = true;
  h.LastOutputAt = 0;
  HistoryLeave();
}

void TNovaMachine::DropHistory() {
  if (FHistory) ClearHistory();
}

std::uint64_t TNovaMachine::HistoryStart() const {
  if (!FHistory || FHistory->Frames.Empty()) return FExecuted;
  return FHistory->Frames[FHistory->Frames.First].Count;
}

std::uint64_t TNovaMachine::HistoryEnd() const {
  return FHistory && FHistory->ReplayTo ? FHistory->ReplayTo : FExecuted;
}

// ---- recording

void TNovaMachine::TakeFrame() {
  THistory& h = *FHistory;
  if (h.Frames.Full()) {
    ++h.Frames.First;
    const THistoryFrame& oldest = h.Frames[h.Frames.First];
    h.Events.First = std::max(h.Events.First, oldest.EventPos);
    h.Points.First = std::max(h.Points.First, oldest.PointPos);
  }
  THistoryFrame& f = h.Frames[h.Frames.End++];
  f.Count = FExecuted;
  f.EventPos = h.Events.End;
  f.PointPos = h.Points.End;
  f.Regs = TakeRegs();
  for (int a = 0; a < MemoryWords; ++a) f.Memory[std::size_t(a)] = Memory[std::size_t(a)].Data;
  h.NeedFrame = false;
}

namespace {
// A ring that is full gives up its oldest record, and with it the frames that need it.
template <class TRing>
void MakeRoom(THistory& h, TRing& ring, std::uint64_t THistoryFrame::*pos) {
  if (!ring.Full()) return;
  ++ring.First;
  while (!h.Frames.Empty() && h.Frames[h.Frames.First].*pos < ring.First) ++h.Frames.First;
  if (h.Frames.Empty()) h.NeedFrame = true;
}
}  // namespace

void TNovaMachine::PushEvent(THistoryEvent::TKind Kind, int Slot) {
  THistory& h = *FHistory;
  MakeRoom(h, h.Events, &THistoryFrame::EventPos);
  const TDevice& d = Slot == SlotPtr ? static_cast<const TDevice&>(Ptr) : Tti;
  THistoryEvent& e = h.Events[h.Events.End++];
  e.Count = FExecuted;
  e.Kind = Kind;
  e.Slot = std::uint8_t(Slot);
  e.Byte = Slot == SlotPtr ? Ptr.IByte : Tti.IByte;
  e.Flags = std::uint8_t((d.FBusy ? EvBusy : 0) | (d.FDone ? EvDone : 0) | (d.FMask ? EvMask : 0) |
                         (d.FIrq ? EvIrq : 0) | (d.FCompleted ? EvCompleted : 0) |
                         (Tti.FRdOn ? EvReaderOn : 0) | (IrqFlag ? EvLatch : 0));
  h.EventCursor = h.Events.End;
}

void TNovaMachine::ApplyEvent(const THistoryEvent& e) {
  TInDevice& d = e.Slot == SlotPtr ? static_cast<TInDevice&>(Ptr) : Tti;
  d.FBusy = e.Flags & EvBusy;
  d.FDone = e.Flags & EvDone;
  d.FMask = e.Flags & EvMask;
  d.FIrq = e.Flags & EvIrq;
  d.FCompleted = e.Flags & EvCompleted;
  d.IByte = e.Byte;
  Tti.FRdOn = e.Flags & EvReaderOn;
  IrqFlag = e.Flags & EvLatch;
  WakeDevices();
  UpdateAttention();
}

void TNovaMachine::ByteRequest(TInDevice& Device) {
  if (!TapActive()) {
    if (Device.OnByteRequest) Device.OnByteRequest(Device);
    return;
  }
  THistory& h = *FHistory;
  const int slot = &Device == &Ptr ? SlotPtr : SlotTti;
  if (h.ReplayTo) {
    if (h.EventCursor < h.Events.End) {
      const THistoryEvent& e = h.Events[h.EventCursor];
      if (e.Kind == THistoryEvent::evByte && e.Count == FExecuted && e.Slot == slot) {
        ++h.EventCursor;
        ApplyEvent(e);
        return;
      }
    }
    if (FReplaying) return;
    Diverge();
  }
  if (Device.OnByteRequest) Device.OnByteRequest(Device);
  PushEvent(THistoryEvent::evByte, slot);
}

bool TNovaMachine::LetOut(TDevice&) {
  if (!TapActive()) return true;
  if (FHistory->ReplayTo) return false;  // it was let out the first time
  FHistory->LastOutputAt = FExecuted;
  return true;
}

void TNovaMachine::ResetHook() {
  THistory& h = *FHistory;
  if (h.ReplayTo) {
    if (h.EventCursor < h.Events.End) {
      const THistoryEvent& e = h.Events[h.EventCursor];
      if (e.Kind == THistoryEvent::evReset && e.Count == FExecuted) {
        ++h.EventCursor;
        ApplyEvent(e);
        return;
      }
    }
    if (FReplaying) return;
    Diverge();
  }
  ++FDeviceResets;
  if (OnDevicesReset) OnDevicesReset();
  PushEvent(THistoryEvent::evReset, SlotTti);
}

void TNovaMachine::Diverge() {
  THistory& h = *FHistory;
  if (OnDiverge) OnDiverge();
  h.Events.End = h.EventCursor;
  h.Points.End = h.PointCursor;
  while (!h.Frames.Empty() && h.Frames[h.Frames.End - 1].Count > FExecuted) --h.Frames.End;
  h.ReplayTo = 0;
}

std::uint64_t TNovaMachine::TapeRequestsAhead(bool Teletype) const {
  if (!FHistory || !FHistory->ReplayTo) return 0;
  const THistory& h = *FHistory;
  const int slot = Teletype ? SlotTti : SlotPtr;
  const auto fromTape = [&](const THistoryEvent& e) {
    return e.Kind == THistoryEvent::evByte && e.Slot == slot && (!Teletype || (e.Flags & EvReaderOn));
  };
  // A request that delivered nothing moved the tape only when it ran the tape out: the one
  // before it (if any is known) had delivered a byte.
  bool lastDelivered = true;
  for (std::uint64_t j = h.EventCursor; j > h.Events.First; --j)
    if (fromTape(h.Events[j - 1])) {
      lastDelivered = h.Events[j - 1].Flags & EvCompleted;
      break;
    }
  std::uint64_t n = 0;
  for (std::uint64_t j = h.EventCursor; j < h.Events.End; ++j) {
    const THistoryEvent& e = h.Events[j];
    if (!fromTape(e)) continue;
    const bool delivered = e.Flags & EvCompleted;
    if (delivered || lastDelivered) ++n;
    lastDelivered = delivered;
  }
  return n;
}

void TNovaMachine::NoteOutsideChanges() {
  THistory& h = *FHistory;
  // A state put back from elsewhere (or the count changed otherwise): the history starts anew.
  if (FExecuted != h.HeadCount) ClearHistory();
  if (h.NeedFrame || h.Frames.Empty()) {
    if (h.ReplayTo) Diverge();
    TakeFrame();
  } else if (FEdits != h.HeadEdits) {
    if (h.ReplayTo) Diverge();
    TakeFrame();
  } else {
    const TRegisterState regs = TakeRegs();
    if (regs != h.HeadRegs) {
      if (h.ReplayTo) Diverge();
      MakeRoom(h, h.Points, &THistoryFrame::PointPos);
      if (h.NeedFrame) {
        TakeFrame();
      } else {
        h.Points[h.Points.End++] = THistoryPoint{FExecuted, regs};
        h.PointCursor = h.Points.End;
      }
    }
  }
  HistoryLeave();
}

void TNovaMachine::HistoryLeave() {
  THistory& h = *FHistory;
  h.HeadCount = FExecuted;
  h.HeadEdits = FEdits;
  h.HeadRegs = TakeRegs();
}

std::uint64_t TNovaMachine::FrameAt(std::uint64_t Count) const {
  const THistory& h = *FHistory;
  std::uint64_t j = h.Frames.End;
  while (j > h.Frames.First && h.Frames[j - 1].Count > Count) --j;
  return j - 1;  // callers make sure one is there
}

void TNovaMachine::HistoryArrive() {
  THistory& h = *FHistory;
  if (h.ReplayTo) {
    // A frame of this moment holds what was changed from outside at it (an edit of memory).
    for (std::uint64_t j = h.Frames.End; j > h.Frames.First; --j) {
      const THistoryFrame& f = h.Frames[j - 1];
      if (f.Count < FExecuted) break;
      if (f.Count == FExecuted && f.PointPos >= h.PointCursor) {
        for (int a = 0; a < MemoryWords; ++a) Memory[std::size_t(a)].Data = f.Memory[std::size_t(a)];
        PutRegs(f.Regs);
        h.PointCursor = f.PointPos;
        h.EventCursor = std::max(h.EventCursor, f.EventPos);
        break;
      }
    }
    while (h.PointCursor < h.Points.End && h.Points[h.PointCursor].Count <= FExecuted)
      PutRegs(h.Points[h.PointCursor++].Regs);
    if (FExecuted >= h.ReplayTo) {
      h.ReplayTo = 0;
      h.EventCursor = h.Events.End;
      h.PointCursor = h.Points.End;
    }
    return;
  }
  if (h.NeedFrame || h.Frames.Empty() || FExecuted - h.Frames[h.Frames.End - 1].Count >= THistory::FrameInterval)
    TakeFrame();
}

std::uint64_t TNovaMachine::HistoryLeft() const {
  const THistory& h = *FHistory;
  std::uint64_t next = h.ReplayTo;
  if (h.PointCursor < h.Points.End) next = std::min(next, h.Points[h.PointCursor].Count);
  for (std::uint64_t j = h.Frames.End; j > h.Frames.First; --j) {
    const std::uint64_t c = h.Frames[j - 1].Count;
    if (c <= FExecuted) break;
    next = std::min(next, c);
  }
  return next > FExecuted ? next - FExecuted : 1;
}

// ---- replaying

void TNovaMachine::RestoreFrame(std::uint64_t j) {
  THistory& h = *FHistory;
  const THistoryFrame& f = h.Frames[j];
  for (int a = 0; a < MemoryWords; ++a) Memory[std::size_t(a)].Data = f.Memory[std::size_t(a)];
  PutRegs(f.Regs);
  FExecuted = f.Count;
  h.EventCursor = f.EventPos;
  h.PointCursor = f.PointPos;
  // The watches see the frame's values, not changes made by the jump.
  for (TWatchMem& w : Watch) {
    w.Data = Memory[w.Addr].Data;
    w.Changed = false;
  }
}

template <bool Checked>
void TNovaMachine::ReplayTo(std::uint64_t Target, TReplayMode Mode) {
  THistory& h = *FHistory;
  const auto points = [&] {
    while (h.PointCursor < h.Points.End && h.Points[h.PointCursor].Count <= FExecuted)
      PutRegs(h.Points[h.PointCursor++].Regs);
  };
  while (FExecuted < Target) {
    points();
    TRegs r = LoadRegs();
    if (Mode == rmScan && (Memory[r.PC].Flags & BreakpointFlag) && ExecuteBreakReached(r.PC)) {
      FReplayStop.Found = true;
      FReplayStop.At = FExecuted;
      FReplayStop.Reason = srBreakpoint;
      FReplayStop.Detail.clear();
    }
    const TWord cmd = Memory[r.PC].Data;
    const TAccumulators before = AC;
    const int res = ExecuteOne<Checked>(r, cmd);
    if (FSpeed != speed::Maximum) ChargeStep(cmd, before);
    AfterInstruction(r, res);
    StoreRegs(r);
    if (FStopReason != srNone) {
      if (Mode == rmScan && (FStopReason == srData || FStopReason == srWatch) && FExecuted < FReplayBefore) {
        FReplayStop.Found = true;
        FReplayStop.At = FExecuted;
        FReplayStop.Reason = FStopReason;
        FReplayStop.Detail = FStopDetail;
        FReplayStop.Data = FDataStop;
      }
      FStopReason = srNone;
      FStopDetail.clear();
    }
    if (Mode == rmProbe && h.ProbeHit) {
      h.ProbeHit = false;
      const TWord a = TWord(h.ProbeAddr);
      FReplayWrite = TLastWrite{true, a, FExecPC, h.ProbeByInterrupt, FExecuted, h.ProbeOld, Memory[a].Data};
    }
  }
  points();
}

void TNovaMachine::Replay(std::uint64_t Target, TReplayMode Mode) {
  if (Mode == rmProbe || (Mode == rmScan && !FDataBreaks.empty()))
    ReplayTo<true>(Target, Mode);
  else
    ReplayTo<false>(Target, Mode);
}

void TNovaMachine::DropNewestTrace(std::uint64_t n) {
  const int count = TraceCount();
  if (n >= std::uint64_t(count)) {
    FTracePos = 0;
    FTraceFull = false;
    return;
  }
  // Oldest first from index 0, then the newest cut off.
  if (FTraceFull) std::rotate(FTrace.begin(), FTrace.begin() + FTracePos, FTrace.begin() + FTraceLength);
  FTracePos = count - int(n);
  FTraceFull = false;
}

void TNovaMachine::BeginReplay(bool Scratch) {
  THistory& h = *FHistory;
  TReplaySave& k = FReplaySave;
  k.Hits.clear();
  for (const TBreakpoint& b : FBreaks) k.Hits.push_back(b.Hits);
  k.Watches = Watch;
  k.Scratch = Scratch;
  k.Data = FTraceData;
  k.End = FTraceEnd;
  k.Pos = FTracePos;
  k.Full = FTraceFull;
  k.Head = HistoryEnd();
  k.MemSize = MemSize;
  k.Switches = Switches;
  if (Scratch) {
    FTraceData = h.Scratch;
    FTraceEnd = h.Scratch + 1;
    FTracePos = 0;
  }
  FInExec = true;
  FReplaying = true;
  FRun = false;
  FStopReason = srNone;
}

void TNovaMachine::EndReplay() {
  TReplaySave& k = FReplaySave;
  FInExec = false;
  FReplaying = false;
  FStopReason = srNone;
  FStopDetail.clear();
  if (k.Scratch) {
    FTraceData = k.Data;
    FTraceEnd = k.End;
    FTracePos = k.Pos;
    FTraceFull = k.Full;
  }
  for (std::size_t i = 0; i < k.Hits.size() && i < FBreaks.size(); ++i) FBreaks[i].Hits = k.Hits[i];
  FBreaksDirty = false;
  FTraceReportedAt = FExecuted;
  FTraceDirty = false;
  FWatchesDirty = false;
  UpdateAttention();
}

void TNovaMachine::GoBackTo(std::uint64_t Count, std::uint64_t Now) {
  const std::uint64_t drop = Now - Count;
  if (drop < std::uint64_t(TraceCount())) {
    ReplayFrom(FrameAt(Count), Count, rmPlain);
    EndReplay();
    DropNewestTrace(drop);
    return;
  }
  // Further back than the trace reaches: the trace of the way to the moment is made again.
  const std::uint64_t length = std::min<std::uint64_t>(std::uint64_t(FTraceLength), Count - HistoryStart());
  ReplayFrom(FrameAt(Count - length), Count - length, rmPlain);
  FTraceData = FReplaySave.Data;
  FTraceEnd = FReplaySave.End;
  FTracePos = 0;
  FTraceFull = false;
  FReplaySave.Scratch = false;
  Replay(Count, rmPlain);
  EndReplay();
}

void TNovaMachine::ReplayFrom(std::uint64_t Frame, std::uint64_t Target, TReplayMode Mode) {
  RestoreFrame(Frame);
  FHistory->ReplayTo = FReplaySave.Head;
  Replay(Target, Mode);
}

void TNovaMachine::Arrived(std::uint64_t Now) {
  THistory& h = *FHistory;
  const std::uint64_t head = FReplaySave.Head;
  if (FExecuted >= head) {
    h.ReplayTo = 0;
    h.EventCursor = h.Events.End;
    h.PointCursor = h.Points.End;
  } else {
    h.ReplayTo = head;
  }
  ForgetSteppedCalls();
  HistoryLeave();
  if (FExecuted < Now && h.LastOutputAt > FExecuted) FHost->OutputStays();
  if (MemSize != FReplaySave.MemSize) FHost->MemSizeChanged(MemSize);
  if (Switches != FReplaySave.Switches) FHost->SwitchesChanged();
  FHost->MemoryChanged();
  FHost->RegistersChanged();
  FHost->TraceChanged(TraceCount());
  if (!Watch.empty()) FHost->WatchesChanged(int(Watch.size()));
}

// ---- the operations

bool TNovaMachine::TravelTo(std::uint64_t Count) {
  if (FInExec || !FHistory) return false;
  NoteOutsideChanges();
  if (Count < HistoryStart() || Count > HistoryEnd()) return false;
  if (Count == FExecuted) return true;
  const std::uint64_t now = FExecuted;
  if (Count > now) {
    // Forward from here, with the trace written as a run writes it.
    BeginReplay(false);
    FHistory->ReplayTo = FReplaySave.Head;
    Replay(Count, rmPlain);
    EndReplay();
  } else {
    BeginReplay(true);
    GoBackTo(Count, now);
  }
  Arrived(now);
  return true;
}

bool TNovaMachine::ReverseStep() { return FExecuted > 0 && TravelTo(FExecuted - 1); }

bool TNovaMachine::TravelToTrace(int Index) {
  const int count = TraceCount();
  if (Index < 0 || Index >= count) return false;
  return TravelTo(FExecuted - std::uint64_t(count - Index));
}

TStopReason TNovaMachine::ReverseRun() {
  if (FInExec || !FHistory) return srRefused;
  NoteOutsideChanges();
  THistory& h = *FHistory;
  const std::uint64_t now = FExecuted;
  const std::uint64_t start = HistoryStart();
  if (now <= start) return srRefused;

  // Counts are not looked at going back: every arrival where the condition holds counts.
  std::vector<std::uint64_t> counts;
  for (TBreakpoint& b : FBreaks) {
    counts.push_back(b.Count);
    b.Count = 0;
  }
  BeginReplay(true);
  FReplayStop = TReplayStop{};
  FReplayBefore = now;
  // The stretches between frames, newest first, until one holds a stop.
  for (std::uint64_t j = FrameAt(now - 1) + 1; j > h.Frames.First && !FReplayStop.Found; --j)
    ReplayFrom(j - 1, j < h.Frames.End ? std::min(h.Frames[j].Count, now) : now, rmScan);
  for (std::size_t i = 0; i < counts.size(); ++i) FBreaks[i].Count = counts[i];
  const TReplayStop stop = FReplayStop;
  GoBackTo(stop.Found ? stop.At : start, now);
  FLastStopReason = stop.Found ? stop.Reason : srNone;
  FLastStopDetail = stop.Detail;
  FLastDataStop = stop.Data;
  Arrived(now);
  return FLastStopReason;
}

TLastWrite TNovaMachine::LastWriter(TWord Addr) {
  Addr &= nova::AddrMask;
  if (FInExec || !FHistory) return TLastWrite{};
  NoteOutsideChanges();
  THistory& h = *FHistory;
  const std::uint64_t now = FExecuted;
  if (now <= HistoryStart()) return TLastWrite{};

  BeginReplay(true);
  const std::uint8_t flags = Memory[Addr].Flags;
  Memory[Addr].Flags |= WriteBreakFlag;
  h.ProbeAddr = Addr;
  h.ProbeHit = false;
  FReplayWrite = TLastWrite{};
  for (std::uint64_t j = FrameAt(now - 1) + 1; j > h.Frames.First && !FReplayWrite.Found; --j)
    ReplayFrom(j - 1, j < h.Frames.End ? std::min(h.Frames[j].Count, now) : now, rmProbe);
  h.ProbeAddr = -1;
  Memory[Addr].Flags = flags;
  ReplayFrom(FrameAt(now), now, rmPlain);
  EndReplay();
  Watch = FReplaySave.Watches;
  const std::uint64_t head = FReplaySave.Head;
  if (now >= head) {
    h.ReplayTo = 0;
    h.EventCursor = h.Events.End;
    h.PointCursor = h.Points.End;
  }
  HistoryLeave();
  return FReplayWrite;
}
