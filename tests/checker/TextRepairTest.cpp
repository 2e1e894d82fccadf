// Text mode: the repair, the backup and what happens when a move fails.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
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

TEST(TextRepair, CleanFileIsLeftUntouched) {
  TTempDir dir;
  WriteFile(dir / "a.txt", "10 PRINT\r\n");
  WriteFile(dir / "a.txt.bak", "old backup");
  const auto before = fs::last_write_time(dir / "a.txt");
  EXPECT_EQ(CheckOne(dir.Path(), "a.txt", cmText),
            (Lines{"  File stripped by 0 bytes", "  Nothing to repair: left unchanged"}));
  EXPECT_EQ(ReadFile(dir / "a.txt"), "10 PRINT\r\n");
  EXPECT_EQ(fs::last_write_time(dir / "a.txt"), before);
  EXPECT_EQ(ReadFile(dir / "a.txt.bak"), "old backup");
  EXPECT_EQ(dir.FileCount(), 2u);  // no temporary file, no new backup
}

// Names that are taken are never used: the temporary file and the backup get free names.
TEST(TextRepair, TakenNamesAreLeftAloneAndPermissionsKept) {
  TTempDir dir;
  WriteFile(dir / "a.txt", std::string("HELLO\0\377\r\n", 9));
  WriteFile(dir / "a.txt.tmp", "MY NOTES\n");
  WriteFile(dir / "a.txt.bak", "old backup");
  WriteFile(dir / "a.txt.bak1/keep", "a folder in the way");
  fs::permissions(dir / "a.txt", fs::perms(0640));
  EXPECT_EQ(CheckOne(dir.Path(), "a.txt", cmText), (Lines{"  Parity removed", "  File stripped by 2 bytes"}));
  EXPECT_EQ(ReadFile(dir / "a.txt"), "HELLO\r\n");
  EXPECT_EQ(fs::status(dir / "a.txt").permissions(), fs::perms(0640));
  EXPECT_EQ(ReadFile(dir / "a.txt.bak2"), std::string("HELLO\0\377\r\n", 9));
  EXPECT_EQ(ReadFile(dir / "a.txt.tmp"), "MY NOTES\n");
  EXPECT_EQ(ReadFile(dir / "a.txt.bak"), "old backup");
  EXPECT_EQ(dir.FileCount(), 5u);  // a.txt, .tmp, .bak, .bak1, .bak2: nothing else left
}

TEST(TextRepair, TwoRunsKeepTheOriginalBytes) {
  TTempDir dir;
  const std::string original("\301\302\0\215\212", 5);
  WriteFile(dir / "t.txt", original);
  // The second pattern would match the backup that the first makes: it is not taken.
  EXPECT_EQ(CheckOne(dir.Path(), "t.txt;t*", cmText), (Lines{"  Parity removed", "  File stripped by 1 bytes"}));
  EXPECT_EQ(CheckOne(dir.Path(), "t.txt", cmText),
            (Lines{"  File stripped by 0 bytes", "  Nothing to repair: left unchanged"}));
  EXPECT_EQ(ReadFile(dir / "t.txt"), "AB\r\n");
  EXPECT_EQ(ReadFile(dir / "t.txt.bak"), original);
  EXPECT_EQ(dir.FileCount(), 2u);
}

// A later run over the whole folder lists our backups (NAME.bak, NAME.bakN beside a NAME) and
// leaves them as they are; a ".bak" file without its NAME is an ordinary tape.
TEST(TextRepair, BackupsAreNotRepairedAgain) {
  TTempDir dir;
  const std::string dirty("A\0", 2);
  WriteFile(dir / "a.txt", dirty);
  WriteFile(dir / "a.txt.bak", dirty);
  WriteFile(dir / "a.txt.bak7", dirty);
  WriteFile(dir / "lone.bak", dirty);
  TRecordingSink sink;
  TTapeChecker checker(sink);
  ASSERT_EQ(checker.Run({cmText, dir.Path(), "*", false, false}), crComplete) << checker.ErrorMessage();
  const std::string a = dir / "a.txt";
  EXPECT_EQ(sink.Lines, (Lines{"File: " + a, "  File stripped by 1 bytes", "File: " + a + ".bak",
                               "  Not repaired: the backup of " + a + " is left as it is", "File: " + a + ".bak7",
                               "  Not repaired: the backup of " + a + " is left as it is", "File: " + (dir / "lone.bak"),
                               "  File stripped by 1 bytes", "4 Files checked"}));
  EXPECT_EQ(ReadFile(dir / "a.txt.bak"), dirty);
  EXPECT_EQ(ReadFile(dir / "a.txt.bak7"), dirty);
  EXPECT_EQ(ReadFile(dir / "a.txt.bak1"), dirty);  // the repair's own backup, the next free name
  EXPECT_FALSE(fs::exists(dir / "a.txt.bak.bak"));
}

