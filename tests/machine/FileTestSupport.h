// Temporary folders and file helpers of the machine's file tests.
#pragma once
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestTempDir.h"

inline std::vector<unsigned char> ReadBytes(const std::string& name) {
  std::ifstream f(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& name, const std::vector<unsigned char>& bytes) {
  std::ofstream f(name, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Makes writes beyond Bytes fail (EFBIG) while it lives; works for any user, root included.
class TFileSizeLimit {
public:
  explicit TFileSizeLimit(rlim_t Bytes) {
    ::getrlimit(RLIMIT_FSIZE, &FOld);
    FOldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit lim = FOld;
    lim.rlim_cur = Bytes;
    ::setrlimit(RLIMIT_FSIZE, &lim);
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &FOld);
    ::signal(SIGXFSZ, FOldHandler);
  }

private:
  rlimit FOld{};
  sighandler_t FOldHandler;
};
