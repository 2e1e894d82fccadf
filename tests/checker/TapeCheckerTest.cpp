// The run: patterns, counts, "Nothing to do!", errors that end it and refusal of a second run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "CheckerTestUtils.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {
const std::string Good = TTape().Data(0, {1}).Start(0).Str();
}

TEST(TapeChecker, EmptyFileNamesLeaveTheListAsItIs) {
  TRecordingSink sink;
  sink.Lines = {"earlier"};
  TTapeChecker checker(sink);
  EXPECT_EQ(checker.Run({cmBinary, "/", "", false, false}), crComplete);
  EXPECT_EQ(sink.Lines, (Lines{"earlier", "Nothing to do!"}));
}

TEST(TapeChecker, EveryPatternCollectsInTurnAndTheCountCoversAll) {
  TTempDir dir;
  WriteFile(dir / "b.bin", Good);
  WriteFile(dir / "a.abs", Good);
  TRecordingSink sink;
  sink.Lines = {"earlier"};
  TTapeChecker checker(sink);
  EXPECT_EQ(checker.Run({cmBinary, dir.Path(), "*.bin;*.abs;;b*;", false, false}), crComplete);
  const std::string ok = "  Checked: 2 blocks: OK";
  EXPECT_EQ(sink.Lines, (Lines{"File: " + (dir / "b.bin"), ok, "File: " + (dir / "a.abs"), ok,
                               "File: " + (dir / "b.bin"), ok, "3 Files checked"}));
  EXPECT_EQ(sink.Selected, std::vector<std::size_t>{6});
}

TEST(TapeChecker, FileThatCannotBeOpenedEndsTheRun) {
  TTempDir dir;
  WriteFile(dir / "a.bin", Good);
  WriteFile(dir / "b.bin", Good);
  TRecordingSink sink;
  TTapeChecker checker(sink);
  checker.OnCatchUp = [&] { fs::remove(dir / "b.bin"); };  // gone after it was collected
  EXPECT_EQ(checker.Run({cmBinary, dir.Path(), "*.bin", false, false}), crError);
  EXPECT_EQ(checker.ErrorMessage(), "Cannot open file " + (dir / "b.bin") + ": No such file or directory");
  EXPECT_EQ(sink.Lines, (Lines{"File: " + (dir / "a.bin"), "  Checked: 2 blocks: OK", "File: " + (dir / "b.bin")}));
  EXPECT_FALSE(checker.Running());
}

TEST(TapeChecker, SecondRunIsRefusedWhileOneRuns) {
  TTempDir dir;
  WriteFile(dir / "a.bin", Good);
  TRecordingSink sink;
  TTapeChecker checker(sink);
  const TCheckParams params{cmBinary, dir.Path(), "*.bin", false, false};
  std::vector<TCheckResult> inner;
  checker.OnCatchUp = [&] {
    EXPECT_TRUE(checker.Running());
    inner.push_back(checker.Run(params));
  };
  EXPECT_EQ(checker.Run(params), crComplete);
  EXPECT_EQ(inner, std::vector<TCheckResult>{crBusy});
  EXPECT_EQ(sink.Lines.back(), "1 Files checked");
  checker.OnCatchUp = nullptr;
  EXPECT_EQ(checker.Run(params), crComplete);  // allowed again once the run is over
}

TEST(TapeChecker, MissingSourceFolderIsAnErrorBeforeAnythingIsListed) {
  TTempDir dir;
  WriteFile(dir / "file", "x");
  for (const std::string& source : {std::string(), dir / "missing", dir / "file"}) {
    TRecordingSink sink;
    sink.Lines = {"earlier"};
    TTapeChecker checker(sink);
    EXPECT_EQ(checker.Run({cmText, source, "*", false, false}), crError) << source;
    EXPECT_EQ(checker.ErrorMessage(),
              source.empty() ? "No source folder is given" : "The source folder " + source + " does not exist");
    EXPECT_EQ(sink.Lines, Lines{"earlier"});
  }
}

// A pattern whose directory part leaves the source folder is refused before anything is searched,
// in both modes: absolute, climbing with "..", or through a symbolic link.
TEST(TapeChecker, PatternsStayInsideTheSourceFolder) {
  TTempDir dir;
  const std::string victim("A\0B\301", 4);
  WriteFile(dir / "v/f", victim);
  WriteFile(dir / "src/sub/t.txt", std::string("T\0", 2));
  fs::create_directory_symlink(dir / "v", dir / "src/out");
  struct TCase {
    const char* Pattern;
    const char* Refusal;  // nullptr: accepted
  };
  const TCase cases[] = {
      {"../v/*", "The pattern ../v/* leads out of the source folder"},
      {"sub/../../v/f", "The pattern sub/../../v/f leads out of the source folder"},
      {"out/*", "The pattern out/* leads out of the source folder"},
      {"x;./../v/*", "The pattern ./../v/* leads out of the source folder"},
      {"sub/../sub/*", nullptr},
      {"./sub/*.txt", nullptr},
  };
  for (TCheckMode mode : {cmBinary, cmText})
    for (const TCase& c : cases) {
      SCOPED_TRACE(c.Pattern);
      TRecordingSink sink;
      TTapeChecker checker(sink);
      const TCheckResult result = checker.Run({mode, dir / "src", c.Pattern, false, false});
      if (c.Refusal) {
        EXPECT_EQ(result, crRefused);
        EXPECT_EQ(checker.ErrorMessage(), c.Refusal);
        EXPECT_TRUE(sink.Lines.empty());
      } else {
        EXPECT_EQ(result, crComplete) << checker.ErrorMessage();
      }
    }
  const std::string absolute = (dir / "v") + "/*";
  TRecordingSink sink;
  TTapeChecker checker(sink);
  EXPECT_EQ(checker.Run({cmText, dir / "src", absolute, false, false}), crRefused);
  EXPECT_EQ(checker.ErrorMessage(),
            "The pattern " + absolute + " is an absolute path: patterns name files inside the source folder");
  EXPECT_EQ(ReadFile(dir / "v/f"), victim);
  EXPECT_FALSE(fs::exists(dir / "v/f.bak"));
}