// Another program puts a new version in the file's place while it is repaired: the stale repair
// is not installed, the new version stays under the name, and a line says so.
TEST(TextRepair, FileReplacedDuringTheRepairIsLeftAsItIsNow) {
  struct TCase {
    const char* Name;
    bool Rename;  // replaced by a rename over it, else changed in place
  };
  for (const TCase& c : {TCase{"renamed over", true}, TCase{"rewritten", false}}) {
    SCOPED_TRACE(c.Name);
    TTempDir dir;
    WriteFile(dir / "t.txt", std::string("OLD\0", 4));
    TRecordingSink sink;
    TTapeChecker checker(sink);
    // The catch-up after the repaired text is complete comes just before the file is put aside.
    checker.OnCatchUp = [&] {
      if (sink.Lines.empty() || !sink.Lines.back().starts_with("  File stripped")) return;
      if (c.Rename) {
        WriteFile(dir / "new.txt", std::string("NEW VERSION\0", 12));
        fs::rename(dir / "new.txt", dir / "t.txt");
      } else {
        std::ofstream(dir / "t.txt", std::ios::binary | std::ios::app) << "MORE";
      }
    };
    ASSERT_EQ(checker.Run({cmText, dir.Path(), "t.txt", false, false}), crComplete) << checker.ErrorMessage();
    EXPECT_EQ(sink.Lines.at(2),
              "  Not repaired: the file was changed or replaced while it was repaired; it is left as it is");
    EXPECT_EQ(ReadFile(dir / "t.txt"), c.Rename ? std::string("NEW VERSION\0", 12) : std::string("OLD\0MORE", 8));
    EXPECT_EQ(dir.FileCount(), 1u);  // no backup, no temporary file
  }
}

// The same when the replacement comes at the worst moment, between the check and the backup.
TEST(TextRepair, FileReplacedJustBeforeItsBackupIsLeftAsItIsNow) {
  for (bool noLinks : {false, true}) {
    SCOPED_TRACE(noLinks ? "no hard links" : "hard links");
    TTempDir dir;
    const std::string file = dir / "t.txt", temp = dir / "t.txt.tmp";
    WriteFile(file, "original");
    TFileStamp read;
    ASSERT_TRUE(StampOfFile(file, read));
    WriteFile(dir / "newer", "newer version");
    fs::rename(dir / "newer", file);
    WriteFile(temp, "repaired");
    TRecordingSink sink;
    std::function<void()> none;
    TCheckContext ctx{sink, none, false};
    TFileMoves moves = TFileMoves::System();
    if (noLinks) moves.Link = [](const char*, const char*) { return errno = EPERM, -1; };
    EXPECT_FALSE(CommitRepair(file, temp, ctx, moves, &read));
    EXPECT_EQ(sink.Lines,
              Lines{"  Not repaired: the file was changed or replaced while it was repaired; it is left as it is"});
    EXPECT_EQ(ReadFile(file), "newer version");
    EXPECT_EQ(dir.FileCount(), 1u);
  }
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
            (Lines{" " + first, " " + second, "  File stripped by 0 bytes", "  Nothing to repair: left unchanged"}));
  EXPECT_EQ(ReadFile(dir / "t.txt"), text);
}

TEST(TextRepair, TemporaryFileThatCannotBeCreatedEndsTheRun) {
  TTempDir dir;
  const std::string longName(255, 'a');  // a valid name; with ".tmp" it is too long
  WriteFile(dir / longName, std::string("abc\0", 4));
  WriteFile(dir / "b.txt", std::string("def\0", 4));
  TRecordingSink sink;
  TTapeChecker checker(sink);
  EXPECT_EQ(checker.Run({cmText, dir.Path(), "*", false, false}), crError);
  EXPECT_EQ(checker.ErrorMessage(), "Cannot create file " + (dir / longName) + ".tmp: File name too long");
  EXPECT_EQ(sink.Lines, Lines{"File: " + (dir / longName)});
  EXPECT_EQ(ReadFile(dir / longName), std::string("abc\0", 4));
  EXPECT_EQ(dir.FileCount(), 2u);
}

// The moves that keep the original, with failures injected.
namespace {
struct TMoveScript {
  bool NoLinks = false;        // the file system has no hard links
  bool ReplaceFails = false;   // the repaired file cannot take the name
  bool MoveBackFails = false;  // nor can the original go back
};
TMoveScript Script;
int ScriptLink(const char* from, const char* to) {
  if (Script.NoLinks) {
    errno = EPERM;
    return -1;
  }
  return TFileMoves::System().Link(from, to);
}
int ScriptRenameNew(const char* from, const char* to) {
  if (Script.MoveBackFails && std::string(from).ends_with(".bak")) {
    errno = EACCES;
    return -1;
  }
  return TFileMoves::System().RenameNew(from, to);
}
int ScriptReplace(const char* from, const char* to) {
  if (Script.ReplaceFails) {
    errno = EACCES;
    return -1;
  }
  return TFileMoves::System().Replace(from, to);
}
const TFileMoves ScriptedMoves{ScriptLink, ScriptRenameNew, ScriptReplace, ::unlink};
}  // namespace

