// corvane-cli run, and the dump listing of disasm --dump: not built yet.
#include <iostream>

#include "CliText.h"
#include "Commands.h"

std::string RunHelp() {
  return Tr(
      "  run ...\n"
      "      Not built yet.\n");
}

int RunCommand(int, char**) { return ReportError(Tr("run is not built yet")); }

int DisasmDump(const TDisasmDumpOptions&) {
  return ReportError(Tr("disasm --dump is not built yet"));
}
