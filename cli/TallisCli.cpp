// tallis-cli: one check run of the tape file checker from the command line.
//
//   tallis-cli [--text] [--subdirs] [--contents] DIRECTORY PATTERNS...
//
// Prints the run's result lines on standard output. Exit status 0 after a complete run, 1 when
// the run ended on an error (message on standard error), 2 for bad usage. The start-up options
// of the programs (/lang:CODE, /ini:LOCATION, /portable, also with "-") choose the language.
#include <csignal>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "ResultSink.h"
#include "SafeFormat.h"
#include "Startup.h"
#include "TallisOptions.h"
#include "TapeChecker.h"
#include "Translate.h"
#include "VersionInfo.h"

namespace {

constexpr int ExitComplete = 0;
constexpr int ExitRunError = 1;
constexpr int ExitUsage = 2;

class TPrintSink : public TResultSink {
public:
  void ClearLines() override {}
  void AppendLine(const std::string& line) override {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
  void SelectLastLine() override {}
};

std::string UsageText() {
  return _("Usage: tallis-cli [--text] [--subdirs] [--contents] DIRECTORY PATTERNS...\n"
           "\n"
           "Checks the absolute binary tapes in DIRECTORY whose names match PATTERNS (shell\n"
           "wildcards, several separated by \";\" or given as separate arguments) and prints\n"
           "the result lines.\n"
           "\n"
           "  --text      repair text tapes instead: NUL and rubout frames removed, parity\n"
           "              bit cleared, the original kept as NAME.bak (NAME.bak1, NAME.bak2\n"
           "              ... when that name is taken); files that need no repair and\n"
           "              files that are not text tapes are left unchanged\n"
           "  --subdirs   also scan the subdirectories\n"
           "  --contents  list the block contents (text lines in text mode)\n"
           "  --help      print this help\n"
           "  --version   print the version\n"
           "  /lang:CODE  language of the messages (de, en)\n"
           "  --          ends the options (for a DIRECTORY that starts with \"/\" or \"-\" and\n"
           "              could be read as an option, such as \"/\")\n"
           "\n"
           "Exit status: 0 after a complete run, 1 when the run ended on an error, 2 for bad\n"
           "usage.\n");
}

volatile std::sig_atomic_t StopSignal = 0;

void OnStopSignal(int) { StopSignal = 1; }

// SIGINT and SIGTERM end the run at the checker's next safe point: no file is left half repaired
// and no temporary file stays behind.
void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  action.sa_flags = SA_RESTART;  // a write to a full pipe goes on
  sigemptyset(&action.sa_mask);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &action, nullptr);
}

int UsageError(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "tallis-cli: %s\n%s", message.c_str(), UsageText().c_str());
  return ExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  // The start-up options go to the start-up routine first, so that usage errors are translated.
  TTallisArgs args = SplitTallisArgs(argc, argv);
  TStartupEnv env = ProcessStartupEnv(argc, argv);
  env.Args = args.StartupArgs;
  StartUp("Holmvale", "Tallis.cfg", {}, env);

  TCheckParams params;
  std::string error;
  switch (ParseTallisWords(args.Words, params, error)) {
    case tpHelp:
      std::fputs(UsageText().c_str(), stdout);
      return ExitComplete;
    case tpVersion:
      std::printf("tallis-cli %s\n", CutVersion(TALLIS_VERSION, 3).c_str());
      return ExitComplete;
    case tpUsageError:
      return UsageError(error);
    case tpRun:
      break;
  }

  TPrintSink sink;
  TTapeChecker checker(sink);
  checker.OnCatchUp = [&checker] {
    if (StopSignal) checker.Stop();
  };
  InstallStopSignals();
  const TCheckResult result = checker.Run(params);
  if (std::fflush(stdout) != 0) {
    std::fprintf(stderr, "tallis-cli: %s\n", _("standard output cannot be written").c_str());
    return ExitRunError;
  }
  if (result == crRefused) return UsageError(checker.ErrorMessage());
  if (result == crStopped) {
    std::fprintf(stderr, "tallis-cli: %s\n", _("the run was stopped").c_str());
    return ExitRunError;
  }
  if (result != crComplete) {
    std::fprintf(stderr, "tallis-cli: %s\n", checker.ErrorMessage().c_str());
    return ExitRunError;
  }
  return ExitComplete;
}
