// The run: patterns, counts, "Nothing to do!", errors that end it and refusal of a second run.
#include <gtest/gtest.h>

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
