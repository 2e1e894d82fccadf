// tallis-cli with bad input: tapes that are empty, all NUL, all 0377, cut short, with odd
// leaders or names that are not UTF-8; tapes that are pipes, folders or unreadable; repairs in a
// read-only folder or on a full disk; absurd option values. Each run ends with its lines, a
// message and an exit status, and leaves every original as it was.
#include <gtest/gtest.h>

#include "BadInputSupport.h"

namespace {

std::string GoodTape() {
  // A data block of one word at 0 and a start block at 0, checksums included.
  return DumpBytes({0177777, 0, 2, 0177777, 1, 0, 0177777});
}

TEST(TallisCliTapes, EveryKindOfOddTapeIsReportedInItsLines) {
  TUserFolder u;
  u.Write("a-empty.bin", "");
  u.Write("b-nul.bin", std::string(200, '\0'));
  u.Write("c-ff.bin", std::string(24, '\xff'));  // three blocks of 177777 words that never sum to 0
  u.Write("d-cut.bin", GoodTape().substr(0, 5));
  u.Write("e-leader.bin", std::string(3, '\0') + GoodTape());
  u.Write("f-\xff\xfe.bin", GoodTape());
  const TChildResult r = RunProgram(TallisCli, {".", "*.bin"}, u.Options());
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Out,
            "File: ./a-empty.bin\n  Checked: 0 blocks: OK\n"
            "File: ./b-nul.bin\n  Checked: 0 blocks: OK\n"
            "File: ./c-ff.bin\n"
            "  Error in block at position: 0 ($0)\n  Error in block at position: 8 ($8)\n"
            "  Error in block at position: 16 ($10)\n  Checked: 3 blocks: Errors found\n"
            "File: ./d-cut.bin\n  Block cut short by the end of the file at position: 0 ($0)\n"
            "  Checked: 1 blocks: Errors found\n"
            "File: ./e-leader.bin\n  Checked: 2 blocks: OK\n"
            "File: ./f-\xff\xfe.bin\n  Checked: 2 blocks: OK\n"
            "6 Files checked\n");
}

TEST(TallisCliTapes, PipesAndFoldersAreNotTapes) {
  TUserFolder u;
  ::mkfifo((u / "p.bin").c_str(), 0600);  // opening it would wait for a writer
  std::filesystem::create_directory(u / "d.bin");
  const TChildResult r = RunProgram(TallisCli, {".", "p.bin", "d.bin", "*.bin"}, u.Options());
  EXPECT_FALSE(r.TimedOut());
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "0 Files checked\n");
}

TEST(TallisCliTapes, UnreadableTapeEndsTheRunWithOne) {
  TUserFolder u;
  u.Write("a.bin", GoodTape());
  u.Write("b.bin", GoodTape());
  ::chmod((u / "b.bin").c_str(), 0);
  TChildOptions options = u.Options();
  options.ObeyPermissions = true;
  const TChildResult r = RunProgram(TallisCli, {".", "*.bin"}, options);
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out, "File: ./a.bin\n  Checked: 2 blocks: OK\nFile: ./b.bin\n");
  EXPECT_EQ(r.Err, "tallis-cli: Cannot open file ./b.bin: Permission denied\n");
}

// ---- text repairs that cannot be written

const std::string DirtyText = std::string("HE\0LLO\377\r\n", 9);

TEST(TallisCliRepair, ReadOnlyFolderLeavesTheOriginal) {
  TUserFolder u;
  u.Write("a.txt", DirtyText);
  ::chmod(u.Work.c_str(), 0555);
  TChildOptions options = u.Options();
  options.ObeyPermissions = true;
  const TChildResult r = RunProgram(TallisCli, {"--text", ".", "a.txt"}, options);
  ::chmod(u.Work.c_str(), 0755);
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Err.starts_with("tallis-cli: ")) << r.Err;
  EXPECT_NE(r.Err.find("Permission denied"), std::string::npos) << r.Err;
  EXPECT_EQ(u.Read("a.txt"), DirtyText);
  EXPECT_EQ(u.Names(), std::vector<std::string>{"a.txt"});
}

