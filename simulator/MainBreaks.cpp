// TMainForm: the trace length under "&Preferences", and the breakpoints of every kind and the
// trace length in the settings file.
#include <QAction>

#include "DialogService.h"
#include "IniFile.h"
#include "MainForm.h"
#include "QtText.h"
#include "ScreenPlacement.h"

namespace {
constexpr const char* Section = "Breakpoints";

// The execute breakpoints that old settings files can hold ("Count", "Address000" ...) and the
// others ("Break000" ...: BreakpointEntry).
bool PlainExecute(const TBreakpoint& b) { return b.Kind == bkExecute && b.Condition.empty() && b.Count <= 1; }

std::string NumberedKey(const char* name, int i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%03d", name, i);
  return buf;
}
}  // namespace

void TMainForm::TraceLengthClick() {
  QString text = QString::number(FMachine->TraceLength());
  const QString range = QString::number(MinTraceLength) + " .. " + QString::number(MaxTraceLength);
  if (!InputString(MousePos(), QtText("Trace length"), QtText("Instructions kept in the trace:") + " (" + range + ")",
                   text, this))
    return;
  bool ok = false;
  const qlonglong n = text.trimmed().toLongLong(&ok);
  if (ok && n >= MinTraceLength && n <= MaxTraceLength)
    FMachine->SetTraceLength(int(n));
  else
    ErrorBox(QtText("Trace length out of range:") + "\r\n" + range);
}

void TMainForm::ReadDebugSettings(const TIniFile& ini) {
  const int length = ini.ReadInteger("Config", "TraceLength", DefaultTraceLength);
  FMachine->SetTraceLength(length >= MinTraceLength && length <= MaxTraceLength ? length : DefaultTraceLength);
  std::vector<TWord> plain;
  for (int i = 0, n = std::clamp(ini.ReadInteger(Section, "Count", 0), 0, MemoryWords); i < n; ++i) {
    const int a = ini.ReadInteger(Section, NumberedKey("Address", i), -1);
    if (a >= 0 && a < MemoryWords) plain.push_back(TWord(a));
  }
  FMachine->SetBreakpoints(plain);
  // An entry that does not read, or whose condition does not parse, is left out.
  std::vector<TBreakpoint> others;
  for (int i = 0;; ++i) {
    const std::string key = NumberedKey("Break", i);
    if (!ini.ValueExists(Section, key)) break;
    TBreakpoint b;
    if (BreakpointFromEntry(ini.ReadString(Section, key, ""), b)) others.push_back(std::move(b));
  }
  if (!others.empty()) FMachine->AddBreakpoints(others);
}

void TMainForm::WriteDebugSettings(TIniFile& ini) const {
  ini.WriteInteger("Config", "TraceLength", FMachine->TraceLength());
  ini.DeleteKeysStartingWith(Section, "Address");
  ini.DeleteKeysStartingWith(Section, "Break");
  int plain = 0, others = 0;
  for (const TBreakpoint& b : FMachine->Breakpoints()) {
    if (PlainExecute(b))
      ini.WriteInteger(Section, NumberedKey("Address", plain++), b.First);
    else
      ini.WriteString(Section, NumberedKey("Break", others++), BreakpointEntry(b));
  }
  ini.WriteInteger(Section, "Count", plain);
}
