#include "AbsoluteTape.h"

namespace tape {

bool SoundBlockAt(const std::uint8_t* Data, std::size_t Size, std::size_t At, std::size_t* End) {
  if (At > Size || Size - At < 2) return false;
  const std::uint16_t w = std::uint16_t(Data[At] | Data[At + 1] << 8);
  const std::size_t bytes = 2 * BlockWords(w);
  if (w == 0 || Size - At < bytes) return false;
  std::uint16_t sum = 0;
  for (std::size_t i = At; i < At + bytes; i += 2) sum = std::uint16_t(sum + (Data[i] | Data[i + 1] << 8));
  if (End) *End = At + bytes;
  return sum == 0;
}

std::size_t SkipNul(const std::uint8_t* Data, std::size_t Size, std::size_t At) {
  while (At < Size && Data[At] == 0) ++At;
  return At < Size ? At : Size;
}

}  // namespace tape
