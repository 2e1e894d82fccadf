// Reader tapes with their trailers, teletype, punch and printer output, missing files, write
// errors, and program load from a tape.
#include <sys/stat.h>

#include "FileTestSupport.h"
#include "MachineTestSupport.h"
#include "Peripherals.h"
#include "TestTape.h"

using namespace w;

namespace {

struct TPeriphHost : TPeripheralHost {
  std::function<bool(TPeriphDevice)> OnSelect;
  std::vector<TPeriphDevice> Asked;
  std::vector<std::uint8_t> Tty;
  std::vector<std::string> Lines;
  int Clears = 0;
  struct TPos {
    TPeriphDevice Dev;
    std::int64_t Pos;
    int Byte;
  };
  std::vector<TPos> Positions;
  std::vector<std::string> Errors;
  int OptionChanges = 0;

  bool SelectFile(TPeriphDevice dev) override {
    Asked.push_back(dev);
    return OnSelect ? OnSelect(dev) : false;
  }
  void TeletypeOut(std::uint8_t b) override { Tty.push_back(b); }
  void PrinterLine(const std::string& line) override { Lines.push_back(line); }
  void PrinterClear() override { ++Clears; }
  void PositionChanged(TPeriphDevice dev, std::int64_t pos, int byte) override { Positions.push_back({dev, pos, byte}); }
  void ReportFailure(const TMachineError& e) override { Errors.push_back(ErrorText(e)); }
  void OptionsChanged() override { ++OptionChanges; }
};

class PeripheralsTest : public MachineTest {
protected:
  // One reader request: -1 when no byte was delivered.
  int Request(TInDevice& dev) {
    dev.Clear();
    dev.Start();
    return dev.Completed() ? dev.InputByte() : -1;
  }
  std::vector<int> Requests(TInDevice& dev, int n) {
    std::vector<int> got;
    for (int i = 0; i < n; ++i) got.push_back(Request(dev));
    return got;
  }
  static std::vector<int> Expected(std::vector<int> data, int first, int zeros, int none) {
    data.push_back(first);
    data.insert(data.end(), std::size_t(zeros), 0);
    data.insert(data.end(), std::size_t(none), -1);
    return data;
  }

