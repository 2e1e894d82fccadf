// The one way every command of corvane-cli reads its options. A command lists its options in a
// table and says what each value means; the rules of the command line are kept here:
//
//   - "--name value" and "--name=value"; a flag takes no value ("option --columns takes no value");
//   - an option without its value: "option --base needs a value"; a file option given an empty
//     value: "option --ptr needs a file name";
//   - an option given twice is refused ("option --pc is given twice") unless the table marks it
//     repeatable (--break);
//   - "--help" or "-h" prints the command's help, and the command ends with status 0;
//   - any other word that starts with "-" is an unknown option; other words (and every word after
//     "--") are arguments, refused as unexpected unless the command takes arguments.
//
// Everything is checked in the order given, and the first error ends the reading.
#pragma once
#include <functional>
#include <span>
#include <string>
#include <string_view>

enum TOptionKind {
  okFlag,      // --name, no value
  okValue,     // --name VALUE
  okFileName,  // --name FILE, the name not empty
};

struct TOptionSpec {
  std::string_view Name;  // with the leading "--"
  TOptionKind Kind = okValue;
  bool Repeatable = false;
};

struct TCommandOptions {
  std::span<const TOptionSpec> Options;
  std::function<std::string()> Help;  // the command's help text
  // One option of the table with its value ("" for a flag). False when the value is refused;
  // the handler has reported why (ReportError).
  std::function<bool(std::string_view name, std::string_view value)> Take;
  // An argument that is not an option; empty: the command takes none.
  std::function<bool(std::string_view argument)> Argument;
};

// Reads argv[1] .. argv[argc - 1] (argv[0] is the command's name). Returns -1 when the command is
// to go on, 0 after the help was printed, 1 after an error (its message has gone to standard
// error).
int ReadCommandOptions(int argc, char** argv, const TCommandOptions& command);
