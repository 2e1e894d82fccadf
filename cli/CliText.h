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
// Whether two file names lead to one file: the same existing file (also through links), or the
// same absolute path once "." and ".." are resolved (a file not made yet: "x" and "./x").
bool NamesOneFile(const std::string& a, const std::string& b);
// An input text as it is shown in a message: other bytes than printable ASCII as \xNN, and
// cut after 40 characters.
std::string ShownText(std::string_view text);
