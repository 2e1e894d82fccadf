#include "SteadyTimer.h"

void TSteadyTimer::SetInterval(int ms) {
  ms = ms < 1 ? 1 : ms;
  if (ms == FInterval) return;
  FInterval = ms;
  if (FEnabled) FDue = TClock::now() + std::chrono::milliseconds(FInterval);
}

void TSteadyTimer::SetEnabled(bool on) {
  if (on && !FEnabled) FDue = TClock::now() + std::chrono::milliseconds(FInterval);
  FEnabled = on;
}

bool TSteadyTimer::Poll(TClock::time_point now) {
  if (!FEnabled || now < FDue) return false;
  const auto period = std::chrono::milliseconds(FInterval);
  FDue += period;
  if (FDue <= now) FDue = now + period;
  if (OnElapsed) OnElapsed();
  return true;
}
