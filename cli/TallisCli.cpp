// tallis-cli: one check run of the tape file checker from the command line.
//
//   tallis-cli [--text] [--subdirs] [--contents] DIRECTORY PATTERNS...
//
// Prints the run's result lines on standard output. Exit status 0 after a complete run, 1 when
// the run ended on an error (message on standard error), 2 for bad usage. The start-up options
// of the programs (/lang:CODE, /ini:LOCATION, /portable, also with "-") choose the language.
#include <clocale>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "CommandLine.h"
#include "ResultSink.h"
#include "SafeFormat.h"
#include "Startup.h"
#include "TapeChecker.h"
#include "Translate.h"

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

// "/lang:de", "-l:de", "/ini:...", "/portable", "-p": the options the start-up routine reads.
bool IsStartupOption(std::string_view arg) {
  if (arg.empty() || (arg.front() != '/' && arg.front() != '-')) return false;
  const std::string_view option = arg.substr(1);
  const std::size_t colon = option.find(':');
  if (colon != std::string_view::npos) {
    const std::string_view name = option.substr(0, colon);
    return MatchesKeyword(name, "lang") || MatchesKeyword(name, "ini");
  }
  return MatchesKeyword(option, "portable");
}

std::string UsageText() {
  return _("Usage: tallis-cli [--text] [--subdirs] [--contents] DIRECTORY PATTERNS...\n"
           "\n"
           "Checks the absolute binary tapes in DIRECTORY whose names match PATTERNS (shell\n"
           "wildcards, several separated by \";\" or given as separate arguments) and prints\n"
           "the result lines.\n"
           "\n"
           "  --text      repair text tapes instead: NUL and rubout frames removed, parity\n"
           "              bit cleared, the old file kept as NAME.bak\n"
           "  --subdirs   also scan the subdirectories\n"
           "  --contents  list the block contents (text lines in text mode)\n"
           "  --help      print this help\n"
           "  /lang:CODE  language of the messages (de, en)\n"
           "  --          ends the options (for a DIRECTORY that starts with \"/\" or \"-\" and\n"
           "              could be read as an option, such as \"/\")\n"
           "\n"
           "Exit status: 0 after a complete run, 1 when the run ended on an error, 2 for bad\n"
           "usage.\n");
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
  struct TWord {
    std::string Text;
    bool IsOption;
  };
  std::vector<std::string> startupArgs;
  std::vector<TWord> words;
  bool optionsEnd = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (optionsEnd)
      words.push_back({arg, false});
    else if (arg == "--")
      optionsEnd = true;
    else if (!arg.starts_with("--") && IsStartupOption(arg))
      startupArgs.push_back(arg);
    else
      words.push_back({arg, arg.size() > 1 && arg.front() == '-'});
  }
  TStartupEnv env = ProcessStartupEnv(argc, argv);
  env.Args = startupArgs;
  StartUp("Holmvale", "Tallis.cfg", {}, env);

  TCheckParams params;
  std::vector<std::string> positional;
  for (const TWord& word : words) {
    if (!word.IsOption)
      positional.push_back(word.Text);
    else if (word.Text == "--text")
      params.Mode = cmText;
    else if (word.Text == "--subdirs")
      params.SubDirs = true;
    else if (word.Text == "--contents")
      params.ShowContents = true;
    else if (word.Text == "--help" || word.Text == "-h") {
      std::fputs(UsageText().c_str(), stdout);
      return ExitComplete;
    } else
      return UsageError(SafeFormat(_("unknown option %s"), word.Text));
  }
  if (positional.size() < 2) return UsageError(_("DIRECTORY and PATTERNS are needed"));
  params.SourceDir = positional[0];
  for (std::size_t i = 1; i < positional.size(); ++i) {
    if (i > 1) params.FileNames += ';';
    params.FileNames += positional[i];
  }

  TPrintSink sink;
  TTapeChecker checker(sink);
  const TCheckResult result = checker.Run(params);
  if (std::fflush(stdout) != 0) {
    std::fprintf(stderr, "tallis-cli: %s\n", _("standard output cannot be written").c_str());
    return ExitRunError;
  }
  if (result != crComplete) {
    std::fprintf(stderr, "tallis-cli: %s\n", checker.ErrorMessage().c_str());
    return ExitRunError;
  }
  return ExitComplete;
}
