// A check run driven from the window. The checker calls back at every point where the window
// may catch up (after each listed data word, repeat block, block error and file); the window
// catches up only when its interval (50 ms) has passed since the last time, never per line.
//
// Stop ends a binary run at the next catch-up. A text run is never cut off: the checker catches
// up between a file's repair and its commit, so a text run goes on to its end.
#pragma once
#include <QElapsedTimer>
#include <functional>
#include <string>

#include "TapeChecker.h"

class TResultListModel;

class TCheckRun {
public:
  static constexpr int DefaultInterval = 50;  // ms between two catch-ups

  explicit TCheckRun(TResultListModel& list);

  // Called when the window is due to catch up: the list's new lines are flushed before.
  std::function<void()> OnCatchUp;

  // One run into the list. A stopped run returns crComplete with Stopped() set.
  TCheckResult Run(const TCheckParams& params);
  bool Running() const { return FChecker.Running(); }
  const std::string& ErrorMessage() const { return FChecker.ErrorMessage(); }

  void Stop() { FStopRequested = true; }
  bool StopRequested() const { return FStopRequested; }
  bool Stopped() const { return FStopped; }

  // Catch-ups of the last run (the window's events were processed that often).
  int CatchUps() const { return FCatchUps; }
  void SetInterval(int ms) { FInterval = ms; }

private:
  void CatchUp();

  TResultListModel& FList;
  TTapeChecker FChecker;
  QElapsedTimer FClock;
  int FInterval = DefaultInterval;
  int FCatchUps = 0;
  bool FStopRequested = false;
  bool FStopped = false;
  bool FStoppable = false;
};
