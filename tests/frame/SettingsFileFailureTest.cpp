// Settings files that are odd or cannot be written: duplicated, overlong and binary values, a
// full disk, a read-only or unreadable settings file or folder, links and pipes in its place.
// Reading never fails; writing fails with the system's reason and leaves the old file as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "AtomicFile.h"
#include "ChildProcess.h"
#include "FrameTestUtils.h"
#include "History.h"
#include "IniFile.h"

namespace {

namespace fs = std::filesystem;

int Report(bool ok, const std::string& error) {
  std::fputs(error.c_str(), stdout);
  return ok ? 0 : 1;
}

const std::string OldSettings = "[Config]\nMemSize=4096\n";

}  // namespace

TEST(SettingsFile, DuplicatedKeysAndSectionsTheFirstCounts) {
  TIniFile ini;
  ini.SetText("[Config]\nMemSize=100\nMemSize=200\n[config]\nMemSize=300\nNumBase=1\n");
  EXPECT_EQ(ini.ReadInteger("Config", "MemSize", 0), 100);
  EXPECT_EQ(ini.ReadInteger("Config", "NumBase", 0), 1);  // the repeated header continues the section
  ini.WriteInteger("Config", "MemSize", 5);
  EXPECT_EQ(ini.Text(), "[Config]\nMemSize=5\nMemSize=200\nMemSize=300\nNumBase=1\n");  // nothing dropped
}

TEST(SettingsFile, OverlongAndBinaryValuesSurviveAndLeaveTheOthersReadable) {
  TTempDir dir;
  const std::string name = dir / "Corvane.ini";
  const std::string overlong(200000, 'x');
  const std::string binary("\x00\x01\xff\x7f=[Config]", 13);
  WriteRaw(name, "[Config]\nLastDump=" + overlong + "\nLPTName=" + binary + "\nMemSize=4096\n");
  TIniFile ini(name);
  EXPECT_EQ(ini.ReadString("Config", "LastDump", ""), overlong);
  EXPECT_EQ(ini.ReadString("Config", "LPTName", ""), binary);
  EXPECT_EQ(ini.ReadInteger("Config", "LPTName", 7), 7);  // not a number: the default
  EXPECT_EQ(ini.ReadInteger("Config", "MemSize", 0), 4096);
  ini.WriteInteger("Config", "MemSize", 8);
  ASSERT_TRUE(ini.UpdateFile());
  TIniFile again(name);
  EXPECT_EQ(again.ReadString("Config", "LastDump", ""), overlong);
  EXPECT_EQ(again.ReadString("Config", "LPTName", ""), binary);
  EXPECT_EQ(again.ReadInteger("Config", "MemSize", 0), 8);
}

TEST(SettingsFile, FullDiskKeepsTheOldFile) {
  TTempDir dir;
  const std::string name = dir / "Corvane.ini";
  WriteRaw(name, OldSettings);
  TChildOptions fullDisk;
  fullDisk.FileSizeLimit = OldSettings.size();
  const TChildResult settings = RunChild(
      [&] {
        TIniFile ini(name);
        ini.WriteString("Config", "WorkPath", "/home/user/Documents/Nova");
        std::string error;
        const bool ok = ini.UpdateFile(&error);
        return Report(ok, error);
      },
      fullDisk);
  EXPECT_EQ(settings.Status, 1);
  EXPECT_EQ(settings.Out, name + ": File too large");
  const TChildResult history = RunChild(
      [&] { return SaveHistory(name, "PtrFiles", {"/home/user/tapes/basic.bin"}, true) ? 0 : 1; }, fullDisk);
  EXPECT_EQ(history.Status, 1);
  EXPECT_EQ(ReadAll(name), OldSettings);
  EXPECT_EQ(dir.FileCount(), 1u);  // no temporary file left
}

TEST(SettingsFile, ReadOnlyOrUnreadable) {
  TTempDir dir;
  const std::string folder = dir / "Holmvale";
  fs::create_directory(folder);
  const std::string name = folder + "/Corvane.ini";
  WriteRaw(name, OldSettings);
  ::chmod(folder.c_str(), 0555);
  TChildOptions noOverride;
  noOverride.ObeyPermissions = true;
  const TChildResult readOnly = RunChild(
      [&] {
        TIniFile ini(name);
        if (ini.ReadInteger("Config", "MemSize", 0) != 4096) return 2;
        ini.WriteInteger("Config", "MemSize", 8);
        std::string error;
        const bool ok = ini.UpdateFile(&error);
        return Report(ok, error);
      },
      noOverride);
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(readOnly.Status, 1);
  EXPECT_EQ(readOnly.Out, name + ": Permission denied");
  EXPECT_EQ(ReadAll(name), OldSettings);

  ::chmod(name.c_str(), 0);
  const TChildResult unreadable = RunChild(
      [&] {
        TIniFile ini(name);  // read as empty: every key takes its default
        return ini.ReadSections().empty() && ini.ReadInteger("Config", "MemSize", 32768) == 32768 ? 0 : 1;
      },
      noOverride);
  EXPECT_EQ(unreadable.Status, 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
}

TEST(SettingsFile, LinkChainKeepsEveryLink) {
  TTempDir dir;
  WriteRaw(dir / "real.ini", OldSettings);
  fs::create_symlink("real.ini", dir / "middle.ini");
  fs::create_symlink(dir / "middle.ini", dir / "Corvane.ini");
  ASSERT_TRUE(WriteFileAtomic(dir / "Corvane.ini", "[Config]\n"));
  EXPECT_TRUE(fs::is_symlink(dir / "Corvane.ini"));
  EXPECT_TRUE(fs::is_symlink(dir / "middle.ini"));
  EXPECT_EQ(ReadAll(dir / "real.ini"), "[Config]\n");
  EXPECT_EQ(dir.FileCount(), 3u);

  // A link to a file that does not exist yet creates that file.
  fs::create_symlink("new/made.ini", dir / "ahead.ini");
  fs::create_directory(dir / "new");
  ASSERT_TRUE(WriteFileAtomic(dir / "ahead.ini", "[A]\n"));
  EXPECT_TRUE(fs::is_symlink(dir / "ahead.ini"));
  EXPECT_EQ(ReadAll(dir / "new/made.ini"), "[A]\n");
}

TEST(SettingsFile, PipeInItsPlaceStaysAPipe) {
  TTempDir dir;
  const std::string name = dir / "Corvane.ini";
  ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(name, "[Config]\n", &error));  // no reader: refused, not waited for
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_fifo(name));
  EXPECT_EQ(dir.FileCount(), 1u);
  EXPECT_TRUE(TIniFile(name).ReadSections().empty());  // read without waiting for a writer
}
