#include <gtest/gtest.h>

#include <fstream>

#include "FrameTestUtils.h"
#include "PlatformFolders.h"

TEST(PlatformFolders, XdgFolders) {
  TPlatformFolders f = ResolvePlatformFolders(MapEnv({{"HOME", "/home/u/"}, {"USER", "u"}}), "/opt/corvane/");
  EXPECT_EQ(f.AppData, "/home/u/.config");
  EXPECT_EQ(f.LocalAppData, "/home/u/.local/share");
  EXPECT_EQ(f.Documents, "/home/u/Documents");
  EXPECT_EQ(f.Desktop, "/home/u/Desktop");
  EXPECT_EQ(f.Profile, "/home/u");
  EXPECT_EQ(f.AllUsers, "/etc/xdg");
  EXPECT_EQ(f.ProgramFolder, "/opt/corvane");
  EXPECT_EQ(f.UserName, "u");

  // Set variables win; relative ones are invalid and ignored.
  f = ResolvePlatformFolders(MapEnv({{"HOME", "/h"},
                                     {"XDG_CONFIG_HOME", "/cfg"},
                                     {"XDG_DATA_HOME", "relative/data"},
                                     {"XDG_DOCUMENTS_DIR", "/docs"},
                                     {"XDG_CONFIG_DIRS", "rel:/etc/sys:/etc/other"}}),
                             "");
  EXPECT_EQ(f.AppData, "/cfg");
  EXPECT_EQ(f.LocalAppData, "/h/.local/share");
  EXPECT_EQ(f.Documents, "/docs");
  EXPECT_EQ(f.AllUsers, "/etc/sys");

  // Nothing known: no folders (the settings fall back to the program folder).
  f = ResolvePlatformFolders(MapEnv({}), "/opt/corvane/");
  EXPECT_EQ(f.AppData, "");
  EXPECT_EQ(f.Documents, "");
}

TEST(PlatformFolders, UserDirsFile) {
  TTempDir dir;
  std::filesystem::create_directories(dir / "cfg");
  std::ofstream(dir / "cfg/user-dirs.dirs") << "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
                                              "XDG_DESKTOP_DIR=\"/srv/desk/\"\nXDG_PUBLICSHARE_DIR=\"bad\"\n";
  TPlatformFolders f = ResolvePlatformFolders(MapEnv({{"HOME", "/h"}, {"XDG_CONFIG_HOME", dir / "cfg"}}), "");
  EXPECT_EQ(f.Documents, "/h/Dokumente");
  EXPECT_EQ(f.Desktop, "/srv/desk");
  EXPECT_EQ(f.Public, "/h/Public");
}

TEST(PlatformFolders, Placeholders) {
  const TPlatformFolders f{.AppData = "/home/u/.config",
                           .LocalAppData = "/home/u/.local/share",
                           .Documents = "/home/u/Documents/",
                           .Desktop = "/home/u/Desktop",
                           .Public = "/",
                           .Profile = "/home/u",
                           .Favorites = "/home/u",
                           .AllUsers = "/etc/xdg",
                           .Programs = "/opt",
                           .CommonPrograms = "/usr/share",
                           .ProgramFolder = "/opt/corvane",
                           .UserName = "u",
                           .ComputerName = "box"};
  struct {
    const char *text, *expected;
  } cases[] = {
      {"%APPDATA%/x", "/home/u/.config/x"},
      {"%PersPath%/a:%perspath%/b", "/home/u/Documents/a:/home/u/Documents/b"},  // no trailing delimiter, every occurrence
      {"%apppath%|%localappdata%|%progpath%", "/home/u/.config|/home/u/.local/share|/opt/corvane"},
      {"%userprofile%|%profile%", "/home/u|/home/u"},
      {"%username%@%computername%", "u@box"},
      {"a%user%b%computer%c", "abc"},
      {"%programdata%=%allusersprofile%", "/etc/xdg=/etc/xdg"},
      {"%programfiles(x86)%|%progfiles%", "/opt|/opt"},
      {"%public%/share", "/share"},  // the root is inserted as nothing before its "/"
      {"%unknown%/50%", "%unknown%/50%"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandPlaceholders(c.text, f), c.expected) << c.text;
}

TEST(PlatformFolders, PlatformLanguage) {
  struct {
    std::map<std::string, std::string> env;
    const char* code;
  } cases[] = {
      {{{"LANG", "de_DE.UTF-8"}}, "de"},
      {{{"LANG", "pt_BR"}}, "pt"},
      {{{"LANGUAGE", "fr:de"}, {"LANG", "de_DE"}}, "fr"},
      {{{"LANGUAGE", ":sv"}}, "sv"},
      {{{"LC_ALL", "nb_NO.UTF-8"}, {"LANG", "de_DE"}}, "no"},
      {{{"LC_MESSAGES", "nn_NO"}}, "no"},
      {{{"LC_ALL", "C"}, {"LANG", "de_DE"}}, ""},  // C means none and wins over LANG
      {{{"LANG", "C.UTF-8"}}, ""},
      {{{"LANG", "POSIX"}}, ""},
      {{{"LANGUAGE", ""}, {"LANG", "uk_UA"}}, "uk"},
      {{{"LANG", "ja_JP.UTF-8"}}, ""},             // not in the table
      {{{"LANG", "de@euro"}}, "de"},
      {{}, ""},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& [k, v] : c.env) shown += k + "=" + v + " ";
    EXPECT_EQ(PlatformLanguage(MapEnv(c.env)), c.code) << shown;
  }
}
