// corvane-cli run --save-state and --load-state: a run split in two through a state file prints,
// punches and ends as the run in one; a tape of the state that is gone is reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestTempDir.h"

namespace {

const std::string Cli = CORVANE_BINARY_DIR "/corvane-cli";
const std::string Programs = CORVANE_BINARY_DIR "/tests/cli/programs/";
const std::string Samples = CORVANE_BINARY_DIR "/samples/";

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TChildResult CliRun(const TTempDir& dir, std::vector<std::string> args) {
  TChildOptions options;
  options.WorkDir = dir.Path();
  options.Env = {{"LC_ALL", "C"}, {"LANGUAGE", ""}, {"XDG_CONFIG_HOME", dir / "cfg"}};
  args.insert(args.begin(), "run");
  return RunProgram(Cli, args, options);
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::uint64_t Steps(const std::string& regs) {
  const std::size_t at = regs.find("STEPS=");
  return at == std::string::npos ? 0 : std::stoull(regs.substr(at + 6));
}

TEST(StateFile, ARunSplitInTwoIsTheRunInOne) {
  const struct {
    const char* Name;
    std::vector<std::string> Args;
    std::vector<std::string> Files;  // written by the run, compared
  } programs[] = {
      {"a tape loaded and printing", {"--ptr", Samples + "hello.bin", "--switches", "12", "--prog-load"}, {}},
      {"teletype interrupts", {"--load-dump", Programs + "tto_interrupt.dmp", "--pc", "101"}, {}},
      {"printer and punch", {"--load-dump", Programs + "devices.dmp", "--pc", "101", "--lpt", "out.lpt", "--ptp", "out.ptp"},
       {"out.lpt", "out.ptp"}},
      {"printer and punch at Nova 800 speed",
       {"--load-dump", Programs + "devices.dmp", "--pc", "101", "--lpt", "out.lpt", "--ptp", "out.ptp", "--speed", "nova800"},
       {"out.lpt", "out.ptp"}},
  };
  for (const auto& p : programs) {
    SCOPED_TRACE(p.Name);
    TTempDir dir;
    const TChildResult straight = CliRun(dir, Joined(p.Args, {"--regs", "--save-state", "end.nvs"}));
    ASSERT_EQ(straight.Status, 0) << straight.Err;
    const std::string straightEnd = ReadAll(dir / "end.nvs");
    std::vector<std::string> straightFiles;
    for (const std::string& f : p.Files) straightFiles.push_back(ReadAll(dir / f));
    const std::uint64_t total = Steps(straight.Err);
    ASSERT_GT(total, 10u) << straight.Err;

    for (std::uint64_t k : {std::uint64_t(1), total / 3, total / 2, total - 1}) {
      SCOPED_TRACE("split after " + std::to_string(k));
      for (const std::string& f : p.Files) std::filesystem::remove(dir / f);
      const TChildResult first =
          CliRun(dir, Joined(p.Args, {"--max-instructions", std::to_string(k), "--save-state", "mid.nvs"}));
      ASSERT_EQ(first.Status, 3) << first.Err;
      const TChildResult second = CliRun(dir, {"--load-state", "mid.nvs", "--regs", "--save-state", "end.nvs"});
      ASSERT_EQ(second.Status, 0) << second.Err;
      EXPECT_EQ(first.Out + second.Out, straight.Out);
      EXPECT_EQ(second.Err, straight.Err);  // the register line: registers, steps, stop, time
      EXPECT_EQ(ReadAll(dir / "end.nvs"), straightEnd);
      for (std::size_t i = 0; i < p.Files.size(); ++i) EXPECT_EQ(ReadAll(dir / p.Files[i]), straightFiles[i]) << p.Files[i];
    }
  }
}

// The options after --load-state apply to the loaded machine: here a new start address.
TEST(StateFile, OptionsApplyAfterTheState) {
  TTempDir dir;
  ASSERT_EQ(CliRun(dir, {"--load-dump", Programs + "trace.dmp", "--pc", "100", "--max-instructions", "3", "--save-state",
                      "s.nvs"})
                .Status,
            3);
  const TChildResult again = CliRun(dir, {"--load-state", "s.nvs", "--pc", "100", "--regs"});
  EXPECT_EQ(again.Status, 0) << again.Err;
  EXPECT_NE(again.Err.find(" STEPS=25 STOP=halt\n"), std::string::npos) << again.Err;
}

TEST(StateFile, ATapeThatIsGoneIsReportedAndTheRestLoads) {
  TTempDir dir;
  std::filesystem::copy_file(Samples + "hello.bin", dir / "tape.bin");
  ASSERT_EQ(CliRun(dir, {"--ptr", "tape.bin", "--switches", "12", "--prog-load", "--max-instructions", "100", "--save-state",
                      "s.nvs"})
                .Status,
            3);
  std::filesystem::remove(dir / "tape.bin");
  const TChildResult again = CliRun(dir, {"--load-state", "s.nvs", "--regs"});
  EXPECT_EQ(again.Status, 4);
  EXPECT_EQ(again.Err.rfind("corvane-cli: PTR: File not found: " + (dir / "tape.bin") + "\n", 0), 0u) << again.Err;
  EXPECT_GT(Steps(again.Err), 100u) << again.Err;  // it went on from step 100
  EXPECT_NE(again.Err.find("corvane-cli: PTR: no input file attached\n"), std::string::npos) << again.Err;
}

TEST(StateFile, ARefusedStateFileStartsNothing) {
  TTempDir dir;
  std::ofstream(dir / "bad.nvs", std::ios::binary) << "NVSTATE";
  std::ofstream(dir / "foreign.nvs", std::ios::binary) << std::string(100, '\0');
  const struct {
    const char* File;
    const char* Message;
  } cases[] = {
      {"none.nvs", "File not found: "},
      {"bad.nvs", "the file is cut short"},
      {"foreign.nvs", "not a machine state file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    const TChildResult r = CliRun(dir, {"--load-state", c.File, "--save-dump", "d.dmp", "--save-state", "s.nvs"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
    EXPECT_FALSE(std::filesystem::exists(dir / "d.dmp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "s.nvs"));
  }
}

TEST(StateFile, AStateFileOnAFullDiskKeepsTheOldOne) {
  TTempDir dir;
  std::ofstream(dir / "s.nvs", std::ios::binary) << "the old state";
  TChildOptions options;
  options.WorkDir = dir.Path();
  options.Env = {{"LC_ALL", "C"}, {"LANGUAGE", ""}, {"XDG_CONFIG_HOME", dir / "cfg"}};
  options.FileSizeLimit = 64;
  const TChildResult r = RunProgram(Cli, {"run", "--max-instructions", "5", "--save-state", "s.nvs"}, options);
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("ot write file s.nvs: File too large"), std::string::npos) << r.Err;
  EXPECT_EQ(ReadAll(dir / "s.nvs"), "the old state");
  EXPECT_EQ(dir.FileCount(), 1u);
}

}  // namespace
