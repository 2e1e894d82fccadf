// Helpers of the frame tests: a temporary folder and environment variables restored afterwards.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "AtomicFile.h"
#include "PlatformFolders.h"

#include "TestTempDir.h"

// Sets (or, with nullopt, unsets) variables; the old values come back when it goes.
class TEnvGuard {
public:
  void Set(const std::string& name, std::optional<std::string> value) {
    if (!FSaved.count(name)) {
      const char* old = std::getenv(name.c_str());
      FSaved[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) ::setenv(name.c_str(), value->c_str(), 1);
    else ::unsetenv(name.c_str());
  }
  ~TEnvGuard() {
    for (auto& [name, value] : FSaved) {
      if (value) ::setenv(name.c_str(), value->c_str(), 1);
      else ::unsetenv(name.c_str());
    }
  }

private:
  std::map<std::string, std::optional<std::string>> FSaved;
};

// An environment made of a fixed table.
inline TEnvLookup MapEnv(std::map<std::string, std::string> vars) {
  return [vars = std::move(vars)](const std::string& name) {
    auto it = vars.find(name);
    return it == vars.end() ? std::string() : it->second;
  };
}

// A whole file ("" when it cannot be read), and a file written with exactly these bytes.
inline std::string ReadAll(const std::string& name) {
  std::string s;
  ReadWholeFile(name, s);
  return s;
}
inline void WriteRaw(const std::string& name, const std::string& content) {
  std::ofstream(name, std::ios::binary) << content;
}
