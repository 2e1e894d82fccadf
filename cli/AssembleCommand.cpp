// corvane-cli assemble: assembler source files in Data General's syntax to a tape, a listing,
// a symbol file or a memory dump.
#include <sys/stat.h>

#include <iostream>

#include "AsmOutput.h"
#include "Assembler.h"
#include "CliText.h"
#include "CommandOptions.h"
#include "Commands.h"
#include "ReplacingFile.h"
#include "TextUtils.h"

namespace {

struct TAssembleOptions {
  std::string Tape, Listing, Symbols, Dump;
  bool Bootstrap = false;
  std::vector<std::string> Sources;
};

bool IsDevice(const std::string& name) {
  struct stat st;
  return ::stat(name.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

// No output may name a source or another output: one of them would be lost.
int CheckFiles(const TAssembleOptions& o) {
  struct TOutput {
    const char* Option;
    const std::string* Name;
  };
  const TOutput outputs[] = {{"--tape", &o.Tape}, {"--listing", &o.Listing}, {"--symbols", &o.Symbols}, {"--dump", &o.Dump}};
  for (std::size_t i = 0; i < std::size(outputs); ++i) {
    const std::string& name = *outputs[i].Name;
    if (name.empty() || name == "-" || IsDevice(name)) continue;
    for (const std::string& source : o.Sources)
      if (NamesOneFile(name, source))
        return ReportError(TrFormat("%s names the source file %s", {outputs[i].Option, EscapeControls(source)}));
    for (std::size_t j = i + 1; j < std::size(outputs); ++j)
      if (!outputs[j].Name->empty() && NamesOneFile(name, *outputs[j].Name))
        return ReportError(TrFormat("%s and %s name the same file", {outputs[i].Option, outputs[j].Option}));
  }
  return -1;
}

int ReadOptions(int argc, char** argv, TAssembleOptions& o) {
  static constexpr TOptionSpec Options[] = {{"--tape", okFileName},    {"--bootstrap", okFlag},
                                            {"--listing", okFileName}, {"--symbols", okFileName},
                                            {"--dump", okFileName}};
  const auto take = [&](std::string_view name, std::string_view value) {
    if (name == "--bootstrap")
      o.Bootstrap = true;
    else
      (name == "--tape" ? o.Tape : name == "--listing" ? o.Listing : name == "--symbols" ? o.Symbols : o.Dump) = value;
    return true;
  };
  const auto source = [&](std::string_view name) {
    o.Sources.emplace_back(name);
    return true;
  };
  if (const int status = ReadCommandOptions(argc, argv, {Options, AssembleHelp, take, source}); status >= 0)
    return status;
  if (o.Sources.empty()) return ReportError(Tr("no source file given (see corvane-cli assemble --help)"));
  if (o.Bootstrap && o.Tape.empty()) return ReportError(Tr("--bootstrap needs --tape"));
  for (const std::string* out : {&o.Tape, &o.Symbols, &o.Dump})
    if (*out == "-") return ReportError(Tr("only --listing can go to standard output (-)"));
  return CheckFiles(o);
}

bool WriteOutput(const std::string& name, const void* data, std::size_t size) {
  std::string error;
  if (WriteFileReplacing(name, data, size, error)) return true;
  ReportError(TrFormat("cannot write file %s: %s", {EscapeControls(name), error}));
  return false;
}

}  // namespace

std::string AssembleHelp() {
  return Tr(
      "  assemble [--tape FILE] [--bootstrap] [--listing FILE] [--symbols FILE]\n"
      "           [--dump FILE] SOURCE...\n"
      "      Assembles the source files, in the order given, as one program in Data\n"
      "      General's assembler language (docs/assembler.md). Errors go to standard\n"
      "      error as FILE:LINE: message; when there is any, no file is written.\n"
      "      Without output options it only checks the sources.\n"
      "      --tape FILE     an absolute binary tape (what Tallis checks and a binary\n"
      "                      loader reads)\n"
      "      --bootstrap     the tape is a program-load tape instead, read by the\n"
      "                      front panel's PROG LOAD (a program at 101 to 376 that\n"
      "                      ends with .END START)\n"
      "      --listing FILE  the listing: address, word and source of every line,\n"
      "                      errors flagged; - for standard output (also with errors)\n"
      "      --symbols FILE  the symbol file: NAME VALUE per line, sorted by name\n"
      "      --dump FILE     a memory dump (from address 0 to the last word, low byte\n"
      "                      first), as run --load-dump and the window load it\n"
      "      Exit status: 0 assembled, 1 errors (in the sources, options or files).\n");
}

int AssembleCommand(int argc, char** argv) {
  TAssembleOptions o;
  if (const int status = ReadOptions(argc, argv, o); status >= 0) return status;

  std::vector<TAsmSource> sources(o.Sources.size());
  bool readable = true;
  for (std::size_t i = 0; i < o.Sources.size(); ++i) {
    std::string error;
    if (!ReadAsmSource(o.Sources[i], sources[i], error)) {
      ReportError(EscapeControls(error));
      readable = false;
    }
  }
  if (!readable) return 1;

  const TAsmProgram program = Assemble(std::move(sources));
  if (o.Listing == "-") std::cout << ListingText(program) << std::flush;
  if (!program.Ok()) {
    std::cout.flush();
    for (const TAsmError& error : program.Errors) std::cerr << program.ErrorText(error) << '\n';
    const bool outputs = !o.Tape.empty() || !o.Symbols.empty() || !o.Dump.empty() || (!o.Listing.empty() && o.Listing != "-");
    const std::string count = std::to_string(program.Errors.size());
    return ReportError(outputs ? TrFormat("errors: %s; no file written", {count}) : TrFormat("errors: %s", {count}));
  }

  // Every output is made before the first is written.
  std::vector<std::uint8_t> tape;
  if (!o.Tape.empty()) {
    std::string error;
    if (!o.Bootstrap)
      tape = AbsoluteTape(program);
    else if (!BootstrapTape(program, tape, error))
      return ReportError(TrFormat("no program-load tape: %s", {error}));
  }
  bool ok = true;
  if (!o.Tape.empty()) ok = WriteOutput(o.Tape, tape.data(), tape.size()) && ok;
  if (!o.Dump.empty()) {
    const std::vector<std::uint8_t> image = DumpImage(program);
    ok = WriteOutput(o.Dump, image.data(), image.size()) && ok;
  }
  if (!o.Listing.empty() && o.Listing != "-") {
    const std::string listing = ListingText(program);
    ok = WriteOutput(o.Listing, listing.data(), listing.size()) && ok;
  }
  if (!o.Symbols.empty()) {
    const std::string symbols = SymbolFileText(program.Symbols);
    ok = WriteOutput(o.Symbols, symbols.data(), symbols.size()) && ok;
  }
  std::cout.flush();
  if (!std::cout) return ReportError(Tr("standard output cannot be written"));
  return ok ? 0 : 1;
}
