// Subcommands of corvane-cli: one entry per subcommand, each given the arguments from the
// subcommand's name on (argv[0] is "run", "disasm", "asm" or "assemble"). Each returns the exit status:
// 0 on success, 1 on an error, whose message has gone to standard error.
#pragma once
#include <string>

#include "NumberUtils.h"

int RunCommand(int argc, char** argv);
int DisasmCommand(int argc, char** argv);
int AsmCommand(int argc, char** argv);
int AssembleCommand(int argc, char** argv);

// `disasm --dump FILE [--from OCTAL] [--to OCTAL] [--base ...]`: the listing lines of a memory
// dump file. The options are checked by DisasmCommand: From and To are addresses 0 to 77777
// octal with From <= To when both are given; To is -1 for "up to the last word of the dump".
struct TDisasmDumpOptions {
  std::string FileName;
  int From = 0;
  int To = -1;
  TNumMode Base = nmOctal;
};
int DisasmDump(const TDisasmDumpOptions& options);

// The translated help section of each subcommand, for `corvane-cli --help`.
std::string RunHelp();
std::string DisasmHelp();
std::string AsmHelp();
std::string AssembleHelp();
