// An interval timer on the steady clock, for programs without a toolkit event loop: the owner
// calls Poll between time slices.
#pragma once
#include <chrono>
#include <functional>

#include "Devices.h"

class TSteadyTimer : public TIntervalTimer {
public:
  using TClock = std::chrono::steady_clock;

  explicit TSteadyTimer(std::function<void()> AOnElapsed = {}) : OnElapsed(std::move(AOnElapsed)) {}

  void SetInterval(int ms) override;  // a new interval restarts a running timer
  void SetEnabled(bool on) override;
  bool Enabled() const override { return FEnabled; }
  int Interval() const { return FInterval; }

  // Calls OnElapsed once when an interval has passed; intervals missed while nobody polled are
  // dropped, as a toolkit timer does. Returns whether it fired.
  bool Poll() { return Poll(TClock::now()); }
  bool Poll(TClock::time_point now);

  std::function<void()> OnElapsed;

private:
  int FInterval = 100;
  bool FEnabled = false;
  TClock::time_point FDue{};
};
