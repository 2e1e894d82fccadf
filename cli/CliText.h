// Messages of corvane-cli: translation, errors on standard error, and argument reading. The
// catalogs and the language are set up by the frame's start-up routine.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

#include "NumberUtils.h"

// A text of the default domain, translated.
std::string Tr(const char* msgid);
// The translated message with each "%s" replaced, in order, by the next argument.
std::string TrFormat(const char* msgid, std::initializer_list<std::string_view> args);

// "corvane-cli: <message>" on standard error; returns the exit status 1.
int ReportError(const std::string& message);

// Strict readers for option values and input lines.
bool ReadOctal(std::string_view text, int maxValue, int& value);  // octal digits only
bool ReadBase(std::string_view text, TNumMode& mode);  // octal hex binary decimal zerodec
std::string_view TrimLine(std::string_view line);      // blanks and a CR at both ends
// An input text as it is shown in a message: other bytes than printable ASCII as \xNN, and
// cut after 40 characters.
std::string ShownText(std::string_view text);

// Walks the options of a subcommand: "--name value" and "--name=value".
class TOptionCursor {
public:
  TOptionCursor(int argc, char** argv) : FArgc(argc), FArgv(argv) {}
  bool Next();                    // moves to the next argument; false at the end
  std::string_view Name() const { return FName; }
  bool IsHelp() const { return FName == "--help" || FName == "-h"; }
  bool TakeValue(std::string_view& value);  // false (and reported) when there is none
  bool NoValue();  // for flags: false (and reported) when "--flag=value" was given
  int Unknown() const;  // reports an unknown option or argument; returns 1

private:
  int FArgc;
  char** FArgv;
  int FIndex = 0;
  std::string_view FName, FInline;
  bool FHasInline = false;
};
