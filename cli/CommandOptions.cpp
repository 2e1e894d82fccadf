#include "CommandOptions.h"

#include <algorithm>
#include <iostream>
#include <set>

#include "CliText.h"

namespace {

int Unknown(std::string_view word) {
  if (word.starts_with("-"))
    return ReportError(TrFormat("unknown option %s (see corvane-cli --help)", {ShownText(word)}));
  return ReportError(TrFormat("unexpected argument %s (see corvane-cli --help)", {ShownText(word)}));
}

}  // namespace

int ReadCommandOptions(int argc, char** argv, const TCommandOptions& command) {
  std::set<std::string_view> seen;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view word = argv[i];
    const bool isOption = !optionsEnded && word.starts_with('-');
    if (!isOption) {
      if (!command.Argument) return Unknown(word);
      if (!command.Argument(word)) return 1;
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
      continue;
    }
    if (word == "--help" || word == "-h") {
      std::cout << command.Help();
      return 0;
    }
    std::string_view name = word, value;
    bool hasValue = false;
    if (const std::size_t eq = word.find('='); word.starts_with("--") && eq != std::string_view::npos) {
      name = word.substr(0, eq);
      value = word.substr(eq + 1);
      hasValue = true;
    }
    const auto option = std::find_if(command.Options.begin(), command.Options.end(),
                                     [&](const TOptionSpec& s) { return s.Name == name; });
    if (option == command.Options.end()) return Unknown(name);
    if (!option->Repeatable && !seen.insert(option->Name).second)
      return ReportError(TrFormat("option %s is given twice", {option->Name}));
    if (option->Kind == okFlag) {
      if (hasValue) return ReportError(TrFormat("option %s takes no value", {option->Name}));
    } else if (!hasValue) {
      if (i + 1 >= argc) return ReportError(TrFormat("option %s needs a value", {option->Name}));
      value = argv[++i];
    }
    if (option->Kind == okFileName && value.empty())
      return ReportError(TrFormat("option %s needs a file name", {option->Name}));
    if (!command.Take(option->Name, value)) return 1;
  }
  return -1;
}
