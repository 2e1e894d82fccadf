#include "Throttle.h"

#include <chrono>
#include <thread>

std::int64_t TSteadyThrottleClock::NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void TSteadyThrottleClock::SleepUntilNs(std::int64_t Ns) {
  std::this_thread::sleep_until(std::chrono::steady_clock::time_point(std::chrono::nanoseconds(Ns)));
}

void TThrottle::Start(std::uint64_t SimNs) {
  FWallAnchor = FClock->NowNs();
  FSimAnchor = SimNs;
}

std::int64_t TThrottle::Hold(std::uint64_t SimNs) {
  std::int64_t now = FClock->NowNs();
  const std::int64_t due = FWallAnchor + std::int64_t(SimNs - FSimAnchor);
  if (due > now) {
    ++FHolds;
    FClock->SleepUntilNs(due);
    now = FClock->NowNs();
  } else if (now - due > MaxLagNs) {
    ++FLagsDropped;
    FWallAnchor = now;
    FSimAnchor = SimNs;
  }
  return now;
}
