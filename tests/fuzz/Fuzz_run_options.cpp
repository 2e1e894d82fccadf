// The option reader of corvane-cli run on any argument list: the input is the arguments after
// "run", separated by NUL bytes. Messages go nowhere.
#include <iostream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "RunOptions.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::cout.rdbuf(nullptr);
  std::cerr.rdbuf(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::cout.clear();
  std::cerr.clear();
  std::vector<std::string> words = SplitAtNul(data, size);
  words.insert(words.begin(), "run");
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  TRunOptions o;
  const int status = ReadRunOptions(int(words.size()), argv.data(), o);
  FUZZ_CHECK(status == -1 || status == 0 || status == 1);
  if (status != -1) return 0;
  // Accepted options are within their ranges.
  FUZZ_CHECK(o.MemSize >= 0 && o.MemSize <= 32768);
  FUZZ_CHECK(o.Pc >= -1 && o.Pc <= 077777);
  FUZZ_CHECK(o.Switches >= -1 && o.Switches <= 0177777);
  for (const TBreakpoint& b : o.Breaks) FUZZ_CHECK(b.First <= b.Last && b.Last <= 077777);
  FUZZ_CHECK(o.TraceLength == 0 || (o.TraceLength >= MinTraceLength && o.TraceLength <= MaxTraceLength));
  FUZZ_CHECK(!o.PtrText || !o.Ptr.empty());
  FUZZ_CHECK(!o.TtrText || !o.Ttr.empty());
  return 0;
}
