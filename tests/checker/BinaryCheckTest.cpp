// Binary mode: blocks, checksums, contents lines, leaders and gaps, trailers, cut-off tapes and
// the real tapes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BinaryCheck.h"
#include "CheckerTestUtils.h"

using Lines = std::vector<std::string>;

namespace {

const char* const OkOne = "  Checked: 1 blocks: OK";

Lines CheckTape(const TTape& tape, bool contents = false) {
  TTempDir dir;
  WriteFile(dir / "t.bin", tape.Str());
  return CheckOne(dir.Path(), "t.bin", cmBinary, contents);
}

// The data block of two words at 001000 (NIOS TTI, JMP .+1).
TTape TwoWordBlock() { return TTape().Data(01000, {060110, 000401}); }

}  // namespace

TEST(BinaryCheck, EmptyAndNulOnlyFilesHaveNoBlocks) {
  for (std::size_t nuls : {0, 1, 6, 97})
    EXPECT_EQ(CheckTape(TTape().Nul(nuls)), Lines{"  Checked: 0 blocks: OK"}) << nuls << " NUL bytes";
}

TEST(BinaryCheck, StartBlockIsOneBlockAndListsItsAddress) {
  const TTape tape = TTape().Words({000001, 001000, 0176777});
  EXPECT_EQ(CheckTape(tape), Lines{OkOne});
  EXPECT_EQ(CheckTape(tape, true), (Lines{" Start at 001000", OkOne}));
}

TEST(BinaryCheck, DataBlockListsAddressWordAndDisassembly) {
  EXPECT_EQ(CheckTape(TwoWordBlock()), Lines{OkOne});
  EXPECT_EQ(CheckTape(TwoWordBlock(), true),
            (Lines{" 001000 060110 NIOS    TTI", " 001001 000401 JMP     .+1 (001002)", OkOne}));
}

TEST(BinaryCheck, ChangingAnyWordAfterTheCountGivesOneErrorAtTheBlockStart) {
  for (std::size_t word = 1; word < 5; ++word) {
    std::string bytes = TwoWordBlock().Str();
    bytes[2 * word] = static_cast<char>(bytes[2 * word] ^ 1);
    EXPECT_EQ(CheckTape(TTape().Bytes(bytes)),
              (Lines{"  Error in block at position: 0 ($0)", "  Checked: 1 blocks: Errors found"}))
        << "word " << word;
  }
}

TEST(BinaryCheck, ErrorPositionIsTheEndOfThePreviousBlockInDecimalAndUpperHex) {
  // The first block ends at byte 10; the gaps are odd and even numbers of NUL frames.
  for (std::size_t gap : {6, 7}) {
    TTape tape = TTape().Data(01000, {1, 2}).Nul(gap);
    std::string bad = TTape().Data(02000, {3, 4}).Str();
    bad[6] = 9;  // checksum
    tape.Bytes(bad);
    EXPECT_EQ(CheckTape(tape), (Lines{"  Error in block at position: 10 ($A)", "  Checked: 2 blocks: Errors found"}))
        << gap;
  }
  const TTape big = TTape().Nul(500).Data(01000, {1}).Nul(3).Words({0177777, 0, 5, 1});
  EXPECT_EQ(CheckTape(big).front(), "  Error in block at position: 508 ($1FC)");
}

TEST(BinaryCheck, OddLeadersAndGapsReadAsNulFrames) {
  // A word-wise reader would lose step after an odd number of NUL frames.
  const TTape tape = TTape().Nul(97).Data(0, {1, 2, 3}).Nul(1).Data(0100, {4}).Nul(139).Start(0100000);
  EXPECT_EQ(CheckTape(tape), Lines{"  Checked: 3 blocks: OK"});
}

TEST(BinaryCheck, WordCount177775IsADataBlockOfThreeWords) {
  const TTape tape = TTape().Data(0400, {063077, 000401, 0});
  ASSERT_EQ(tape.Str().substr(0, 2), std::string("\xFD\xFF", 2));
  const Lines lines = CheckTape(tape, true);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], " 000400 063077 HALT");
  EXPECT_EQ(lines[3], OkOne);
}

TEST(BinaryCheck, RepeatBlockListsItsValueAtNMinusOneAddresses) {
  EXPECT_EQ(CheckTape(TTape().Repeat(0177754, 02000, 0123)),  // n = 24
            Lines{OkOne});
  const Lines lines = CheckTape(TTape().Repeat(0177700, 077776, 7), true);  // n = 64
  ASSERT_EQ(lines.size(), 64u);
  EXPECT_EQ(lines[0], " 077776 000007");
  EXPECT_EQ(lines[1], " 077777 000007");
  EXPECT_EQ(lines[62], " 100074 000007");
  EXPECT_EQ(lines[63], OkOne);
}

