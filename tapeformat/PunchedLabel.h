// Punched labels: text drawn in dots at the head of a binary tape, for people to read, one frame
// per dot column. The low-order bit of a frame is the top dot of its column, the high-order bit
// the bottom one (8 dots high). A character is 2 to 5 columns wide; characters are separated by
// a few NUL frames (6 or more stand for a space). NUL leader follows the label, then the blocks.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tape {

// At least this many NUL frames end a label; more label frames than LabelMaxFrames are none.
constexpr std::size_t LabelLeader = 64;
constexpr std::size_t LabelMaxFrames = 1024;
// A label, its leader and the first block after it lie within this many bytes from the label's
// first frame on.
constexpr std::size_t LabelWindow = 16384;

struct TPunchedLabel {
  std::size_t Begin = 0;  // offset of its first frame
  std::size_t End = 0;    // offset just after its last frame: the leader after it begins here
  std::vector<std::uint8_t> Frames;  // the frames from Begin to End
  std::string Text;                  // the characters read from the dots
};

// Looks for a label where the first block of the tape's bytes (from From on, after NUL leader)
// would be. It is recognised only when reading those frames as a block fails, they end within
// LabelMaxFrames in a NUL leader of at least LabelLeader frames, and a sound block follows that
// leader, and they are not a whole program-load tape; so a tape whose first block is sound never
// has a label.
bool FindPunchedLabel(const std::uint8_t* Data, std::size_t Size, TPunchedLabel& Label, std::size_t From = 0);

// The characters the frames draw; "?" for a shape that is not known, " " for a wide gap.
std::string LabelText(const std::vector<std::uint8_t>& Frames);
// The frames drawn as dots: 8 lines, top dot first, "#" for a hole and " " for none (trailing
// blanks left out).
std::vector<std::string> LabelDots(const std::vector<std::uint8_t>& Frames);
// The frames that draw Text (digits, upper-case letters, "-", ".", "/" and spaces; other
// characters are left out), characters two NUL frames apart.
std::vector<std::uint8_t> PunchLabel(std::string_view Text);

}  // namespace tape
