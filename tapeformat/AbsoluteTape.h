// Blocks of an absolute binary tape, read from bytes in memory. A tape is a sequence of 16-bit
// words, low byte first; NUL frames lead and separate the blocks. A block's first word w decides
// its kind:
//   000001           start block: w, start address, checksum
//   177760..177777   data block of n = 200000 - w words: w, load address, checksum, n words
//   anything else    repeat block: w, address, checksum, one value for n - 1 addresses
// Every block's words, checksum included, sum to 0 modulo 2^16.
#pragma once
#include <cstddef>
#include <cstdint>

namespace tape {

constexpr std::uint16_t StartBlockWord = 1;
constexpr std::uint16_t LongestDataBlockWord = 0177760;  // 16 data words

// The number of words of the block whose first word is w (3 for a start block).
constexpr std::size_t BlockWords(std::uint16_t w) {
  if (w == StartBlockWord) return 3;
  if (w >= LongestDataBlockWord) return 3 + (0x10000u - w);
  return 4;
}

// Whether the bytes from At on hold a whole block (its first byte at At, no NUL frames skipped)
// whose words sum to 0. End: the offset just after it.
bool SoundBlockAt(const std::uint8_t* Data, std::size_t Size, std::size_t At, std::size_t* End = nullptr);

// The offset of the first frame at or after At that is not NUL; Size when there is none.
std::size_t SkipNul(const std::uint8_t* Data, std::size_t Size, std::size_t At);

}  // namespace tape
