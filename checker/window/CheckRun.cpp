#include "CheckRun.h"

#include "ResultListModel.h"

namespace {

// Thrown from the catch-up of a binary run to end it. Everything a binary run holds (the open
// tape, the file list) is released on the way out; it writes nothing.
struct TRunStopped {};

}  // namespace

TCheckRun::TCheckRun(TResultListModel& list) : FList(list), FChecker(list) {
  FChecker.OnCatchUp = [this] { CatchUp(); };
}

TCheckResult TCheckRun::Run(const TCheckParams& params) {
  if (FChecker.Running()) return crBusy;
  FStopRequested = false;
  FStopped = false;
  FStoppable = params.Mode != cmText;
  FCatchUps = 0;
  FClock.start();
  TCheckResult result;
  try {
    result = FChecker.Run(params);
  } catch (const TRunStopped&) {
    FStopped = true;
    result = crComplete;
  }
  FList.FinishRun();
  return result;
}

void TCheckRun::CatchUp() {
  if (FStopRequested && FStoppable) throw TRunStopped();
  if (FClock.elapsed() < FInterval) return;
  FList.Flush();
  ++FCatchUps;
  if (OnCatchUp) OnCatchUp();
  FClock.restart();
  if (FStopRequested && FStoppable) throw TRunStopped();
}
