// Text mode: the repair, the backup and what happens when a move fails.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "CheckerTestUtils.h"
#include "TextRepair.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(TextRepair, DropsNulAndRuboutClearsParityAndKeepsABackup) {
  TTempDir dir;
  const std::string original("\215\212\101\000\377", 5);
  WriteFile(dir / "prog.asm", original);
  EXPECT_EQ(CheckOne(dir.Path(), "prog.asm", cmText), (Lines{"  Parity removed", "  File stripped by 2 bytes"}));
  EXPECT_EQ(ReadFile(dir / "prog.asm"), "\015\012\101");
  EXPECT_EQ(ReadFile(dir / "prog.asm.bak"), original);
  EXPECT_FALSE(fs::exists(dir / "prog.asm.tmp"));
}

TEST(TextRepair, CleanFileIsRewrittenWithBackupAndPermissions) {
  TTempDir dir;
  WriteFile(dir / "a.txt", "10 PRINT\r\n");
  WriteFile(dir / "a.txt.bak", "old backup");
  WriteFile(dir / "a.txt.tmp", "stale temporary file");
  fs::permissions(dir / "a.txt", fs::perms(0640));
  EXPECT_EQ(CheckOne(dir.Path(), "a.txt", cmText), Lines{"  File stripped by 0 bytes"});
  EXPECT_EQ(ReadFile(dir / "a.txt"), "10 PRINT\r\n");
  EXPECT_EQ(ReadFile(dir / "a.txt.bak"), "10 PRINT\r\n");
  EXPECT_EQ(fs::status(dir / "a.txt").permissions(), fs::perms(0640));
  EXPECT_FALSE(fs::exists(dir / "a.txt.tmp"));
}

TEST(TextRepair, NulTestComesBeforeTheParityBitIsCleared) {
  TTempDir dir;
  WriteFile(dir / "t.txt", std::string("A\200B", 3));
  EXPECT_EQ(CheckOne(dir.Path(), "t.txt", cmText), (Lines{"  Parity removed", "  File stripped by 0 bytes"}));
  EXPECT_EQ(ReadFile(dir / "t.txt"), std::string("A\0B", 3));
}

TEST(TextRepair, ContentsListEveryFortyCharactersSkippingTheNext) {
  TTempDir dir;
  std::string text;
  for (int i = 0; i < 100; ++i) text += static_cast<char>('0' + i % 75);
  text[5] = '\t';  // control characters are shown as blanks
  WriteFile(dir / "t.txt", text);
  std::string first = text.substr(0, 40), second = text.substr(41, 40);
  first[5] = ' ';
  EXPECT_EQ(CheckOne(dir.Path(), "t.txt", cmText, true),
            (Lines{" " + first, " " + second, "  File stripped by 0 bytes"}));
  EXPECT_EQ(ReadFile(dir / "t.txt"), text);
}

TEST(TextRepair, BackupThatCannotBeReplacedLeavesTheFileUnchanged) {
  TTempDir dir;
  WriteFile(dir / "t.txt", "\301\302");
  WriteFile(dir / "t.txt.bak/keep", "a folder in the way");
  const Lines lines = CheckOne(dir.Path(), "t.txt", cmText);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2].rfind("  Not repaired: cannot move the file to " + (dir / "t.txt.bak") + ": ", 0), 0u)
      << lines[2];
  EXPECT_EQ(ReadFile(dir / "t.txt"), "\301\302");
  EXPECT_FALSE(fs::exists(dir / "t.txt.tmp"));
}

TEST(TextRepair, TemporaryFileThatCannotBeCreatedEndsTheRun) {
  TTempDir dir;
  WriteFile(dir / "a.txt", "abc");
  WriteFile(dir / "b.txt", "def");
  WriteFile(dir / "a.txt.tmp/keep", "a folder in the way");
  TRecordingSink sink;
  TTapeChecker checker(sink);
  EXPECT_EQ(checker.Run({cmText, dir.Path(), "*.txt", false, false}), crError);
  EXPECT_EQ(checker.ErrorMessage(), "Cannot create file " + (dir / "a.txt.tmp") + ": Is a directory");
  EXPECT_EQ(sink.Lines, Lines{"File: " + (dir / "a.txt")});
  EXPECT_EQ(ReadFile(dir / "a.txt"), "abc");
  EXPECT_FALSE(fs::exists(dir / "b.txt.bak"));
}

// Second move (temporary file to the original name) fails; the move back may fail as well.
namespace {
bool FailMoveBack = false;
int RenameFailingOnTemp(const char* from, const char* to) {
  const std::string source = from;
  if (source.ends_with(".tmp") || (FailMoveBack && source.ends_with(".bak"))) {
    errno = EACCES;
    return -1;
  }
  return std::rename(from, to);
}
}  // namespace

TEST(TextRepair, FailedReplacementMovesTheOriginalBack) {
  struct TCase {
    bool MoveBackFails;
    const char* Expected;
    const char* OriginalIn;
    bool TempKept;
  };
  const TCase cases[] = {
      {false, "  Not repaired: cannot move {tmp} to the file's name: Permission denied", "t.txt", false},
      {true, "  Not repaired: the original is in {bak} and the repaired text in {tmp}: Permission denied",
       "t.txt.bak", true},
  };
  for (const TCase& c : cases) {
    TTempDir dir;
    const std::string file = dir / "t.txt";
    WriteFile(file, "original");
    WriteFile(file + ".tmp", "repaired");
    TRecordingSink sink;
    std::function<void()> none;
    TCheckContext ctx{sink, none, false};
    FailMoveBack = c.MoveBackFails;
    EXPECT_FALSE(CommitRepair(file, ctx, RenameFailingOnTemp));
    std::string expected = c.Expected;
    if (auto at = expected.find("{bak}"); at != std::string::npos) expected.replace(at, 5, file + ".bak");
    expected.replace(expected.find("{tmp}"), 5, file + ".tmp");
    EXPECT_EQ(sink.Lines, Lines{expected});
    EXPECT_EQ(ReadFile(dir / c.OriginalIn), "original");
    EXPECT_EQ(fs::exists(file + ".tmp"), c.TempKept);
  }
}
