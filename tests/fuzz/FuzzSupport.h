// Shared by the fuzz targets: a failed property aborts with its text (libFuzzer then keeps the
// input as a crash), a reader that takes fields from the front of the input, and the target's
// private temporary folder.
#pragma once
#include <stdlib.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

// For the target's own checking loops (over all of memory, say): they are not the code under
// test, and their comparisons would only slow the fuzzer and feed it noise.
#if defined(__clang__)
#define FUZZ_UNTRACED __attribute__((no_sanitize("coverage")))
#else
#define FUZZ_UNTRACED
#endif

[[noreturn]] inline void FuzzFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, what);
  std::abort();
}

#define FUZZ_CHECK(cond) ((cond) ? void(0) : FuzzFailed(#cond, __FILE__, __LINE__))

// Fields from the front of the input; past its end every field reads as 0.
class TFuzzInput {
public:
  TFuzzInput(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

  std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
  // Low byte first, as in the machine's files.
  std::uint16_t Word() {
    const std::uint16_t low = Byte();
    return std::uint16_t(low | (Byte() << 8));
  }
  // The next count bytes (fewer at the end).
  std::string_view Take(std::size_t count) {
    if (count > FSize - FPos) count = FSize - FPos;
    const std::string_view part(reinterpret_cast<const char*>(FData + FPos), count);
    FPos += count;
    return part;
  }
  std::string_view Rest() { return Take(FSize - FPos); }
  std::size_t Left() const { return FSize - FPos; }

private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

// The words of a command line, separated by NUL bytes in the input.
inline std::vector<std::string> SplitAtNul(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const std::size_t nul = rest.find('\0');
    words.emplace_back(rest.substr(0, nul));
    rest.remove_prefix(nul == std::string_view::npos ? rest.size() : nul + 1);
  }
  return words;
}

// The text with its line breaks as blanks, as settings files store values.
inline std::string OneLine(std::string_view s) {
  std::string result(s);
  for (char& c : result)
    if (c == '\r' || c == '\n') c = ' ';
  return result;
}

// The target's own temporary folder, made once per process and removed when it ends, on a
// memory file system where there is one: in the temporary folder (TMPDIR) when that is in
// memory (scripts/run-fuzz sees to it), else in /dev/shm, else in the temporary folder as it is.
class TFuzzFolder {
public:
  TFuzzFolder() {
    namespace fs = std::filesystem;
    const fs::path temp = fs::temp_directory_path();
    const fs::path parent = InMemory(temp) || !InMemory("/dev/shm") ? temp : fs::path("/dev/shm");
    std::string pattern = (parent / "corvane-fuzz-XXXXXX").string();
    FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
    FPath = pattern;
  }
  ~TFuzzFolder() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
  }
  TFuzzFolder(const TFuzzFolder&) = delete;
  TFuzzFolder& operator=(const TFuzzFolder&) = delete;

  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

private:
  // A memory file system (tmpfs) that this process may write into.
  static bool InMemory(const std::filesystem::path& folder) {
    struct statfs fs {};
    constexpr long Tmpfs = 0x01021994;
    return ::statfs(folder.c_str(), &fs) == 0 && fs.f_type == Tmpfs && ::access(folder.c_str(), W_OK) == 0;
  }

  std::string FPath;
};

inline TFuzzFolder& FuzzFolder() {
  static TFuzzFolder folder;
  return folder;
}

// Writes the bytes as the whole file, in place (the same file, truncated; no sync).
inline void WriteFuzzFile(const std::string& name, std::string_view bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  FUZZ_CHECK(bool(out));
}
