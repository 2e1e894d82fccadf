// Memory dump files and program listings.
#include <sys/stat.h>

#include "FileTestSupport.h"
#include "Listing.h"
#include "MachineTestSupport.h"
#include "MemoryDump.h"
#include "NovaUtils.h"

namespace {

class DumpTest : public MachineTest {
protected:
  TTempDir Dir;
};

TEST_F(DumpTest, SavedDumpHoldsMemSizeWordsLowByteFirst) {
  M.SetMemSize(4096);
  M.Memory[0].Data = 012;
  M.Memory[4095].Data = 0123456;
  M.Memory[4096].Data = 1;  // beyond MemSize: not saved
  TMachineError error;
  ASSERT_TRUE(M.SaveDump(Dir / "a.dmp", &error)) << ErrorText(error);
  const auto bytes = ReadBytes(Dir / "a.dmp");
  ASSERT_EQ(bytes.size(), 8192u);
  EXPECT_EQ(bytes[0], 0x0a);
  EXPECT_EQ(bytes[1], 0x00);
  EXPECT_EQ(bytes[8190], 0123456 & 0xff);
  EXPECT_EQ(bytes[8191], 0123456 >> 8);
  EXPECT_EQ(Dir.FileCount(), 1u);  // no temporary file left
}

TEST_F(DumpTest, OddFileGivesALastLowByte) {
  WriteBytes(Dir / "odd.dmp", {0x34, 0x12, 0x56});
  M.SetMemSize(4096);
  M.Memory[2].Data = 0777;
  M.Memory[5].Flags = BreakpointFlag | StepOverFlag;
  M.PC = 0100;
  ASSERT_TRUE(M.LoadDump(Dir / "odd.dmp", false));
  EXPECT_EQ(M.Memory[0].Data, 0x1234);
  EXPECT_EQ(M.Memory[1].Data, 0x56);
  EXPECT_EQ(M.Memory[2].Data, 0);  // cleared
  EXPECT_EQ(M.Memory[5].Flags, 0);
  EXPECT_EQ(M.MemSize, 4096);  // not reduced
  EXPECT_EQ(M.PC, 2);          // the machine was reset
}

TEST_F(DumpTest, LongFileRaisesMemSizeAndIsCut) {
  std::vector<unsigned char> bytes(70000, 0);
  bytes[65534] = 0x11;
  bytes[65535] = 0x22;
  bytes[65536] = 0x33;
  WriteBytes(Dir / "long.dmp", bytes);
  M.SetMemSize(4096);
  ASSERT_TRUE(M.LoadDump(Dir / "long.dmp", true));
  EXPECT_EQ(M.MemSize, 32768);
  EXPECT_EQ(Host.MemSizes, (std::vector<int>{4096, 32768}));
  EXPECT_EQ(M.Memory[32767].Data, 0x2211);
}

TEST_F(DumpTest, BreakpointsAreKeptOrCleared) {
  WriteBytes(Dir / "b.dmp", {1, 0});
  M.SetBreakpoint(0100);
  ASSERT_TRUE(M.LoadDump(Dir / "b.dmp", true));
  EXPECT_EQ(M.Memory[0100].Flags, BreakpointFlag);
  ASSERT_TRUE(M.LoadDump(Dir / "b.dmp", false));
  EXPECT_EQ(M.Memory[0100].Flags, 0);
  EXPECT_TRUE(M.BreakPoints.empty());
  EXPECT_EQ(Host.BreakpointCounts.back(), 0);
}

TEST_F(DumpTest, WatchesTakeTheLoadedValues) {
  WriteBytes(Dir / "w.dmp", {0, 0, 5, 0});
  M.AddWatch(1);
  M.Watch[0].Alert = true;
  ASSERT_TRUE(M.LoadDump(Dir / "w.dmp", false));
  EXPECT_EQ(M.Watch[0].Data, 5);
  EXPECT_FALSE(M.Watch[0].Changed);
  EXPECT_EQ(M.TraceCount(), 0);
}

TEST_F(DumpTest, MissingOrUnreadableFileLeavesMemoryAlone) {
  M.Memory[0].Data = 0777;
  M.PC = 0100;
  TMachineError error;
  EXPECT_FALSE(M.LoadDump(Dir / "none.dmp", false, &error));
  EXPECT_EQ(error.Kind, ekNotFound);
  EXPECT_EQ(ErrorText(error), "File not found:\r\n" + (Dir / "none.dmp"));
  EXPECT_FALSE(M.LoadDump(Dir.Path(), false, &error));  // a folder
  EXPECT_EQ(error.Kind, ekRead);
  EXPECT_EQ(error.File, Dir.Path());
  ASSERT_EQ(::mkfifo((Dir / "pipe").c_str(), 0600), 0);
  EXPECT_FALSE(M.LoadDump(Dir / "pipe", false, &error));  // refused without waiting for a writer
  EXPECT_EQ(M.Memory[0].Data, 0777);
  EXPECT_EQ(M.PC, 0100);
}

TEST_F(DumpTest, FailedSaveKeepsThePreviousDump) {
  WriteBytes(Dir / "keep.dmp", {1, 2, 3, 4});
  TMachineError error;
  {
    TFileSizeLimit limit(1000);
    EXPECT_FALSE(M.SaveDump(Dir / "keep.dmp", &error));
  }
  EXPECT_FALSE(ErrorText(error).empty());
  EXPECT_EQ(ReadBytes(Dir / "keep.dmp"), (std::vector<unsigned char>{1, 2, 3, 4}));
  EXPECT_EQ(Dir.FileCount(), 1u);
  EXPECT_FALSE(M.SaveDump(Dir / "no-folder/x.dmp", &error));
}

TEST_F(DumpTest, DumpFileFunctions) {
  const TWord words[] = {0x1234, 0xabcd};
  TMachineError error;
  ASSERT_TRUE(WriteDumpFile(Dir / "f.dmp", words, 2, error));
  std::vector<TWord> back;
  ASSERT_TRUE(ReadDumpFile(Dir / "f.dmp", back, error));
  EXPECT_EQ(back, (std::vector<TWord>{0x1234, 0xabcd}));
  WriteBytes(Dir / "empty.dmp", {});
  ASSERT_TRUE(ReadDumpFile(Dir / "empty.dmp", back, error));
  EXPECT_TRUE(back.empty());
}

TEST(ReplacingFile, ThroughLinksAndIntoDevices) {
  TTempDir dir;
  WriteBytes(dir / "real.dmp", {9});
  std::filesystem::create_symlink(dir / "real.dmp", dir / "link.dmp");
  const TWord words[] = {0x0201};
  TMachineError error;
  ASSERT_TRUE(WriteDumpFile(dir / "link.dmp", words, 1, error)) << ErrorText(error);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.dmp"));
  EXPECT_EQ(ReadBytes(dir / "real.dmp"), (std::vector<unsigned char>{1, 2}));
  EXPECT_EQ(dir.FileCount(), 2u);

  ASSERT_TRUE(WriteDumpFile("/dev/null", words, 1, error)) << ErrorText(error);
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));

  // A link to a file not made yet creates that file and stays a link, as the settings file does.
  std::filesystem::create_symlink("ahead.dmp", dir / "pending.dmp");
  ASSERT_TRUE(WriteDumpFile(dir / "pending.dmp", words, 1, error)) << ErrorText(error);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "pending.dmp"));
  EXPECT_EQ(ReadBytes(dir / "ahead.dmp"), (std::vector<unsigned char>{1, 2}));
  // A chain of links that never ends is refused.
  std::filesystem::create_symlink("loop2.dmp", dir / "loop1.dmp");
  std::filesystem::create_symlink("loop1.dmp", dir / "loop2.dmp");
  EXPECT_FALSE(WriteDumpFile(dir / "loop1.dmp", words, 1, error));
  EXPECT_EQ(error.Kind, ekWrite);
  EXPECT_EQ(error.File, dir / "loop1.dmp");
}

