// What the window benchmarks share: the clock, the median, the loop program (LoopProgram.h)
// stored at its address with PC on it, the set-up (an offscreen application, the catalogs, a
// fresh temporary folder for the window's settings and documents, every modal question answered
// by the scripted dialogs) and a timed run of the window.
#pragma once
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "LoopProgram.h"
#include "MainForm.h"
#include "NovaMachine.h"
#include "RunControl.h"
#include "ScriptedDialogs.h"
#include "Translate.h"

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

// The Run button's run of the program at PC, cut after that many instructions: its seconds.
inline double TimedRun(TMainForm& form, std::uint64_t instructions) {
  TNovaMachine& m = form.Machine();
  m.InstructionLimit = instructions;
  const auto start = TClock::now();
  form.RunControl().Run();
  const double s = Seconds(start);
  m.InstructionLimit = 0;
  return s;
}

class TWindowBench {
public:
  // Folder: the temporary folder's name before its random part ("corvane-window-bench").
  TWindowBench(int& argc, char** argv, const char* folder) : FApp(Offscreen(argc), argv) {
    InitTranslation(CORVANE_BINARY_DIR "/locale");
    std::string pattern = std::string("/tmp/") + folder + "-XXXXXX";
    if (mkdtemp(pattern.data())) Dir = pattern;
  }
  ~TWindowBench() {
    if (!Dir.empty()) std::filesystem::remove_all(Dir);
  }
  TWindowBench(const TWindowBench&) = delete;
  TWindowBench& operator=(const TWindowBench&) = delete;

  bool Ready() const { return !Dir.empty(); }
  TMainFormPaths Paths() const { return TMainFormPaths{Dir + "/settings/", Dir + "/docs"}; }
  std::string SettingsFile() const { return Dir + "/settings/Corvane.ini"; }
  // A main window on the bench's folders, shown and its first showing done.
  std::unique_ptr<TMainForm> ShownWindow() const {
    auto form = std::make_unique<TMainForm>(Paths());
    form->show();
    QApplication::processEvents();
    return form;
  }

  std::string Dir;  // empty: the folder could not be made

private:
  static int& Offscreen(int& argc) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
  }
  QApplication FApp;
  TScriptedDialogs FDialogs;
};
