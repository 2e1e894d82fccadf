// The paper-tape punch writes into the file given while the run goes on: the tape punched so far
// can be checked with tallis-cli meanwhile, and a corvane-cli killed with SIGKILL leaves it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestTape.h"
#include "TestTempDir.h"

extern char** environ;

namespace {

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The tape the program punches: leader, a data block at 500, the start block, trailer.
std::string PunchedTape() { return TTape().Nul(4).Data(0500, {063077, 0123}).Start(0500).Nul(4).Str(); }

// corvane-cli running in the background until it is killed.
class TBackgroundRun {
public:
  TBackgroundRun(const TTempDir& dir, std::vector<std::string> args) {
    args.insert(args.begin(), CORVANE_BINARY_DIR "/corvane-cli");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, (dir / "out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, (dir / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::posix_spawn(&FPid, argv[0], &files, nullptr, argv.data(), environ) != 0) FPid = -1;
    posix_spawn_file_actions_destroy(&files);
  }
  ~TBackgroundRun() { Kill(); }
  bool Running() {
    int status = 0;
    return FPid > 0 && ::waitpid(FPid, &status, WNOHANG) == 0;
  }
  void Kill() {
    if (FPid <= 0) return;
    ::kill(FPid, SIGKILL);
    int status = 0;
    ::waitpid(FPid, &status, 0);
    FPid = -1;
  }

private:
  pid_t FPid = -1;
};

}  // namespace

TEST(PunchOnDisk, TheTapeIsThereWhileTheRunGoesOnAndAfterAKill) {
  TTempDir dir;
  const std::string tape = dir / "tape.ab";
  std::ofstream(tape, std::ios::binary) << "an old tape";
  TBackgroundRun run(dir, {"run", "--load-dump", CORVANE_BINARY_DIR "/tests/cli/programs/punch_tape.dmp", "--pc",
                           "101", "--ptp", tape});
  // The program punches its tape and then circles: the tape appears within a second or so.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (ReadAll(tape) != PunchedTape() && std::chrono::steady_clock::now() < deadline) ::poll(nullptr, 0, 10);
  ASSERT_EQ(ReadAll(tape), PunchedTape()) << ReadAll(dir / "err.txt");
  ASSERT_TRUE(run.Running()) << ReadAll(dir / "err.txt");

  // Read back while the run goes on.
  TChildOptions options;
  options.Env = {{"LC_ALL", "C"}, {"LANGUAGE", ""}, {"XDG_CONFIG_HOME", dir / "cfg"}};
  const TChildResult check = RunProgram(CORVANE_BINARY_DIR "/tallis-cli", {dir.Path(), "tape.ab"}, options);
  EXPECT_EQ(check.Out, "File: " + tape + "\n  Checked: 2 blocks: OK\n1 Files checked\n") << check.Err;
  EXPECT_TRUE(run.Running());

  run.Kill();
  EXPECT_EQ(ReadAll(tape), PunchedTape());
  for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_NE(e.path().filename().string().rfind(".tape.ab.", 0), 0u) << "a temporary file is left: " << e.path();
}
