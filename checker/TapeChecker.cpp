#include "TapeChecker.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "BinaryCheck.h"
#include "CheckContext.h"
#include "CollectFiles.h"
#include "SafeFormat.h"
#include "TapeFile.h"
#include "TextRepair.h"
#include "Translate.h"

std::string UpperHexFormat(const std::string& format) {
  std::string result = format;
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (result[i] != '%') continue;
    std::size_t j = i + 1;
    while (j < result.size() && std::strchr("0123456789$-+ #.*hlLqjzt", result[j])) ++j;
    if (j < result.size() && result[j] == 'x') result[j] = 'X';
    i = j;  // also steps over "%%"
  }
  return result;
}

TCheckResult TTapeChecker::Run(const TCheckParams& params) {
  if (FRunning) return crBusy;
  struct TRunningFlag {
    bool& Flag;
    explicit TRunningFlag(bool& flag) : Flag(flag) { Flag = true; }
    ~TRunningFlag() { Flag = false; }
  } running(FRunning);
  FErrorMessage.clear();
  return Execute(params);
}

TCheckResult TTapeChecker::Execute(const TCheckParams& params) {
  if (params.FileNames.empty()) {
    FSink.AppendLine(_("Nothing to do!"));
    return crComplete;
  }
  FSink.ClearLines();
  std::uint64_t total = 0;
  std::string_view rest = params.FileNames;
  for (;;) {
    const std::size_t semicolon = rest.find(';');
    const std::string pattern(rest.substr(0, semicolon));
    std::vector<std::string> files;
    CollectFiles(params.SourceDir, pattern, params.SubDirs, files);
    total += files.size();
    for (const std::string& file : files)
      if (!ProcessFile(file, params)) return crError;
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
    if (rest.empty()) break;
  }
  FSink.AppendLine(SafeFormat(_("%u Files checked"), total));
  FSink.SelectLastLine();
  return crComplete;
}

bool TTapeChecker::ProcessFile(const std::string& fileName, const TCheckParams& params) {
  TCheckContext ctx{FSink, OnCatchUp, params.ShowContents};
  ctx.Line(_("File: ") + fileName);
  TTapeReader reader;
  if (!reader.Open(fileName)) {
    FErrorMessage = SafeFormat(_("Cannot open file %s: %s"), fileName, std::strerror(errno));
    return false;
  }
  if (params.Mode == cmText) return RepairTextTape(fileName, reader, ctx, FErrorMessage);
  if (!CheckBinaryTape(reader, ctx)) {
    FErrorMessage = SafeFormat(_("Cannot read file %s: %s"), fileName, std::strerror(reader.Error()));
    return false;
  }
  return true;
}