// Text mode lists a symbolic link that leads out but repairs nothing through it, enters no linked
// folder outside, and takes a file that two patterns (or a link and its target) match once. The
// binary check leaves the folder no more than the repair does.
TEST(TapeChecker, TextModeRepairsEachFileInsideOnce) {
  TTempDir dir;
  const std::string outside("OUT\0", 4);
  WriteFile(dir / "v/f.txt", outside);
  WriteFile(dir / "src/a.txt", std::string("A\0", 2));
  fs::create_symlink(dir / "v/f.txt", dir / "src/link.txt");
  fs::create_symlink("a.txt", dir / "src/same.txt");
  fs::create_directory_symlink(dir / "v", dir / "src/outdir");
  TRecordingSink sink;
  TTapeChecker checker(sink);
  ASSERT_EQ(checker.Run({cmText, dir / "src", "a*;*.txt", true, false}), crComplete) << checker.ErrorMessage();
  const std::string src = dir / "src";
  EXPECT_EQ(sink.Lines, (Lines{"File: " + src + "/a.txt", "  File stripped by 1 bytes", "File: " + src + "/link.txt",
                               "  Not repaired: a symbolic link leads out of the source folder", "2 Files checked"}));
  EXPECT_EQ(ReadFile(dir / "v/f.txt"), outside);
  EXPECT_EQ(ReadFile(dir / "src/a.txt"), "A");
  EXPECT_TRUE(fs::is_symlink(dir / "src/same.txt"));

  // Binary mode only reads, and not outside either: the linked folder is not entered, the link
  // is listed unread; two patterns check a file inside twice.
  TRecordingSink binary;
  TTapeChecker reader(binary);
  ASSERT_EQ(reader.Run({cmBinary, dir / "src", "f.txt;link.txt;a.txt;a.txt", true, false}), crComplete);
  EXPECT_EQ(std::count(binary.Lines.begin(), binary.Lines.end(), "File: " + src + "/a.txt"), 2);
  const auto link = std::find(binary.Lines.begin(), binary.Lines.end(), "File: " + src + "/link.txt");
  ASSERT_NE(link, binary.Lines.end());
  EXPECT_EQ(link[1], "  Not checked: a symbolic link leads out of the source folder");
  EXPECT_EQ(binary.Lines.back(), "3 Files checked");
}

// Stop ends a run at a safe point: a binary file after the block at hand, a text file whole or
// not at all; nothing after it is touched and no count line is written.
TEST(TapeChecker, StopEndsTheRunAtASafePoint) {
  const std::string text(100, 'A');
  const std::string dirty = text + std::string(1, '\0');
  struct TCase {
    TCheckMode Mode;
    bool Contents;
    const char* FirstAfter;  // the first file's bytes after the run; nullptr: binary, unchanged
    std::size_t Lines;
  };
  const TCase cases[] = {
      {cmBinary, true, nullptr, 2},    // "File:" and the first word: no "Checked:" line
      {cmText, true, "dirty", 2},      // stopped while listing: the file stays as it was
      {cmText, false, "repaired", 2},  // stopped after the repaired text was complete: it is in place
  };
  for (const TCase& c : cases) {
    TTempDir dir;
    const std::string tape = TTape().Data(0, {1}).Data(2, {3}).Start(0).Str();
    const std::string first = c.Mode == cmBinary ? tape : dirty;
    WriteFile(dir / "a.t", first);
    WriteFile(dir / "b.t", first);
    TRecordingSink sink;
    TTapeChecker checker(sink);
    checker.OnCatchUp = [&] { checker.Stop(); };
    EXPECT_EQ(checker.Run({c.Mode, dir.Path(), "*.t", false, c.Contents}), crStopped);
    EXPECT_EQ(sink.Lines.size(), c.Lines) << sink.Lines.back();
    EXPECT_EQ(sink.Lines.front(), "File: " + (dir / "a.t"));
    const std::string expected = !c.FirstAfter || std::string(c.FirstAfter) == "dirty" ? first : text;
    EXPECT_EQ(ReadFile(dir / "a.t"), expected);
    EXPECT_EQ(ReadFile(dir / "b.t"), first);
    EXPECT_EQ(dir.FileCount(), c.FirstAfter && std::string(c.FirstAfter) == "repaired" ? 3u : 2u);
    EXPECT_FALSE(checker.Running());
    checker.Stop();  // no run: nothing to stop, the next run is whole
    checker.OnCatchUp = nullptr;
    EXPECT_EQ(checker.Run({cmBinary, dir.Path(), "b.t", false, false}), crComplete);
  }
}
