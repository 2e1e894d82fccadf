// Safe formatting with hostile format texts and arguments of every kind.
// Input: the argument count (0 to 7), then per argument a kind byte and eight value bytes (a text
// argument takes its length from the first of them and its bytes from the end of the input),
// then the format.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "SafeFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const int count = in.Byte() % 8;
  struct TRaw {
    std::uint8_t Kind;
    std::uint64_t Bits;
  };
  std::vector<TRaw> raw;
  for (int i = 0; i < count; ++i) {
    TRaw r{in.Byte(), 0};
    for (int b = 0; b < 8; ++b) r.Bits |= std::uint64_t(in.Byte()) << (8 * b);
    raw.push_back(r);
  }
  std::string_view rest = in.Rest();
  std::vector<TFormatArg> args;
  for (const TRaw& r : raw) {
    switch (r.Kind % 4) {
      case 0: args.emplace_back(std::int64_t(r.Bits)); break;
      case 1: args.emplace_back(r.Bits); break;
      case 2: {
        double d;
        std::memcpy(&d, &r.Bits, sizeof d);
        args.emplace_back(d);
        break;
      }
      default: {
        const std::size_t n = std::min<std::size_t>(r.Bits & 0xFF, rest.size());
        args.emplace_back(rest.substr(rest.size() - n));
        rest.remove_suffix(n);
        break;
      }
    }
  }
  const std::string_view format = rest;

  std::string out;
  const bool ok = TryFormat(format, args, out);
  const std::string result = SafeFormatArgs(format, args);
  FUZZ_CHECK(result == (ok ? out : "Format error: " + std::string(format)));
  if (format.find('%') == std::string_view::npos) FUZZ_CHECK(ok && out == format);
  return 0;
}