// Also under "ulimit -f", where SIGXFSZ would end a program that does not ignore it.
TEST(TallisCliRepair, FullDiskLeavesTheOriginal) {
  for (bool fileSizeSignal : {false, true}) {
    SCOPED_TRACE(fileSizeSignal ? "SIGXFSZ at its default" : "SIGXFSZ ignored");
    TUserFolder u;
    u.Write("a.txt", DirtyText);
    TChildOptions options = u.Options();
    options.FileSizeLimit = 0;
    options.FileSizeSignal = fileSizeSignal;
    const TChildResult r = RunProgram(TallisCli, {"--text", ".", "a.txt"}, options);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "tallis-cli: Cannot write file ./a.txt.tmp: File too large\n");
    EXPECT_EQ(u.Read("a.txt"), DirtyText);
    EXPECT_EQ(u.Names(), std::vector<std::string>{"a.txt"});  // no temporary file, no backup
  }
}

TEST(TallisCliRepair, NameThatIsNotUtf8KeepsItsBytes) {
  TUserFolder u;
  u.Write("n\xff.txt", DirtyText);
  const TChildResult r = RunProgram(TallisCli, {"--text", ".", "n*.txt"}, u.Options());
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_TRUE(r.Out.starts_with("File: ./n\xff.txt\n")) << r.Out;
  EXPECT_EQ(u.Read("n\xff.txt"), "HELLO\r\n");
  EXPECT_EQ(u.Read("n\xff.txt.bak"), DirtyText);
}

// ---- option values that make no sense

TEST(TallisCliOptions, AbsurdStartupValuesAreHarmless) {
  TUserFolder u;
  u.Write("t.bin", GoodTape());
  for (const std::string& option :
       {"/lang:" + std::string(300, 'z'), std::string("/lang:\xff\xfe"), std::string("/ini:/nonexistent/x.ini")}) {
    const TChildResult r = RunProgram(TallisCli, {option, ".", "t.bin"}, u.Options());
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "File: ./t.bin\n  Checked: 2 blocks: OK\n1 Files checked\n");
  }
}

TEST(TallisCliOptions, UnknownOptionsAreUsageErrors) {
  TUserFolder u;
  for (const std::string& option : {std::string("--contents=1"), std::string("--subdirs=yes"), std::string(5000, '-')}) {
    const TChildResult r = RunProgram(TallisCli, {option, ".", "x"}, u.Options());
    EXPECT_EQ(r.Status, 2) << option.substr(0, 40);
    EXPECT_TRUE(r.Err.starts_with("tallis-cli: unknown option")) << r.Err.substr(0, 200);
    EXPECT_EQ(r.Out, "");
  }
}

TEST(TallisCliOutput, ClosedStandardOutputIsAnError) {
  TUserFolder u;
  u.Write("t.bin", GoodTape());
  const TChildResult r = RunChild(
      [] {
        ::close(1);
        ::execl(TallisCli.c_str(), TallisCli.c_str(), ".", "t.bin", static_cast<char*>(nullptr));
        return 127;
      },
      u.Options());
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "tallis-cli: standard output cannot be written\n");
}

// Control characters of an unknown option are shown as \xNN, so they never reach the terminal.
TEST(TallisCliOptions, UnknownOptionIsShownEscaped) {
  TUserFolder u;
  const TChildResult r = RunProgram(TallisCli, {"-\x1b[7mX", ".", "x"}, u.Options());
  EXPECT_EQ(r.Status, 2);
  EXPECT_TRUE(r.Err.starts_with("tallis-cli: unknown option -\\x1B[7mX\n")) << r.Err;
}

}  // namespace

// A relative source folder after the working folder is gone: an error, nothing searched.
TEST(TallisCliWorkingFolder, MissingIsAnError) {
  TUserFolder u;
  const TChildResult r = RunChild(
      [&] {
        ::rmdir(u.Work.c_str());
        ::execl(TallisCli.c_str(), TallisCli.c_str(), "--text", ".", "*.txt", static_cast<char*>(nullptr));
        return 127;
      },
      u.Options());
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err, "tallis-cli: The source folder . does not exist\n");
}
