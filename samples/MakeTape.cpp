// corvane-maketape: assembles a sample program (source format: TapeAssembler.cpp) into a
// self-loading paper tape for the program load, or with --dump into a memory dump file.
//
//   corvane-maketape [--dump] SOURCE OUTPUT
//
// Exit status 0 when the output was written, 1 on an error (message on standard error).
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "ReplacingFile.h"
#include "TapeAssembler.h"

namespace {

int Fail(const std::string& message) {
  std::cerr << "corvane-maketape: " << message << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool dump = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--dump")
      dump = true;
    else if (arg.starts_with("-"))
      return Fail("unknown option " + std::string(arg) + " (usage: corvane-maketape [--dump] SOURCE OUTPUT)");
    else
      files.emplace_back(arg);
  }
  if (files.size() != 2) return Fail("usage: corvane-maketape [--dump] SOURCE OUTPUT");

  std::ifstream in(files[0], std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) return Fail("cannot read " + files[0]);

  TAsmProgram program;
  std::string error;
  if (!AssembleSource(text.str(), program, error)) return Fail(files[0] + ": " + error);

  std::vector<std::uint8_t> bytes;
  if (dump) {
    for (std::uint16_t w : DumpImage(program)) {
      bytes.push_back(std::uint8_t(w & 0xFF));
      bytes.push_back(std::uint8_t(w >> 8));
    }
  } else if (!SelfLoadingTape(program, bytes, error)) {
    return Fail(files[0] + ": " + error);
  }
  if (!WriteFileReplacing(files[1], bytes.data(), bytes.size(), error))
    return Fail("cannot write " + files[1] + ": " + error);
  return 0;
}
