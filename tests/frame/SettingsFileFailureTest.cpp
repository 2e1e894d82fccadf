// Settings files that are odd or cannot be written: duplicated, overlong and binary values, a
// full disk, a read-only or unreadable settings file or folder, links and pipes in its place, and
// the leftovers of a save cut short. Reading never fails; writing fails with the system's reason
// and leaves the old file as it was, and a file that could not be read is never replaced.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "AtomicFile.h"
#include "ChildProcess.h"
#include "FileIdentity.h"
#include "FrameTestUtils.h"
#include "History.h"
#include "IniFile.h"
#include "ReplacingFile.h"

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
        if (!ini.Unreadable() || !ini.ReadSections().empty() || ini.ReadInteger("Config", "MemSize", 32768) != 32768)
          return 2;
        // Written back, the defaults would replace the settings it holds: it is kept.
        ini.WriteInteger("Config", "MemSize", 8);
        std::string error;
        const bool ok = ini.UpdateFile(&error);
        return Report(ok, error);
      },
      noOverride);
  EXPECT_EQ(unreadable.Status, 1);
  EXPECT_EQ(unreadable.Out, name + ": the file could not be read, so it is not replaced");
  EXPECT_EQ(ReadAll(name), OldSettings);
  EXPECT_EQ(fs::status(name).permissions(), fs::perms::none);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);

  // So is one too large to be read; a missing file is simply written.
  TTempDir other;
  const std::string huge = other / "Corvane.ini";
  WriteRaw(huge, OldSettings);
  fs::resize_file(huge, (64u << 20) + 1);
  TIniFile big(huge);
  EXPECT_TRUE(big.Unreadable());
  EXPECT_FALSE(big.UpdateFile());
  EXPECT_EQ(fs::file_size(huge), (64u << 20) + 1);
  TIniFile fresh(other / "new.ini");
  EXPECT_FALSE(fresh.Unreadable());
  EXPECT_TRUE(fresh.UpdateFile());
}

// Where a file that must not be replaced is saved instead: the first name nothing has.
TEST(SettingsFile, FreeNameBesideSkipsEveryTakenName) {
  TTempDir dir;
  EXPECT_EQ(FreeNameBeside(dir / "autodump.dmp"), dir / "autodump-1.dmp");
  WriteRaw(dir / "autodump-1.dmp", "");
  fs::create_symlink("gone", dir / "autodump-2.dmp");  // a dangling link takes its name too
  EXPECT_EQ(FreeNameBeside(dir / "autodump.dmp"), dir / "autodump-3.dmp");
  EXPECT_EQ(FreeNameBeside(dir / ".hidden"), dir / ".hidden-1");
  EXPECT_EQ(FreeNameBeside(dir / "a.b/Corvane"), dir / "a.b/Corvane-1");
}

// A save cut short by a kill leaves ".NAME.XXXXXX" beside the file; the next start removes those
// of its own files, and nothing else: not other names, links, folders, or a file being written.
TEST(SettingsFile, LeftoverTemporariesOfOurFilesAreRemoved) {
  TTempDir dir;
  WriteRaw(dir / "Corvane.ini", OldSettings);
  const std::vector<std::string> leftovers = {".Corvane.ini.Ab12Cd", ".Corvane.ini.zzzzzz"};
  const std::vector<std::string> others = {".Corvane.ini.Ab12C",  ".Corvane.ini.Ab12Cd.x", ".Tallis.ini.Ab12Cd",
                                           "Corvane.ini.Ab12Cd",  ".Corvane.ini.Ab-2Cd"};
  for (const std::string& name : leftovers) WriteRaw(dir / name, "cut");
  for (const std::string& name : others) WriteRaw(dir / name, "not ours");
  WriteRaw(dir / "elsewhere", "a link's target");
  fs::create_symlink(dir / "elsewhere", dir / ".Corvane.ini.Link01");
  fs::create_directory(dir / ".Corvane.ini.Fold01");
  TReplacingFile writing;  // another instance saving at this moment
  std::string error;
  ASSERT_TRUE(writing.Open(dir / "Corvane.ini", error)) << error;

  EXPECT_EQ(RemoveLeftoverTemporaries(dir / "Corvane.ini"), 2);
  for (const std::string& name : leftovers) EXPECT_FALSE(fs::exists(dir / name)) << name;
  for (const std::string& name : others) EXPECT_EQ(ReadAll(dir / name), "not ours") << name;
  EXPECT_TRUE(fs::is_symlink(dir / ".Corvane.ini.Link01"));
  EXPECT_TRUE(fs::is_directory(dir / ".Corvane.ini.Fold01"));
  ASSERT_TRUE(writing.Write("[New]\n", 6, error) && writing.Commit(error)) << error;
  EXPECT_EQ(ReadAll(dir / "Corvane.ini"), "[New]\n");

  // Through a link: beside the file it leads to.
  fs::create_directory(dir / "real");
  WriteRaw(dir / "real/target.ini", OldSettings);
  WriteRaw(dir / "real/.target.ini.Qw12Er", "cut");
  fs::create_symlink(dir / "real/target.ini", dir / "Linked.ini");
  EXPECT_EQ(RemoveLeftoverTemporaries(dir / "Linked.ini"), 1);
  EXPECT_FALSE(fs::exists(dir / "real/.target.ini.Qw12Er"));
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