  TTempDir Dir;
  TPeriphHost PHost;
  TPeripherals P{M, &PHost};
};

TEST_F(PeripheralsTest, TextTapeTrailerStartsWithAFormFeed) {
  WriteBytes(Dir / "t.txt", {'a', 'b', 0377});
  ASSERT_TRUE(P.OpenPtrFile(Dir / "t.txt"));
  EXPECT_TRUE(P.PtrText);
  EXPECT_EQ(Requests(M.Ptr, 105), Expected({'a', 'b', 0377}, 014, 98, 3));
  EXPECT_TRUE(P.PtrFile->RunOut());
}

TEST_F(PeripheralsTest, BinaryTapeTrailerIsZeros) {
  WriteBytes(Dir / "t.txt", {1, 2, 3});
  ASSERT_TRUE(P.OpenPtrFile(Dir / "t.txt"));
  P.PtrText = false;  // the choice is read only when the tape ends
  EXPECT_EQ(Requests(M.Ptr, 103), Expected({1, 2, 3}, 0, 98, 1));
}

// Each option operation tells the host once when the option changes, and nothing when it stays.
TEST_F(PeripheralsTest, OptionOperationsTellTheHostOfAChange) {
  const struct {
    const char* Name;
    std::function<void()> Op;
    std::function<bool()> Holds;
  } cases[] = {
      {"ttr text", [&] { P.SetTextChoice(pdTtr, true); }, [&] { return P.TtrText; }},
      {"ptr text", [&] { P.SetTextChoice(pdPtr, true); }, [&] { return P.PtrText && !P.TtrText; }},
      {"punch", [&] { P.SetTtyPunch(true); }, [&] { return P.TtyPunch; }},
      {"text files", [&] { P.SetTextFiles("txt"); }, [&] { return P.TextFiles == "txt"; }},
      {"lpt declined", [&] { P.SetLptDeclined(true); }, [&] { return P.LptDeclined; }},
  };
  for (const auto& c : cases) {
    PHost.OptionChanges = 0;
    c.Op();
    EXPECT_TRUE(c.Holds()) << c.Name;
    c.Op();
    EXPECT_EQ(PHost.OptionChanges, 1) << c.Name;
    P.SetTextChoice(pdTtr, false), P.SetTextChoice(pdPtr, false), P.SetTtyPunch(false);
    P.SetTextFiles(DefaultTextFiles), P.SetLptDeclined(false);
  }
  PHost.OptionChanges = 0;
  P.SetTextChoice(pdLpt, true);  // not a reader
  EXPECT_EQ(PHost.OptionChanges, 0);
}

TEST_F(PeripheralsTest, ResetAndRunOut) {
  WriteBytes(Dir / "t.bin", {7, 8, 9});
  ASSERT_TRUE(P.OpenPtrFile(Dir / "t.bin"));
  EXPECT_FALSE(P.PtrText);
  Requests(M.Ptr, 200);
  P.ResetInput(pdPtr);
  EXPECT_TRUE(M.Ptr.Completed());  // the reset delivers byte 0
  EXPECT_EQ(M.Ptr.InputByte(), 0);
  EXPECT_EQ(Requests(M.Ptr, 2), (std::vector<int>{7, 8}));
  P.RunOutInput(pdPtr);  // the "Close" button
  EXPECT_EQ(Request(M.Ptr), -1);
}

TEST_F(PeripheralsTest, PositionFieldsEveryTenthByteAndAtTheEnd) {
  WriteBytes(Dir / "t.bin", std::vector<unsigned char>(25, 1));
  ASSERT_TRUE(P.OpenPtrFile(Dir / "t.bin"));
  Requests(M.Ptr, 25 + 100);
  std::vector<std::int64_t> positions;
  for (const auto& p : PHost.Positions) positions.push_back(p.Pos);
  ASSERT_EQ(positions.size(), 1u + 2u + 100u);  // opening, 10, 20, then each end-of-tape request
  EXPECT_EQ(positions[1], 10);
  EXPECT_EQ(positions[2], 20);
  EXPECT_EQ(positions[3], 25);
  EXPECT_EQ(PHost.Positions[3].Byte, 0);
  EXPECT_EQ(PHost.Positions.back().Byte, -1);  // nothing delivered any more
}

TEST_F(PeripheralsTest, StartingABusyReaderConsumesNothing) {
  WriteBytes(Dir / "t.bin", {5, 6});
  ASSERT_TRUE(P.OpenPtrFile(Dir / "t.bin"));
  M.Ptr.Clear();
  M.Ptr.Start();
  M.Ptr.Start();  // NIOS while busy: the delay starts again, no byte is asked for
  EXPECT_EQ(P.PtrFile->Position(), 1);
  EXPECT_EQ(M.Ptr.InputByte(), 5);
}

TEST_F(PeripheralsTest, ReaderWithoutAFileStopsTheRun) {
  Load(0100, {Io(NIO, 0, PS, PTR), Skp(DN, PTR), Jmp(0101)});
  EXPECT_EQ(RunFrom(0100), srDevice);
  EXPECT_EQ(M.LastStopDetail(), "PTR: no input file attached");
  EXPECT_EQ(M.PC, 0101);
  EXPECT_EQ(PHost.Asked, (std::vector<TPeriphDevice>{pdPtr}));
  EXPECT_TRUE(M.Ptr.BusyFlag());
}

TEST_F(PeripheralsTest, ReaderGetsAFileWhenAsked) {
  WriteBytes(Dir / "t.bin", {042});
  PHost.OnSelect = [&](TPeriphDevice dev) { return P.OpenInput(dev, Dir / "t.bin"); };
  Load(0100, {Io(NIO, 0, PS, PTR), Skp(DN, PTR), Jmp(0101), Io(DIA, 1, 0, PTR), nova::HaltWord});
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_EQ(M.AC[1], 042);
}

TEST_F(PeripheralsTest, TeletypeReaderSwitch) {
  EXPECT_FALSE(P.SetTeletypeReader(true));  // no file could be had: off again
  EXPECT_EQ(PHost.Asked, (std::vector<TPeriphDevice>{pdTtr}));

  WriteBytes(Dir / "r.txt", {'X'});
  ASSERT_TRUE(P.OpenTtrFile(Dir / "r.txt"));
  EXPECT_TRUE(M.Tti.DoneFlag());  // attached while the reader is off: done at once with byte 0
  EXPECT_EQ(M.Tti.InputByte(), 0);
  EXPECT_TRUE(M.IrqFlag);

  EXPECT_TRUE(P.SetTeletypeReader(true));  // asks for the first byte at once
  EXPECT_EQ(M.Tti.InputByte(), 'X');
  EXPECT_TRUE(M.Tti.BusyFlag());
  for (int i = 0; i < 5; ++i) M.TickDevices();
  EXPECT_FALSE(M.Tti.DoneFlag());
  M.TickDevices();
  EXPECT_TRUE(M.Tti.DoneFlag());
}

TEST_F(PeripheralsTest, TeletypeOutputAndPunch) {
  P.TtyPunch = true;
  ASSERT_TRUE(P.AttachOutput(pdTtp, Dir / "p.bin"));
  Load(0100, {Io(DOA, 0, PS, TTO), Io(DOA, 1, PS, TTO), nova::HaltWord});
  M.AC = {0301, 0215, 0, 0};
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_EQ(PHost.Tty, (std::vector<std::uint8_t>{0101, 015}));
  EXPECT_EQ(P.LastTtoOutputAt(), 2u);
  ASSERT_TRUE(P.CloseOutput(pdTtp));
  EXPECT_EQ(ReadBytes(Dir / "p.bin"), (std::vector<unsigned char>{0101, 015}));
}

TEST_F(PeripheralsTest, PunchWithoutAFileDropsTheByte) {
  P.TtyPunch = true;
  Load(0100, {Io(DOA, 0, PS, TTO), nova::HaltWord});
  M.AC[0] = 'A';
  EXPECT_EQ(RunFrom(0100), srDevice);
  EXPECT_TRUE(PHost.Tty.empty());
  EXPECT_EQ(M.PC, 0101);
}

TEST_F(PeripheralsTest, PaperTapePunchAndReplacement) {
  WriteBytes(Dir / "old.bin", {1, 2, 3});
  PHost.OnSelect = [&](TPeriphDevice dev) { return P.AttachOutput(dev, Dir / "old.bin"); };
  Load(0100, {Io(DOA, 0, PS, PTP), Io(NIO, 0, PS, PTP), nova::HaltWord});
  M.AC[0] = 0377;
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_EQ(ReadBytes(Dir / "old.bin"), (std::vector<unsigned char>{1, 2, 3}));  // until closed
  ASSERT_TRUE(P.CloseOutput(pdPtp));
  EXPECT_EQ(ReadBytes(Dir / "old.bin"), (std::vector<unsigned char>{0377, 0377}));
  EXPECT_EQ(Dir.FileCount(), 1u);
}

TEST_F(PeripheralsTest, WriteErrorStopsTheRunAndKeepsTheOldFile) {
  WriteBytes(Dir / "old.bin", {1, 2, 3});
  ASSERT_TRUE(P.AttachOutput(pdPtp, Dir / "old.bin"));
  Load(0100, {Io(DOA, 0, PS, PTP), Skp(DN, PTP), Jmp(0101), Arith(INC, 0, 0), Jmp(0100)});
  {
    TFileSizeLimit limit(100);
    EXPECT_EQ(RunFrom(0100, 10'000'000), srDevice);
  }
  EXPECT_NE(M.LastStopDetail().find(Dir / "old.bin"), std::string::npos);
  EXPECT_FALSE(P.PtpFile.IsOpen());
  EXPECT_EQ(ReadBytes(Dir / "old.bin"), (std::vector<unsigned char>{1, 2, 3}));
  EXPECT_EQ(Dir.FileCount(), 1u);
}

// The punch writes into its file as it goes: at a flush (the hosts flush at each stop and at
// least once a second) a reader can read back what has been punched while the run goes on.
TEST_F(PeripheralsTest, PunchedTapeCanBeReadBackWhileTheRunGoesOn) {
  WriteBytes(Dir / "tape.bin", {9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
  ASSERT_TRUE(P.AttachOutput(pdPtp, Dir / "tape.bin"));
  // Punches 1, 2, 3, ... for ever.
  Load(0100, {Arith(INC, 0, 0), Io(DOA, 0, PS, PTP), Skp(DN, PTP), Jmp(0102), Jmp(0100)});
  M.AC[0] = 0;
  M.SetPumpInterval(1000);
  std::vector<int> readBack;
  Host.OnPump = [&] {
    if (P.PtpFile.Position() < 5) return;
    P.FlushOutputs();
    ASSERT_TRUE(P.OpenPtrFile(Dir / "tape.bin"));
    readBack = Requests(M.Ptr, 5);
    M.RequestStop();
  };
  EXPECT_EQ(RunFrom(0100), srStop);
  EXPECT_EQ(readBack, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(P.PtpFile.IsOpen());
  EXPECT_EQ(Dir.FileCount(), 1u);
}

TEST_F(PeripheralsTest, PrinterWithoutAFilePrintsOn) {
  Load(0100, {Io(DOA, 0, PS, LPT), Io(DOA, 1, PS, LPT), Io(DOA, 2, PS, LPT), Io(DOA, 3, PS, LPT), nova::HaltWord});
  M.AC = {'H', 011, 'I', 015};
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_EQ(PHost.Lines, (std::vector<std::string>{"H I"}));
  EXPECT_EQ(PHost.Asked.size(), 4u);  // asked again for every byte
}

TEST_F(PeripheralsTest, PrinterFileThatCannotBeCreatedStops) {
  PHost.OnSelect = [&](TPeriphDevice dev) { return P.AttachOutput(dev, Dir / "none/x.lst"); };
  P.LptLine = "old";
  Load(0100, {Io(DOA, 0, PS, LPT), nova::HaltWord});
  M.AC[0] = 'A';
  EXPECT_EQ(RunFrom(0100), srDevice);
  EXPECT_EQ(PHost.Clears, 1);
  EXPECT_TRUE(P.LptLine.empty());
  ASSERT_EQ(PHost.Errors.size(), 1u);
  EXPECT_EQ(PHost.Errors[0], "Error opening file:\r\n" + (Dir / "none/x.lst"));
}

TEST_F(PeripheralsTest, PrinterFile) {
  ASSERT_TRUE(P.AttachOutput(pdLpt, Dir / "out.lst"));
  Load(0100, {Io(DOA, 0, PS, LPT), Io(DOA, 1, PS, LPT), nova::HaltWord});
  M.AC = {0301, 015, 0, 0};
  EXPECT_EQ(RunFrom(0100), srHalt);
  P.CloseAll();
  EXPECT_EQ(ReadBytes(Dir / "out.lst"), (std::vector<unsigned char>{0101, 015}));
  EXPECT_EQ(PHost.Lines, (std::vector<std::string>{"A"}));
}

TEST_F(PeripheralsTest, OpeningAMissingReaderFileReportsIt) {
  EXPECT_FALSE(P.OpenPtrFile(Dir / "missing.bin"));
  EXPECT_EQ(P.PtrFile, nullptr);
  ASSERT_EQ(PHost.Errors.size(), 1u);
  EXPECT_EQ(PHost.Errors[0], "Error opening file:\r\n" + (Dir / "missing.bin"));
  ASSERT_EQ(::mkfifo((Dir / "pipe").c_str(), 0600), 0);
  EXPECT_FALSE(P.OpenTtrFile(Dir / "pipe"));  // refused without waiting for a writer
  EXPECT_FALSE(P.OpenTtrFile(Dir.Path()));
  EXPECT_EQ(PHost.Errors.size(), 3u);
}

TEST(PeripheralTextRules, TextFilesAndConsole) {
  EXPECT_TRUE(IsTextFile("PROG.TXT", "txt"));
  EXPECT_FALSE(IsTextFile("prog", "txt"));
  EXPECT_FALSE(IsTextFile("dir.txt/prog", "txt"));
  EXPECT_TRUE(IsTextFile("a.bas", "txt, lst,asm,bas"));
  EXPECT_TRUE(IsTextFile("a.Lst", "txt,lst"));
  EXPECT_FALSE(IsTextFile("a.", "txt,,lst"));

  std::vector<std::string> lines{""};
  for (int b : {int('O'), int('K'), 012, 015, int('X'), 07, 0177}) ApplyConsoleByte(lines, std::uint8_t(b));
  EXPECT_EQ(lines, (std::vector<std::string>{"OK", ">X\177"}));
}

// A self-loading tape: leader, a marker byte, the count word, the program words, high byte first.
std::vector<unsigned char> SelfLoadingTape(const std::vector<TWord>& words) {
  std::vector<unsigned char> tape(16, 0);
  tape.push_back(0377);
  const TWord count = TWord(-(int(words.size()) + 1));
  for (TWord word : std::vector<TWord>{count}) {
    tape.push_back(std::uint8_t(word >> 8));
    tape.push_back(std::uint8_t(word));
  }
  for (TWord word : words) {
    tape.push_back(std::uint8_t(word >> 8));
    tape.push_back(std::uint8_t(word));
  }
  return tape;
}

TEST_F(PeripheralsTest, ProgramLoadFromATape) {
  // Loaded at 101: the letter, LDA 0,101, DOAS 0,TTO, HALT, JMP 102 (the loader jumps to the last word).
  WriteBytes(Dir / "hello.bin", SelfLoadingTape({0110, Lda(0, 0101), Io(DOA, 0, PS, TTO), nova::HaltWord, Jmp(0102)}));
  ASSERT_TRUE(P.OpenPtrFile(Dir / "hello.bin"));
  M.Switches = 012;
  M.InstructionLimit = 1'000'000;
  EXPECT_EQ(M.ProgramLoad(), srHalt);
  EXPECT_EQ(M.PC, 0104);
  EXPECT_EQ(PHost.Tty, (std::vector<std::uint8_t>{'H'}));
}

TEST_F(PeripheralsTest, ProgramLoadWithoutATapeStopsAtTheReader) {
  M.Switches = 0100012;  // even with bit 0 set: the reader is started first
  M.InstructionLimit = 1'000'000;
  EXPECT_EQ(M.ProgramLoad(), srDevice);
  EXPECT_EQ(PHost.Asked, (std::vector<TPeriphDevice>{pdPtr}));
}

TEST_F(PeripheralsTest, ProgramLoadWithBitZeroEndsInALoop) {
  WriteBytes(Dir / "t.bin", {0, 0});
  ASSERT_TRUE(P.OpenPtrFile(Dir / "t.bin"));
  M.Switches = 0100012;
  M.InstructionLimit = 10000;
  EXPECT_EQ(M.ProgramLoad(), srLimit);
  EXPECT_EQ(M.PC, 0377);
}

TEST_F(PeripheralsTest, RealTapePassesThroughUnchanged) {
  const std::string tape = std::string(CORVANE_TAPES_DIR) + "/nw4_final_read1.ab";
  const auto input = ReadBytes(tape);
  ASSERT_FALSE(input.empty());
  ASSERT_TRUE(P.OpenPtrFile(tape));
  ASSERT_TRUE(P.AttachOutput(pdPtp, Dir / "copy.ab"));
  // Copies the reader to the punch until the reader stays busy.
  Load(0100, {Io(NIO, 0, PS, PTR), Skp(DN, PTR), Jmp(0101), Io(DIA, 0, 0, PTR), Io(DOA, 0, PS, PTP),
              Skp(DN, PTP), Jmp(0105), Jmp(0100)});
  M.SetPumpInterval(10000);
  EXPECT_EQ(RunFrom(0100, 2'000'000), srLimit);
  ASSERT_TRUE(P.CloseOutput(pdPtp));
  auto expected = input;
  expected.insert(expected.end(), 99, 0);
  EXPECT_EQ(ReadBytes(Dir / "copy.ab"), expected);
}

// A binary tape with a punched label is put in after the label, as an operator placed it: the
// reader starts in the leader behind it, and a reset goes back there. A text tape starts at 0.
TEST_F(PeripheralsTest, LabelledTapeStartsAfterItsLabel) {
  const TTape tape = TTape().LabelledHead("091-000064-03").Data(0500, {1, 2}).Start(0500);
  const std::string name = Dir / "dg.ab";
  WriteBytes(name, std::vector<unsigned char>(tape.Str().begin(), tape.Str().end()));
  const std::size_t labelEnd = 128 + tape::PunchLabel("091-000064-03").size();
  ASSERT_TRUE(P.OpenPtrFile(name));
  EXPECT_EQ(P.PtrFile->Label.Text, "091-000064-03");
  EXPECT_EQ(P.PtrFile->Position(), std::int64_t(labelEnd));
  ASSERT_FALSE(PHost.Positions.empty());
  EXPECT_EQ(PHost.Positions.back().Pos, std::int64_t(labelEnd));
  EXPECT_EQ(Requests(M.Ptr, 320), std::vector<int>(320, 0));  // the leader
  EXPECT_EQ(Requests(M.Ptr, 2), (std::vector<int>{0376, 0377}));  // the first block
  P.ResetInput(pdPtr);
  EXPECT_EQ(P.PtrFile->Position(), std::int64_t(labelEnd));
  EXPECT_EQ(PHost.Positions.back().Pos, std::int64_t(labelEnd));

  P.PtrText = true;  // a text tape: nothing is skipped
  P.ResetInput(pdPtr);
  EXPECT_EQ(P.PtrFile->Position(), 0);
  ASSERT_TRUE(P.OpenInput(pdTtr, name, true));
  EXPECT_EQ(P.TtrFile->Position(), 0);

  // A tape whose first block is sound starts at 0.
  const TTape plain = TTape().Nul(10).Data(0, {1}).Nul(400).Label("1").Nul(400).Start(0);
  WriteBytes(Dir / "plain.ab", std::vector<unsigned char>(plain.Str().begin(), plain.Str().end()));
  ASSERT_TRUE(P.OpenPtrFile(Dir / "plain.ab"));
  EXPECT_EQ(P.PtrFile->Position(), 0);
  EXPECT_TRUE(P.PtrFile->Label.Text.empty());
}

// Tape after tape: when the tape in the reader has run out, the next one goes in as attaching it
// would (the device gets byte 0), and its bytes follow.
TEST_F(PeripheralsTest, QueuedTapesFollowWhenTheTapeHasRunOut) {
  WriteBytes(Dir / "a.bin", {1, 2});
  WriteBytes(Dir / "b.txt", {'x'});
  const TTape labelled = TTape().LabelledHead("7").Start(0);
  WriteBytes(Dir / "c.ab", std::vector<unsigned char>(labelled.Str().begin(), labelled.Str().end()));
  ASSERT_TRUE(P.OpenPtrFile(Dir / "a.bin"));
  ASSERT_TRUE(P.QueueInput(pdPtr, Dir / "b.txt"));
  ASSERT_TRUE(P.QueueInput(pdPtr, Dir / "c.ab"));
  EXPECT_FALSE(P.QueueInput(pdPtr, Dir / "none.bin"));
  EXPECT_EQ(PHost.Errors.size(), 1u);
  EXPECT_EQ(P.QueuedInputs(pdPtr), 2u);

  std::vector<int> expected = Expected({1, 2}, 0, 98, 0);
  expected.push_back(0);  // the request that finds the tape run out: the next tape goes in
  EXPECT_EQ(Requests(M.Ptr, 102), expected);
  EXPECT_EQ(P.PtrFile->FName, Dir / "b.txt");
  EXPECT_TRUE(P.PtrText);
  expected = Expected({'x'}, 014, 98, 0);
  expected.push_back(0);
  EXPECT_EQ(Requests(M.Ptr, 101), expected);
  EXPECT_EQ(P.PtrFile->FName, Dir / "c.ab");
  EXPECT_EQ(P.PtrFile->Position(), std::int64_t(128 + tape::PunchLabel("7").size()));
  EXPECT_EQ(P.QueuedInputs(pdPtr), 0u);
  Requests(M.Ptr, 320 + 6 + 100);
  EXPECT_EQ(Request(M.Ptr), -1);  // the last tape has run out and nothing follows
}

}  // namespace
