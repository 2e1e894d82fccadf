// corvane-cli: instruction text and (later) headless runs from the command line.
#include <exception>
#include <iostream>
#include <string_view>

#include "CliText.h"
#include "Commands.h"

namespace {

void PrintHelp() {
  std::cout << Tr("Usage: corvane-cli COMMAND [OPTIONS]\n"
                  "\n"
                  "Commands:\n")
            << DisasmHelp() << AsmHelp() << RunHelp()
            << Tr("  --help, -h\n"
                  "      Prints this help (also after a command).\n"
                  "\n"
                  "Addresses and words are octal. Exit status: 0 on success, 1 on an error\n"
                  "(bad option or value, unreadable input line), with a message on standard\n"
                  "error.\n");
}

int Dispatch(int argc, char** argv) {
  if (argc < 2) return ReportError(Tr("no command given (see corvane-cli --help)"));
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    PrintHelp();
    return 0;
  }
  if (command == "disasm") return DisasmCommand(argc - 1, argv + 1);
  if (command == "asm") return AsmCommand(argc - 1, argv + 1);
  if (command == "run") return RunCommand(argc - 1, argv + 1);
  return ReportError(TrFormat("unknown command %s (see corvane-cli --help)", {ShownText(command)}));
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  InitCliText();
  try {
    return Dispatch(argc, argv);
  } catch (const std::exception& e) {
    return ReportError(e.what());
  }
}
