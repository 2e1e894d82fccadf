// Program-load tapes: the format the bootstrap loader of the front panel's program load reads.
// NUL leader, one marker frame (not NUL), then the words, HIGH byte first: the count word -N
// (N counting every word, the count word too) and N - 1 more; they are stored from 100 octal up,
// and the bootstrap then jumps to the last one. So N is 2 to 128 (the last word at 377 at most).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tape {

constexpr std::uint16_t ProgramLoadFirst = 0100;

struct TProgramLoadTape {
  std::size_t Count = 0;              // N, as the count word says
  std::vector<std::uint16_t> Words;   // the words on the tape, the count word first (all N when whole)
  std::size_t End = 0;                // offset just after the last word
  bool Whole() const { return Words.size() == Count; }
};

// Whether a whole program-load tape begins with the marker frame at At: the count word is -2 to
// -128, all its words follow and the last is not 0. End: the offset just after the last word.
bool WholeProgramLoadTapeAt(const std::uint8_t* Data, std::size_t Size, std::size_t At, std::size_t* End = nullptr);

// Whether the bytes (the whole head of a file) hold a program-load tape: the first frames do not
// read as a sound absolute binary block, the count word is -2 to -128, the last word is not 0,
// and after it the tape holds only NUL frames or goes on with a sound block or a punched label
// (a binary tape spliced behind it). A tape that ends before all its words is one too, cut short.
bool FindProgramLoadTape(const std::uint8_t* Data, std::size_t Size, TProgramLoadTape& Tape);

}  // namespace tape
