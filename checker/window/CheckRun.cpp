#include "CheckRun.h"

#include "ResultListModel.h"

TCheckRun::TCheckRun(TResultListModel& list) : FList(list), FChecker(list) {
  FChecker.OnCatchUp = [this] { CatchUp(); };
}

TCheckResult TCheckRun::Run(const TCheckParams& params) {
  if (FChecker.Running()) return crBusy;
  FStopRequested = false;
  FStopped = false;
  FCatchUps = 0;
  FClock.start();
  TCheckResult result = FChecker.Run(params);
  if (result == crStopped) {
    FStopped = true;
    result = crComplete;
  }
  FList.FinishRun();
  return result;
}

void TCheckRun::Stop() {
  FStopRequested = true;
  FChecker.Stop();
}

void TCheckRun::CatchUp() {
  if (FStopRequested || FClock.elapsed() < FInterval) return;
  FList.Flush();
  ++FCatchUps;
  if (OnCatchUp) OnCatchUp();
  FClock.restart();
}
