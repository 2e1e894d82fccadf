#include "LiveLamps.h"

void TLiveLamps::Add(TWord pc, TWord data) {
  for (int i = 0; i < 15; ++i) FAddress[std::size_t(i)] += (pc >> (14 - i)) & 1u;
  for (int i = 0; i < 16; ++i) FData[std::size_t(i)] += (data >> (15 - i)) & 1u;
  ++FSamples;
}

bool TLiveLamps::Take(std::array<float, 15>& address, std::array<float, 16>& data) {
  if (FSamples == 0) return false;
  const float n = float(FSamples);
  for (std::size_t i = 0; i < address.size(); ++i) address[i] = float(FAddress[i]) / n;
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = float(FData[i]) / n;
  FAddress.fill(0);
  FData.fill(0);
  FSamples = 0;
  return true;
}

TWord TLiveLamps::DataWord(const TNovaMachine& m) {
  const int count = m.TraceCount();
  if (count == 0) return m.ReadMemory(m.PC);
  const TTraceData& t = m.TraceItem(count - 1);
  const int group = nova::GroupOf(t.Data);
  if (!(t.Data & nova::ArithBit) && (group == 1 || group == 2)) return t.ACs[std::size_t(nova::OpOrAcOf(t.Data))];
  return t.Data;
}
