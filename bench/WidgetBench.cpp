// Widget updates the simulator makes on every register refresh: the front panel's lamps and
// switches, and the number edit fields. Offscreen; measures the setters (painting is coalesced
// by the toolkit and happens later).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <vector>

#include "Indicators.h"
#include "NumberEd.h"
#include "Switches.h"

namespace {

// One front panel refresh: 15 address lamps, 16 data lamps, the carry lamp, 16 data switches.
void BM_FrontPanelLamps(benchmark::State& state) {
  std::vector<std::unique_ptr<TLamp3D>> lamps;
  std::vector<std::unique_ptr<TSwitch3D>> switches;
  for (int i = 0; i < 32; ++i) {
    lamps.push_back(std::make_unique<TLamp3D>());
    lamps.back()->SetGlyphSize(gs16);
  }
  for (int i = 0; i < 16; ++i) switches.push_back(std::make_unique<TSwitch3D>());
  unsigned word = 0;
  for (auto _ : state) {
    word = word * 1103515245u + 12345u;
    for (int i = 0; i < 32; ++i) lamps[i]->SetLightOn((word >> (i % 16)) & 1);
    for (int i = 0; i < 16; ++i) switches[i]->SetState((word >> i) & 1 ? ssOn : ssOff);
  }
}
BENCHMARK(BM_FrontPanelLamps);

void BM_NumberEditSetValue(benchmark::State& state) {
  TNumberEdit edit;
  edit.SetBits(16);
  edit.SetPrefix(false);
  edit.SetNumMode(TNumMode(state.range(0)));
  std::int64_t v = 0;
  for (auto _ : state) edit.SetValue(v++ & 0xFFFF);
}
BENCHMARK(BM_NumberEditSetValue)->Arg(nmOctal)->Arg(nmBin);

void BM_NumberEditRead(benchmark::State& state) {
  TNumberEdit edit;
  edit.SetBits(16);
  edit.SetPrefix(false);
  edit.SetNumMode(nmOctal);
  edit.SetBytes(true);
  edit.SetValue(0123456);
  for (auto _ : state) benchmark::DoNotOptimize(edit.Value());
}
BENCHMARK(BM_NumberEditRead);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