TEST(TextRepair, TheOriginalSurvivesEveryFailedMove) {
  struct TCase {
    TMoveScript Script;
    bool Repaired;
    const char* Expected;  // the line, {bak} and {tmp} filled in
    const char* OriginalIn;
    bool TempKept;
  };
  const TCase cases[] = {
      {{false, false, false}, true, "", "t.txt.bak", false},
      {{true, false, false}, true, "", "t.txt.bak", false},
      {{false, true, false}, false, "  Not repaired: cannot move {tmp} to the file's name: Permission denied", "t.txt",
       false},
      {{true, true, false}, false, "  Not repaired: cannot move {tmp} to the file's name: Permission denied", "t.txt",
       false},
      {{true, true, true}, false,
       "  Not repaired: the original is in {bak} and the repaired text in {tmp}: Permission denied", "t.txt.bak", true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Expected);
    TTempDir dir;
    const std::string file = dir / "t.txt", temp = dir / "t.txt.tmp";
    WriteFile(file, "original");
    WriteFile(temp, "repaired");
    TRecordingSink sink;
    std::function<void()> none;
    TCheckContext ctx{sink, none, false};
    Script = c.Script;
    EXPECT_EQ(CommitRepair(file, temp, ctx, ScriptedMoves), c.Repaired);
    std::string expected = c.Expected;
    if (auto at = expected.find("{bak}"); at != std::string::npos) expected.replace(at, 5, file + ".bak");
    if (auto at = expected.find("{tmp}"); at != std::string::npos) expected.replace(at, 5, temp);
    EXPECT_EQ(sink.Lines, c.Repaired ? Lines{} : Lines{expected});
    EXPECT_EQ(ReadFile(dir / c.OriginalIn), "original");
    if (c.Repaired) {
      EXPECT_EQ(ReadFile(file), "repaired");
    }
    EXPECT_EQ(fs::exists(temp), c.TempKept);
    EXPECT_EQ(dir.FileCount(), c.Repaired || c.TempKept ? 2u : 1u);
  }
}

// Program files hold bytes that paper-tape text never holds: they are listed and left alone,
// while text tapes as punched (parity, leader, rubouts over mistakes) are still repaired.
TEST(TextRepair, OnlyTextTapesAreRepaired) {
  TTempDir dir;
  std::string program = ReadFile(CORVANE_BINARY_DIR "/tallis-cli");
  ASSERT_GT(program.size(), 1000u);
  std::string tape = ReadFile(CORVANE_TAPES_DIR "/novabasic1.ab");
  ASSERT_GT(tape.size(), 1000u);
  const std::string source = "; COUNT TO TEN\r\n\tLDA\t0,C10\r\nLOOP:\tDSZ\tCNT\r\n\tJMP\tLOOP\r\n\tHALT\r\n\f";
  // Punched with even parity, a NUL leader and trailer, and a mistake rubbed out.
  std::string punched(60, '\0');
  for (char c : source) {
    unsigned b = static_cast<unsigned char>(c);
    if (__builtin_popcount(b) % 2) b |= 0200;
    punched += static_cast<char>(b);
    if (c == 'D') punched += '\377';  // a mistake, backspaced and overpunched with all holes
  }
  punched.append(60, '\0');
  std::string noisy(1000, 'A');  // a few stray control characters do not make a program file
  for (int i = 0; i < 10; ++i) noisy[i * 90] = '\001';
  noisy += '\0';
  std::string tooNoisy = noisy;
  tooNoisy[5] = '\002';  // 11 in 1000 content bytes

  struct TCase {
    const char* Name;
    std::string Bytes;
    bool Repaired;
  };
  const TCase cases[] = {
      {"program", program, false},     {"binary.ab", tape, false},  {"source.txt", punched, true},
      {"noisy.txt", noisy, true},      {"tooNoisy.txt", tooNoisy, false},
      {"blank.txt", std::string(50, '\0'), true},  // a blank tape: repaired to nothing
      {"rubbed.txt", std::string(50, '\377'), true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteFile(dir / c.Name, c.Bytes);
    const Lines lines = CheckOne(dir.Path(), c.Name, cmText);
    ASSERT_FALSE(lines.empty());
    if (c.Repaired) {
      EXPECT_EQ(lines.back().rfind("  File stripped by ", 0), 0u) << lines.back();
      EXPECT_EQ(ReadFile(dir / c.Name + ".bak"), c.Bytes);
    } else {
      EXPECT_EQ(lines, Lines{"  Not a text tape: left unchanged"});
      EXPECT_EQ(ReadFile(dir / c.Name), c.Bytes);
      EXPECT_FALSE(fs::exists(dir / c.Name + ".bak"));
    }
  }
  EXPECT_EQ(ReadFile(dir / "source.txt"), source);
}
