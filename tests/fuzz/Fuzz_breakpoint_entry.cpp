// A breakpoint line of the settings, as any text: it reads as a breakpoint or not at all; one
// that reads is written back as a line that reads the same, and the machine takes it or
// refuses it with a reason (a reversed range, a condition that does not parse), listed with
// its kind and words when taken.
#include <memory>
#include <string>
#include <vector>

#include "Breakpoint.h"
#include "FuzzSupport.h"
#include "NovaMachine.h"

namespace {

bool SameBreakpoint(const TBreakpoint& a, const TBreakpoint& b) {
  // "decimal" names both decimal bases; the condition reads the same in either.
  return a.Kind == b.Kind && a.First == b.First && a.Last == b.Last && a.Count == b.Count &&
         NumModeRadix[a.Base] == NumModeRadix[b.Base] && a.Condition == b.Condition;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<TNovaMachine> machine = std::make_unique<TNovaMachine>();
  const std::string_view entry(reinterpret_cast<const char*>(data), size);
  TBreakpoint b;
  if (!BreakpointFromEntry(entry, b)) return 0;
  FUZZ_CHECK(b.First <= nova::AddrMask && b.Last <= nova::AddrMask);
  const std::string line = BreakpointEntry(b);
  TBreakpoint back;
  FUZZ_CHECK(BreakpointFromEntry(line, back));
  FUZZ_CHECK(SameBreakpoint(b, back));
  FUZZ_CHECK(BreakpointEntry(back) == line);

  TNovaMachine& m = *machine;
  std::string error;
  const bool set = m.SetBreakpoint(b, &error);
  const std::vector<TBreakpoint>& list = m.Breakpoints();
  if (!set) {
    FUZZ_CHECK(!error.empty() && list.empty());
    return 0;
  }
  FUZZ_CHECK(list.size() == 1);
  const TBreakpoint& taken = list.front();
  FUZZ_CHECK(taken.Kind == b.Kind && taken.First == b.First && taken.Condition == b.Condition);
  FUZZ_CHECK(taken.Last == (b.Kind == bkExecute ? b.First : b.Last));
  FUZZ_CHECK(taken.Hits == 0);
  const bool marked = m.Memory[taken.First].Flags & (b.Kind == bkExecute ? BreakpointFlag : DataBreakFlags);
  FUZZ_CHECK(marked);
  m.ClearBreakpoints();
  return 0;
}
