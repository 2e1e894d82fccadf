// A device that needs a file, with a host that asks the user: the run ends after the instruction
// (srFileNeeded), the host asks once the run has returned, answers, and the run goes on as if the
// file had been there from the start. And the errors the peripherals hand out as data.
#include "FileTestSupport.h"
#include "MachineTestSupport.h"
#include "Peripherals.h"

using namespace w;

namespace {

struct TAskingHost : TPeripheralHost {
  std::vector<std::uint8_t> Tty;
  std::vector<std::string> Lines;
  std::vector<TMachineError> Failures;
  int Selects = 0;
  bool AsksForFiles() const override { return true; }
  bool SelectFile(TPeriphDevice) override {
    ++Selects;  // never asked from inside an instruction
    return false;
  }
  void TeletypeOut(std::uint8_t b) override { Tty.push_back(b); }
  void PrinterLine(const std::string& line) override { Lines.push_back(line); }
  void ReportFailure(const TMachineError& e) override { Failures.push_back(e); }
};

class FileRequestTest : public MachineTest {
protected:
  FileRequestTest() { P.SetHost(&PHost); }
  TTempDir Dir;
  TAskingHost PHost;
  TPeripherals P{M};
};

TEST_F(FileRequestTest, ReaderRunContinuesAfterTheAnswer) {
  // 100: NIOS PTR; SKPDN PTR; JMP 101; DIA 0,PTR; HALT.
  Load(0100, {Io(NIO, 0, PS, PTR), Skp(DN, PTR), Jmp(0101), Io(DIA, 0, 0, PTR), nova::HaltWord});
  WriteBytes(Dir / "t.bin", {0123});
  EXPECT_EQ(RunFrom(0100), srFileNeeded);
  EXPECT_EQ(M.PC, 0101);  // after the instruction that needed the file
  EXPECT_EQ(M.ExecutedCount(), 1u);
  ASSERT_TRUE(P.FileRequested());
  EXPECT_EQ(P.RequestedDevice(), pdPtr);
  EXPECT_EQ(M.LastStopDetail(), "PTR needs a file");

  ASSERT_TRUE(P.OpenPtrFile(Dir / "t.bin"));
  EXPECT_TRUE(P.AnswerFileRequest());
  EXPECT_FALSE(P.FileRequested());
  EXPECT_EQ(M.LastStopReason(), srNone);
  EXPECT_EQ(M.ContinueRun(), srHalt);
  EXPECT_EQ(M.AC[0], 0123);
  EXPECT_EQ(P.PtrFile->Position(), 1);
  EXPECT_EQ(PHost.Selects, 0);

  // The same program with the tape there from the start takes the same instructions.
  TNovaMachine straight;
  TPeripherals p(straight);
  ASSERT_TRUE(p.OpenPtrFile(Dir / "t.bin"));
  for (int a = 0100; a <= 0104; ++a) straight.Memory[std::size_t(a)] = M.Memory[std::size_t(a)];
  straight.PC = 0100;
  EXPECT_EQ(straight.RunProgram(), srHalt);
  EXPECT_EQ(straight.ExecutedCount(), M.ExecutedCount());
  EXPECT_EQ(straight.PC, M.PC);
}

TEST_F(FileRequestTest, ReaderWithoutAnAnswerStopsAsWithoutAFile) {
  Load(0100, {Io(NIO, 0, PS, PTR), Skp(DN, PTR), Jmp(0101)});
  EXPECT_EQ(RunFrom(0100), srFileNeeded);
  EXPECT_FALSE(P.AnswerFileRequest());
  EXPECT_EQ(M.LastStopReason(), srDevice);
  EXPECT_EQ(M.LastStopDetail(), "PTR: no input file attached");
  EXPECT_TRUE(M.Ptr.BusyFlag());  // as without anybody to ask: it stays busy
}

TEST_F(FileRequestTest, ContinuingDoesNotStepOverAHaltAndSeesMarks) {
  // 100: DOAS 0,PTP; HALT. The run continues at the HALT, which stops it again at once.
  Load(0100, {Io(DOA, 0, PS, PTP), nova::HaltWord});
  M.AC[0] = 0252;
  EXPECT_EQ(RunFrom(0100), srFileNeeded);
  ASSERT_TRUE(P.AttachOutput(pdPtp, Dir / "p.bin"));
  EXPECT_TRUE(P.AnswerFileRequest());
  EXPECT_EQ(M.ContinueRun(), srHalt);
  EXPECT_EQ(M.PC, 0101);
  EXPECT_EQ(M.ExecutedCount(), 2u);
  ASSERT_TRUE(P.CloseOutput(pdPtp));
  EXPECT_EQ(ReadBytes(Dir / "p.bin"), (std::vector<unsigned char>{0252}));

  // A breakpoint on the next instruction stops the continued run before it.
  M.SetBreakpoint(0101);
  EXPECT_EQ(RunFrom(0100), srFileNeeded);
  ASSERT_TRUE(P.AttachOutput(pdPtp, Dir / "q.bin"));
  EXPECT_TRUE(P.AnswerFileRequest());
  EXPECT_EQ(M.ContinueRun(), srBreakpoint);
  EXPECT_EQ(M.ExecutedCount(), 3u);
}

TEST_F(FileRequestTest, TeletypePunchShowsTheByteAfterTheAnswer) {
  P.TtyPunch = true;
  Load(0100, {Io(DOA, 0, PS, TTO), nova::HaltWord});
  M.AC[0] = 'A';
  M.PC = 0100;
  EXPECT_EQ(M.Step(), srFileNeeded);  // a step needs the file too
  EXPECT_TRUE(PHost.Tty.empty());
  ASSERT_TRUE(P.AttachOutput(pdTtp, Dir / "t.bin"));
  EXPECT_TRUE(P.AnswerFileRequest());
  EXPECT_EQ(M.LastStopReason(), srNone);  // the step is done
  EXPECT_EQ(PHost.Tty, (std::vector<std::uint8_t>{'A'}));
}

TEST_F(FileRequestTest, PrinterRefusedPrintsOnWithoutAskingAgain) {
  Load(0100, {Io(DOA, 0, PS, LPT), Io(DOA, 1, PS, LPT), Io(DOA, 2, PS, LPT), nova::HaltWord});
  M.AC = {'O', 'K', 015, 0};
  EXPECT_EQ(RunFrom(0100), srFileNeeded);
  EXPECT_TRUE(P.AnswerFileRequest());  // no file chosen
  EXPECT_TRUE(P.LptDeclined);
  EXPECT_EQ(M.ContinueRun(), srHalt);  // no second question
  EXPECT_EQ(PHost.Lines, (std::vector<std::string>{"OK"}));

  // A printer file that cannot be made stops the run.
  P.LptDeclined = false;
  EXPECT_EQ(RunFrom(0100), srFileNeeded);
  EXPECT_FALSE(P.AttachOutput(pdLpt, Dir / "none/x.lst"));
  EXPECT_FALSE(P.AnswerFileRequest());
  EXPECT_EQ(M.LastStopReason(), srDevice);
  ASSERT_EQ(PHost.Failures.size(), 1u);
  EXPECT_EQ(PHost.Failures[0].Kind, ekOpen);
  EXPECT_EQ(PHost.Failures[0].File, Dir / "none/x.lst");
}

TEST_F(FileRequestTest, PrinterThatNeedsItsFileStopsAtOnce) {
  P.LptNeedsFile = true;  // the command line: nobody would see the output
  Load(0100, {Io(DOA, 0, PS, LPT), nova::HaltWord});
  EXPECT_EQ(RunFrom(0100), srDevice);
  EXPECT_EQ(M.LastStopDetail(), "LPT: no output file attached");
  EXPECT_FALSE(P.FileRequested());
}

TEST_F(FileRequestTest, OutsideARunNothingIsAskedFor) {
  EXPECT_FALSE(P.SetTeletypeReader(true));  // the reader switch with no file: off again
  EXPECT_FALSE(P.FileRequested());
}

TEST(MachineErrors, TextForABoxAndForALine) {
  const TMachineError open{ekOpen, "/t/a.bin", "No such file or directory"};
  EXPECT_EQ(ErrorText(open), "Error opening file:\r\n/t/a.bin");
  EXPECT_EQ(ErrorText(open, elLine), "Error opening file: /t/a.bin");
  EXPECT_EQ(ErrorText({ekNotFound, "x.dmp", ""}, elLine), "File not found: x.dmp");
  EXPECT_EQ(ErrorText({ekRead, "x.dmp", "Is a directory"}), "Cannot read file x.dmp: Is a directory");
  EXPECT_EQ(ErrorText({ekWrite, "x", "File too large"}, elLine), "Cannot write file x: File too large");
  EXPECT_EQ(ErrorText({}), "");
  EXPECT_FALSE(TMachineError{});
}

}  // namespace
