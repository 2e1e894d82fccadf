#include "PunchedLabel.h"

#include <array>

#include "AbsoluteTape.h"
#include "ProgramLoadTape.h"

namespace tape {

namespace {

struct TGlyph {
  char Char;
  std::array<std::uint8_t, 5> Columns;  // unused columns 0
};

// The shapes of 0, 1, 3, 4, 6, 9 and - as Data General punched them; the others drawn in the
// same style.
constexpr TGlyph Glyphs[] = {
    {'0', {0176, 0201, 0201, 0176}},       {'1', {0201, 0377, 0200}},
    {'2', {0302, 0241, 0221, 0216}},       {'3', {0211, 0215, 0213, 0161}},
    {'4', {0010, 0014, 0012, 0377}},       {'5', {0217, 0211, 0211, 0161}},
    {'6', {0176, 0211, 0211, 0161}},       {'7', {0001, 0341, 0031, 0007}},
    {'8', {0166, 0211, 0211, 0166}},       {'9', {0206, 0211, 0111, 0076}},
    {'-', {0010, 0010, 0010}},             {'.', {0300, 0300}},
    {'/', {0300, 0060, 0014, 0003}},       {'A', {0376, 0021, 0021, 0376}},
    {'B', {0377, 0211, 0211, 0166}},       {'C', {0176, 0201, 0201, 0102}},
    {'D', {0377, 0201, 0201, 0176}},       {'E', {0377, 0211, 0211, 0201}},
    {'F', {0377, 0011, 0011, 0001}},       {'G', {0176, 0201, 0221, 0162}},
    {'H', {0377, 0010, 0010, 0377}},       {'I', {0201, 0377, 0201}},
    {'J', {0140, 0200, 0200, 0177}},       {'K', {0377, 0010, 0024, 0343}},
    {'L', {0377, 0200, 0200, 0200}},       {'M', {0377, 0002, 0004, 0002, 0377}},
    {'N', {0377, 0006, 0030, 0377}},       {'O', {0176, 0201, 0201, 0201, 0176}},
    {'P', {0377, 0011, 0011, 0006}},       {'Q', {0176, 0201, 0241, 0376}},
    {'R', {0377, 0011, 0031, 0346}},       {'S', {0206, 0211, 0211, 0161}},
    {'T', {0001, 0377, 0001}},             {'U', {0177, 0200, 0200, 0177}},
    {'V', {0037, 0140, 0200, 0140, 0037}}, {'W', {0377, 0100, 0040, 0100, 0377}},
    {'X', {0343, 0034, 0034, 0343}},       {'Y', {0007, 0010, 0360, 0010, 0007}},
    {'Z', {0341, 0221, 0211, 0205, 0203}},
};

constexpr std::size_t CharacterGap = 2;  // NUL frames between two characters
constexpr std::size_t SpaceGap = 6;      // a gap this wide or wider holds a space

std::size_t Width(const TGlyph& g) {
  std::size_t n = g.Columns.size();
  while (n > 0 && g.Columns[n - 1] == 0) --n;
  return n;
}

char Recognise(const std::uint8_t* columns, std::size_t count) {
  for (const TGlyph& g : Glyphs) {
    if (Width(g) != count) continue;
    bool same = true;
    for (std::size_t i = 0; i < count && same; ++i) same = g.Columns[i] == columns[i];
    if (same) return g.Char;
  }
  return '?';
}

}  // namespace

bool FindPunchedLabel(const std::uint8_t* Data, std::size_t Size, TPunchedLabel& Label, std::size_t From) {
  const std::size_t begin = SkipNul(Data, Size, From);
  if (begin == Size || SoundBlockAt(Data, Size, begin)) return false;
  // Nor is a program-load tape, whose leader may be long too (a binary loader before its program).
  std::size_t programEnd = 0;
  const bool programLoad = WholeProgramLoadTapeAt(Data, Size, begin, &programEnd);
  if (Size - begin > LabelWindow) Size = begin + LabelWindow;
  std::size_t end = begin;  // just after the last frame seen
  for (std::size_t at = begin; at < Size && at - begin <= LabelMaxFrames;) {
    if (Data[at] != 0) {
      end = ++at;
      continue;
    }
    const std::size_t next = SkipNul(Data, Size, at);
    if (next - at >= LabelLeader) {
      if (end - begin > LabelMaxFrames || next == Size || !SoundBlockAt(Data, Size, next)) return false;
      if (programLoad && programEnd >= end) return false;
      Label.Begin = begin;
      Label.End = end;
      Label.Frames.assign(Data + begin, Data + end);
      Label.Text = LabelText(Label.Frames);
      return true;
    }
    at = next;
  }
  return false;
}

std::string LabelText(const std::vector<std::uint8_t>& Frames) {
  std::string text;
  std::size_t at = 0;
  while (at < Frames.size()) {
    std::size_t gap = at;
    while (gap < Frames.size() && Frames[gap] == 0) ++gap;
    if (gap - at >= SpaceGap && !text.empty() && gap < Frames.size()) text += ' ';
    at = gap;
    std::size_t end = at;
    while (end < Frames.size() && Frames[end] != 0) ++end;
    if (end > at) text += Recognise(Frames.data() + at, end - at);
    at = end;
  }
  return text;
}

std::vector<std::string> LabelDots(const std::vector<std::uint8_t>& Frames) {
  std::vector<std::string> lines(8);
  for (int row = 0; row < 8; ++row) {
    std::string& line = lines[std::size_t(row)];
    for (std::uint8_t f : Frames) line += (f >> row) & 1 ? '#' : ' ';
    line.erase(line.find_last_not_of(' ') + 1);
  }
  return lines;
}

std::vector<std::uint8_t> PunchLabel(std::string_view Text) {
  std::vector<std::uint8_t> frames;
  for (char c : Text) {
    if (c == ' ') {
      if (!frames.empty()) frames.insert(frames.end(), SpaceGap, 0);
      continue;
    }
    for (const TGlyph& g : Glyphs) {
      if (g.Char != c) continue;
      if (!frames.empty() && frames.back() != 0) frames.insert(frames.end(), CharacterGap, 0);
      frames.insert(frames.end(), g.Columns.begin(), g.Columns.begin() + std::ptrdiff_t(Width(g)));
      break;
    }
  }
  while (!frames.empty() && frames.back() == 0) frames.pop_back();
  return frames;
}

}  // namespace tape
