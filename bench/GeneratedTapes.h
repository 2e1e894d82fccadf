// Generated absolute binary tapes for the checker's benchmarks: data blocks of 1 to 16 words
// with gaps of 0 to 7 NUL frames, a repeat block now and then, a start block at the end; a
// temporary folder of such tapes, removed with its content.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

inline void PutTapeWord(std::string& tape, std::uint16_t w) {
  tape += static_cast<char>(w & 0xFF);
  tape += static_cast<char>(w >> 8);
}

inline std::string MakeTape(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string tape(97, '\0');
  std::uint16_t address = 0;
  while (tape.size() < size) {
    tape.append(random() % 8, '\0');
    if (random() % 64 == 0) {
      const std::uint16_t w = 0177700, value = static_cast<std::uint16_t>(random());
      for (std::uint16_t word : {w, address, static_cast<std::uint16_t>(-(w + address + value)), value})
        PutTapeWord(tape, word);
      address = static_cast<std::uint16_t>(address + 077);
      continue;
    }
    const unsigned n = 1 + random() % 16;
    const std::uint16_t w = static_cast<std::uint16_t>(0x10000 - n);
    std::uint16_t sum = static_cast<std::uint16_t>(w + address);
    std::uint16_t words[16];
    for (unsigned i = 0; i < n; ++i) sum = static_cast<std::uint16_t>(sum + (words[i] = random()));
    for (std::uint16_t word : {w, address, static_cast<std::uint16_t>(-sum)}) PutTapeWord(tape, word);
    for (unsigned i = 0; i < n; ++i) PutTapeWord(tape, words[i]);
    address = static_cast<std::uint16_t>((address + n) & 077777);
  }
  for (std::uint16_t word : {std::uint16_t(1), std::uint16_t(0100000), std::uint16_t(077777)}) PutTapeWord(tape, word);
  return tape;
}

// count tapes tape0.ab, tape1.ab, ... of size bytes each in a fresh temporary folder.
class TTapeFolder {
public:
  TTapeFolder(int count, std::size_t size) {
    std::string pattern = (std::filesystem::temp_directory_path() / "checker-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data())) Path = pattern;
    for (int i = 0; i < count; ++i) {
      const std::string tape = MakeTape(size, 1000 + i);
      std::ofstream(Path + "/tape" + std::to_string(i) + ".ab", std::ios::binary) << tape;
      Bytes += tape.size();
    }
  }
  ~TTapeFolder() {
    std::error_code ec;
    std::filesystem::remove_all(Path, ec);
  }
  TTapeFolder(const TTapeFolder&) = delete;
  TTapeFolder& operator=(const TTapeFolder&) = delete;

  std::string Path;
  std::size_t Bytes = 0;
};
