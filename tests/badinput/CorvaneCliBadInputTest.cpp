// corvane-cli with bad input: dumps and tapes that are empty, odd, oversized, folders, pipes,
// unreadable or oddly named; a full disk under each output file; a read-only or missing working
// folder; an indirect chain that loops; absurd option values. Each ends with a clear message and
// exit status, loses no file and does not hang.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <regex>
#include <thread>

#include "BadInputSupport.h"

namespace {

bool Matches(const std::string& text, const std::string& pattern) {
  return std::regex_search(text, std::regex(pattern));
}

// ---- dump files: disasm --dump and run --load-dump

struct TDumpCase {
  const char* Name;
  std::function<std::string(const TUserFolder&)> Make;  // the file name given to the program
  int DisasmStatus;
  const char* DisasmOut;  // its last listing line ("" for none), or the message on standard error
  int RunStatus;
  const char* RunErr;  // standard error of run --regs
  bool ObeyPermissions = false;
};
void PrintTo(const TDumpCase& c, std::ostream* os) { *os << c.Name; }

std::string Named(const TUserFolder& u, const std::string& name, const std::string& bytes) {
  u.Write(name, bytes);
  return name;
}

const char* const LimitAt0 = "^PC=000000 AC0=000000 .* STEPS=5 STOP=limit\n$";

const TDumpCase DumpCases[] = {
    {"Empty", [](auto& u) { return Named(u, "e.dmp", ""); }, 0, "", 3, LimitAt0},
    {"OddLength", [](auto& u) { return Named(u, "o.dmp", "\x01\x02\x03"); }, 0, "000001  000003  JMP     003\n", 3,
     "^PC=000001 .* STOP=limit\n$"},
    {"Oversized", [](auto& u) { return Named(u, "big.dmp", std::string(70000, '\0')); }, 0,
     "077777  000000  JMP     000\n", 3, LimitAt0},
    {"Folder",
     [](auto& u) {
       std::filesystem::create_directory(u / "d.dmp");
       return std::string("d.dmp");
     },
     1, "^corvane-cli: Cannot read file d.dmp: Is a directory\n$", 1,
     "^corvane-cli: Cannot read file d.dmp: Is a directory\n$"},
    {"Pipe",
     [](auto& u) {
       ::mkfifo((u / "p.dmp").c_str(), 0600);
       return std::string("p.dmp");
     },
     1, "^corvane-cli: Cannot read file p.dmp: not a regular file\n$", 1,
     "^corvane-cli: Cannot read file p.dmp: not a regular file\n$"},
    {"Unreadable",
     [](auto& u) {
       Named(u, "u.dmp", "\x01\x00");
       ::chmod((u / "u.dmp").c_str(), 0);
       return std::string("u.dmp");
     },
     1, "^corvane-cli: Cannot read file u.dmp: Permission denied\n$", 1,
     "^corvane-cli: Cannot read file u.dmp: Permission denied\n$", true},
    {"DanglingLink",
     [](auto& u) {
       std::filesystem::create_symlink("gone.dmp", u / "l.dmp");
       return std::string("l.dmp");
     },
     1, "^corvane-cli: File not found: l.dmp\n$", 1, "^corvane-cli: File not found: l.dmp\n$"},
    {"NameNotUtf8", [](auto& u) { return Named(u, "\xff\xfe.dmp", "\x05\x00"); }, 0, "000000  000005  JMP     005\n", 3,
     "^PC=.* STEPS=5 STOP=limit\n$"},
    {"MissingNameNotUtf8", [](auto&) { return std::string("\xff.dmp"); }, 1, "^corvane-cli: File not found: \xff.dmp\n$",
     1, "^corvane-cli: File not found: \xff.dmp\n$"},
};

class BadDump : public ::testing::TestWithParam<TDumpCase> {};

TEST_P(BadDump, ListedAndLoadedOrRefused) {
  const TDumpCase& c = GetParam();
  TUserFolder u;
  const std::string name = c.Make(u);
  TChildOptions options = u.Options();
  options.ObeyPermissions = c.ObeyPermissions;

  const TChildResult disasm = RunProgram(CorvaneCli, {"disasm", "--dump", name}, options);
  EXPECT_EQ(disasm.Status, c.DisasmStatus) << disasm.Err;
  if (c.DisasmStatus == 0) {
    EXPECT_EQ(disasm.Err, "");
    const std::string out = disasm.Out;
    EXPECT_TRUE(out.ends_with(c.DisasmOut)) << out.substr(out.size() > 200 ? out.size() - 200 : 0);
  } else {
    EXPECT_TRUE(Matches(disasm.Err, c.DisasmOut)) << disasm.Err;
    EXPECT_EQ(disasm.Out, "");
  }

  const TChildResult run =
      RunProgram(CorvaneCli, {"run", "--load-dump", name, "--max-instructions", "5", "--regs"}, options);
  EXPECT_EQ(run.Status, c.RunStatus) << run.Err;
  EXPECT_TRUE(Matches(run.Err, c.RunErr)) << run.Err;
}

INSTANTIATE_TEST_SUITE_P(Files, BadDump, ::testing::ValuesIn(DumpCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(BadDump, OversizedDumpIsCutAt32768Words) {
  TUserFolder u;
  u.Write("big.dmp", std::string(70000, '\x11'));
  const TChildResult r = RunProgram(CorvaneCli, {"disasm", "--dump", "big.dmp"}, u.Options());
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), 32768);
}

// ---- tapes in the paper-tape reader, program-loaded

struct TTapeCase {
  const char* Name;
  std::function<void(const TUserFolder&)> Make;  // makes "t.bin"
  int Status;
  const char* Out;  // teletype output
  const char* Err;
  bool ObeyPermissions = false;
};
void PrintTo(const TTapeCase& c, std::ostream* os) { *os << c.Name; }

const char* const RanOut =
    "STOP=stop\ncorvane-cli: the program has waited for PTR for 10 seconds after its tape ran out\n$";

std::string SampleTape() {
  std::ifstream in(Samples + "/hello.bin", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

const TTapeCase TapeCases[] = {
    {"Empty", [](auto& u) { u.Write("t.bin", ""); }, 4, "", RanOut},
    {"AllNul", [](auto& u) { u.Write("t.bin", std::string(200, '\0')); }, 4, "", RanOut},
    // The bootstrap takes the 0377 frames for a program, which punches and finds no punch file.
    {"All0377", [](auto& u) { u.Write("t.bin", std::string(200, '\xff')); }, 4, "",
     "STOP=device\ncorvane-cli: PTP: no output file attached\n$"},
    {"OddLeader", [](auto& u) { u.Write("t.bin", std::string(3, '\0') + SampleTape()); }, 0, "HELLO, WORLD!",
     "STOP=halt\n$"},
    {"Pipe", [](auto& u) { ::mkfifo((u / "t.bin").c_str(), 0600); }, 1, "",
     "^corvane-cli: cannot read file t.bin: not a regular file\n$"},
    {"Unreadable",
     [](auto& u) {
       u.Write("t.bin", SampleTape());
       ::chmod((u / "t.bin").c_str(), 0);
     },
     1, "", "^corvane-cli: cannot read file t.bin: Permission denied\n$", true},
};

class BadTape : public ::testing::TestWithParam<TTapeCase> {};

TEST_P(BadTape, ProgramLoadEndsOrIsRefused) {
  const TTapeCase& c = GetParam();
  TUserFolder u;
  c.Make(u);
  TChildOptions options = u.Options();
  options.ObeyPermissions = c.ObeyPermissions;
  options.TimeoutSeconds = 60;
  const TChildResult r =
      RunProgram(CorvaneCli, {"run", "--ptr", "t.bin", "--switches", "12", "--prog-load", "--regs"}, options);
  EXPECT_EQ(r.Status, c.Status) << r.Err;
  EXPECT_NE(r.Out.find(c.Out), std::string::npos) << r.Out;
  EXPECT_TRUE(Matches(r.Err, c.Err)) << r.Err;
}

INSTANTIATE_TEST_SUITE_P(Files, BadTape, ::testing::ValuesIn(TapeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- a full disk under each output file

struct TOutputCase {
  const char* Name;
  std::vector<std::string> Args;  // the output file is "old.out"
};
void PrintTo(const TOutputCase& c, std::ostream* os) { *os << c.Name; }

const std::string Devices = CliPrograms + "/devices.dmp";

// The program that prints "LPT" and punches two bytes.
std::vector<std::string> DevicesRun(const std::string& lpt, const std::string& ptp) {
  return {"run", "--load-dump", Devices, "--pc", "101", "--lpt", lpt, "--ptp", ptp};
}
// A program of 22 instructions without devices, and more options.
std::vector<std::string> TraceRun(const std::string& option, const std::string& file) {
  return {"run", "--load-dump", CliPrograms + "/trace.dmp", "--pc", "100", option, file};
}

const TOutputCase OutputCases[] = {
    {"SaveDump", TraceRun("--save-dump", "old.out")},
    {"PaperTapePunch", DevicesRun("/dev/null", "old.out")},
    {"Printer", DevicesRun("old.out", "/dev/null")},
    {"TeletypePunch", {"run", "--ptr", Samples + "/hello.bin", "--switches", "12", "--prog-load", "--ttp", "old.out"}},
    {"Trace", TraceRun("--trace-out", "old.out")},
    // A trace that outgrows its buffer fails while the program runs (the hello tape's loader).
    {"TraceDuringTheRun",
     {"run", "--ptr", Samples + "/hello.bin", "--switches", "12", "--prog-load", "--trace-out", "old.out"}},
};

class FullDisk : public ::testing::TestWithParam<TOutputCase> {};

// Also under "ulimit -f", where SIGXFSZ would end a program that does not ignore it.
TEST_P(FullDisk, ReportedAndThePreviousFileKept) {
  TUserFolder u;
  u.Write("old.out", "previous");
  for (bool fileSizeSignal : {false, true}) {
    SCOPED_TRACE(fileSizeSignal ? "SIGXFSZ at its default" : "SIGXFSZ ignored");
    TChildOptions options = u.Options();
    options.FileSizeLimit = 0;
    options.FileSizeSignal = fileSizeSignal;
    const TChildResult r = RunProgram(CorvaneCli, GetParam().Args, options);
    EXPECT_EQ(r.Status, 1) << r.Err;
    EXPECT_TRUE(Matches(r.Err, "corvane-cli: [Cc]annot write file old.out: File too large\n$")) << r.Err;
    EXPECT_EQ(u.Read("old.out"), "previous");
    EXPECT_EQ(u.Names(), std::vector<std::string>{"old.out"});  // no temporary file left
  }

  // With room the same run puts its file in place.
  const TChildResult ok = RunProgram(CorvaneCli, GetParam().Args, u.Options());
  EXPECT_EQ(ok.Status, 0) << ok.Err;
  EXPECT_NE(u.Read("old.out"), "previous");
  EXPECT_EQ(u.Names(), std::vector<std::string>{"old.out"});
}

INSTANTIATE_TEST_SUITE_P(Outputs, FullDisk, ::testing::ValuesIn(OutputCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- every output that is lost is named, each once, and its old file stays

struct TLostOutputsCase {
  const char* Name;
  bool ReadOnlyFolder;  // else a full disk
  const char* Reason;
};
void PrintTo(const TLostOutputsCase& c, std::ostream* os) { *os << c.Name; }

const TLostOutputsCase LostOutputsCases[] = {
    {"ReadOnlyFolder", true, "Permission denied"},
    {"FullDisk", false, "File too large"},
};

class LostOutputs : public ::testing::TestWithParam<TLostOutputsCase> {};

TEST_P(LostOutputs, EachIsNamedOnceAndKeepsItsOldFile) {
  const TLostOutputsCase& c = GetParam();
  TUserFolder u;
  const std::vector<std::string> names = {"a.ptp", "a.lpt", "a.dmp", "a.trace"};
  for (const std::string& name : names) u.Write(name, "old " + name);
  TChildOptions options = u.Options();
  if (c.ReadOnlyFolder) {
    ::chmod(u.Work.c_str(), 0555);
    options.ObeyPermissions = true;
  } else {
    options.FileSizeLimit = 0;
  }
  const TChildResult r = RunProgram(CorvaneCli,
                                    {"run", "--load-dump", Devices, "--pc", "101", "--ptp", "a.ptp", "--lpt", "a.lpt",
                                     "--save-dump", "a.dmp", "--trace-out", "a.trace"},
                                    options);
  ::chmod(u.Work.c_str(), 0755);
  EXPECT_EQ(r.Status, 1) << r.Err;
  for (const std::string& name : names) {
    const std::regex named("corvane-cli: [Cc]annot write file " + name + ": " + c.Reason + "\n");
    EXPECT_EQ(std::distance(std::sregex_iterator(r.Err.begin(), r.Err.end(), named), std::sregex_iterator()), 1)
        << name << " in:\n" << r.Err;
    EXPECT_EQ(u.Read(name), "old " + name);
  }
  EXPECT_EQ(u.Names(), (std::vector<std::string>{"a.dmp", "a.lpt", "a.ptp", "a.trace"}));
}

INSTANTIATE_TEST_SUITE_P(Outputs, LostOutputs, ::testing::ValuesIn(LostOutputsCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- pipes and terminals are written directly, opened once

// Reads a named pipe to its end in a thread of its own.
class TPipeReader {
public:
  explicit TPipeReader(const std::string& name)
      : FThread([this, name] {
          std::ifstream in(name, std::ios::binary);  // opens when the writer does
          FGot.assign(std::istreambuf_iterator<char>(in), {});
        }) {}
  std::string Got() {
    FThread.join();
    return FGot;
  }

private:
  std::string FGot;
  std::thread FThread;
};

TEST(Pipes, StandardOutputAndNamedPipesAreWrittenDirectly) {
  TUserFolder u;
  // Standard output is a pipe here: /dev/stdout leads to it, and no path does.
  TChildResult r = RunProgram(CorvaneCli, DevicesRun("/dev/stdout", "/dev/null"), u.Options());
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "LPT\r");

  // A named pipe with a reader: opened once, so the reader sees the whole output and its end.
  ASSERT_EQ(::mkfifo((u / "lpt.fifo").c_str(), 0600), 0);
  TPipeReader reader(u / "lpt.fifo");
  r = RunProgram(CorvaneCli, DevicesRun("lpt.fifo", "/dev/null"), u.Options());
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(reader.Got(), "LPT\r");

  // Without a reader: refused at once, before the run, and the pipe stays a pipe.
  r = RunProgram(CorvaneCli, TraceRun("--save-dump", "lpt.fifo"), u.Options());
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "corvane-cli: cannot write file lpt.fifo: no program reads from the pipe\n");
  EXPECT_TRUE(std::filesystem::is_fifo(u / "lpt.fifo"));
  EXPECT_EQ(u.Names(), std::vector<std::string>{"lpt.fifo"});
}

// ---- the working folder

TEST(WorkingFolder, ReadOnlyRefusesOutputsBeforeTheRun) {
  TUserFolder u;
  u.Write("keep.lpt", "kept");
  ::chmod(u.Work.c_str(), 0555);
  TChildOptions options = u.Options();
  options.ObeyPermissions = true;
  const TChildResult r =
      RunProgram(CorvaneCli, DevicesRun("keep.lpt", "/dev/null"), options);
  ::chmod(u.Work.c_str(), 0755);
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "corvane-cli: cannot write file keep.lpt: Permission denied\n");
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(u.Read("keep.lpt"), "kept");
  EXPECT_EQ(u.Names(), std::vector<std::string>{"keep.lpt"});
}

TEST(WorkingFolder, MissingFailsForRelativeNamesOnly) {
  TUserFolder u;
  const auto runInRemovedFolder = [&](std::vector<std::string> args) {
    return RunChild(
        [&] {
          ::rmdir(u.Work.c_str());  // the working folder is gone while the program runs in it
          std::vector<char*> argv{const_cast<char*>(CorvaneCli.c_str())};
          for (std::string& a : args) argv.push_back(a.data());
          argv.push_back(nullptr);
          ::execv(CorvaneCli.c_str(), argv.data());
          return 127;
        },
        u.Options());
  };
  TChildResult r = runInRemovedFolder(TraceRun("--save-dump", "out.dmp"));
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "corvane-cli: cannot write file out.dmp: No such file or directory\n");

  std::filesystem::create_directory(u.Work);
  TTempDir elsewhere;
  r = runInRemovedFolder(TraceRun("--save-dump", elsewhere / "out.dmp"));
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_TRUE(std::filesystem::is_regular_file(elsewhere / "out.dmp"));
}

// ---- an indirect chain that loops: JMP @.+1 at 000100, and 000101 pointing at itself

TEST(IndirectChain, LoopEndsTheRunWithItsOwnReason) {
  TUserFolder u;
  std::vector<unsigned> words(0102, 0);
  words[0100] = 0002401;
  words[0101] = 0100101;
  u.Write("chain.dmp", DumpBytes(words));
  const TChildResult r =
      RunProgram(CorvaneCli, {"run", "--load-dump", "chain.dmp", "--pc", "100", "--regs"}, u.Options());
  EXPECT_EQ(r.Status, 4);
  EXPECT_TRUE(Matches(r.Err, "^PC=000100 .* STEPS=1 STOP=chain\n"
                             "corvane-cli: The indirect chain of the instruction at 000100 does not end\n$"))
      << r.Err;
}

// ---- option values that make no sense (the everyday mistakes are golden cases in tests/cli)

struct TOptionCase {
  const char* Name;
  std::vector<std::string> Args;
  const char* Err;
};
void PrintTo(const TOptionCase& c, std::ostream* os) { *os << c.Name; }

const TOptionCase OptionCases[] = {
    {"MemSizeHuge", {"run", "--memsize", "99999999999999999999999"}, "99999999999999999999999 is not a valid memory size"},
    {"LimitPastSixtyFourBits", {"run", "--max-instructions", "18446744073709551616"}, "is too large an instruction count"},
    {"NegativeAddress", {"run", "--pc", "-1"}, "^corvane-cli: -1 is not a valid address"},
    {"EmptyWord", {"run", "--switches="}, "^corvane-cli:  is not a valid word"},
    {"LongValueIsCut", {"run", "--break", std::string(5000, '7')}, "^corvane-cli: 7{40}\\.\\.\\. is not a valid address"},
    {"ControlCharactersEscaped", {"run", "--pc", "\x1b[2J"}, "^corvane-cli: \\\\x1B\\[2J is not a valid address"},
    {"BaseNotUtf8", {"disasm", "--base", "\xff"}, "^corvane-cli: \\\\xFF is not a valid base"},
    {"RangeBeyondMemory", {"disasm", "--dump", "x.dmp", "--to", "100000"}, "100000 is not a valid address"},
    {"EmptyDumpName", {"run", "--load-dump", ""}, "option --load-dump needs a file name"},
    {"FileNameTooLong", {"run", "--save-dump", std::string(5000, 'y')}, "cannot write file y+: File name too long\n$"},
};

class AbsurdOption : public ::testing::TestWithParam<TOptionCase> {};

TEST_P(AbsurdOption, RefusedWithAMessage) {
  TUserFolder u;
  const TChildResult r = RunProgram(CorvaneCli, GetParam().Args, u.Options());
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(Matches(r.Err, GetParam().Err)) << r.Err;
  EXPECT_EQ(r.Out, "");
  EXPECT_TRUE(u.Names().empty());
}

INSTANTIATE_TEST_SUITE_P(Values, AbsurdOption, ::testing::ValuesIn(OptionCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(AbsurdOption, StartupOptionsWithAbsurdValuesAreHarmless) {
  TUserFolder u;
  for (const std::string& option : {"/lang:" + std::string(5000, 'x'), std::string("/ini:/nonexistent/x.ini"),
                                    std::string("/lang:\xff\xfe")}) {
    TChildOptions options = u.Options();
    options.Input = "000401\n";
    const TChildResult r = RunProgram(CorvaneCli, {option, "disasm"}, options);
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "JMP .+1\n");
  }
}

}  // namespace
