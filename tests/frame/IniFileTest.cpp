#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "AtomicFile.h"
#include "FrameTestUtils.h"
#include "IniFile.h"

namespace {

std::vector<std::string> FolderEntries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(IniFile, RoundTripOfTheProgramsKeys) {
  TTempDir dir;
  const std::string name = dir / "Corvane.ini";
  {
    TIniFile ini(name);
    ini.WriteInteger("Settings", "Top", 120);
    ini.WriteInteger("Settings", "Left", -8);
    ini.WriteBool("Settings", "ShowPanel", true);
    ini.WriteBool("Settings", "AutoSave", false);
    ini.WriteString("Settings", "Columns", "8,16,4");
    ini.WriteString("PtrFiles", "History0", "/home/u/tapes/basic.bin");
    ASSERT_TRUE(ini.UpdateFile());
  }
  EXPECT_EQ(ReadAll(name),
            "[Settings]\nTop=120\nLeft=-8\nShowPanel=1\nAutoSave=0\nColumns=8,16,4\n"
            "[PtrFiles]\nHistory0=/home/u/tapes/basic.bin\n");

  TIniFile ini(name);
  EXPECT_EQ(ini.ReadInteger("SETTINGS", "top", 0), 120);  // sections and keys without regard to case
  EXPECT_EQ(ini.ReadInteger("Settings", "Left", 0), -8);
  EXPECT_TRUE(ini.ReadBool("Settings", "ShowPanel", false));
  EXPECT_FALSE(ini.ReadBool("Settings", "AutoSave", true));
  EXPECT_EQ(ini.ReadString("settings", "COLUMNS", ""), "8,16,4");
  EXPECT_EQ(ini.ReadString("Settings", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Settings", "PtrFiles"}));

  // Overwriting keeps the original spelling and place of the key.
  ini.WriteInteger("settings", "TOP", 5);
  EXPECT_EQ(ini.ReadSection("Settings").front(), "Top");
  EXPECT_EQ(ini.ReadInteger("Settings", "Top", 0), 5);
}

TEST(IniFile, HandWrittenFileKeepsCommentsOrderAndVerbatimValues) {
  const std::string text =
      "\xEF\xBB\xBF; written by hand\r\n"
      "[Main]\r\n"
      "  Name = two  words \r\n"
      "; keep me\r\n"
      "not a value line\r\n"
      "[Other]\r\n"
      "A=1\r\n"
      "[main]\r\n"
      "B=2\r\n";
  TIniFile ini;
  ini.SetText(text);
  EXPECT_EQ(ini.ReadString("Main", "Name", ""), " two  words ");  // value verbatim, key trimmed
  EXPECT_EQ(ini.ReadString("Main", "B", ""), "2");                // a repeated header continues the section
  ini.WriteString("Main", "C", "3");
  EXPECT_EQ(ini.Text(),
            "; written by hand\n[Main]\nName= two  words \n; keep me\nnot a value line\nB=2\nC=3\n[Other]\nA=1\n");
}

TEST(IniFile, ReadsAsWrittenBackWithSeveralCarriageReturnsOrByteOrderMarks) {
  TIniFile ini;
  ini.SetText("[Main]\r\r\nName=v\r\r\n; note\r\r\n");
  EXPECT_EQ(ini.ReadString("Main", "Name", ""), "v");
  EXPECT_EQ(ini.Text(), "[Main]\nName=v\n; note\n");
  ini.SetText("\xEF\xBB\xBF\xEF\xBB\xBF[Main]\nName=v\n");
  EXPECT_EQ(ini.ReadString("Main", "Name", ""), "v");
  EXPECT_EQ(ini.Text(), "[Main]\nName=v\n");
  // A mark after blanks is a mark too, not the start of the first key (which would lose it
  // when the text is read again).
  ini.SetText(" \t\xEF\xBB\xBF[Main]\nName=v\n");
  EXPECT_EQ(ini.ReadString("Main", "Name", ""), "v");
  ini.SetText(" \t\xEF\xBB\xBFkey=1\n");
  EXPECT_EQ(ini.Text(), "key=1\n");
  ini.SetText("  plain text\n");
  EXPECT_EQ(ini.Text(), "  plain text\n");
}

TEST(IniFile, BadNumbersGiveTheDefault) {
  struct {
    const char* value;
    int integer;
    bool boolean;
  } cases[] = {
      {"42", 42, true},        {" -7 ", -7, true},     {"0", 0, false},        {"$1F", 31, true},
      {"0x10", 16, true},      {"12abc", -1, true},    {"", -1, true},         {"abc", -1, true},
      {"99999999999", -1, true}, {"-2147483648", -2147483647 - 1, true},     {"2147483648", -1, true},
      {"true", -1, true},      {"FALSE", -1, false},   {"-", -1, true},
  };
  for (const auto& c : cases) {
    TIniFile ini;
    ini.WriteString("S", "K", c.value);
    EXPECT_EQ(ini.ReadInteger("S", "K", -1), c.integer) << c.value;
    EXPECT_EQ(ini.ReadBool("S", "K", true), c.boolean) << c.value;
  }
}

TEST(IniFile, SectionsAndKeysCanBeTestedAndErased) {
  TIniFile ini;
  ini.SetText("[A]\nx=1\ny=\n[B]\nz=2\n");
  EXPECT_TRUE(ini.SectionExists("a"));
  EXPECT_TRUE(ini.ValueExists("A", "Y"));   // present with an empty value
  EXPECT_EQ(ini.ReadString("A", "y", "d"), "");
  EXPECT_FALSE(ini.ValueExists("A", "z"));
  ini.DeleteKey("a", "X");
  ini.EraseSection("b");
  EXPECT_EQ(ini.Text(), "[A]\ny=\n");
  EXPECT_FALSE(ini.SectionExists("B"));
}

// The settings of every watched address: 32768 keys in a section, found as in a small one (case
// ignored, the first of repeated keys), changed, deleted by their prefix in one pass.
TEST(IniFile, LargeSectionsBehaveAsSmallOnes) {
  constexpr int Keys = 32768;
  TIniFile ini;
  ini.SetText("[W]\n; a comment\nCount=2\n");
  for (int i = 0; i < Keys; ++i) ini.WriteInteger("W", "Address" + std::to_string(i), i);
  ini.WriteString("W", "ADDRESS5", "changed");
  EXPECT_EQ(ini.ReadString("w", "address5", ""), "changed");
  EXPECT_EQ(ini.ReadInteger("W", "Address32767", -1), 32767);
  EXPECT_EQ(ini.ReadInteger("W", "count", -1), 2);
  EXPECT_EQ(ini.ReadSection("W").size(), std::size_t(Keys + 1));
  ini.DeleteKey("W", "Address7");
  EXPECT_FALSE(ini.ValueExists("W", "Address7"));
  EXPECT_EQ(ini.ReadInteger("W", "Address8", -1), 8);
  TIniFile copy;
  copy.SetText(ini.Text() + "[W]\naddress8=second\n");
  EXPECT_EQ(copy.ReadInteger("W", "Address8", -1), 8);  // the first counts
  copy.DeleteKeysStartingWith("W", "address");
  EXPECT_EQ(copy.Text(), "[W]\n; a comment\nCount=2\n");
}

TEST(IniFile, LineBreaksInValuesCannotAddKeys) {
  TIniFile ini;
  ini.WriteString("S", "Name", "evil\n[Other]\r\nKey=1");
  TIniFile again;
  again.SetText(ini.Text());
  EXPECT_FALSE(again.SectionExists("Other"));
  EXPECT_EQ(again.ReadString("S", "Name", ""), "evil [Other]  Key=1");
}

TEST(IniFile, UnreadableFilesReadAsEmpty) {
  TTempDir dir;
  static const char junkBytes[] = "\0\xff[\n=\n[[]]\n=x\n\x01=\x02";
  WriteRaw(dir / "junk.ini", std::string(junkBytes, sizeof junkBytes - 1));
  TIniFile junk(dir / "junk.ini");
  EXPECT_EQ(junk.ReadInteger("x", "y", 3), 3);
  TIniFile missing(dir / "missing.ini");
  EXPECT_TRUE(missing.ReadSections().empty());
  TIniFile folder(dir.Path());  // a folder where a file was expected
  EXPECT_TRUE(folder.ReadSections().empty());
}

TEST(IniFile, UpdateFileReplacesWholeOrNothing) {
  TTempDir dir;
  const std::string name = dir / "Tallis.ini";
  WriteRaw(name, "[Old]\nK=1\n");
  ::chmod(name.c_str(), 0640);
  TIniFile ini(name);
  ini.WriteString("New", "K", "2");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(ReadAll(name), "[Old]\nK=1\n[New]\nK=2\n");
  struct stat st;
  ASSERT_EQ(::stat(name.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);                       // permissions kept
  EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"Tallis.ini"});  // no temporary left

  // A target that cannot be replaced (here a folder) fails, leaves it alone and cleans up.
  std::filesystem::create_directory(dir / "blocked.ini");
  TIniFile blocked(dir / "blocked.ini");
  blocked.WriteString("S", "K", "v");
  std::string error;
  EXPECT_FALSE(blocked.UpdateFile(&error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir / "blocked.ini"));
  EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"Tallis.ini", "blocked.ini"}));

  // A missing folder fails without creating anything.
  TIniFile nowhere(dir / "no/such/x.ini");
  EXPECT_FALSE(nowhere.UpdateFile());
  EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

TEST(IniFile, SymbolicLinkStaysALink) {
  TTempDir dir;
  WriteRaw(dir / "real.ini", "[A]\n");
  std::filesystem::create_symlink("real.ini", dir / "link.ini");
  TIniFile ini(dir / "link.ini");
  ini.WriteString("A", "K", "1");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
  EXPECT_EQ(ReadAll(dir / "real.ini"), "[A]\nK=1\n");
}
