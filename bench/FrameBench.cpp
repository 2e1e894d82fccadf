// Costs of the frame's per-message work: formatting, catalog lookup, settings files.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "IniFile.h"
#include "SafeFormat.h"
#include "Translate.h"

static void BM_SafeFormatMessage(benchmark::State& state) {
  unsigned pos = 1234;
  for (auto _ : state) benchmark::DoNotOptimize(SafeFormat("Error in block at position: %u ($%x)", pos, pos));
}
BENCHMARK(BM_SafeFormatMessage);

static void BM_TranslateGerman(benchmark::State& state) {
  InitTranslation(CORVANE_BINARY_DIR "/locale");
  ActivateLanguage("de");
  for (auto _ : state) benchmark::DoNotOptimize(TranslateText("Format error: "));
  ActivateLanguage("en");
}
BENCHMARK(BM_TranslateGerman);

// A settings file of 200 keys: parse, change one value, write through a temporary file.
static void BM_IniReadWrite(benchmark::State& state) {
  const std::string name = (std::filesystem::temp_directory_path() / "frame-bench.ini").string();
  TIniFile seed(name);
  for (int i = 0; i < 200; ++i) seed.WriteInteger("Settings", "Key" + std::to_string(i), i);
  seed.UpdateFile();
  for (auto _ : state) {
    TIniFile ini(name);
    ini.WriteInteger("Settings", "Key100", 7);
    benchmark::DoNotOptimize(ini.UpdateFile());
  }
  std::filesystem::remove(name);
}
BENCHMARK(BM_IniReadWrite)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
