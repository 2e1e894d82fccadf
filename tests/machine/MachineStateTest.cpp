// Whole-machine states and their files: every field kept, refused files change nothing, files
// of the state that are gone are reported, and a run split in two through a state file is the
// same run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "MachineState.h"
#include "MachineTestSupport.h"
#include "Peripherals.h"
#include "StateFile.h"
#include "TestTempDir.h"

namespace {

void WriteBytes(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct TOutputHost : TPeripheralHost {
  std::string Teletype;
  std::vector<std::string> Lines;
  void TeletypeOut(std::uint8_t b) override { Teletype += char(b); }
  void PrinterLine(const std::string& line) override { Lines.push_back(line); }
};

struct TFakeClock : TThrottleClock {
  std::int64_t Now = 0;
  std::int64_t NowNs() override { return Now; }
  void SleepUntilNs(std::int64_t Ns) override { Now = Ns > Now ? Ns : Now; }
};

// A machine with its peripherals, as a program holds them.
struct TRig {
  TRig() { M.SetThrottleClock(&Clock); }
  TFakeClock Clock;
  TNovaMachine M;
  TOutputHost Out;
  TPeripherals P{M, &Out};
};

std::unique_ptr<TMachineState> NewState() { return std::make_unique<TMachineState>(); }

// The same bytes with a fresh checksum: only the field check can find a fault.
std::vector<std::uint8_t> Resealed(std::vector<std::uint8_t> b) {
  std::uint32_t crc = 0xffffffffu;
  for (std::size_t i = 0; i + 4 < b.size(); ++i) {
    crc ^= b[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  crc = ~crc;
  for (int i = 0; i < 4; ++i) b[b.size() - 4 + std::size_t(i)] = std::uint8_t(crc >> (8 * i));
  return b;
}

// A state in format 1: format 2 without its last section (BRKS), as the versions before wrote it.
std::vector<std::uint8_t> FormatOne(const TMachineState& s) {
  std::vector<std::uint8_t> b = EncodeState(s);
  const std::string text(b.begin(), b.end());
  const std::size_t brks = text.rfind("BRKS");
  EXPECT_EQ(brks + 8 + (b[brks + 4] | b[brks + 5] << 8) + 4, b.size());
  b.erase(b.begin() + std::ptrdiff_t(brks), b.end() - 4);
  b[8] = 1;
  const std::uint32_t length = std::uint32_t(b.size() - 14 - 4);
  for (int i = 0; i < 4; ++i) b[10 + std::size_t(i)] = std::uint8_t(length >> (8 * i));
  return Resealed(b);
}

class MachineStateTest : public ::testing::Test {
protected:
  TTempDir Dir;
};

// ---- every field survives the file, and a machine that is given the state gives it back

struct TFieldCase {
  const char* Name;
  std::function<void(TMachineState&, const TTempDir&)> Set;
};

const TFieldCase FieldCases[] = {
    {"last memory word", [](TMachineState& s, auto&) { s.Memory[077777] = 0123456; }},
    {"memory words", [](TMachineState& s, auto&) { s.Memory[0] = 1, s.Memory[0100] = 0177777; }},
    {"memory size", [](TMachineState& s, auto&) { s.MemSize = 4096; }},
    {"PC", [](TMachineState& s, auto&) { s.PC = 077776; }},
    {"carry", [](TMachineState& s, auto&) { s.Carry = 1; }},
    {"accumulators", [](TMachineState& s, auto&) { s.AC = {1, 0177777, 3, 0100000}; }},
    {"switches", [](TMachineState& s, auto&) { s.Switches = 0177777; }},
    {"interrupt enable to come", [](TMachineState& s, auto&) { s.PreEnable = true; }},
    {"interrupts on, request latched", [](TMachineState& s, auto&) { s.IntEnable = s.PreEnable = s.IrqFlag = true; }},
    {"executed count", [](TMachineState& s, auto&) { s.Executed = 1'000'000'000'000; }},
    {"last stop", [](TMachineState& s, auto&) { s.LastStop = srLimit; }},
    {"reader busy, transfer completed",
     [](TMachineState& s, auto&) { s.Devices[0] = {true, false, false, false, true, 7, 0, 0301}; }},
    {"punch masked", [](TMachineState& s, auto&) { s.Devices[1] = {false, true, true, false, false, 0, 0, 0377}; }},
    {"keyboard done with request", [](TMachineState& s, auto&) { s.Devices[2] = {false, true, false, true, false, 0, 0, 'A'}; }},
    {"teletype printer due", [](TMachineState& s, auto&) { s.Devices[3] = {true, false, false, false, true, 0, 987654321, 'Z'}; }},
    {"clock busy", [](TMachineState& s, auto&) { s.Devices[4] = {true, false, false, false, false, 0, 0, 0}; }},
    {"printer", [](TMachineState& s, auto&) { s.Devices[5] = {false, true, false, true, false, 3, 0, 015}; }},
    {"teletype reader on", [](TMachineState& s, auto&) { s.TtiReaderOn = true; }},
    {"clock rate and timer", [](TMachineState& s, auto&) { s.RtcInterval = 1, s.RtcTimerOn = true; }},
    {"Nova 800 speed and time",
     [](TMachineState& s, auto&) { s.Speed = speed::Nova800, s.RealSpeedDevices = false, s.SimTimeNs = 123456789012; }},
    {"fixed rate with remainder", [](TMachineState& s, auto&) { s.Speed = 5000, s.RateRemainder = 4999; }},
    {"breakpoints", [](TMachineState& s, auto&) { s.Breakpoints = {0, 0100, 077777}; }},
    {"step-over mark", [](TMachineState& s, auto&) { s.StepOverMarks = {0201}; }},
    {"watches", [](TMachineState& s, auto&) { s.Watches = {{020, 5, true, false}, {077777, 0177777, false, true}}; }},
    {"trace", [](TMachineState& s, auto&) { s.Trace = {{0100, 020000, 1, {1, 2, 3, 4}}, {0101, 063077, 0, {}}}; }},
    {"full trace",
     [](TMachineState& s, auto&) {
       s.Trace.resize(TraceCapacity);
       for (int i = 0; i < TraceCapacity; ++i) s.Trace[std::size_t(i)] = {TWord(i), TWord(~i), TWord(i & 1), {TWord(i)}};
     }},
    {"reader tape with queue",
     [](TMachineState& s, const TTempDir& d) {
       WriteBytes(d / "tape.bin", std::string(40, '\1'));
       WriteBytes(d / "next.txt", "NEXT");
       s.Readers[1] = {true, d / "tape.bin", false, 2, 17, 0, {{d / "next.txt", true}}};
     }},
    {"teletype reader tape run out",
     [](TMachineState& s, const TTempDir& d) {
       WriteBytes(d / "in.txt", "10 PRINT 1\r");
       s.Readers[0] = {true, d / "in.txt", true, 0, 11, TInputStream::RunOutCount, {}};
     }},
    {"punches and printer files",
     [](TMachineState& s, const TTempDir& d) {
       WriteBytes(d / "punch.out", "ABCDE");
       s.Outputs[0] = {true, d / "ttp.out", 0};
       s.Outputs[1] = {true, d / "punch.out", 5};
       s.Outputs[2] = {true, d / "printer.txt", 0};
     }},
    {"teletype punch switch, printer line",
     [](TMachineState& s, auto&) { s.TtyPunch = true, s.LptDeclined = true, s.LptLine = "TOTAL 12"; }},
    {"last teletype output", [](TMachineState& s, auto&) { s.LastTtoOutputAt = 4711; }},
    {"breakpoints of every kind with conditions, counts and hits",
     [](TMachineState& s, auto&) {
       s.Breakpoints = {050, 0100};
       s.Breaks = {{bkRead, 040, 040, "", nmOctal, 0, 1},
                   {bkExecute, 050, 050, "", nmOctal, 3, 0},
                   {bkExecute, 0100, 0100, "AC0 == 01F", nmHex, 2, 7},
                   {bkAccess, 0100, 077777, "[100] != 0", nmDecimal, 0, 0},
                   {bkWrite, 0200, 0277, "", nmOctal, 5, 4}};
     }},
};

TEST_F(MachineStateTest, EveryFieldSurvivesTheFileAndTheMachine) {
  for (const TFieldCase& c : FieldCases) {
    SCOPED_TRACE(c.Name);
    TTempDir dir;
    auto set = NewState();
    c.Set(*set, dir);
    ASSERT_NE(*set, *NewState()) << "the case changes nothing";

    const std::vector<std::uint8_t> bytes = EncodeState(*set);
    auto read = NewState();
    std::string why;
    ASSERT_TRUE(DecodeState(bytes.data(), bytes.size(), *read, why)) << why;
    EXPECT_EQ(*read, *set);

    TRig rig;
    std::vector<TAttachProblem> problems;
    ASSERT_TRUE(RestoreState(*read, rig.M, rig.P, problems));
    EXPECT_TRUE(problems.empty()) << AttachProblemText(problems.front());
    EXPECT_EQ(CaptureState(rig.M, rig.P), *set);
  }
}

// A state holds every breakpoint; one of format 1 held only the execute addresses, and the
// machine's data breakpoints stay when it is loaded.
TEST_F(MachineStateTest, BreakpointsOfEveryKindAndTheFilesOfFormatOne) {
  TRig saved;
  TBreakpoint write;
  write.Kind = bkWrite;
  write.First = 0200;
  write.Last = 0210;
  write.Condition = "AC1 > 7";
  write.Count = 2;
  ASSERT_TRUE(saved.M.SetBreakpoint(write));
  saved.M.SetBreakpoint(0100);
  const auto state = std::make_unique<TMachineState>(CaptureState(saved.M, saved.P));

  TBreakpoint read;
  read.Kind = bkRead;
  read.First = read.Last = 0300;
  const auto loaded = [&](const std::vector<std::uint8_t>& bytes) {
    auto rig = std::make_unique<TRig>();
    rig->M.SetBreakpoint(read);
    rig->M.SetBreakpoint(0400);
    auto s = NewState();
    std::string why;
    EXPECT_TRUE(DecodeState(bytes.data(), bytes.size(), *s, why)) << why;
    std::vector<TAttachProblem> problems;
    EXPECT_TRUE(RestoreState(*s, rig->M, rig->P, problems));
    std::vector<std::string> list;
    for (const TBreakpoint& b : rig->M.Breakpoints())
      list.push_back(std::string(BreakKindName(b.Kind)) + " " + TNovaMachine::AddrKey(b.First) + "-" +
                     TNovaMachine::AddrKey(b.Last) + " " + b.Condition + " " + std::to_string(b.Count));
    return list;
  };
  EXPECT_EQ(loaded(EncodeState(*state)),
            (std::vector<std::string>{"execute 000100-000100  0", "write 000200-000210 AC1 > 7 2"}));
  EXPECT_EQ(loaded(FormatOne(*state)),
            (std::vector<std::string>{"execute 000100-000100  0", "read 000300-000300  0"}));
  // A label the loading program does not know: that breakpoint is left out.
  state->Breaks[0].Condition = "AC1 > LIMIT";
  EXPECT_EQ(loaded(EncodeState(*state)), std::vector<std::string>{"execute 000100-000100  0"});
}

// The machine's lists and flags are put back as its operations keep them.
TEST_F(MachineStateTest, BreakpointsAndStepOverMarksAreCellFlagsAgain) {
  TRig a;
  a.M.SetBreakpoint(0100);
  a.M.Memory[0200].Flags |= StepOverFlag;
  a.M.Memory[0300].Flags |= BreakpointFlag;  // a stray flag without its list entry is not kept
  a.M.BreakPoints = {0100};
  TRig b;
  b.M.SetBreakpoint(0400);
  std::vector<TAttachProblem> problems;
  ASSERT_TRUE(RestoreState(CaptureState(a.M, a.P), b.M, b.P, problems));
  EXPECT_EQ(b.M.BreakPoints, std::vector<TWord>{0100});
  EXPECT_EQ(b.M.Memory[0100].Flags, BreakpointFlag);
  EXPECT_EQ(b.M.Memory[0200].Flags, StepOverFlag);
  EXPECT_EQ(b.M.Memory[0300].Flags, 0);
  EXPECT_EQ(b.M.Memory[0400].Flags, 0);
}

TEST_F(MachineStateTest, TheHostIsToldWhatChanged) {
  TRig rig;
  TRecordingHost host;
  rig.M.SetHost(&host);
  auto s = NewState();
  s->MemSize = 100;
  s->Breakpoints = {5};
  std::vector<TAttachProblem> problems;
  ASSERT_TRUE(RestoreState(*s, rig.M, rig.P, problems));
  for (const char* told : {"size 100", "switches", "memory", "registers", "breakpoints 1", "watches 0", "trace 0"})
    EXPECT_NE(std::find(host.Told.begin(), host.Told.end(), told), host.Told.end()) << told;
}

// ---- refused files

TEST_F(MachineStateTest, RefusedFilesChangeNothing) {
  auto s = NewState();
  s->PC = 0100;
  s->Memory[0100] = 063077;
  const std::vector<std::uint8_t> good = EncodeState(*s);
  const auto patched = [&](std::size_t at, std::uint8_t value) {
    std::vector<std::uint8_t> b = good;
    b[at] = value;
    return b;
  };
  const auto resealed = Resealed;
  // The PC is the first field of the first section: header 14, section tag and length 8.
  constexpr std::size_t PcAt = 14 + 8;
  const struct {
    const char* Name;
    std::vector<std::uint8_t> Bytes;
    const char* Why;
  } cases[] = {
      {"empty", {}, "not a machine state file"},
      {"cut in the magic", {good.begin(), good.begin() + 5}, "the file is cut short"},
      {"cut in the header", {good.begin(), good.begin() + 11}, "the file is cut short"},
      {"cut in the sections", {good.begin(), good.begin() + 100}, "the file is cut short"},
      {"without its checksum", {good.begin(), good.end() - 1}, "the file is cut short"},
      {"a memory dump", {0x7f, 0x00, 0x3f, 0x66, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
       "not a machine state file"},
      {"a newer format", patched(8, 3), "written by a newer version (state format 3; this version reads format 2)"},
      {"format 0", resealed(patched(8, 0)), "the file is damaged: format is not valid"},
      {"one byte changed", patched(40, 0x55), "its checksum does not match"},
      {"more after the end", [&] { auto b = good; b.push_back(0); return b; }(), "there is more after its end"},
      {"PC out of range", resealed(patched(PcAt + 1, 0x80)), "CPU.PC is not valid"},
      {"a section missing", [&] {
         auto b = good;
         b[14] = 'X';  // the first section's tag
         return resealed(b);
       }(), "the file is damaged: CPU is not valid"},
  };

  TRig rig;
  rig.M.SetPC(0123);
  rig.M.WriteWord(0123, 0777);
  WriteBytes(Dir / "tape.bin", "TAPE");
  ASSERT_TRUE(rig.P.OpenPtrFile(Dir / "tape.bin"));
  const auto before = std::make_unique<TMachineState>(CaptureState(rig.M, rig.P));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string why;
    auto read = NewState();
    read->PC = 7;
    EXPECT_FALSE(DecodeState(c.Bytes.data(), c.Bytes.size(), *read, why));
    EXPECT_NE(why.find(c.Why), std::string::npos) << why;
    EXPECT_EQ(read->PC, 7) << "the state given is left as it was";

    WriteBytes(Dir / "bad.nvs", std::string(c.Bytes.begin(), c.Bytes.end()));
    TMachineError error;
    std::vector<TAttachProblem> problems;
    EXPECT_FALSE(LoadMachineState(Dir / "bad.nvs", rig.M, rig.P, error, problems));
    EXPECT_EQ(ErrorText(error, elLine), "Cannot read file " + (Dir / "bad.nvs") + ": " + why);
    EXPECT_EQ(CaptureState(rig.M, rig.P), *before);
  }
  TMachineError error;
  std::vector<TAttachProblem> problems;
  EXPECT_FALSE(LoadMachineState(Dir / "none.nvs", rig.M, rig.P, error, problems));
  EXPECT_EQ(error.Kind, ekNotFound);

  // Every shorter piece of a good file is refused.
  for (std::size_t n = 1; n < good.size(); ++n) {
    std::string why;
    auto read = NewState();
    ASSERT_FALSE(DecodeState(good.data(), n, *read, why)) << n;
    ASSERT_EQ(why, "the file is cut short") << n;
  }
}

TEST_F(MachineStateTest, AStateIsNotPutBackDuringARun) {
  TRig rig;
  rig.M.WriteWord(0100, w::Jmp(0100));
  rig.M.SetPC(0100);
  bool refused = false;
  TRecordingHost host;
  host.OnPump = [&] {
    std::vector<TAttachProblem> problems;
    refused = !RestoreState(*NewState(), rig.M, rig.P, problems);
    rig.M.RequestStop();
  };
  rig.M.SetHost(&host);
  rig.M.SetPumpInterval(10);
  rig.M.RunProgram();
  EXPECT_TRUE(refused);
  EXPECT_EQ(rig.M.PC, 0100);
}

// ---- files of the state that are gone

TEST_F(MachineStateTest, AFileGoneOrShortIsReportedAndTheRestLoads) {
  const struct {
    const char* Name;
    std::function<void(const TTempDir&)> Spoil;
    TPeriphDevice Dev;
    TErrorKind Kind;
    const char* Text;
  } cases[] = {
      {"tape gone", [](const TTempDir& d) { std::filesystem::remove(d / "tape.bin"); }, pdPtr, ekNotFound,
       "PTR: File not found: "},
      {"tape shorter", [](const TTempDir& d) { WriteBytes(d / "tape.bin", "A"); }, pdPtr, ekRead,
       "PTR: Cannot read file " },
      {"punch file shorter", [](const TTempDir& d) { WriteBytes(d / "punch.out", "P"); }, pdPtp, ekRead,
       "PTP: Cannot read file "},
      {"punch file gone", [](const TTempDir& d) { std::filesystem::remove(d / "punch.out"); }, pdPtp, ekNotFound,
       "PTP: File not found: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTempDir dir;
    WriteBytes(dir / "tape.bin", "ABCDEF");
    {
      TRig rig;
      ASSERT_TRUE(rig.P.OpenPtrFile(dir / "tape.bin"));
      ASSERT_TRUE(rig.P.AttachOutput(pdPtp, dir / "punch.out"));
      // Two bytes read past the one delivered at the start, two punched.
      rig.P.PtrByteRequest(rig.M.Ptr);
      rig.P.PtrByteRequest(rig.M.Ptr);
      rig.P.PtpByteOut(rig.M.Ptp, 'X');
      rig.P.PtpByteOut(rig.M.Ptp, 'Y');
      rig.M.SetPC(0321);
      TMachineError error;
      ASSERT_TRUE(SaveMachineState(dir / "s.nvs", rig.M, rig.P, error)) << ErrorText(error);
    }
    ASSERT_EQ(ReadBytes(dir / "punch.out"), "XY");
    c.Spoil(dir);

    TRig rig;
    TMachineError error;
    std::vector<TAttachProblem> problems;
    ASSERT_TRUE(LoadMachineState(dir / "s.nvs", rig.M, rig.P, error, problems)) << ErrorText(error);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].Dev, c.Dev);
    EXPECT_EQ(problems[0].Error.Kind, c.Kind);
    EXPECT_NE(AttachProblemText(problems[0], elLine).find(c.Text), std::string::npos)
        << AttachProblemText(problems[0], elLine);
    EXPECT_EQ(rig.M.PC, 0321);
    EXPECT_EQ(rig.P.InputFile(pdPtr) != nullptr, c.Dev != pdPtr);
    EXPECT_EQ(rig.P.OutputFile(pdPtp)->IsOpen(), c.Dev != pdPtp);
  }
}

// A reader goes on at its saved place; a punch goes on after what it had punched.
TEST_F(MachineStateTest, TapesGoOnWhereTheyWere) {
  WriteBytes(Dir / "tape.bin", "ABCDEF");
  {
    TRig rig;
    ASSERT_TRUE(rig.P.OpenPtrFile(Dir / "tape.bin"));
    ASSERT_TRUE(rig.P.AttachOutput(pdPtp, Dir / "punch.out"));
    rig.P.PtrByteRequest(rig.M.Ptr);
    rig.P.PtpByteOut(rig.M.Ptp, 'X');
    TMachineError error;
    ASSERT_TRUE(SaveMachineState(Dir / "s.nvs", rig.M, rig.P, error));
  }
  TRig rig;
  TMachineError error;
  std::vector<TAttachProblem> problems;
  ASSERT_TRUE(LoadMachineState(Dir / "s.nvs", rig.M, rig.P, error, problems));
  EXPECT_EQ(rig.M.Ptr.InputByte(), 'A');
  rig.P.PtrByteRequest(rig.M.Ptr);
  EXPECT_EQ(rig.M.Ptr.InputByte(), 'B');
  rig.P.PtpByteOut(rig.M.Ptp, 'Y');
  rig.P.CloseAll();
  EXPECT_EQ(ReadBytes(Dir / "punch.out"), "XY");
}

// Undo's way back: the machine and the tapes as they were, but what was punched and printed
// since stays in the files; an output whose file was changed gets the state's file back.
TEST_F(MachineStateTest, PuttingBackKeepsTheOutputMadeSince) {
  WriteBytes(Dir / "tape.bin", "ABCDEF");
  TRig rig;
  ASSERT_TRUE(rig.P.OpenPtrFile(Dir / "tape.bin"));
  ASSERT_TRUE(rig.P.AttachOutput(pdPtp, Dir / "punch.out"));
  ASSERT_TRUE(rig.P.AttachOutput(pdTtp, Dir / "ttp.out"));
  rig.P.PtrByteRequest(rig.M.Ptr);
  rig.P.PtpByteOut(rig.M.Ptp, 'X');
  rig.P.SetTtyPunch(true);
  rig.P.TtoByteOut(rig.M.Tto, 'T');
  rig.P.FlushOutputs();
  rig.M.PC = 0123;
  const std::unique_ptr<TMachineState> before = std::make_unique<TMachineState>(CaptureState(rig.M, rig.P));

  rig.P.PtrByteRequest(rig.M.Ptr);
  rig.P.PtrByteRequest(rig.M.Ptr);
  rig.P.PtpByteOut(rig.M.Ptp, 'Y');
  ASSERT_TRUE(rig.P.CloseOutput(pdTtp));
  ASSERT_TRUE(rig.P.AttachOutput(pdTtp, Dir / "other.out"));
  rig.P.TtoByteOut(rig.M.Tto, 'U');
  rig.M.PC = 0;
  std::vector<TAttachProblem> problems;
  ASSERT_TRUE(PutBackState(*before, rig.M, rig.P, problems));
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(rig.M.PC, 0123);
  EXPECT_EQ(rig.M.Ptr.InputByte(), 'A');
  rig.P.PtrByteRequest(rig.M.Ptr);
  EXPECT_EQ(rig.M.Ptr.InputByte(), 'B');  // the tape is back where it was
  rig.P.PtpByteOut(rig.M.Ptp, 'Z');
  rig.P.TtoByteOut(rig.M.Tto, 'V');
  rig.P.CloseAll();
  EXPECT_EQ(ReadBytes(Dir / "punch.out"), "XYZ");  // the same file: what it punched stays
  EXPECT_EQ(ReadBytes(Dir / "ttp.out"), "TV");     // the file of the state again
  EXPECT_EQ(ReadBytes(Dir / "other.out"), "U");
}

// ---- a run split in two through a state file is the run in one

// Prints "HELLO" and CR LF on the teletype from its interrupts while the main program counts.
void TeletypeByInterrupts(TRig& r, const TTempDir&) {
  using namespace w;
  const std::string text = "HELLO\r\n";
  for (std::size_t i = 0; i < text.size(); ++i) r.M.Memory[0300 + i].Data = TWord(text[i]);
  r.M.Memory[1].Data = 0200;  // the interrupt vector
  r.M.Memory[050].Data = 0301;
  const TWord main[] = {Lda(0, 0300), Io(DOA, 0, PS, TTO), INTEN, Isz(052), Jmp(0103), Jmp(0103)};
  const TWord handler[] = {Lda(2, 050), Lda(0, 0, 2), Arith(MOV, 0, 0, 0, 0, false, SNR), Jmp(0210),
                           Io(DOA, 0, PS, TTO), Isz(050), INTEN, Jmp(0, 0, true), HALT};
  for (std::size_t i = 0; i < std::size(main); ++i) r.M.Memory[0100 + i].Data = main[i];
  for (std::size_t i = 0; i < std::size(handler); ++i) r.M.Memory[0200 + i].Data = handler[i];
  r.M.PC = 0100;
}

// Copies six bytes of a tape to the punch and the printer, waiting for each device.
void TapeToPunchAndPrinter(TRig& r, const TTempDir& d) {
  using namespace w;
  WriteBytes(d / "tape.bin", "AB\rCD\r");
  r.P.OpenPtrFile(d / "tape.bin");
  const TWord program[] = {Io(NIO, 0, PS, PTR), Skp(DN, PTR), Jmp(0101),         Io(DIA, 0, NoPulse, PTR),
                           Io(DOA, 0, PS, PTP), Skp(DN, PTP), Jmp(0105),         Io(DOA, 0, PS, LPT),
                           Skp(DN, LPT),        Jmp(0110),    Dsz(040),          Jmp(0100),
                           HALT};
  for (std::size_t i = 0; i < std::size(program); ++i) r.M.Memory[0100 + i].Data = program[i];
  r.M.Memory[040].Data = 6;
  r.M.PC = 0100;
}

void TeletypeAtNova800Speed(TRig& r, const TTempDir& d) {
  TeletypeByInterrupts(r, d);
  r.M.SetSpeed(speed::Nova800);
}

struct TProgram {
  const char* Name;
  void (*Setup)(TRig&, const TTempDir&);
  std::uint64_t Stride;  // the runs are split after every Stride-th instruction
};

struct TRunResult {
  std::unique_ptr<TMachineState> End;
  std::string Teletype;
  std::vector<std::string> Lines;
  std::string Punched;
  TStopReason Reason = srNone;
};

TEST_F(MachineStateTest, ARunSplitThroughAStateFileIsTheRunInOne) {
  const TProgram programs[] = {
      {"teletype by interrupts", TeletypeByInterrupts, 1},
      {"tape to punch and printer", TapeToPunchAndPrinter, 1},
      {"teletype at Nova 800 speed", TeletypeAtNova800Speed, 9973},
  };
  for (const TProgram& program : programs) {
    SCOPED_TRACE(program.Name);
    const auto finish = [&](TRig& rig, TRunResult& result, const std::string& punch) {
      rig.P.CloseAll();
      result.End = std::make_unique<TMachineState>(CaptureState(rig.M, rig.P));
      result.Punched = ReadBytes(punch);
    };
    TRunResult straight;
    {
      TRig rig;
      program.Setup(rig, Dir);
      ASSERT_TRUE(rig.P.AttachOutput(pdPtp, Dir / "straight.ptp"));
      rig.M.InstructionLimit = 10'000'000;
      straight.Reason = rig.M.RunProgram();
      straight.Teletype = rig.Out.Teletype;
      straight.Lines = rig.Out.Lines;
      finish(rig, straight, Dir / "straight.ptp");
    }
    ASSERT_EQ(straight.Reason, srHalt);
    const std::uint64_t total = straight.End->Executed;
    ASSERT_GT(total, 20u);

    for (std::uint64_t k = 1; k < total; k += program.Stride) {
      SCOPED_TRACE("split after " + std::to_string(k));
      TRunResult split;
      const std::string punch = Dir / "split.ptp";
      {
        TRig first;
        program.Setup(first, Dir);
        ASSERT_TRUE(first.P.AttachOutput(pdPtp, punch));
        first.M.InstructionLimit = k;
        ASSERT_EQ(first.M.RunProgram(), srLimit);
        TMachineError error;
        ASSERT_TRUE(SaveMachineState(Dir / "split.nvs", first.M, first.P, error)) << ErrorText(error);
        split.Teletype = first.Out.Teletype;
        split.Lines = first.Out.Lines;
      }
      TRig second;
      TMachineError error;
      std::vector<TAttachProblem> problems;
      ASSERT_TRUE(LoadMachineState(Dir / "split.nvs", second.M, second.P, error, problems)) << ErrorText(error);
      ASSERT_TRUE(problems.empty());
      second.M.InstructionLimit = 10'000'000;
      split.Reason = second.M.ResumeRun();
      split.Teletype += second.Out.Teletype;
      split.Lines.insert(split.Lines.end(), second.Out.Lines.begin(), second.Out.Lines.end());
      finish(second, split, punch);

      EXPECT_EQ(split.Reason, straight.Reason);
      EXPECT_EQ(split.Teletype, straight.Teletype);
      EXPECT_EQ(split.Lines, straight.Lines);
      EXPECT_EQ(split.Punched, straight.Punched);
      EXPECT_EQ(*split.End, *straight.End);
      if (::testing::Test::HasFailure()) return;
    }
  }
}

// A run cut short just before a HALT or a breakpoint stops there when it goes on, as the run in
// one would have.
TEST_F(MachineStateTest, AResumedRunStopsWhereTheRunInOneWould) {
  using namespace w;
  const struct {
    const char* Name;
    bool Breakpoint;
    TStopReason Expected;
    TWord Pc;
  } cases[] = {
      {"HALT next", false, srHalt, 0102},  // a HALT leaves PC on itself
      {"breakpoint next", true, srBreakpoint, 0102},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TRig rig;
    rig.M.WriteWords(0100, std::array<TWord, 3>{Arith(INC, 0, 0), Arith(INC, 0, 0), HALT}.data(), 3);
    if (c.Breakpoint) rig.M.SetBreakpoint(0102);
    rig.M.SetPC(0100);
    rig.M.InstructionLimit = 2;
    ASSERT_EQ(rig.M.RunProgram(), srLimit);
    TRig next;
    std::vector<TAttachProblem> problems;
    ASSERT_TRUE(RestoreState(CaptureState(rig.M, rig.P), next.M, next.P, problems));
    next.M.InstructionLimit = 100;
    EXPECT_EQ(next.M.ResumeRun(), c.Expected);
    EXPECT_EQ(next.M.PC, c.Pc);
    EXPECT_EQ(next.M.AC[0], 2);
  }
}

}  // namespace
