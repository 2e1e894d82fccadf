// The machine's files when the disk or the folder lets them down: a full disk under a listing,
// a read-only working folder, unreadable dumps and tapes, a tape that vanishes or is cut while
// attached, an output file whose folder vanishes. Nothing that was there is lost.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "ChildProcess.h"
#include "FileTestSupport.h"
#include "Listing.h"
#include "MachineTestSupport.h"
#include "Peripherals.h"

namespace {

struct TErrorHost : TPeripheralHost {
  std::vector<std::string> Errors;
  void ReportFailure(const TMachineError& e) override { Errors.push_back(ErrorText(e)); }
};

class FileFailureTest : public MachineTest {
protected:
  // Reader requests: the bytes delivered, -1 for none.
  std::vector<int> Requests(int n) {
    std::vector<int> got;
    for (int i = 0; i < n; ++i) {
      M.Ptr.Clear();
      M.Ptr.Start();
      got.push_back(M.Ptr.Completed() ? M.Ptr.InputByte() : -1);
    }
    return got;
  }
  // Runs body in a child that even as root obeys file permissions; what it prints comes back.
  static TChildResult WithoutOverride(const std::function<int()>& body) {
    TChildOptions options;
    options.ObeyPermissions = true;
    return RunChild(body, options);
  }

  TTempDir Dir;
  TErrorHost PHost;
  TPeripherals P{M, &PHost};
};

int Report(bool ok, const std::string& error) {
  std::fputs(error.c_str(), stdout);
  return ok ? 0 : 1;
}

TEST_F(FileFailureTest, ListingOnAFullDiskKeepsTheOldListing) {
  WriteBytes(Dir / "p.lst", {'o', 'l', 'd'});
  TChildOptions fullDisk;
  fullDisk.FileSizeLimit = 100;
  const TChildResult r = RunChild(
      [&] {
        std::string error;
        const bool ok = WriteListing(Dir / "p.lst", 0, 077777, nmOctal, lcAddress | lcContents | lcDisassembly,
                                     nmOctal, [](int) { return TWord(0); }, error);
        return Report(ok, error);
      },
      fullDisk);
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out, "Cannot write file " + (Dir / "p.lst") + ": File too large");
  EXPECT_EQ(ReadBytes(Dir / "p.lst"), (std::vector<unsigned char>{'o', 'l', 'd'}));
  EXPECT_EQ(Dir.FileCount(), 1u);
}

TEST_F(FileFailureTest, ReadOnlyWorkingFolderRefusesEveryOutput) {
  const std::string work = Dir / "work";
  std::filesystem::create_directory(work);
  WriteBytes(work + "/autodump.dmp", {1, 2});
  ::chmod(work.c_str(), 0555);
  const TChildResult r = WithoutOverride([&] {
    TMachineError dumpFailure;
    std::string listError;
    const bool dump = M.SaveDump(work + "/autodump.dmp", &dumpFailure);
    const std::string dumpError = ErrorText(dumpFailure);
    const bool list = WriteListing(work + "/p.lst", 0, 1, nmOctal, lcAddress, nmOctal, [](int) { return 0; }, listError);
    const bool punch = P.AttachOutput(pdPtp, work + "/p.bin");
    std::printf("%s|%s|%s", dumpError.c_str(), listError.c_str(), PHost.Errors.empty() ? "" : PHost.Errors[0].c_str());
    return dump || list || punch ? 1 : 0;
  });
  ::chmod(work.c_str(), 0755);
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "Cannot write file " + work + "/autodump.dmp: Permission denied|Cannot write file " + work +
                       "/p.lst: Permission denied|Error opening file:\r\n" + work + "/p.bin");
  EXPECT_EQ(ReadBytes(work + "/autodump.dmp"), (std::vector<unsigned char>{1, 2}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work), {}), 1);
}

TEST_F(FileFailureTest, UnreadableDumpAndTapeChangeNothing) {
  WriteBytes(Dir / "u.dmp", {1, 0});
  ::chmod((Dir / "u.dmp").c_str(), 0);
  M.Memory[0].Data = 0777;
  M.PC = 0100;
  const TChildResult r = WithoutOverride([&] {
    TMachineError failure;
    const bool loaded = M.LoadDump(Dir / "u.dmp", false, &failure);
    const std::string error = ErrorText(failure);
    const bool attached = P.OpenPtrFile(Dir / "u.dmp");
    std::printf("%s|%s", error.c_str(), PHost.Errors.empty() ? "" : PHost.Errors[0].c_str());
    const bool untouched = M.Memory[0].Data == 0777 && M.PC == 0100 && !P.PtrFile;
    return !loaded && !attached && untouched ? 0 : 1;
  });
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "Cannot read file " + (Dir / "u.dmp") + ": Permission denied|Error opening file:\r\n" + (Dir / "u.dmp"));
}

TEST_F(FileFailureTest, TapeThatVanishesWhileAttachedIsReadToItsEnd) {
  WriteBytes(Dir / "t.bin", {7, 8, 9});
  ASSERT_TRUE(P.OpenPtrFile(Dir / "t.bin"));
  std::filesystem::remove(Dir / "t.bin");
  EXPECT_EQ(Requests(4), (std::vector<int>{7, 8, 9, 0}));
  P.ResetInput(pdPtr);  // the open file is still there to rewind
  EXPECT_EQ(Requests(1), std::vector<int>{7});
}

TEST_F(FileFailureTest, TapeCutWhileAttachedGivesItsTrailer) {
  WriteBytes(Dir / "t.bin", {7, 8, 9});
  ASSERT_TRUE(P.OpenPtrFile(Dir / "t.bin"));
  std::filesystem::resize_file(Dir / "t.bin", 0);
  const std::vector<int> got = Requests(101);
  EXPECT_EQ(std::count(got.begin(), got.end(), 0), 99);
  EXPECT_EQ(got.back(), -1);  // run out
  EXPECT_TRUE(P.PtrFile->RunOut());
}

TEST_F(FileFailureTest, OutputFolderRemovedWhileAttachedIsReported) {
  std::filesystem::create_directory(Dir / "out");
  ASSERT_TRUE(P.AttachOutput(pdPtp, Dir / "out/p.bin"));
  std::filesystem::remove_all(Dir / "out");
  EXPECT_FALSE(P.CloseOutput(pdPtp));
  EXPECT_FALSE(P.PtpFile.IsOpen());
  ASSERT_EQ(PHost.Errors.size(), 1u);
  EXPECT_EQ(PHost.Errors[0], "Cannot write file " + (Dir / "out/p.bin") + ": No such file or directory");
  EXPECT_EQ(Dir.FileCount(), 0u);
}

}  // namespace
