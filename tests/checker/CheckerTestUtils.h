// Helpers of the checker tests: a temporary folder, tape images built word by word, and a
// result list that records what a run reports.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "ResultSink.h"
#include "TapeChecker.h"

#include "TestTempDir.h"

inline void WriteFile(const std::string& name, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(name).parent_path());
  std::ofstream(name, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// An absolute binary tape: words low byte first, checksums computed.
class TTape {
public:
  TTape& Nul(std::size_t count) {
    FBytes.append(count, '\0');
    return *this;
  }
  TTape& Words(std::initializer_list<std::uint16_t> words) {
    for (std::uint16_t w : words) Word(w);
    return *this;
  }
  TTape& Word(std::uint16_t w) {
    FBytes += static_cast<char>(w & 0xFF);
    FBytes += static_cast<char>(w >> 8);
    return *this;
  }
  // 1777xx (-n), address, checksum, n words
  TTape& Data(std::uint16_t address, std::vector<std::uint16_t> words) {
    const std::uint16_t count = static_cast<std::uint16_t>(0x10000 - words.size());
    std::uint16_t sum = static_cast<std::uint16_t>(count + address);
    for (std::uint16_t w : words) sum = static_cast<std::uint16_t>(sum + w);
    Words({count, address, static_cast<std::uint16_t>(-sum)});
    for (std::uint16_t w : words) Word(w);
    return *this;
  }
  TTape& Repeat(std::uint16_t countWord, std::uint16_t address, std::uint16_t value) {
    return Words({countWord, address, static_cast<std::uint16_t>(-(countWord + address + value)), value});
  }
  TTape& Start(std::uint16_t address) {
    return Words({1, address, static_cast<std::uint16_t>(-(1 + address))});
  }
  TTape& Bytes(const std::string& bytes) {
    FBytes += bytes;
    return *this;
  }
  const std::string& Str() const { return FBytes; }
  std::size_t Size() const { return FBytes.size(); }

private:
  std::string FBytes;
};

class TRecordingSink : public TResultSink {
public:
  void ClearLines() override {
    Lines.clear();
    Selected.clear();
  }
  void AppendLine(const std::string& line) override { Lines.push_back(line); }
  void SelectLastLine() override { Selected.push_back(Lines.size() - 1); }

  std::vector<std::string> Lines;
  std::vector<std::size_t> Selected;  // index of the last line at each selection
};

// Runs the checker over one file and returns its lines without the "File: " and count lines.
inline std::vector<std::string> CheckOne(const std::string& directory, const std::string& name,
                                         TCheckMode mode = cmBinary, bool contents = false) {
  TRecordingSink sink;
  TTapeChecker checker(sink);
  TCheckParams params;
  params.Mode = mode;
  params.SourceDir = directory;
  params.FileNames = name;
  params.ShowContents = contents;
  if (checker.Run(params) != crComplete || sink.Lines.size() < 2) return {"run failed: " + checker.ErrorMessage()};
  return std::vector<std::string>(sink.Lines.begin() + 1, sink.Lines.end() - 1);
}
