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

#include "TestTape.h"
#include "TestTempDir.h"

inline void WriteFile(const std::string& name, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(name).parent_path());
  std::ofstream(name, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

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
