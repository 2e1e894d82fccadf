// A check run driven from the window. The checker calls back at every point where the window
// may catch up (after each listed data word, repeat block, block error and file); the window
// catches up only when its interval (50 ms) has passed since the last time, never per line.
//
// Stop ends a run at the checker's next safe point: a binary run after the block at hand, a text
// run after the file at hand is repaired or left as it was.
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

  void Stop();
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
};
