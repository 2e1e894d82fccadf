// The command line of tallis-cli on any argument list: the input is the arguments after the
// program name, separated by NUL bytes.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "TallisOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words = SplitAtNul(data, size);
  words.insert(words.begin(), "tallis-cli");
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  argv.push_back(nullptr);

  // Every argument is a start-up option or a word, except the first "--".
  const TTallisArgs args = SplitTallisArgs(int(words.size()), argv.data());
  std::size_t ends = 0;
  for (std::size_t i = 1; i < words.size() && ends == 0; ++i) ends = words[i] == "--";
  FUZZ_CHECK(args.StartupArgs.size() + args.Words.size() + ends == words.size() - 1);
  for (const std::string& a : args.StartupArgs)
    FUZZ_CHECK(!a.empty() && (a[0] == '/' || a[0] == '-') && a.compare(0, 2, "--") != 0);

  TCheckParams params;
  std::string error;
  switch (ParseTallisWords(args.Words, params, error)) {
    case tpRun: {
      // The folder is the first word that is not an option, the patterns the others joined by ";".
      std::vector<std::string> plain;
      for (const TTallisWord& w : args.Words)
        if (!w.IsOption) plain.push_back(w.Text);
      FUZZ_CHECK(plain.size() >= 2 && params.SourceDir == plain[0]);
      std::string patterns;
      for (std::size_t i = 1; i < plain.size(); ++i) patterns += (i > 1 ? ";" : "") + plain[i];
      FUZZ_CHECK(params.FileNames == patterns);
      break;
    }
    case tpUsageError: FUZZ_CHECK(!error.empty()); break;
    case tpHelp:
    case tpVersion: break;
  }
  return 0;
}
