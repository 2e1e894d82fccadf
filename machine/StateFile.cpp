// The .nvs format (docs/state-files.md). One description of the fields, StateFields, serves
// writing and reading: the writer puts each field down, the reader takes it up and checks it.
#include "StateFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <type_traits>

#include "NovaMachine.h"
#include "Peripherals.h"
#include "ReplacingFile.h"
#include "SafeFormat.h"
#include "Throttle.h"
#include "Translate.h"

namespace {

constexpr std::uint8_t Magic[8] = {'N', 'V', 'S', 'T', 'A', 'T', 'E', 0x1a};
constexpr std::size_t HeaderSize = 8 + 2 + 4;  // magic, format, length of the sections
constexpr std::size_t CrcSize = 4;
// The largest file a reader takes: memory, the trace and the longest names and lists.
constexpr std::size_t MaxFileSize = 16u << 20;
constexpr std::size_t MaxPath = 4096;
constexpr std::size_t MaxQueue = 1000;
constexpr std::size_t MaxPrinterLine = 65536;
constexpr std::int64_t MaxFilePosition = std::int64_t(1) << 48;
constexpr std::int32_t MaxTicks = 1000;
constexpr std::size_t MaxBreaks = 100000;
constexpr std::size_t MaxCondition = 4096;

std::uint32_t Crc32(const std::uint8_t* p, std::size_t n) {
  std::uint32_t crc = 0xffffffffu;
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

std::uint64_t GetLe(const std::uint8_t* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= std::uint64_t(p[i]) << (8 * i);
  return v;
}

class TFieldWriter {
public:
  static constexpr bool Reading = false;
  std::vector<std::uint8_t> Out;

  template <class T>
  void Int(T& v, std::int64_t, std::int64_t, const char*) {
    PutLe(Out, std::uint64_t(v), int(sizeof(T)));
  }
  void Bool(bool& b, const char*) { Out.push_back(b ? 1 : 0); }
  void Count(std::size_t& n, std::size_t, const char*) { PutLe(Out, n, 4); }
  void Str(std::string& s, std::size_t, bool, const char*) {
    PutLe(Out, s.size(), 4);
    Out.insert(Out.end(), s.begin(), s.end());
  }
  void Check(bool, const char*) {}
  template <class F>
  void Section(const char* tag, F&& body) {
    Out.insert(Out.end(), tag, tag + 4);
    const std::size_t at = Out.size();
    PutLe(Out, 0, 4);
    body();
    const std::uint64_t length = Out.size() - at - 4;
    for (int i = 0; i < 4; ++i) Out[at + std::size_t(i)] = std::uint8_t(length >> (8 * i));
  }
  bool Failed() const { return false; }
};

class TFieldReader {
public:
  static constexpr bool Reading = true;

  TFieldReader(const std::uint8_t* data, std::size_t size) : FData(data), FEnd(size) {}

  template <class T>
  void Int(T& v, std::int64_t lo, std::int64_t hi, const char* field) {
    const std::uint8_t* p = Take(sizeof(T), field);
    if (!p) return;
    std::uint64_t raw = GetLe(p, int(sizeof(T)));
    std::int64_t value;
    if constexpr (std::is_signed_v<T> || std::is_enum_v<T>) {
      if (sizeof(T) < 8 && (raw >> (8 * sizeof(T) - 1)) & 1) raw |= ~std::uint64_t(0) << (8 * sizeof(T));
      value = std::int64_t(raw);
    } else {
      if (raw > std::uint64_t(INT64_MAX)) return Bad(field);
      value = std::int64_t(raw);
    }
    if (value < lo || value > hi) return Bad(field);
    v = T(value);
  }
  void Bool(bool& b, const char* field) {
    std::uint8_t v = 0;
    Int(v, 0, 1, field);
    b = v != 0;
  }
  void Count(std::size_t& n, std::size_t max, const char* field) {
    std::uint32_t v = 0;
    Int(v, 0, std::int64_t(max), field);
    n = v;
  }
  void Str(std::string& s, std::size_t max, bool printable, const char* field) {
    std::size_t n = 0;
    Count(n, max, field);
    const std::uint8_t* p = Take(n, field);
    if (!p) return;
    s.assign(reinterpret_cast<const char*>(p), n);
    for (unsigned char c : s)
      if (c == 0 || (printable && (c < 040 || c > 0177))) return Bad(field);
  }
  void Check(bool ok, const char* field) {
    if (!ok) Bad(field);
  }
  template <class F>
  void Section(const char* tag, F&& body) {
    std::string_view name(tag, 4);
    name = name.substr(0, name.find_last_not_of(' ') + 1);
    const std::uint8_t* p = Take(8, name);
    if (!p) return;
    if (std::memcmp(p, tag, 4) != 0) return Bad(name);
    const std::uint64_t length = GetLe(p + 4, 4);
    if (length > FEnd - FAt) return Bad(name);
    const std::size_t outer = FEnd;
    FEnd = FAt + std::size_t(length);
    body();
    if (!Failed() && FAt != FEnd) Bad(name);
    FEnd = outer;
  }
  bool Failed() const { return !FBad.empty(); }
  bool AtEnd() const { return FAt == FEnd; }
  const std::string& BadField() const { return FBad; }

private:
  const std::uint8_t* Take(std::size_t n, std::string_view field) {
    if (Failed()) return nullptr;
    if (n > FEnd - FAt) {
      Bad(field);
      return nullptr;
    }
    const std::uint8_t* p = FData + FAt;
    FAt += n;
    return p;
  }
  void Bad(std::string_view field) {
    if (FBad.empty()) FBad = field;
  }

  const std::uint8_t* FData;
  std::size_t FEnd;
  std::size_t FAt = 0;
  std::string FBad;
};

template <class V>
bool Ascending(const V& list, std::uint32_t (*key)(const typename V::value_type&)) {
  for (std::size_t i = 1; i < list.size(); ++i)
    if (key(list[i - 1]) >= key(list[i])) return false;
  return true;
}

template <class V, class T>
void Resize(V&, std::vector<T>& list, std::size_t n) {
  if constexpr (V::Reading) list.resize(n);
}

template <class V>
void Addresses(V& v, std::vector<TWord>& list, const char* field) {
  std::size_t n = list.size();
  v.Count(n, MemoryWords, field);
  Resize(v, list, n);
  for (std::size_t i = 0; i < n && !v.Failed(); ++i) v.Int(list[i], 0, nova::AddrMask, field);
  v.Check(Ascending(list, +[](const TWord& a) { return std::uint32_t(a); }), field);
}

template <class V>
void Reader(V& v, TReaderState& r) {
  v.Bool(r.Attached, "PERI.Attached");
  if (r.Attached) {
    v.Str(r.Path, MaxPath, false, "PERI.Path");
    v.Check(!r.Path.empty(), "PERI.Path");
    v.Bool(r.Text, "PERI.Text");
    v.Int(r.Start, 0, MaxFilePosition, "PERI.Start");
    v.Int(r.Position, r.Start, MaxFilePosition, "PERI.Position");
    v.Int(r.TrailerCount, 0, TInputStream::RunOutCount, "PERI.TrailerCount");
  }
  std::size_t n = r.Queue.size();
  v.Count(n, MaxQueue, "PERI.Queue");
  Resize(v, r.Queue, n);
  for (std::size_t i = 0; i < n && !v.Failed(); ++i) {
    v.Str(r.Queue[i].Path, MaxPath, false, "PERI.Queue");
    v.Check(!r.Queue[i].Path.empty(), "PERI.Queue");
    v.Bool(r.Queue[i].Text, "PERI.Queue");
  }
}

// Every field, in the order of the file: version 1, then what version 2 added.
template <class V>
void StateFields(V& v, TMachineState& s, unsigned version) {
  v.Section("CPU ", [&] {
    v.Int(s.PC, 0, nova::AddrMask, "CPU.PC");
    v.Int(s.Carry, 0, 1, "CPU.Carry");
    for (TWord& ac : s.AC) v.Int(ac, 0, 0xffff, "CPU.AC");
    v.Int(s.Switches, 0, 0xffff, "CPU.Switches");
    v.Bool(s.PreEnable, "CPU.PreEnable");
    v.Bool(s.IntEnable, "CPU.IntEnable");
    v.Bool(s.IrqFlag, "CPU.IrqFlag");
    v.Int(s.Executed, 0, INT64_MAX, "CPU.Executed");
    std::uint8_t stop = std::uint8_t(s.LastStop);
    v.Int(stop, srNone, LastStopReasonValue, "CPU.LastStop");
    s.LastStop = TStopReason(stop);
  });
  v.Section("MEM ", [&] {
    v.Int(s.MemSize, 1, MemoryWords, "MEM.Size");
    // The words up to the last one that is not 0; the others are 0.
    std::size_t used = MemoryWords;
    if constexpr (!V::Reading)
      while (used > 0 && s.Memory[used - 1] == 0) --used;
    v.Count(used, MemoryWords, "MEM.Words");
    if constexpr (V::Reading) s.Memory.fill(0);
    for (std::size_t a = 0; a < used && !v.Failed(); ++a) v.Int(s.Memory[a], 0, 0xffff, "MEM.Words");
  });
  v.Section("DEVS", [&] {
    for (std::size_t i = 0; i < s.Devices.size(); ++i) {
      TDeviceState& d = s.Devices[i];
      v.Bool(d.Busy, "DEVS.Busy");
      v.Bool(d.Done, "DEVS.Done");
      v.Bool(d.Mask, "DEVS.Mask");
      v.Bool(d.Irq, "DEVS.Irq");
      v.Bool(d.Completed, "DEVS.Completed");
      v.Check(!d.Irq || (d.Done && !d.Mask), "DEVS.Irq");
      v.Int(d.Tick, 0, MaxTicks, "DEVS.Tick");
      v.Int(d.Due, 0, INT64_MAX, "DEVS.Due");
      v.Int(d.Byte, 0, i == 4 ? 0 : 0xff, "DEVS.Byte");  // the clock has no byte
    }
    v.Bool(s.TtiReaderOn, "DEVS.TtiReaderOn");
    v.Int(s.RtcInterval, 1, 100, "DEVS.RtcInterval");
    v.Check(s.RtcInterval == 20 || s.RtcInterval == 100 || s.RtcInterval == 10 || s.RtcInterval == 1,
            "DEVS.RtcInterval");
    v.Bool(s.RtcTimerOn, "DEVS.RtcTimerOn");
  });
  v.Section("TIME", [&] {
    v.Int(s.Speed, 0, speed::MaxRate, "TIME.Speed");
    v.Check(speed::Normalize(s.Speed) == s.Speed, "TIME.Speed");
    v.Bool(s.RealSpeedDevices, "TIME.RealSpeedDevices");
    v.Int(s.SimTimeNs, 0, INT64_MAX, "TIME.SimTime");
    v.Int(s.RateRemainder, 0, INT64_MAX, "TIME.RateRemainder");
    v.Check(s.Speed >= speed::MinRate ? s.RateRemainder < s.Speed : s.RateRemainder == 0, "TIME.RateRemainder");
  });
  v.Section("DBUG", [&] {
    Addresses(v, s.Breakpoints, "DBUG.Breakpoints");
    Addresses(v, s.StepOverMarks, "DBUG.StepOverMarks");
    std::size_t n = s.Watches.size();
    v.Count(n, MemoryWords, "DBUG.Watches");
    Resize(v, s.Watches, n);
    for (std::size_t i = 0; i < n && !v.Failed(); ++i) {
      TWatchMem& w = s.Watches[i];
      v.Int(w.Addr, 0, nova::AddrMask, "DBUG.Watches");
      v.Int(w.Data, 0, 0xffff, "DBUG.Watches");
      v.Bool(w.Alert, "DBUG.Watches");
      v.Bool(w.Changed, "DBUG.Watches");
    }
    v.Check(Ascending(s.Watches, +[](const TWatchMem& w) { return std::uint32_t(w.Addr); }), "DBUG.Watches");
  });
  v.Section("TRAC", [&] {
    std::size_t n = s.Trace.size();
    v.Count(n, MaxTraceLength, "TRAC.Count");
    Resize(v, s.Trace, n);
    for (std::size_t i = 0; i < n && !v.Failed(); ++i) {
      TTraceData& t = s.Trace[i];
      v.Int(t.PC, 0, nova::AddrMask, "TRAC.PC");
      v.Int(t.Data, 0, 0xffff, "TRAC.Data");
      v.Int(t.Carry, 0, 1, "TRAC.Carry");
      for (TWord& ac : t.ACs) v.Int(ac, 0, 0xffff, "TRAC.AC");
    }
  });
  v.Section("PERI", [&] {
    for (TReaderState& r : s.Readers) Reader(v, r);
    for (TOutputState& o : s.Outputs) {
      v.Bool(o.Attached, "PERI.Attached");
      if (!o.Attached) continue;
      v.Str(o.Path, MaxPath, false, "PERI.Path");
      v.Check(!o.Path.empty(), "PERI.Path");
      v.Int(o.Position, 0, MaxFilePosition, "PERI.Position");
    }
    v.Bool(s.TtyPunch, "PERI.TtyPunch");
    v.Bool(s.LptDeclined, "PERI.LptDeclined");
    v.Str(s.LptLine, MaxPrinterLine, true, "PERI.LptLine");
    v.Int(s.LastTtoOutputAt, 0, INT64_MAX, "PERI.LastTtoOutputAt");
  });
  if constexpr (V::Reading) {
    s.AllBreaks = version >= 2;
    if (version < 2) s.Breaks.clear();
  }
  if (version < 2) return;
  v.Section("BRKS", [&] {
    std::size_t n = s.Breaks.size();
    v.Count(n, MaxBreaks, "BRKS.Count");
    Resize(v, s.Breaks, n);
    for (std::size_t i = 0; i < n && !v.Failed(); ++i) {
      TBreakState& b = s.Breaks[i];
      std::uint8_t kind = std::uint8_t(b.Kind);
      v.Int(kind, bkExecute, bkAccess, "BRKS.Kind");
      b.Kind = TBreakKind(kind);
      v.Int(b.First, 0, nova::AddrMask, "BRKS.First");
      v.Int(b.Last, b.First, b.Kind == bkExecute ? b.First : nova::AddrMask, "BRKS.Last");
      v.Str(b.Condition, MaxCondition, true, "BRKS.Condition");
      std::uint8_t base = std::uint8_t(b.Base);
      v.Int(base, nmDecimal, NumModeCount - 1, "BRKS.Base");
      b.Base = TNumMode(base);
      v.Int(b.Count, 0, INT64_MAX, "BRKS.Count");
      v.Int(b.Hits, 0, INT64_MAX, "BRKS.Hits");
      v.Check(b.Kind != bkExecute || std::binary_search(s.Breakpoints.begin(), s.Breakpoints.end(), b.First),
              "BRKS.First");
    }
    v.Check(Ascending(s.Breaks, +[](const TBreakState& b) {
              return std::uint32_t(b.First) << 17 | std::uint32_t(b.Kind) << 15 | b.Last;
            }),
            "BRKS.Order");
  });
}

// Whether the bytes are the start of the magic: a file cut short before its format was written.
bool MagicPrefix(const std::uint8_t* data, std::size_t size) {
  return size < sizeof Magic && std::memcmp(data, Magic, size) == 0;
}

}  // namespace

std::vector<std::uint8_t> EncodeState(const TMachineState& State) {
  TFieldWriter body;
  StateFields(body, const_cast<TMachineState&>(State), StateFormatVersion);  // the writer only reads the fields
  std::vector<std::uint8_t> out(Magic, Magic + sizeof Magic);
  PutLe(out, StateFormatVersion, 2);
  PutLe(out, body.Out.size(), 4);
  out.insert(out.end(), body.Out.begin(), body.Out.end());
  PutLe(out, Crc32(out.data(), out.size()), 4);
  return out;
}

bool DecodeState(const std::uint8_t* Data, std::size_t Size, TMachineState& State, std::string& Why) {
  if (Size < sizeof Magic) {
    Why = Size > 0 && MagicPrefix(Data, Size) ? _("the file is cut short") : _("not a machine state file");
    return false;
  }
  if (std::memcmp(Data, Magic, sizeof Magic) != 0) {
    Why = _("not a machine state file");
    return false;
  }
  if (Size < HeaderSize) {
    Why = _("the file is cut short");
    return false;
  }
  const std::uint64_t version = GetLe(Data + 8, 2);
  if (version > StateFormatVersion) {
    Why = SafeFormat(_("it was written by a newer version (state format %s; this version reads format %s)"),
                     std::to_string(version), std::to_string(StateFormatVersion));
    return false;
  }
  if (version == 0) {
    Why = SafeFormat(_("the file is damaged: %s is not valid"), "format");
    return false;
  }
  const std::uint64_t length = GetLe(Data + 10, 4);
  if (Size < HeaderSize + length + CrcSize) {
    Why = _("the file is cut short");
    return false;
  }
  if (Size > HeaderSize + length + CrcSize) {
    Why = _("the file is damaged: there is more after its end");
    return false;
  }
  if (Crc32(Data, Size - CrcSize) != GetLe(Data + Size - CrcSize, 4)) {
    Why = _("the file is damaged: its checksum does not match");
    return false;
  }
  TFieldReader reader(Data + HeaderSize, std::size_t(length));
  auto state = std::make_unique<TMachineState>();
  StateFields(reader, *state, unsigned(version));
  if (!reader.Failed() && !reader.AtEnd()) reader.Check(false, "END");
  if (reader.Failed()) {
    Why = SafeFormat(_("the file is damaged: %s is not valid"), reader.BadField());
    return false;
  }
  State = std::move(*state);
  return true;
}

bool WriteStateTo(TReplacingFile& File, const TMachineState& State, TMachineError& Error) {
  const std::vector<std::uint8_t> bytes = EncodeState(State);
  std::string why;
  if (File.Write(bytes.data(), bytes.size(), why) && File.Commit(why)) return true;
  Error = TMachineError{ekWrite, File.Name(), why};
  File.Discard();
  return false;
}

bool WriteStateFile(const std::string& Name, const TMachineState& State, TMachineError& Error) {
  TReplacingFile file;
  std::string why;
  if (!file.Open(Name, why)) {
    Error = TMachineError{ekWrite, Name, why};
    return false;
  }
  return WriteStateTo(file, State, Error);
}

bool ReadStateFile(const std::string& Name, TMachineState& State, TMachineError& Error) {
  struct stat st {};
  if (::stat(Name.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
    Error = TMachineError{ekNotFound, Name, std::strerror(errno)};
    return false;
  }
  std::string why;
  std::FILE* f = OpenRegularFile(Name, why);
  if (!f) {
    Error = TMachineError{ekRead, Name, why};
    return false;
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && bytes.size() <= MaxFileSize)
    bytes.insert(bytes.end(), buffer, buffer + n);
  const int err = std::ferror(f) ? errno : 0;
  std::fclose(f);
  if (err != 0) {
    Error = TMachineError{ekRead, Name, std::strerror(err)};
    return false;
  }
  if (bytes.size() > MaxFileSize) {
    Error = TMachineError{ekRead, Name, _("not a machine state file")};
    return false;
  }
  if (!DecodeState(bytes.data(), bytes.size(), State, why)) {
    Error = TMachineError{ekRead, Name, why};
    return false;
  }
  return true;
}

bool SaveMachineState(const std::string& Name, TNovaMachine& Machine, TPeripherals& Peripherals,
                      TMachineError& Error) {
  Peripherals.FlushOutputs();
  return WriteStateFile(Name, CaptureState(Machine, Peripherals), Error);
}

bool LoadMachineState(const std::string& Name, TNovaMachine& Machine, TPeripherals& Peripherals,
                      TMachineError& Error, std::vector<TAttachProblem>& Problems) {
  auto state = std::make_unique<TMachineState>();
  if (!ReadStateFile(Name, *state, Error)) return false;
  if (!RestoreState(*state, Machine, Peripherals, Problems)) {
    Error = TMachineError{ekRead, Name, _("the machine is running")};
    return false;
  }
  return true;
}
