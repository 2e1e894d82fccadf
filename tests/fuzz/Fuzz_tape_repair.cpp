// A check run over one file holding the input: binary mode, and text repair with and without the
// contents. The file lies alone in a private temporary folder on a memory file system, made once
// per process; the folder is emptied and the file written again for every input, so a repair
// only ever rewrites that copy. The checks on tapes in memory: Fuzz_tape_check.cpp.
// Input: a flags byte (bit 0: text mode, bit 1: show contents), then the file.
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "TapeChecker.h"

namespace {

// Keeps the first and the last lines and counts them all: a listing can have millions.
class TKeptLines : public TResultSink {
public:
  void ClearLines() override { FCount = 0; }
  void AppendLine(const std::string& line) override {
    if (FCount < First.size()) First[FCount] = line;
    FLast[FCount % FLast.size()] = line;
    ++FCount;
  }
  void SelectLastLine() override { FUZZ_CHECK(FCount > 0); }

  std::size_t Count() const { return FCount; }
  // The line n places before the last one (0: the last).
  const std::string& FromEnd(std::size_t n) const { return FLast[(FCount - 1 - n) % FLast.size()]; }

  std::array<std::string, 2> First;

private:
  std::array<std::string, 2> FLast;
  std::size_t FCount = 0;
};

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// NUL and rubout frames dropped, the parity bit cleared (a lone parity bit stays as NUL).
std::string Repaired(std::string_view tape) {
  std::string text;
  for (char c : tape) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b == 0 || (b & 0177) == 0177) continue;
    text += char(b & 0177);
  }
  return text;
}

bool StartsWith(const std::string& s, std::string_view prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace fs = std::filesystem;
  TFuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  const std::string_view tape = in.Rest();

  const std::string& folder = FuzzFolder().Path();
  static const std::string file = FuzzFolder() / "tape";
  for (const fs::directory_entry& e : fs::directory_iterator(folder))
    if (e.path() != file) fs::remove_all(e.path());
  WriteFuzzFile(file, tape);

  TCheckParams params;
  params.Mode = (flags & 1) ? cmText : cmBinary;
  params.ShowContents = (flags & 2) && params.Mode == cmText;
  params.SourceDir = folder;
  params.FileNames = "tape";
  TKeptLines lines;
  TTapeChecker checker(lines);
  FUZZ_CHECK(checker.Run(params) == crComplete);
  FUZZ_CHECK(lines.Count() >= 2);
  FUZZ_CHECK(lines.First[0] == "File: " + file);
  FUZZ_CHECK(lines.FromEnd(0) == "1 Files checked");

  std::vector<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  const std::string now = ReadFile(file);
  if (params.Mode == cmBinary) {
    FUZZ_CHECK(StartsWith(lines.FromEnd(1), "  Checked: "));
    FUZZ_CHECK(names.size() == 1);
    FUZZ_CHECK(now == tape);
    return 0;
  }
  // Text mode: the file is left as it was, or repaired with the original kept as "tape.bak".
  if (names.size() == 1) {
    FUZZ_CHECK(now == tape);
  } else {
    FUZZ_CHECK(names.size() == 2);
    FUZZ_CHECK(now == Repaired(tape));
    FUZZ_CHECK(ReadFile(file + ".bak") == tape);
  }
  return 0;
}
