// Live lamps of the front panel: while the machine runs, samples taken at slice ends of PC and
// of the word on the memory data lines (the word last read or written: the loaded or stored
// word of LDA and STA, otherwise the instruction fetched), and for each lamp the share of the
// samples in which its bit was on, taken by the view timer. Plain C++.
#pragma once
#include <array>
#include <cstdint>

#include "NovaMachine.h"

class TLiveLamps {
public:
  bool On = false;

  // One sample of the machine as it is between two slices.
  void Sample(const TNovaMachine& m) {
    if (On) Add(m.PC, DataWord(m));
  }
  void Add(TWord pc, TWord data);
  // The shares of the samples since the last call in which each bit was on, lamp 0 the most
  // significant bit; false (and nothing changed) when there were none.
  bool Take(std::array<float, 15>& address, std::array<float, 16>& data);
  int Samples() const { return FSamples; }

  // The word last read or written, from the newest trace record.
  static TWord DataWord(const TNovaMachine& m);

private:
  std::array<std::uint32_t, 15> FAddress{};
  std::array<std::uint32_t, 16> FData{};
  int FSamples = 0;
};
