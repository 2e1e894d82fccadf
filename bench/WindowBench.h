// What the window benchmarks share: the clock, the median, and the loop program (LoopProgram.h)
// stored at its address with PC on it.
#pragma once
#include <algorithm>
#include <chrono>
#include <iterator>
#include <vector>

#include "LoopProgram.h"
#include "NovaMachine.h"

using TClock = std::chrono::steady_clock;

inline double Seconds(TClock::time_point from) { return std::chrono::duration<double>(TClock::now() - from).count(); }

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline void StoreLoop(TNovaMachine& m) {
  for (std::size_t i = 0; i < std::size(LoopProgram); ++i) m.Memory[LoopProgramAddress + i].Data = LoopProgram[i];
  m.Memory[0120].Data = 0;
  m.Memory[0121].Data = 0;
  m.PC = LoopProgramAddress;
}
