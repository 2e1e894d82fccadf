// corvane-cli disasm: octal words from standard input to disassembled lines.
#include <iostream>
#include <string>

#include "CliText.h"
#include "CommandOptions.h"
#include "Commands.h"
#include "NovaUtils.h"

namespace {

constexpr int MaxAddress = 077777;
constexpr int MaxWord = 0177777;

struct TDisasmOptions {
  int Address = -1;
  bool Columns = false;
  TNumMode Base = nmOctal;
  bool Dump = false;
  bool HasRange = false;
  TDisasmDumpOptions DumpOptions;
};

// Reads the options; returns -1 to go on, else the exit status.
int ReadOptions(int argc, char** argv, TDisasmOptions& o) {
  static constexpr TOptionSpec Options[] = {
      {"--address"}, {"--columns", okFlag}, {"--base"}, {"--dump", okFileName}, {"--from"}, {"--to"}};
  bool hasFrom = false;
  const auto take = [&](std::string_view name, std::string_view value) {
    if (name == "--columns") {
      o.Columns = true;
    } else if (name == "--base") {
      if (!ReadBase(value, o.Base)) {
        ReportError(
            TrFormat("%s is not a valid base (octal, hex, binary, decimal or zerodec)", {ShownText(value)}));
        return false;
      }
    } else if (name == "--dump") {
      o.Dump = true;
      o.DumpOptions.FileName = value;
    } else {
      int address;
      if (!ReadOctal(value, MaxAddress, address)) {
        ReportError(TrFormat("%s is not a valid address (octal, 0 to 77777)", {ShownText(value)}));
        return false;
      }
      if (name == "--address") {
        o.Address = address;
      } else {
        o.HasRange = true;
        (name == "--from" ? o.DumpOptions.From : o.DumpOptions.To) = address;
        hasFrom = hasFrom || name == "--from";
      }
    }
    return true;
  };
  if (const int status = ReadCommandOptions(argc, argv, {Options, DisasmHelp, take, {}}); status >= 0) return status;
  if (o.Dump && (o.Address >= 0 || o.Columns))
    return ReportError(Tr("--address and --columns cannot be used with --dump"));
  if (!o.Dump && o.HasRange) return ReportError(Tr("--from and --to need --dump"));
  if (hasFrom && o.DumpOptions.To >= 0 && o.DumpOptions.From > o.DumpOptions.To)
    return ReportError(Tr("--from is above --to"));
  o.DumpOptions.Base = o.Base;
  return -1;
}

}  // namespace

std::string DisasmHelp() {
  return Tr(
      "  disasm [--address OCTAL] [--columns] [--base BASE]\n"
      "      Reads octal words (0 to 177777), one per line, from standard input and\n"
      "      prints the disassembly of each. Blank lines are skipped.\n"
      "      --address OCTAL  the first word is at this address (0 to 77777), each\n"
      "                       next one a word higher; relative operands then show\n"
      "                       their target in parentheses\n"
      "      --columns        pads the mnemonic field to 8 characters\n"
      "      --base BASE      base of those targets: octal (default), hex, binary,\n"
      "                       decimal or zerodec\n"
      "  disasm --dump FILE [--from OCTAL] [--to OCTAL] [--base BASE]\n"
      "      Prints the listing lines of a memory dump file, from address --from\n"
      "      (default 0) to address --to (default the last word of the dump).\n");
}

int DisasmCommand(int argc, char** argv) {
  TDisasmOptions options;
  if (const int status = ReadOptions(argc, argv, options); status >= 0) return status;
  if (options.Dump) return DisasmDump(options.DumpOptions);

  int address = options.Address;
  std::string line;
  long long lineNumber = 0;
  while (std::getline(std::cin, line)) {
    ++lineNumber;
    const std::string_view text = TrimLine(line);
    if (text.empty()) continue;
    int word;
    if (!ReadOctal(text, MaxWord, word))
      return ReportError(TrFormat("line %s: %s is not an octal word (0 to 177777)",
                                  {std::to_string(lineNumber), ShownText(text)}));
    std::cout << CommandToStr(address, std::uint16_t(word), options.Base, options.Columns) << '\n';
    if (address >= 0) address = (address + 1) & MaxAddress;
  }
  if (std::cin.bad()) return ReportError(Tr("standard input cannot be read"));
  std::cout.flush();
  return std::cout ? 0 : ReportError(Tr("standard output cannot be written"));
}
