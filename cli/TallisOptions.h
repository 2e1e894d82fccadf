// The command line of tallis-cli: the start-up options the frame reads (/lang:CODE, /ini:..,
// /portable, also with "-"), then the options and words of the check run.
#pragma once
#include <string>
#include <vector>

#include "TapeChecker.h"

struct TTallisWord {
  std::string Text;
  bool IsOption;
};

struct TTallisArgs {
  std::vector<std::string> StartupArgs;  // for the start-up routine
  std::vector<TTallisWord> Words;        // everything else, in order; "--" ends the options
};

TTallisArgs SplitTallisArgs(int argc, const char* const* argv);

enum TTallisParse { tpRun, tpHelp, tpVersion, tpUsageError };

// Reads the words into params. On tpUsageError, error holds the (translated) reason.
TTallisParse ParseTallisWords(const std::vector<TTallisWord>& words, TCheckParams& params, std::string& error);
