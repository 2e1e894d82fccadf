// Punched labels: the shapes read back, the dots, and when frames at the head of a tape are a
// label and when they are not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AbsoluteTape.h"
#include "PunchedLabel.h"
#include "TestTape.h"

namespace {

using Frames = std::vector<std::uint8_t>;

// The part number as it is punched on a Data General tape, column by column.
Frames DgPartNumber() {
  const Frames zero = {0176, 0201, 0201, 0176}, one = {0201, 0377, 0200}, three = {0211, 0215, 0213, 0161},
               four = {0010, 0014, 0012, 0377}, six = {0176, 0211, 0211, 0161}, nine = {0206, 0211, 0111, 0076},
               dash = {0010, 0010, 0010};
  Frames f;
  int n = 0;
  for (const Frames* c : {&zero, &nine, &one, &dash, &zero, &zero, &zero, &zero, &six, &four, &dash, &zero, &three}) {
    if (n++ > 0) f.insert(f.end(), 2 + n % 2, 0);  // gaps of 2 and 3 NUL frames
    f.insert(f.end(), c->begin(), c->end());
  }
  return f;
}

std::string Str(const Frames& f) { return std::string(f.begin(), f.end()); }

tape::TPunchedLabel Find(const std::string& bytes, bool* found = nullptr) {
  tape::TPunchedLabel label;
  const bool ok = tape::FindPunchedLabel(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), label);
  if (found) *found = ok;
  return label;
}

}  // namespace

TEST(PunchedLabel, ReadsTheShapesOfARealTape) {
  EXPECT_EQ(tape::LabelText(DgPartNumber()), "091-000064-03");
}

TEST(PunchedLabel, EveryShapeReadsBackAndUnknownShapesAreQuestionMarks) {
  const std::string all = "0123456789-./ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  EXPECT_EQ(tape::LabelText(tape::PunchLabel(all)), all);
  EXPECT_EQ(tape::LabelText(tape::PunchLabel("BASIC 2")), "BASIC 2");
  EXPECT_EQ(tape::LabelText({0377, 0, 0, 0125, 0252, 0, 0, 0201, 0377, 0200}), "??1");
}

TEST(PunchedLabel, DotsAreEightLinesTopDotFirst) {
  const std::vector<std::string> dots = tape::LabelDots({0176, 0201, 0201, 0176, 0, 0, 0201, 0377, 0200});
  EXPECT_EQ(dots, (std::vector<std::string>{" ##   ##", "#  #   #", "#  #   #", "#  #   #", "#  #   #", "#  #   #",
                                            "#  #   #", " ##   ###"}));
}

// A label is the frames before a long NUL leader where the first block would be, read as blocks
// they fail, and a sound block follows the leader.
TEST(PunchedLabel, FoundOnlyWhereItCannotBeABlock) {
  const std::string blocks = TTape().Data(0500, {1, 2, 3}).Start(0500).Str();
  const std::string label = Str(DgPartNumber());
  bool found = false;
  const tape::TPunchedLabel l = Find(std::string(128, '\0') + label + std::string(320, '\0') + blocks, &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(l.Begin, 128u);
  EXPECT_EQ(l.End, 128 + label.size());
  EXPECT_EQ(l.Text, "091-000064-03");

  struct Case {
    const char* name;
    std::string tape;
  };
  const Case none[] = {
      {"a sound first block, then a long leader", TTape().Data(0, {0377, 0252}).Nul(300).Bytes(blocks).Str()},
      {"a sound first block, junk, a long leader",
       TTape().Data(0, {1}).Bytes(label).Nul(300).Bytes(blocks).Str()},
      {"a short leader after the frames", label + std::string(tape::LabelLeader - 1, '\0') + blocks},
      {"no block after the leader", label + std::string(300, '\0')},
      {"a broken block after the leader", label + std::string(300, '\0') + TTape().Words({0177777, 0, 0, 5}).Str()},
      {"too many frames", Str(tape::PunchLabel(std::string(200, '8'))) + std::string(300, '\0') + blocks},
      {"nothing but leader", std::string(500, '\0')},
      // A binary loader's program-load tape with a binary tape spliced behind it, long leaders
      // between them: marker, count -3, two words (the last not 0).
      {"a program-load tape", std::string(16, '\0') + std::string("\377\377\375\060\110\000\101", 7) + std::string(300, '\0') + blocks},
  };
  for (const Case& c : none) {
    Find(c.tape, &found);
    EXPECT_FALSE(found) << c.name;
  }
}

TEST(AbsoluteTape, SoundBlocksAreWholeAndSumToZero) {
  const std::string tape = TTape().Data(01000, {1, 2}).Repeat(0177757, 0, 7).Start(0100).Str();
  const auto* d = reinterpret_cast<const std::uint8_t*>(tape.data());
  std::size_t end = 0;
  ASSERT_TRUE(tape::SoundBlockAt(d, tape.size(), 0, &end));
  EXPECT_EQ(end, 10u);
  ASSERT_TRUE(tape::SoundBlockAt(d, tape.size(), 10, &end));
  EXPECT_EQ(end, 18u);
  EXPECT_TRUE(tape::SoundBlockAt(d, tape.size(), 18, &end));
  EXPECT_FALSE(tape::SoundBlockAt(d, tape.size() - 1, 18));  // cut short
  EXPECT_FALSE(tape::SoundBlockAt(d, tape.size(), 2));       // not at a block's start
}
