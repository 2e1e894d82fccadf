// corvane-cli assemble with bad input: errors in the sources, missing files, options given
// twice or naming a source, a full disk. Errors come as FILE:LINE: message, and no output file
// is written or changed unless the whole program assembled and the file could be written.
#include <gtest/gtest.h>

#include "BadInputSupport.h"

namespace {

const char* const Good = "        .LOC 101\nSTART:  LDA 0,C\n        DOAS 0,TTO\n        HALT\nC:      \"A\n        .END START\n";

class Assemble : public ::testing::Test {
protected:
  Assemble() {
    U.Write("prog.sr", Good);
    U.Write("old.ab", "previous");
  }
  TChildResult Run(std::vector<std::string> args, TChildOptions options) {
    args.insert(args.begin(), "assemble");
    return RunProgram(CorvaneCli, args, options);
  }
  TChildResult Run(std::vector<std::string> args) { return Run(std::move(args), U.Options()); }
  TUserFolder U;
};

TEST_F(Assemble, ErrorsNameFileAndLineAndNoFileIsWritten) {
  U.Write("bad.sr", "        .LOC 100\n        LDA 0,FOO\n        JMP 1000\n");
  const TChildResult r = Run({"--tape", "old.ab", "--listing", "new.lst", "--symbols", "new.sym", "bad.sr"});
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err,
            "bad.sr:2: undefined symbol FOO\n"
            "bad.sr:3: address 001000 is out of reach from 000101: neither in page zero (0 to 377) nor within -200 to "
            "+177 of the instruction\n"
            "corvane-cli: errors: 2; no file written\n");
  EXPECT_EQ(U.Read("old.ab"), "previous");
  EXPECT_EQ(U.Names(), (std::vector<std::string>{"bad.sr", "old.ab", "prog.sr"}));

  // The listing on standard output shows the errors in place, still writing nothing.
  const TChildResult listed = Run({"--listing", "-", "bad.sr"});
  EXPECT_EQ(listed.Status, 1);
  EXPECT_NE(listed.Out.find("U 00100                 LDA 0,FOO\n*** U: undefined symbol FOO\n"), std::string::npos)
      << listed.Out;
  EXPECT_EQ(U.Names(), (std::vector<std::string>{"bad.sr", "old.ab", "prog.sr"}));
}

TEST_F(Assemble, WritesEveryOutputWhenTheProgramAssembles) {
  const TChildResult r = Run({"--tape", "old.ab", "--listing", "p.lst", "--symbols", "p.sym", "--dump", "p.dmp", "prog.sr"});
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out + r.Err, "");
  EXPECT_EQ(U.Read("p.sym"), "C 000104\nSTART 000101\n");
  EXPECT_EQ(U.Read("p.lst").substr(0, 42), "        000101          .LOC 101\n  00101 0");
  EXPECT_EQ(U.Read("old.ab").size(), 64u + 2 * (3 + 4) + 6 + 64);
  EXPECT_EQ(U.Read("p.dmp").size(), 2u * 0105);

  // Only checking: nothing written at all.
  const TChildResult check = Run({"prog.sr"});
  EXPECT_EQ(check.Status, 0);
  EXPECT_EQ(U.Names().size(), 5u);

  // The program-load tape runs on the front panel's PROG LOAD.
  EXPECT_EQ(Run({"--bootstrap", "--tape", "p.bin", "prog.sr"}).Status, 0);
  const TChildResult run = RunProgram(CorvaneCli, {"run", "--ptr", "p.bin", "--switches", "12", "--prog-load"}, U.Options());
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "A");
}

TEST_F(Assemble, RefusedCommandLines) {
  struct TCase {
    std::vector<std::string> Args;
    const char* Err;
  };
  const TCase cases[] = {
      {{}, "no source file given (see corvane-cli assemble --help)"},
      {{"none.sr"}, "none.sr: file not found"},
      {{"--tape", "a.ab", "--tape", "b.ab", "prog.sr"}, "option --tape is given twice"},
      {{"--bootstrap", "--bootstrap", "--tape", "a.ab", "prog.sr"}, "option --bootstrap is given twice"},
      {{"--bootstrap", "prog.sr"}, "--bootstrap needs --tape"},
      {{"--bootstrap=1", "--tape", "a.ab", "prog.sr"}, "option --bootstrap takes no value"},
      {{"--tape", "prog.sr", "prog.sr"}, "--tape names the source file prog.sr"},
      {{"--listing", "./prog.sr", "prog.sr"}, "--listing names the source file prog.sr"},
      {{"--tape", "x", "--symbols", "./x", "prog.sr"}, "--tape and --symbols name the same file"},
      {{"--tape", "-", "prog.sr"}, "only --listing can go to standard output (-)"},
      {{"--tape", "", "prog.sr"}, "option --tape needs a file name"},
      {{"--columns", "prog.sr"}, "unknown option --columns (see corvane-cli --help)"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Args));
    const TChildResult r = Run(c.Args);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, std::string("corvane-cli: ") + c.Err + "\n");
    EXPECT_EQ(U.Read("prog.sr"), Good);
    EXPECT_EQ(U.Names(), (std::vector<std::string>{"old.ab", "prog.sr"}));
  }
  // A program that does not fit a program-load tape writes no tape either.
  U.Write("far.sr", ".LOC 1000\nHALT\n.END 1000\n");
  const TChildResult far = Run({"--bootstrap", "--tape", "old.ab", "far.sr"});
  EXPECT_EQ(far.Status, 1);
  EXPECT_EQ(far.Err, "corvane-cli: no program-load tape: a program-load tape loads words at 101 to 376 only, and the "
                     "program has one at 001000\n");
  EXPECT_EQ(U.Read("old.ab"), "previous");
}

TEST_F(Assemble, FullDiskKeepsThePreviousTape) {
  TChildOptions options = U.Options();
  options.FileSizeLimit = 0;
  const TChildResult r = Run({"--tape", "old.ab", "prog.sr"}, options);
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "corvane-cli: cannot write file old.ab: File too large\n");
  EXPECT_EQ(U.Read("old.ab"), "previous");
  EXPECT_EQ(U.Names(), (std::vector<std::string>{"old.ab", "prog.sr"}));
}

}  // namespace
