// Assembling into memory: the whole program first, then its words through the machine.
#include "MemoryAssembly.h"

#include <algorithm>

#include "AsmOutput.h"
#include "AtomicFile.h"
#include "Translate.h"

namespace {

// The files' texts; a file that cannot be read is an error of its own.
std::vector<TAsmSource> ReadSources(const std::vector<std::string>& fileNames, std::vector<TSourceError>& errors) {
  std::vector<TAsmSource> sources(fileNames.size());
  for (std::size_t i = 0; i < fileNames.size(); ++i) {
    sources[i].Name = fileNames[i];
    if (!ReadWholeFile(fileNames[i], sources[i].Text))
      errors.push_back({fileNames[i], 0, WhyUnreadable(fileNames[i], _("is a folder, not a source file"))});
  }
  return sources;
}

}  // namespace

std::vector<TSourceError> SourceErrors(const TAsmProgram& program) {
  std::vector<TSourceError> errors;
  errors.reserve(program.Errors.size());
  for (const TAsmError& e : program.Errors) {
    const bool known = e.Source >= 0 && e.Source < int(program.Sources.size());
    errors.push_back({known ? program.Sources[std::size_t(e.Source)].Name : "", e.Line, e.Message});
  }
  return errors;
}

TMemoryAssembly AssembleIntoMemory(TNovaMachine& machine, std::vector<TAsmSource> sources) {
  TMemoryAssembly result;
  const TAsmProgram program = Assemble(std::move(sources));
  if (!program.Ok()) {
    result.Errors = SourceErrors(program);
    return result;
  }

  const std::vector<TAsmWord>& words = program.Words;
  int highest = -1;
  for (const TAsmWord& w : words) highest = std::max(highest, int(w.Address));
  if (highest >= machine.MemSize) machine.SetMemSize(highest + 1);
  // Stretches of consecutive addresses, one notifying write each.
  std::vector<TWord> values;
  for (std::size_t i = 0; i < words.size();) {
    std::size_t n = 1;
    while (i + n < words.size() && words[i + n].Address == words[i + n - 1].Address + 1) ++n;
    values.clear();
    for (std::size_t k = i; k < i + n; ++k) values.push_back(words[k].Value);
    machine.WriteWords(words[i].Address, values.data(), int(n));
    i += n;
  }
  if (!machine.Watch.empty()) machine.CheckWatches(false);
  if (program.Start >= 0) machine.SetPC(TWord(program.Start));

  result.Symbols = program.Symbols;
  result.Start = program.Start;
  result.Title = program.Title;
  result.Words = words.size();
  return result;
}

TMemoryAssembly AssembleFilesIntoMemory(TNovaMachine& machine, const std::vector<std::string>& fileNames) {
  TMemoryAssembly result;
  std::vector<TAsmSource> sources = ReadSources(fileNames, result.Errors);
  if (!result.Ok()) return result;
  return AssembleIntoMemory(machine, std::move(sources));
}

TTapeAssembly AssembleFilesToTape(const std::vector<std::string>& fileNames, const std::string& tapeFile, bool bootstrap) {
  TTapeAssembly result;
  std::vector<TAsmSource> sources = ReadSources(fileNames, result.Errors);
  if (!result.Ok()) return result;
  const TAsmProgram program = Assemble(std::move(sources));
  if (!program.Ok()) {
    result.Errors = SourceErrors(program);
    return result;
  }
  std::vector<std::uint8_t> tape;
  if (!bootstrap)
    tape = AbsoluteTape(program);
  else if (!BootstrapTape(program, tape, result.Failure))
    return result;
  std::string error;
  if (!WriteFileAtomic(tapeFile, std::string_view(reinterpret_cast<const char*>(tape.data()), tape.size()), &error)) {
    result.Failure = error;
    return result;
  }
  result.Words = program.Words.size();
  result.Start = program.Start;
  return result;
}
