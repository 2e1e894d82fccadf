// The programs run as a user would start them, each inside its test's temporary folder: the
// working folder is <tmp>/work, the home and settings folders lie beside it, messages are English.
#pragma once
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestTempDir.h"

inline const std::string CorvaneCli = CORVANE_BINARY_DIR "/corvane-cli";
inline const std::string TallisCli = CORVANE_BINARY_DIR "/tallis-cli";
inline const std::string CliPrograms = CORVANE_BINARY_DIR "/tests/cli/programs";
inline const std::string Samples = CORVANE_BINARY_DIR "/samples";

class TUserFolder {
public:
  TUserFolder() { std::filesystem::create_directories(Work); }

  TChildOptions Options() const {
    TChildOptions o;
    o.WorkDir = Work;
    o.Env = {{"HOME", FDir / "home"}, {"XDG_CONFIG_HOME", FDir / "home/.config"}, {"LC_ALL", "C"}};
    o.Unset = {"LANGUAGE", "LANG", "LC_MESSAGES"};
    return o;
  }
  // A file in the working folder.
  std::string operator/(const std::string& name) const { return Work + "/" + name; }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(*this / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(*this / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // The names in the working folder, sorted (a temporary file left behind shows here).
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Work)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

private:
  TTempDir FDir;

public:
  const std::string Work = FDir / "work";
};

// 16-bit words as a dump file's bytes, low byte first.
inline std::string DumpBytes(const std::vector<unsigned>& words) {
  std::string bytes;
  for (unsigned w : words) {
    bytes += char(w & 0xff);
    bytes += char((w >> 8) & 0xff);
  }
  return bytes;
}
