// corvane-cli: instruction text and runs without a window, from the command line.
#include <clocale>
#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "CliText.h"
#include "CommandLine.h"
#include "Commands.h"
#include "Startup.h"
#include "VersionInfo.h"

namespace {

void PrintHelp() {
  std::cout << Tr("Usage: corvane-cli COMMAND [OPTIONS]\n"
                  "\n"
                  "Commands:\n")
            << DisasmHelp() << AsmHelp() << AssembleHelp() << RunHelp()
            << Tr("  /lang:CODE\n"
                  "      Language of the messages (de, en), anywhere on the line; /ini:LOCATION\n"
                  "      and /portable choose the language file as the programs do.\n")
            << Tr("  --help, -h\n"
                  "      Prints this help (also after a command).\n")
            << Tr("  --version\n"
                  "      Prints the version.\n")
            << Tr("\n"
                  "Addresses and words are octal. Exit status: 0 on success, 1 on an error\n"
                  "(bad option or value, unreadable input line), with a message on standard\n"
                  "error.\n");
}

// "/lang:de", "-l:de", "/ini:...", "/portable", "-p": the options the start-up routine reads.
bool IsStartupOption(std::string_view arg) {
  if (arg.size() < 2 || (arg.front() != '/' && arg.front() != '-') || arg.starts_with("--")) return false;
  const std::string_view option = arg.substr(1);
  const std::size_t colon = option.find(':');
  if (colon != std::string_view::npos) {
    const std::string_view name = option.substr(0, colon);
    return !name.empty() && (MatchesKeyword(name, "lang") || MatchesKeyword(name, "ini"));
  }
  return MatchesKeyword(option, "portable");
}

int Dispatch(int argc, char** argv) {
  if (argc < 2) return ReportError(Tr("no command given (see corvane-cli --help)"));
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    PrintHelp();
    return 0;
  }
  if (command == "--version") {
    std::cout << "corvane-cli " << CutVersion(CORVANE_VERSION, 3) << '\n';
    return 0;
  }
  if (command == "disasm") return DisasmCommand(argc - 1, argv + 1);
  if (command == "asm") return AsmCommand(argc - 1, argv + 1);
  if (command == "assemble") return AssembleCommand(argc - 1, argv + 1);
  if (command == "run") return RunCommand(argc - 1, argv + 1);
  return ReportError(TrFormat("unknown command %s (see corvane-cli --help)", {ShownText(command)}));
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::setlocale(LC_ALL, "");
  // The start-up options go to the start-up routine (language of the messages), the rest to
  // the commands.
  std::vector<std::string> startupArgs;
  std::vector<char*> args{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (IsStartupOption(argv[i]))
      startupArgs.emplace_back(argv[i]);
    else
      args.push_back(argv[i]);
  }
  TStartupEnv env = ProcessStartupEnv(argc, argv);
  env.Args = startupArgs;
  StartUp("Holmvale", "Corvane.cfg", {}, env);
  args.push_back(nullptr);
  try {
    return Dispatch(int(args.size()) - 1, args.data());
  } catch (const std::exception& e) {
    return ReportError(e.what());
  }
}
