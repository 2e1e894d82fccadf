#include "ProgramLoadTape.h"

#include "AbsoluteTape.h"
#include "PunchedLabel.h"

namespace tape {

namespace {
constexpr std::uint16_t LongestCount = 0177600;   // -128
constexpr std::uint16_t ShortestCount = 0177776;  // -2
}  // namespace

bool WholeProgramLoadTapeAt(const std::uint8_t* Data, std::size_t Size, std::size_t At, std::size_t* End) {
  if (At > Size || Size - At < 3) return false;
  const std::uint16_t count = std::uint16_t(Data[At + 1] << 8 | Data[At + 2]);
  if (count < LongestCount || count > ShortestCount) return false;
  const std::size_t end = At + 1 + 2 * (0x10000u - count);
  if (end > Size || (Data[end - 2] == 0 && Data[end - 1] == 0)) return false;
  if (End) *End = end;
  return true;
}

bool FindProgramLoadTape(const std::uint8_t* Data, std::size_t Size, TProgramLoadTape& Tape) {
  const std::size_t marker = SkipNul(Data, Size, 0);
  if (Size - marker < 3 || SoundBlockAt(Data, Size, marker)) return false;
  const auto word = [Data](std::size_t at) { return std::uint16_t(Data[at] << 8 | Data[at + 1]); };
  const std::uint16_t count = word(marker + 1);
  if (count < LongestCount || count > ShortestCount) return false;
  Tape.Count = 0x10000u - count;
  Tape.Words.clear();
  std::size_t at = marker + 1;
  for (; Tape.Words.size() < Tape.Count && Size - at >= 2; at += 2) Tape.Words.push_back(word(at));
  Tape.End = at;
  if (!Tape.Whole()) return true;
  // The bootstrap jumps to the last word, the program's own jump to its start: a count that
  // ends in leader is something else (a punched label read as words, say).
  if (Tape.Words.back() == 0) return false;
  const std::size_t next = SkipNul(Data, Size, at);
  TPunchedLabel label;
  return next == Size || SoundBlockAt(Data, Size, next) || FindPunchedLabel(Data, Size, label, at);
}

}  // namespace tape
