// What a tape holds before its blocks: a punched label (Data General's tapes), a program-load
// tape (the bootstrap's format, our sample tapes), or both spliced together.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CheckerTestUtils.h"

using Lines = std::vector<std::string>;

namespace {

Lines CheckTape(const std::string& bytes, bool contents = false) {
  TTempDir dir;
  WriteFile(dir / "t.ab", bytes);
  return CheckOne(dir.Path(), "t.ab", cmBinary, contents);
}

// A tape as Data General punched it: leader, label, leader, data and repeat blocks, the start
// block, the part number again as an even-parity trailer.
TTape LabelledTape() {
  return TTape()
      .LabelledHead("091-000064-03")
      .Data(0500, {063077, 0123})
      .Repeat(0177757, 01000, 052525)
      .Data(01020, {1, 2, 3})
      .Repeat(0177757, 01023, 0)
      .Start(0100000)
      .Nul(5)
      .EvenParity("*U*U*U*U091-000064-03\r\n")
      .Nul(50);
}

// A program-load tape: leader, marker, the count word and the words, high byte first.
std::string ProgramLoadTape(const std::vector<std::uint16_t>& words, std::size_t trailer = 16) {
  std::string t(16, '\0');
  t += '\377';
  const auto put = [&t](std::uint16_t w) {
    t += char(w >> 8);
    t += char(w & 0xFF);
  };
  put(std::uint16_t(0x10000 - (words.size() + 1)));
  for (std::uint16_t w : words) put(w);
  return t + std::string(trailer, '\0');
}

}  // namespace

TEST(TapeHead, LabelledTapeShowsItsLabelAndTrailerAndChecksTheBlocks) {
  EXPECT_EQ(CheckTape(LabelledTape().Str()),
            (Lines{"  Label: 091-000064-03", "  Trailer: *U*U*U*U091-000064-03", "  Checked: 5 blocks: OK"}));
  const Lines lines = CheckTape(LabelledTape().Str(), true);
  ASSERT_EQ(lines.size(), 1 + 8 + 2 + 16 + 3 + 16 + 1 + 1 + 1u);
  EXPECT_EQ(lines[0], "  Label: 091-000064-03");
  EXPECT_EQ(lines[1], "  ##    ##   ##         ##    ##    ##    ##    ###     #        ##   ####");
  EXPECT_EQ(lines[8], "  ##   ##    ###        ##    ##    ##    ##    ##      #        ##   ###");
  EXPECT_EQ(lines[9], " 000500 063077 HALT");
  EXPECT_EQ(lines[11], " 001000 052525");
  EXPECT_EQ(lines[26], " 001017 052525");
  EXPECT_EQ(lines[27], " 001020 000001 JMP     001");
  EXPECT_EQ(lines[45], " 001042 000000");
  EXPECT_EQ(lines[46], " Start at 100000");
  EXPECT_EQ(lines[47], "  Trailer: *U*U*U*U091-000064-03");
}

TEST(TapeHead, ErrorsAfterALabelNameTheirPositionInTheFile) {
  TTape tape = TTape().LabelledHead("1").Data(0500, {1});
  const std::size_t second = tape.Size();
  tape.Words({0177777, 0600, 0, 1}).Start(0500);
  char error[80];
  std::snprintf(error, sizeof error, "  Error in block at position: %zu ($%zX)", second, second);
  EXPECT_EQ(CheckTape(tape.Str()), (Lines{"  Label: 1", error, "  Checked: 3 blocks: Errors found"}));
}

// Only frames that cannot be the first block are a label: a tape whose first block is sound is
// checked block by block, whatever follows.
TEST(TapeHead, TapeWhoseFirstBlockIsSoundHasNoLabel) {
  const TTape tape = TTape().Nul(128).Data(0, {0377, 0201}).Nul(320).Label("091").Nul(320).Start(0500);
  for (const TTape& t : {tape, TTape().Label("0").Nul(10).Start(0500)}) {  // and frames before a short leader
    const Lines lines = CheckTape(t.Str());
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines.back().ends_with(" blocks: Errors found")) << lines.back();
    for (const std::string& line : lines) EXPECT_EQ(line.find("Label"), std::string::npos) << line;
  }
}

TEST(TapeHead, ProgramLoadTapesListTheirWordsFrom100) {
  const std::string tape = ProgramLoadTape({060110, 000401, 000101});
  EXPECT_EQ(CheckTape(tape), (Lines{"  Program-load tape: 4 words at 000100", "  Checked: program-load tape: OK"}));
  EXPECT_EQ(CheckTape(tape, true),
            (Lines{"  Program-load tape: 4 words at 000100", " 000100 177774 ANDCS#  3,3,SZR",
                   " 000101 060110 NIOS    TTI", " 000102 000401 JMP     .+1 (000103)", " 000103 000101 JMP     101",
                   "  Checked: program-load tape: OK"}));
  // Cut short: the count says more words than the tape holds.
  EXPECT_EQ(CheckTape(ProgramLoadTape({1, 2, 3}, 0).substr(0, 17 + 2 * 3)),
            (Lines{"  Program-load tape: 4 words at 000100",
                   "  Program-load tape cut short by the end of the file: 3 of 4 words",
                   "  Checked: program-load tape: Errors found"}));
}

TEST(TapeHead, OurSampleTapesAreProgramLoadTapes) {
  EXPECT_EQ(CheckOne(CORVANE_BINARY_DIR "/samples", "hello.bin"),
            (Lines{"  Program-load tape: 29 words at 000100", "  Checked: program-load tape: OK"}));
  const Lines lines = CheckOne(CORVANE_BINARY_DIR "/samples", "binloader.bin");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("  Program-load tape: ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "  Checked: program-load tape: OK");
}

// The binary loader's tape with a binary tape behind it, as the README splices them: both are
// reported, a label between them too.
TEST(TapeHead, BinaryTapeSplicedBehindAProgramLoadTape) {
  const std::string loader = ProgramLoadTape({060110, 000101});
  EXPECT_EQ(CheckTape(loader + TTape().Nul(4).Data(0500, {1}).Start(0500).Str()),
            (Lines{"  Program-load tape: 3 words at 000100", "  Checked: 2 blocks: OK"}));
  EXPECT_EQ(CheckTape(loader + LabelledTape().Str()),
            (Lines{"  Program-load tape: 3 words at 000100", "  Label: 091-000064-03",
                   "  Trailer: *U*U*U*U091-000064-03", "  Checked: 5 blocks: OK"}));
  // Behind the words neither leader nor a sound block: the frames are not a program-load tape.
  const Lines junk = CheckTape(loader + "\x05\x06\x07\x08\x09\x0a\x0b");
  EXPECT_TRUE(junk.back().ends_with(" blocks: Errors found")) << junk.back();
  EXPECT_EQ(junk.front().find("Program-load"), std::string::npos);
}
