#include "TraceWriter.h"

#include "CliText.h"

namespace {

char* Octal6(char* p, TWord v) {
  for (int shift = 15; shift >= 0; shift -= 3) *p++ = char('0' + ((v >> shift) & 7));
  return p;
}

}  // namespace

void TTraceWriter::FormatLine(const TTraceData& t, char* out) {
  char* p = Octal6(out, t.PC);
  *p++ = ' ';
  p = Octal6(p, t.Data);
  *p++ = ' ';
  *p++ = char('0' + (t.Carry & 1));
  for (TWord ac : t.ACs) {
    *p++ = ' ';
    p = Octal6(p, ac);
  }
}

bool TTraceWriter::Open(const std::string& Name, std::string& Error) {
  FWritten = FMachine.ExecutedCount();
  return FFile.Open(Name, Error);
}

bool TTraceWriter::WriteNew(std::string& Error) {
  if (!FFile.IsOpen()) return true;
  const std::uint64_t executed = FMachine.ExecutedCount();
  if (executed <= FWritten) return true;  // the machine went back: those were written
  const int count = FMachine.TraceCount();
  std::uint64_t fresh = executed - FWritten;
  FWritten = executed;
  if (fresh > std::uint64_t(count)) fresh = std::uint64_t(count);  // older records are gone
  char line[TraceLineLength + 1];
  for (int i = count - int(fresh); i < count; ++i) {
    FormatLine(FMachine.TraceItem(i), line);
    line[TraceLineLength] = '\n';
    if (!FFile.Write(line, sizeof line, Error)) {
      Error = TrFormat("cannot write file %s: %s", {FFile.Name(), Error});
      FFile.Discard();
      return false;
    }
  }
  return true;
}
