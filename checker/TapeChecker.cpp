#include "TapeChecker.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "BinaryCheck.h"
#include "CheckContext.h"
#include "CollectFiles.h"
#include "PathUtils.h"
#include "SafeFormat.h"
#include "SourceFolder.h"
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
  FStopRequested = false;
  const TCheckResult result = Execute(params);
  FStopRequested = false;
  return result;
}

namespace {

// The patterns of the file-name text, split at ";"; a ";" at the very end adds none.
std::vector<std::string> SplitPatterns(std::string_view rest) {
  std::vector<std::string> patterns;
  for (;;) {
    const std::size_t semicolon = rest.find(';');
    patterns.emplace_back(rest.substr(0, semicolon));
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
    if (rest.empty()) break;
  }
  return patterns;
}

}  // namespace

bool TTapeChecker::CheckParams(const TCheckParams& params, const std::vector<std::string>& patterns,
                               std::string& realRoot, TCheckResult& refusal) {
  struct stat st;
  refusal = crError;
  if (params.SourceDir.empty()) {
    FErrorMessage = _("No source folder is given");
    return false;
  }
  // A folder that has been removed (the working folder, say) still answers stat, but has no path.
  realRoot = RealPath(params.SourceDir);
  if (::stat(params.SourceDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || realRoot.empty()) {
    FErrorMessage = SafeFormat(_("The source folder %s does not exist"), params.SourceDir);
    return false;
  }
  refusal = crRefused;
  for (const std::string& pattern : patterns) {
    FErrorMessage = PatternLeavesFolder(pattern);
    if (!FErrorMessage.empty()) return false;
    // A directory part that is a symbolic link out of the folder leaves it too.
    const std::size_t slash = pattern.rfind(PathDelim);
    if (slash == std::string::npos) continue;
    const std::string realDir = RealPath(JoinPath(params.SourceDir, pattern.substr(0, slash)));
    if (!realDir.empty() && !LiesInside(realRoot, realDir)) {
      FErrorMessage = SafeFormat(_("The pattern %s leads out of the source folder"), pattern);
      return false;
    }
  }
  return true;
}

TCheckResult TTapeChecker::Execute(const TCheckParams& params) {
  if (params.FileNames.empty()) {
    FSink.AppendLine(_("Nothing to do!"));
    return crComplete;
  }
  // Everything is checked before anything is searched.
  const std::vector<std::string> patterns = SplitPatterns(params.FileNames);
  std::string realRoot;
  TCheckResult refusal;
  if (!CheckParams(params, patterns, realRoot, refusal)) return refusal;

  FSink.ClearLines();
  const bool text = params.Mode == cmText;
  std::set<std::string> repaired;  // text mode takes each file once, by its real path
  std::uint64_t total = 0;
  // Every pattern is searched before any file is processed, so that the backups and temporary
  // files of this run are never taken for tapes by a later pattern.
  std::vector<std::vector<std::string>> collected;
  for (const std::string& pattern : patterns)
    CollectFiles(params.SourceDir, pattern, params.SubDirs, collected.emplace_back(), realRoot);
  for (const std::vector<std::string>& files : collected) {
    for (const std::string& file : files) {
      std::string target = file;
      // A run never leaves the source folder, not even to read.
      const std::string real = RealPath(file);
      if (text && !repaired.insert(real).second) continue;
      // (A file gone since it was found has no real path: its open tells why.)
      if ((text || !real.empty()) && !LiesInside(realRoot, real)) {
        ++total;
        FSink.AppendLine(_("File: ") + file);
        FSink.AppendLine("  " + (text ? _("Not repaired: a symbolic link leads out of the source folder")
                                      : _("Not checked: a symbolic link leads out of the source folder")));
        continue;
      }
      if (text) {
        // Our backups keep originals: a later run must not take them for tapes.
        if (const std::string original = OriginalOfBackup(file); !original.empty()) {
          ++total;
          FSink.AppendLine(_("File: ") + file);
          FSink.AppendLine("  " + SafeFormat(_("Not repaired: the backup of %s is left as it is"), original));
          continue;
        }
        // A link is not replaced by the repaired text: its target inside the folder is.
        struct stat st;
        if (::lstat(file.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) target = real;
      }
      ++total;
      if (!ProcessFile(file, target, params)) return crError;
      if (FStopRequested) return crStopped;
    }
  }
  FSink.AppendLine(SafeFormat(_("%u Files checked"), total));
  FSink.SelectLastLine();
  return crComplete;
}

bool TTapeChecker::ProcessFile(const std::string& fileName, const std::string& target, const TCheckParams& params) {
  TCheckContext ctx{FSink, OnCatchUp, params.ShowContents, &FStopRequested};
  ctx.Line(_("File: ") + fileName);
  TTapeReader reader;
  if (!reader.Open(target)) {
    FErrorMessage = SafeFormat(_("Cannot open file %s: %s"), fileName, std::strerror(errno));
    return false;
  }
  if (params.Mode == cmText) return RepairTextTape(target, reader, ctx, FErrorMessage);
  if (!CheckBinaryTape(reader, ctx)) {
    FErrorMessage = SafeFormat(_("Cannot read file %s: %s"), fileName, std::strerror(reader.Error()));
    return false;
  }
  return true;
}
