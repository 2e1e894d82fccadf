#include "CommandLine.h"

#include <cstdio>
#include <filesystem>

#include "PathUtils.h"
#include "TextUtils.h"

bool MatchesKeyword(std::string_view text, std::string_view keyword) {
  if (text.size() > keyword.size()) return false;
  return LowerAscii(text) == keyword.substr(0, text.size());
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args,
                              const std::function<std::string(std::string_view)>& expand,
                              const std::string& programFolder) {
  TCommandLine cmd;
  for (const std::string& arg : args) {
    if (arg.empty() || (arg.front() != '/' && arg.front() != '-')) continue;
    std::string_view option = std::string_view(arg).substr(1);
    std::size_t colon = option.find(':');
    if (colon != std::string_view::npos) {
      std::string_view name = option.substr(0, colon), value = option.substr(colon + 1);
      if (MatchesKeyword(name, "lang"))
        cmd.Language = Utf8Prefix(value, 2);
      else if (MatchesKeyword(name, "ini"))
        cmd.Location = expand ? expand(value) : std::string(value);
    } else if (MatchesKeyword(option, "portable")) {
      cmd.Portable = true;
      if (cmd.Location.empty()) cmd.Location = programFolder;
    }
  }
  return cmd;
}

bool MatchesStartupOption(std::string_view arg) {
  if (arg.empty() || (arg.front() != '/' && arg.front() != '-')) return false;
  const std::string_view option = arg.substr(1);
  const std::size_t colon = option.find(':');
  if (colon != std::string_view::npos) {
    const std::string_view name = option.substr(0, colon);
    return MatchesKeyword(name, "lang") || MatchesKeyword(name, "ini");
  }
  return MatchesKeyword(option, "portable");
}

bool IsProgramOption(std::string_view arg) { return (!arg.empty() && arg.front() == '-') || MatchesStartupOption(arg); }

std::vector<std::string> FileArguments(const std::vector<std::string>& args) {
  std::vector<std::string> files;
  for (const std::string& arg : args)
    if (!arg.empty() && !IsProgramOption(arg)) files.push_back(arg);
  return files;
}

std::string LanguageFileForLocation(const std::string& languageFile, const TCommandLine& cmd,
                                    const std::string& programFolder, const std::string& workingFolder) {
  const std::string& given = cmd.Location;
  if (given.empty()) return languageFile;
  const std::string fileName = ExtractFileName(languageFile);
  const std::string ownName = ChangeFileExtension(ExtractFileName(given), ".cfg");
  if (HasTrailingDelimiter(given)) return given + fileName;
  if (IsAbsolutePath(given)) return ExtractFilePath(given) + (cmd.Portable ? ownName : fileName);
  if (given.find(PathDelim) != std::string::npos) {
    if (cmd.Portable) return IncludeTrailingDelimiter(programFolder) + given + PathDelim + ownName;
    std::filesystem::path absolute = std::filesystem::path(workingFolder) / given;
    return ExtractFilePath(absolute.lexically_normal().string()) + fileName;
  }
  if (cmd.Portable) return IncludeTrailingDelimiter(programFolder) + ChangeFileExtension(given, ".cfg");
  return languageFile;
}

TInfoRequest FindInfoRequest(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i] ? argv[i] : "";
    if (arg == "--help" || arg == "-h") return irHelp;
    if (arg == "--version") return irVersion;
  }
  return irNone;
}

bool AnswerInfoRequest(int argc, const char* const* argv, const std::string& usage, const std::string& program,
                       const std::string& version) {
  switch (FindInfoRequest(argc, argv)) {
    case irHelp: std::fputs(usage.c_str(), stdout); return true;
    case irVersion: std::printf("%s %s\n", program.c_str(), version.c_str()); return true;
    case irNone: break;
  }
  return false;
}
