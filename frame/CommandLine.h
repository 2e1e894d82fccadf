// The command line shared by both programs: options start with "/" or "-"; "lang:<code>",
// "ini:<location>" and "portable", each keyword abbreviable (l, LA, i, p, port, ...).
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct TCommandLine {
  std::string Language;  // at most 2 characters; "" when none was given
  std::string Location;  // the given location of the language file; "" when none
  bool Portable = false;
};

// True when text, in lower case, equals the first characters of keyword ("" matches every keyword).
bool MatchesKeyword(std::string_view text, std::string_view keyword);

// Reads the options in order; later ones overwrite earlier ones. The "ini" location has its
// placeholders expanded by expand; "portable" sets the location to the program folder when none
// was given so far. Other arguments are ignored.
TCommandLine ParseCommandLine(const std::vector<std::string>& args,
                              const std::function<std::string(std::string_view)>& expand,
                              const std::string& programFolder);

// "/lang:de", "-l:de", "/ini:...", "/portable", "-p": the options the start-up routine reads.
bool MatchesStartupOption(std::string_view arg);
// Whether an argument is one of those (or --help, -h, --version, or any other argument
// beginning with "-"); every other argument names a file. An absolute path is a file
// unless it reads as an option: "/lang:de" is one, "/home/lang:de" and "/tmp/x.dmp" are not.
bool IsProgramOption(std::string_view arg);
// The arguments that name files, in order.
std::vector<std::string> FileArguments(const std::vector<std::string>& args);

// "--help" (or "-h") and "--version" of the window programs, answered before any window is made;
// the first of them on the line counts.
enum TInfoRequest { irNone, irHelp, irVersion };
TInfoRequest FindInfoRequest(int argc, const char* const* argv);
// Prints the usage text for "--help", or "<program> <version>" for "--version", on standard
// output; true when one of them was on the line (the program then ends).
bool AnswerInfoRequest(int argc, const char* const* argv, const std::string& usage, const std::string& program,
                       const std::string& version);

// The language file after the command line: languageFile is the start-up routine's choice, whose
// file name part is kept unless portable mode names its own. programFolder ends with "/";
// workingFolder is the current folder for relative locations.
std::string LanguageFileForLocation(const std::string& languageFile, const TCommandLine& cmd,
                                    const std::string& programFolder, const std::string& workingFolder);
