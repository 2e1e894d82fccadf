#include "TallisOptions.h"

#include <set>
#include <string_view>

#include "CommandLine.h"
#include "SafeFormat.h"
#include "TextUtils.h"
#include "Translate.h"

TTallisArgs SplitTallisArgs(int argc, const char* const* argv) {
  TTallisArgs args;
  bool optionsEnd = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i] ? argv[i] : "";
    if (optionsEnd)
      args.Words.push_back({arg, false});
    else if (arg == "--")
      optionsEnd = true;
    else if (!arg.starts_with("--") && MatchesStartupOption(arg))
      args.StartupArgs.push_back(arg);
    else
      args.Words.push_back({arg, arg.size() > 1 && arg.front() == '-'});
  }
  return args;
}

TTallisParse ParseTallisWords(const std::vector<TTallisWord>& words, TCheckParams& params, std::string& error) {
  std::vector<std::string> positional;
  std::set<std::string> seen;
  for (const TTallisWord& word : words) {
    // The rule of every command: an option is given once.
    const bool known = word.Text == "--text" || word.Text == "--subdirs" || word.Text == "--contents";
    if (word.IsOption && known && !seen.insert(word.Text).second) {
      error = SafeFormat(_("option %s is given twice"), word.Text);
      return tpUsageError;
    }
    if (!word.IsOption)
      positional.push_back(word.Text);
    else if (word.Text == "--text")
      params.Mode = cmText;
    else if (word.Text == "--subdirs")
      params.SubDirs = true;
    else if (word.Text == "--contents")
      params.ShowContents = true;
    else if (word.Text == "--help" || word.Text == "-h")
      return tpHelp;
    else if (word.Text == "--version")
      return tpVersion;
    else {
      error = SafeFormat(_("unknown option %s"), EscapeControls(word.Text, 40));
      return tpUsageError;
    }
  }
  if (positional.size() < 2) {
    error = _("DIRECTORY and PATTERNS are needed");
    return tpUsageError;
  }
  params.SourceDir = positional[0];
  params.FileNames.clear();
  for (std::size_t i = 1; i < positional.size(); ++i) {
    if (i > 1) params.FileNames += ';';
    params.FileNames += positional[i];
  }
  return tpRun;
}
