// Loading and saving the machine's memory as a dump file.
#include <algorithm>

#include "MemoryDump.h"
#include "NovaMachine.h"
#include "ReplacingFile.h"

bool TNovaMachine::LoadDump(const std::string& FileName, bool KeepBreakpoints, TMachineError* Error) {
  std::vector<TWord> words;
  TMachineError error;
  if (!ReadDumpFile(FileName, words, error)) {
    if (Error) *Error = error;
    return false;
  }
  LoadDumpWords(words, KeepBreakpoints);
  return true;
}

void TNovaMachine::LoadDumpWords(const std::vector<TWord>& Words, bool KeepBreakpoints) {
  const std::size_t count = std::min<std::size_t>(Words.size(), MemoryWords);
  for (TMemCell& cell : Memory) cell = TMemCell{};
  CountEdit();
  for (std::size_t i = 0; i < count; ++i) Memory[i].Data = Words[i];
  if (int(count) > MemSize) {
    MemSize = int(count);
    FHost->MemSizeChanged(MemSize);
  }
  FGoal = -1;
  if (!KeepBreakpoints) FBreaks.clear();
  BreaksChanged();
  PC = 0;
  FHost->RegistersChanged();
  CheckWatches(false);
  FHost->MemoryChanged();
  ResetCpu();
}

bool TNovaMachine::SaveDump(const std::string& FileName, TMachineError* Error) {
  TReplacingFile file;
  std::string error;
  if (!file.Open(FileName, error)) {
    if (Error) *Error = TMachineError{ekWrite, FileName, error};
    return false;
  }
  return SaveDump(file, Error);
}

bool TNovaMachine::SaveDump(TReplacingFile& File, TMachineError* Error) {
  std::vector<TWord> words(static_cast<std::size_t>(MemSize));
  for (int i = 0; i < MemSize; ++i) words[std::size_t(i)] = Memory[std::size_t(i)].Data;
  TMachineError error;
  if (!WriteDumpTo(File, words.data(), words.size(), error)) {
    if (Error) *Error = error;
    return false;
  }
  return true;
}
