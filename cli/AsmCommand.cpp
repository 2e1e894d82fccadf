// corvane-cli asm: assembler lines from standard input to octal words.
#include <iostream>
#include <string>

#include "CliText.h"
#include "CommandOptions.h"
#include "Commands.h"
#include "NovaUtils.h"

std::string AsmHelp() {
  return Tr(
      "  asm [--address OCTAL]\n"
      "      Reads one assembler line per input line and prints its word as six octal\n"
      "      digits, or ? when the line does not assemble.\n"
      "      --address OCTAL  the first line is meant for this address (0 to 77777),\n"
      "                       each next line for the next address; absolute operand\n"
      "                       addresses above 377 near it become relative ones\n"
      "                       (without it, they do not assemble)\n");
}

int AsmCommand(int argc, char** argv) {
  constexpr int MaxAddress = 077777;
  int address = 0;
  bool hasAddress = false;
  static constexpr TOptionSpec Options[] = {{"--address"}};
  const auto take = [&](std::string_view, std::string_view value) {
    if (!ReadOctal(value, MaxAddress, address)) {
      ReportError(TrFormat("%s is not a valid address (octal, 0 to 77777)", {ShownText(value)}));
      return false;
    }
    hasAddress = true;
    return true;
  };
  if (const int status = ReadCommandOptions(argc, argv, {Options, AsmHelp, take, {}}); status >= 0) return status;

  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::uint16_t word;
    if (StrToCommand(line, std::uint16_t(address), word))
      std::cout << FormatOctal(word, 6) << '\n';
    else
      std::cout << "?\n";
    if (hasAddress) address = (address + 1) & MaxAddress;
  }
  if (std::cin.bad()) return ReportError(Tr("standard input cannot be read"));
  std::cout.flush();
  return std::cout ? 0 : ReportError(Tr("standard output cannot be written"));
}