// What follows the start block is trailer, never blocks; its text is shown when it reads as
// text: printable, all in even parity or all without a parity bit, ended by NUL, CR, LF or the
// end of the tape.
TEST(BinaryCheck, WhatFollowsTheStartBlockIsTrailerShownWhenReadable) {
  struct Case {
    const char* name;
    TTape trailer;
    const char* shown;  // nullptr: no trailer line
  };
  const Case cases[] = {
      {"dollars", TTape().Nul(16).Bytes(std::string(26, '$')), "$$$$$$$$$$$$$$$$$$$$$$$$$$"},
      {"even parity", TTape().Nul(3).EvenParity("*U*U091-000064-03\r\nXY").Nul(40), "*U*U091-000064-03"},
      {"no text", TTape().Nul(128), nullptr},
      {"mixed parity", TTape().Bytes("\xAA\x2A").Nul(2), nullptr},
      {"odd parity", TTape().Bytes("\xC1\xC2").Nul(2), nullptr},
      {"blocks", TTape().Data(0, {1}), nullptr},
      {"a control character", TTape().Bytes("AB\x01"), nullptr},
      {"long", TTape().Bytes(std::string(100, 'A')), "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"},
  };
  for (const Case& c : cases) {
    const Lines lines = CheckTape(TTape().Nul(16).Data(0, {1}).Start(07435).Bytes(c.trailer.Str()));
    Lines expected{"  Checked: 2 blocks: OK"};
    if (c.shown) expected.insert(expected.begin(), std::string("  Trailer: ") + c.shown);
    EXPECT_EQ(lines, expected) << c.name;
  }
}

TEST(BinaryCheck, TapeCutAnywhereInsideABlockIsAnErrorAtThatBlock) {
  const TTape whole = TTape().Data(0, {1, 2}).Nul(3).Data(0100, {3, 4, 5});
  const std::size_t firstEnd = 10, secondStart = 13;
  for (std::size_t size = 1; size < whole.Size(); ++size) {
    if (size >= firstEnd && size <= secondStart) continue;  // cut between the blocks: a good shorter tape
    const Lines lines = CheckTape(TTape().Bytes(whole.Str().substr(0, size)));
    const std::string position = size < firstEnd ? "0 ($0)" : "10 ($A)";
    const std::string count = size < firstEnd ? "1" : "2";
    EXPECT_EQ(lines, (Lines{"  Block cut short by the end of the file at position: " + position,
                            "  Checked: " + count + " blocks: Errors found"}))
        << "cut after " << size << " bytes";
  }
}

TEST(BinaryCheck, ContentsLinesAreSelectedAndTheWindowCatchesUp) {
  TTempDir dir;
  WriteFile(dir / "t.bin", TwoWordBlock().Repeat(0177757, 0, 0).Str());
  TRecordingSink sink;
  TTapeChecker checker(sink);
  int catchUps = 0;
  checker.OnCatchUp = [&] { ++catchUps; };
  ASSERT_EQ(checker.Run({cmBinary, dir.Path(), "t.bin", false, true}), crComplete);
  // File, 2 data words, 16 repeat lines, Checked, Files checked
  ASSERT_EQ(sink.Lines.size(), 21u);
  EXPECT_EQ(sink.Selected, (std::vector<std::size_t>{1, 2, 18, 20}));
  EXPECT_EQ(catchUps, 2 + 1 + 1);  // per data word, per repeat block, per file
}

struct TRealTape {
  const char* Name;
  int Blocks;
  int Dollars;  // the trailer's text
};

TEST(BinaryCheck, RealTapesCheckOk) {
  const TRealTape tapes[] = {{"novabasic1.ab", 257, 26},     {"novabasic2.ab", 259, 20},
                             {"SOS_XBASIC.AB", 825, 0},      {"nw4_final_read1.ab", 192, 0},
                             {"nw4_final_read2.ab", 192, 0}, {"nw4_test3_read1.ab", 81, 0}};
  for (const TRealTape& tape : tapes) {
    Lines expected{"  Checked: " + std::to_string(tape.Blocks) + " blocks: OK"};
    if (tape.Dollars > 0) expected.insert(expected.begin(), "  Trailer: " + std::string(std::size_t(tape.Dollars), '$'));
    EXPECT_EQ(CheckOne(CORVANE_TAPES_DIR, tape.Name), expected) << tape.Name;
  }
}

TEST(BinaryCheck, RealTapeContentsEndWithTheStartAddress) {
  const Lines lines = CheckOne(CORVANE_TAPES_DIR, "novabasic1.ab", cmBinary, true);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[lines.size() - 3], " Start at 007435");
}

// The fuzz target checks tapes held in memory; past the reader's 256 KB buffer they must read as
// the file does, the offsets of errors included.
TEST(BinaryCheck, TapeInMemoryChecksAsTheFile) {
  TTape tape;
  for (std::uint16_t i = 0; i < 15000; ++i)
    tape.Data(i, {i, std::uint16_t(~i), 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
  std::string bytes = tape.Start(0100).Str();
  bytes[300001] = static_cast<char>(bytes[300001] ^ 4);  // one bad block past the first buffer
  ASSERT_GT(bytes.size(), 2u * 256 * 1024);
  TTempDir dir;
  WriteFile(dir / "t.bin", bytes);
  const Lines fromFile = CheckOne(dir.Path(), "t.bin");
  ASSERT_EQ(fromFile.size(), 2u);

  TRecordingSink sink;
  const std::function<void()> noCatchUp;
  TCheckContext ctx{sink, noCatchUp, false};
  TTapeReader reader;
  reader.OpenBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  ASSERT_TRUE(CheckBinaryTape(reader, ctx));
  EXPECT_EQ(sink.Lines, fromFile);
  EXPECT_EQ(reader.Offset(), bytes.size());
}
