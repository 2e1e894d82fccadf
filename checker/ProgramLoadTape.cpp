#include "ProgramLoadTape.h"

#include "AbsoluteTape.h"
#include "PunchedLabel.h"

namespace {
constexpr std::uint16_t LongestCount = 0177600;   // -128
constexpr std::uint16_t ShortestCount = 0177776;  // -2
}  // namespace

bool FindProgramLoadTape(const std::uint8_t* Data, std::size_t Size, TProgramLoadTape& Tape) {
  const std::size_t marker = tape::SkipNul(Data, Size, 0);
  if (Size - marker < 3 || tape::SoundBlockAt(Data, Size, marker)) return false;
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
  const std::size_t next = tape::SkipNul(Data, Size, at);
  tape::TPunchedLabel label;
  return next == Size || tape::SoundBlockAt(Data, Size, next) || tape::FindPunchedLabel(Data, Size, label, at);
}
