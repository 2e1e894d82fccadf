// Helpers of the tests of Tallis's window: the start-up with the settings and documents folders
// in a temporary folder, and tape folders made for a test.
#pragma once
#include <QString>
#include <string>
#include <vector>

#include "LanguageSwitch.h"
#include "Startup.h"

#include "CheckerTestUtils.h"

// Start-up as the program's main does it, with every folder inside temp: settings in
// temp/config/Holmvale, documents in temp/docs, the catalogs of the build.
inline void StartTallis(const TTempDir& temp, const std::vector<std::string>& args = {}) {
  TStartupEnv env;
  env.Args = args;
  env.ExePath = CORVANE_BINARY_DIR "/tallis";
  env.WorkingFolder = temp.Path();
  env.LocaleFolder = CORVANE_BINARY_DIR "/locale";
  env.Folders.AppData = temp / "config";
  env.Folders.Documents = temp / "docs";
  env.Env = [](const std::string&) { return std::string(); };
  StartUp("Holmvale", "Tallis.cfg", {ToolkitDomain}, env);
  StartUpQt();
}

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// A tape of repeat blocks (count word 177001: 511 words each; its low byte is not NUL, which
// would read as leader): one catch-up per block, 510 lines per block with "Show contents".
inline std::string RepeatTape(int blocks) {
  TTape tape;
  tape.Nul(10);
  for (int i = 0; i < blocks; ++i) tape.Repeat(0177001, static_cast<std::uint16_t>(01000 * i), 0);
  tape.Start(0100);
  return tape.Str();
}