TEST(ListingTest, Columns) {
  EXPECT_EQ(ListingLine(0100, 0, nmOctal, lcAddress | lcContents, nmOctal), "000100  000000  ");
  EXPECT_EQ(ListingLine(0100, 0177, nmHex, lcContents, nmOctal), "007F  ");
  EXPECT_EQ(ListingLine(0100, 0, nmOctal, 0, nmOctal), "");
  EXPECT_EQ(ListingLine(0100, 020105, nmOctal, lcAddress | lcDisassembly, nmHex),
            "000100  " + CommandToStr(0100, 020105, nmHex, true));
}

TEST(ListingTest, FileLinesEndWithCrLf) {
  TTempDir dir;
  const auto read = [](int a) { return TWord(a == 0101 ? 7 : 0); };
  std::string error;
  ASSERT_TRUE(WriteListing(dir / "p.lst", 0100, 0102, nmOctal, lcAddress | lcContents, nmOctal, read, error));
  const auto bytes = ReadBytes(dir / "p.lst");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            "000100  000000  \r\n000101  000007  \r\n000102  000000  \r\n");
  ASSERT_TRUE(WriteListing(dir / "p.lst", 0102, 0100, nmOctal, lcAddress, nmOctal, read, error));
  EXPECT_TRUE(ReadBytes(dir / "p.lst").empty());
  EXPECT_EQ(dir.FileCount(), 1u);
}

}  // namespace
