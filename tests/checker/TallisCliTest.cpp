// tallis-cli: output, options, exit statuses and the German lines.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "CheckerTestUtils.h"

namespace {

struct TCliResult {
  int Status = -1;
  std::string Out, Err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class TallisCliTest : public ::testing::Test {
protected:
  // Runs the program with English defaults and settings in the temporary folder; unprivileged,
  // as nobody when the test runs as root (the folder is then opened to everyone).
  TCliResult Run(const std::string& args, bool unprivileged = false) {
    std::string program = Quote(CORVANE_BINARY_DIR "/tallis-cli");
    if (unprivileged && ::geteuid() == 0) {
      std::filesystem::permissions(Dir.Path(), std::filesystem::perms::all);
      program = "setpriv --reuid=nobody --regid=nogroup --clear-groups " + program;
    }
    const std::string command = "cd " + Quote(Dir.Path()) + " && env -u LANGUAGE -u LANG -u LC_MESSAGES LC_ALL=C" +
                                " HOME=" + Quote(Dir.Path()) + " XDG_CONFIG_HOME=" + Quote(Dir / "config") + " " +
                                program + " " + args + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    TCliResult r;
    r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.Out = ReadFile(Dir / "out.txt");
    r.Err = ReadFile(Dir / "err.txt");
    return r;
  }
  TTempDir Dir;
};

}  // namespace

TEST_F(TallisCliTest, PrintsTheResultLines) {
  WriteFile(Dir / "tapes/sub/s.bin", TTape().Start(0400).Str());
  WriteFile(Dir / "tapes/t.bin", TTape().Data(0, {1}).Start(0400).Str());
  const std::string top = Dir / "tapes/t.bin", sub = Dir / "tapes/sub/s.bin";
  TCliResult r = Run("tapes '*.bin'");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "File: tapes/t.bin\n  Checked: 2 blocks: OK\n1 Files checked\n");
  EXPECT_EQ(r.Err, "");

  r = Run("--subdirs --contents " + Quote(Dir / "tapes") + " x.txt '*.bin'");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "File: " + sub + "\n Start at 000400\n  Checked: 1 blocks: OK\nFile: " + top +
                       "\n 000000 000001 JMP     001\n Start at 000400\n  Checked: 2 blocks: OK\n2 Files checked\n");
}

TEST_F(TallisCliTest, GermanLinesWithTheLanguageOption) {
  const TCliResult r = Run("/lang:de " + Quote(CORVANE_TAPES_DIR) + " novabasic1.ab");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "Datei: " CORVANE_TAPES_DIR "/novabasic1.ab\n  Nachspann: " + std::string(26, '$') +
                       "\n  Geprüft: 257 Blöcke: OK\n1 Dateien geprüft\n");
}

TEST_F(TallisCliTest, RunEndingOnAnErrorExitsWithOne) {
  const std::string longName(255, 'a');  // with ".tmp" too long for a file name
  WriteFile(Dir / longName, std::string("text\0", 5));
  TCliResult r = Run("--text . " + longName);
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out, "File: ./" + longName + "\n");
  EXPECT_EQ(r.Err, "tallis-cli: Cannot create file ./" + longName + ".tmp: File name too long\n");
  r = Run("missing '*'");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err, "tallis-cli: The source folder missing does not exist\n");
}

// The careless patterns that once led a repair out of the folder, tried as an unprivileged user.
TEST_F(TallisCliTest, PatternsLeavingTheFolderAreUsageErrors) {
  const std::string victim("A\0B\301", 4);
  WriteFile(Dir / "v/f", victim);
  std::filesystem::create_directories(Dir / "src");
  for (const std::string& pattern : {std::string("'../v/*'"), Quote(Dir / "v/*"), std::string("'x;../v/f'")}) {
    const TCliResult r = Run("--text src " + pattern, true);
    EXPECT_EQ(r.Status, 2) << pattern;
    EXPECT_EQ(r.Out, "") << pattern;
    EXPECT_EQ(r.Err.rfind("tallis-cli: The pattern ", 0), 0u) << r.Err;
  }
  EXPECT_EQ(ReadFile(Dir / "v/f"), victim);
  EXPECT_FALSE(std::filesystem::exists(Dir / "v/f.bak"));
}

TEST_F(TallisCliTest, UsageErrorsExitWithTwo) {
  for (const char* args : {"", "onlydir", "--txt . '*.bin'"}) {
    const TCliResult r = Run(args);
    EXPECT_EQ(r.Status, 2) << args;
    EXPECT_NE(r.Err.find("Usage: tallis-cli"), std::string::npos) << args;
    EXPECT_EQ(r.Out, "") << args;
  }
  EXPECT_NE(Run("--txt . x").Err.find("unknown option --txt"), std::string::npos);
  // As in corvane-cli: an option is given once.
  const TCliResult twice = Run("--text --subdirs --text . x");
  EXPECT_EQ(twice.Status, 2);
  EXPECT_EQ(twice.Err.rfind("tallis-cli: option --text is given twice\n", 0), 0u) << twice.Err;
  const TCliResult help = Run("--help");
  EXPECT_EQ(help.Status, 0);
  EXPECT_EQ(help.Out.rfind("Usage: tallis-cli", 0), 0u);
}

TEST_F(TallisCliTest, EmptyPatternsHaveNothingToDo) {
  const TCliResult r = Run(". ''");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "Nothing to do!\n");
}

TEST_F(TallisCliTest, DoubleDashLetsADirectoryLookLikeAnOption) {
  WriteFile(Dir / "-p/t.bin", TTape().Start(0).Str());
  const TCliResult r = Run("-- -p t.bin");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "File: -p/t.bin\n  Checked: 1 blocks: OK\n1 Files checked\n");
}

// SIGTERM ends a run at the next safe point. The run is held on a full output pipe when the signal
// comes, so it cannot have finished before.
TEST_F(TallisCliTest, TerminationSignalStopsTheRunAtASafePoint) {
  const std::string tape = TTape().Start(0).Str();
  for (int i = 0; i < 3000; ++i) WriteFile(Dir / ("tapes/tape" + std::to_string(i) + ".bin"), tape);
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  const std::string errName = Dir / "err.txt";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], 1);
    ::close(out[0]);
    ::close(out[1]);
    if (!std::freopen(errName.c_str(), "w", stderr)) _exit(127);
    ::setenv("LC_ALL", "C", 1);
    ::unsetenv("LANGUAGE");
    ::setenv("XDG_CONFIG_HOME", (Dir / "config").c_str(), 1);
    ::execl(CORVANE_BINARY_DIR "/tallis-cli", "tallis-cli", (Dir / "tapes").c_str(), "*.bin",
            static_cast<char*>(nullptr));
    _exit(127);
  }
  ::close(out[1]);
  std::string output;
  char buffer[4096];
  ssize_t n = ::read(out[0], buffer, sizeof buffer);  // the first lines: the run is going
  ASSERT_GT(n, 0);
  output.append(buffer, std::size_t(n));
  ::kill(pid, SIGTERM);
  while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) output.append(buffer, std::size_t(n));
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(ReadFile(errName), "tallis-cli: the run was stopped\n");
  EXPECT_EQ(output.find("Files checked"), std::string::npos);
  EXPECT_TRUE(output.ends_with("  Checked: 1 blocks: OK\n")) << output.substr(output.size() - 100);
}
