// The throttle of the timed speed modes: holds a run back at time-slice boundaries so that
// simulated time does not run ahead of the wall clock, and lets go of wall-clock time that the
// machine could not use (a pause, a modal dialog, a slow host) instead of racing to catch it up.
// The clock is a seam: tests give a fake one.
#pragma once
#include <cstdint>

// Speed settings: 0 maximum, 1 Nova 800, otherwise instructions per second.
namespace speed {
constexpr std::uint32_t Maximum = 0;
constexpr std::uint32_t Nova800 = 1;
constexpr std::uint32_t MinRate = 1'000;
constexpr std::uint32_t MaxRate = 100'000'000;
// A stored or given value made valid: 0 and 1 stay, rates are limited to MinRate .. MaxRate.
constexpr std::uint32_t Normalize(std::int64_t v) {
  if (v == Maximum || v == Nova800) return std::uint32_t(v);
  return v < MinRate ? MinRate : v > MaxRate ? MaxRate : std::uint32_t(v);
}
}  // namespace speed

// Monotonic time in nanoseconds, and a wait.
class TThrottleClock {
public:
  virtual ~TThrottleClock() = default;
  virtual std::int64_t NowNs() = 0;
  // Returns at Ns or a little later.
  virtual void SleepUntilNs(std::int64_t Ns) = 0;
};

// The steady clock of the host.
class TSteadyThrottleClock : public TThrottleClock {
public:
  std::int64_t NowNs() override;
  void SleepUntilNs(std::int64_t Ns) override;
};

class TThrottle {
public:
  // Simulated time run between two holds: the pump and the hold-back come about this often.
  static constexpr std::int64_t SliceNs = 1'000'000;
  // Wall-clock time the machine is behind by more than this is let go: it runs on at the set
  // speed from now instead of racing.
  static constexpr std::int64_t MaxLagNs = 20'000'000;

  explicit TThrottle(TThrottleClock* Clock = nullptr) { SetClock(Clock); }
  void SetClock(TThrottleClock* Clock) { FClock = Clock ? Clock : &FSteady; }
  TThrottleClock& Clock() const { return *FClock; }

  // A run starts at simulated time SimNs: it is due now.
  void Start(std::uint64_t SimNs);
  // A slice has ended at simulated time SimNs: waits until the wall clock has reached it; a
  // machine that is more than MaxLagNs behind starts again from now. Returns the wall clock.
  std::int64_t Hold(std::uint64_t SimNs);

  // Counters for the benchmark and the tests.
  std::uint64_t Holds() const { return FHolds; }
  std::uint64_t LagsDropped() const { return FLagsDropped; }

private:
  TSteadyThrottleClock FSteady;
  TThrottleClock* FClock = &FSteady;
  std::int64_t FWallAnchor = 0;
  std::uint64_t FSimAnchor = 0;
  std::uint64_t FHolds = 0;
  std::uint64_t FLagsDropped = 0;
};
