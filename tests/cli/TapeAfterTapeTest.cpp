// corvane-cli run with --ptr given twice: the binary loader's tape, then a Data General tape
// (label, leader, blocks, trailer) fed when the first has run out, in one command.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ChildProcess.h"
#include "TestTape.h"
#include "TestTempDir.h"

namespace {

const std::string Cli = CORVANE_BINARY_DIR "/corvane-cli";
const std::string Loader = CORVANE_BINARY_DIR "/samples/binloader.bin";

// A program at 500 that prints "OK" and halts at 510, on a labelled tape.
std::string OkTape() {
  return TTape()
      .LabelledHead("091-000064-03")
      .Data(0500, {020411, 061111, 063611, 000777, 020406, 061111, 063611, 000777, 063077, 'O', 'K'})
      .Repeat(0177757, 01000, 052525)
      .Start(0500)
      .Nul(5)
      .EvenParity("*U*U*U*U091-000064-03\r\n")
      .Nul(50)
      .Str();
}

TChildOptions Options(const TTempDir& dir) {
  TChildOptions o;
  o.WorkDir = dir.Path();
  o.Env = {{"LC_ALL", "C"}, {"LANGUAGE", ""}, {"XDG_CONFIG_HOME", dir / "cfg"}};
  return o;
}

}  // namespace

TEST(TapeAfterTape, LoaderThenALabelledTapeInOneCommand) {
  TTempDir dir;
  std::ofstream(dir / "ok.ab", std::ios::binary) << OkTape();
  const TChildResult r = RunProgram(
      Cli, {"run", "--switches", "12", "--prog-load", "--ptr", Loader, "--ptr", dir / "ok.ab", "--regs"}, Options(dir));
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "OK");
  EXPECT_NE(r.Err.find("PC=000510 "), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find(" STOP=halt"), std::string::npos) << r.Err;
}

TEST(TapeAfterTape, EveryTapeIsCheckedBeforeTheRun) {
  TTempDir dir;
  std::ofstream(dir / "ok.ab", std::ios::binary) << OkTape();
  TChildResult r = RunProgram(Cli, {"run", "--ptr", Loader, "--ptr", dir / "none.ab"}, Options(dir));
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("cannot read file " + dir / "none.ab"), std::string::npos) << r.Err;
  r = RunProgram(Cli, {"run", "--ptr", Loader, "--ttr", Loader, "--ttr", dir / "ok.ab", "--ptp", dir / "ok.ab"},
                 Options(dir));
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("is the same file as --ttr"), std::string::npos) << r.Err;
  std::ifstream in(dir / "ok.ab", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), OkTape());
}
