// One check run of the tape file checker: finds the files, checks binary tapes or repairs text
// tapes, and reports line by line into a result list. Plain code: the checker window and
// tallis-cli both drive it.
//
//   TTapeChecker checker(sink);
//   checker.OnCatchUp = [] { QCoreApplication::processEvents(); };
//   if (checker.Run(params) == crError) ShowError(checker.ErrorMessage());
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ResultSink.h"

enum TCheckMode : int { cmBinary = 0, cmText = 1 };

struct TCheckParams {
  TCheckMode Mode = cmBinary;
  std::string SourceDir;
  std::string FileNames;  // names or wildcard patterns separated by ";"
  bool SubDirs = false;
  bool ShowContents = false;
};

enum TCheckResult {
  crComplete,  // every file was processed and "Files checked" appended (or "Nothing to do!")
  crError,     // the source folder is missing, or a file could not be opened, read or written:
               // the run ended there
  crBusy,      // a run was already going on; nothing was done
  crStopped,   // Stop() was called during a catch-up: the run ended at the next safe point, with
               // no file half repaired and no "Files checked" line
  crRefused    // a pattern was refused before anything was searched: it is absolute or leads out
               // of the source folder; ErrorMessage() says why
};

class TTapeChecker {
public:
  explicit TTapeChecker(TResultSink& sink) : FSink(sink) {}
  TTapeChecker(const TTapeChecker&) = delete;
  TTapeChecker& operator=(const TTapeChecker&) = delete;

  // Called where the run lets the window catch up with its events: after each listed data word,
  // after each repeat block, after each block error and after each file. A run started from
  // inside it is refused (crBusy).
  std::function<void()> OnCatchUp;

  TCheckResult Run(const TCheckParams& params);
  bool Running() const { return FRunning; }
  // Asks a running check to end (from the catch-up callback, a signal handler's event, ...): a
  // binary run ends after the block at hand, a text run after the file at hand is repaired or
  // left as it was. No effect when no run is going on.
  void Stop() {
    if (FRunning) FStopRequested = true;
  }
  // Why the last run ended with crError or crRefused.
  const std::string& ErrorMessage() const { return FErrorMessage; }

private:
  TCheckResult Execute(const TCheckParams& params);
  // The source folder exists and no pattern leads out of it; otherwise the message is set and
  // refusal tells which result the run ends with.
  bool CheckParams(const TCheckParams& params, const std::vector<std::string>& patterns, std::string& realRoot,
                   TCheckResult& refusal);
  // fileName as listed; target is the file that is read (and in text mode repaired).
  bool ProcessFile(const std::string& fileName, const std::string& target, const TCheckParams& params);

  TResultSink& FSink;
  bool FRunning = false;
  bool FStopRequested = false;
  std::string FErrorMessage;
};
