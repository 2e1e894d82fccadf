#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "AtomicFile.h"
#include "FrameTestUtils.h"
#include "Startup.h"
#include "Translate.h"
#include "VersionInfo.h"

namespace {

// A start-up in a temporary folder: home <tmp>/home, program <tmp>/prog/Corvane, work <tmp>/work.
class StartupTest : public ::testing::Test {
protected:
  void SetUp() override {
    FEnvGuard.Set("LANGUAGE", std::nullopt);  // ActivateLanguage sets it; the guard restores it
  }

  TStartupEnv Env(std::vector<std::string> args, std::map<std::string, std::string> vars = {{"LANG", "C"}}) {
    if (!vars.count("HOME")) vars["HOME"] = FDir / "home";
    TStartupEnv env;
    env.Args = std::move(args);
    env.ExePath = FDir / "prog/Corvane";
    env.WorkingFolder = FDir / "work";
    env.LocaleFolder = CORVANE_BINARY_DIR "/locale";
    env.Env = MapEnv(vars);
    env.Folders = ResolvePlatformFolders(env.Env, FDir / "prog/");
    return env;
  }
  const TStartupValues& Start(std::vector<std::string> args, std::map<std::string, std::string> vars = {{"LANG", "C"}}) {
    StartUp("Holmvale", "", {}, Env(std::move(args), std::move(vars)));
    return StartupValues();
  }
  std::string Path(const std::string& rel) const { return FDir / rel; }
  void WriteLanguageFile(const std::string& name, const std::string& code) {
    std::filesystem::create_directories(std::filesystem::path(name).parent_path());
    std::ofstream(name) << "[Language]\nLangID=" << code << "\n";
  }

  TTempDir FDir;
  TEnvGuard FEnvGuard;
};

}  // namespace

TEST_F(StartupTest, ValuesAndLanguageFileLocations) {
  const TStartupValues& v = Start({});
  EXPECT_EQ(v.ProgramFolder, Path("prog/"));
  EXPECT_EQ(v.ProgramName, "Corvane");
  EXPECT_EQ(v.MakerFolder, "Holmvale");
  EXPECT_EQ(v.LanguageFile, Path("home/.config/Holmvale/Corvane.cfg"));

  struct {
    std::vector<std::string> args;
    const char* file;
  } cases[] = {
      {{"/i:%appdata%/x"}, "home/.config/Corvane.cfg"},  // only the folder of the location counts
      {{"/p"}, "prog/Corvane.cfg"},
      {{"/portable", "/ini:cfg/mine.ini"}, "prog/cfg/mine.ini/mine.cfg"},
      {{"-ini:sub/x.ini"}, "work/sub/Corvane.cfg"},
  };
  for (const auto& c : cases) EXPECT_EQ(Start(c.args).LanguageFile, Path(c.file)) << c.args.front();

  StartUp("Holmvale", "lang.cfg", {}, Env({}));
  EXPECT_EQ(StartupValues().LanguageFile, Path("home/.config/Holmvale/lang.cfg"));
  StartUp(Path("maker"), "", {}, Env({}));  // an absolute maker folder is the folder itself
  EXPECT_EQ(StartupValues().LanguageFile, Path("maker/Corvane.cfg"));
  EXPECT_EQ(SettingsFolder(), Path("maker/"));
}

TEST_F(StartupTest, LanguageFromCommandLineFileOrPlatform) {
  const std::string cfg = Path("home/.config/Holmvale/Corvane.cfg");
  const std::map<std::string, std::string> french{{"LANG", "fr_FR.UTF-8"}};

  // No language file: the platform's language, activated unchanged, and it may be saved.
  const TStartupValues& v = Start({}, french);
  EXPECT_EQ(v.CurrentLanguage, "fr");
  EXPECT_TRUE(v.LanguageMaySave);
  EXPECT_EQ(ActiveLanguage(), "fr");
  EXPECT_STREQ(std::getenv("LANGUAGE"), "fr");

  WriteLanguageFile(cfg, "deutsch");  // the first 2 characters
  EXPECT_EQ(Start({}, french).CurrentLanguage, "de");
  EXPECT_EQ(Start({"/lang:"}, french).CurrentLanguage, "de");  // an empty option is no option
  EXPECT_TRUE(StartupValues().LanguageMaySave);

  EXPECT_EQ(Start({"/LANG:German"}, french).CurrentLanguage, "Ge");
  EXPECT_FALSE(StartupValues().LanguageMaySave);
  EXPECT_EQ(ActiveLanguage(), "Ge");

  WriteLanguageFile(cfg, "");  // an empty key: the platform decides again
  EXPECT_EQ(Start({}, {{"LANG", "ja_JP"}}).CurrentLanguage, "");
}

TEST_F(StartupTest, ChangeLanguageSavesOnlyWhenAllowed) {
  const std::string cfg = Path("home/.config/Holmvale/Corvane.cfg");
  Start({"-l:en"});
  EXPECT_TRUE(ChangeLanguage("de"));
  EXPECT_EQ(StartupValues().CurrentLanguage, "de");
  EXPECT_EQ(ActiveLanguage(), "de");
  EXPECT_FALSE(std::filesystem::exists(cfg));  // a command-line language is never written

  Start({});
  EXPECT_TRUE(ChangeLanguage("english"));  // folder created, file written at once
  EXPECT_EQ(ReadAll(cfg), "[Language]\nLangID=en\n");
  EXPECT_EQ(Start({}).CurrentLanguage, "en");

  // A language file that cannot be written: the switch happens all the same.
  std::ofstream(Path("afile")) << "x";
  Start({"/ini:" + Path("afile/sub/")});
  EXPECT_FALSE(ChangeLanguage("de"));
  EXPECT_EQ(StartupValues().CurrentLanguage, "de");
  EXPECT_EQ(ActiveLanguage(), "de");
}

TEST_F(StartupTest, SettingsPaths) {
  Start({"/p"});  // portable mode moves only the language file
  EXPECT_FALSE(std::filesystem::exists(Path("home/.config")));
  EXPECT_EQ(SettingsFolder(), Path("home/.config/Holmvale/"));  // created with its parents
  EXPECT_TRUE(std::filesystem::is_directory(Path("home/.config/Holmvale")));
  EXPECT_EQ(ProgramSettingsFile(), Path("home/.config/Holmvale/Corvane.ini"));
  EXPECT_EQ(DocumentsFolder(), Path("home/Documents/"));

  // No application data folder: the program folder, for the settings and the language file.
  StartUp("Holmvale", "", {}, Env({}, {{"HOME", ""}}));
  EXPECT_EQ(SettingsFolder(), Path("prog/"));
  EXPECT_EQ(StartupValues().LanguageFile, Path("prog/Corvane.cfg"));
  EXPECT_EQ(DocumentsFolder(), "");

  EXPECT_EQ(SettingsFolderNotice(), "");

  // A folder that cannot be created: the program folder too, and a notice says so.
  std::ofstream(Path("blocked")) << "x";
  StartUp("Holmvale", "", {}, Env({"/lang:en"}, {{"HOME", Path("blocked")}}));
  EXPECT_EQ(SettingsFolder(), Path("prog/"));
  EXPECT_EQ(SettingsFolderNotice(), "The settings folder " + Path("blocked/.config/Holmvale") +
                                        " cannot be used (Not a directory); the settings are kept in " + Path("prog/") +
                                        ".");
  // So is a file in the settings folder's own place.
  std::filesystem::create_directories(Path("home2/.config"));
  std::ofstream(Path("home2/.config/Holmvale")) << "x";
  StartUp("Holmvale", "", {}, Env({"/lang:en"}, {{"HOME", Path("home2")}}));
  EXPECT_EQ(SettingsFolder(), Path("prog/"));
  EXPECT_NE(SettingsFolderNotice().find("(Not a directory)"), std::string::npos) << SettingsFolderNotice();
}

TEST_F(StartupTest, DomainsAreRegisteredOnceAndTranslate) {
  StartUp("Holmvale", "", {"qt", "units", "qt"}, Env({"/lang:de"}));
  EXPECT_EQ(TranslationDomains(), (std::vector<std::string>{"default", "dialogs", "units", "qt"}));
  EXPECT_EQ(TranslationFolder(), CORVANE_BINARY_DIR "/locale");
  EXPECT_EQ(_("Format error: "), "Formatfehler: ");
  ChangeLanguage("en");
  EXPECT_EQ(_("Format error: "), "Format error: ");
}

TEST_F(StartupTest, RealProcessWithTemporaryHome) {
  FEnvGuard.Set("HOME", Path("home"));
  FEnvGuard.Set("XDG_CONFIG_HOME", Path("xdg"));
  FEnvGuard.Set("LC_ALL", "C");
  const char* argv[] = {"frame_tests", "/lang:en", nullptr};
  StartUp(2, argv, "Holmvale");
  const TStartupValues& v = StartupValues();
  EXPECT_EQ(v.ProgramFolder, CORVANE_BINARY_DIR "/tests/");
  EXPECT_EQ(v.ProgramName, "frame_tests");
  EXPECT_EQ(v.LanguageFile, Path("xdg/Holmvale/frame_tests.cfg"));
  EXPECT_EQ(v.CurrentLanguage, "en");
  EXPECT_EQ(ProgramSettingsFile(), Path("xdg/Holmvale/frame_tests.ini"));

  // Version texts from the compiled-in values, and the executable's date.
  TProgramVersion corvane = ProgramVersion("Corvane", "2.5.0.0", "");
  EXPECT_EQ(corvane.Name, "Corvane");
  EXPECT_EQ(corvane.BracketedVersion, " (Version 2.5.0)");
  EXPECT_EQ(corvane.FileTime, FileModificationTime(CORVANE_BINARY_DIR "/tests/frame_tests"));
  EXPECT_TRUE(std::regex_match(corvane.FileDate, std::regex(R"(\d{4}-\d{2}-\d{2})"))) << corvane.FileDate;
  EXPECT_EQ(ProgramVersion("Tallis", "2.0.1.0", "").BracketedVersion, " (Version 2.0.1)");
}

TEST(VersionInfo, VersionParts) {
  struct {
    const char* version;
    int parts;
    const char* cut;
  } cases[] = {
      {"2.5.0.0", 3, "2.5.0"}, {"2.0.1.0", 3, "2.0.1"}, {"2.5", 3, "2.5"},
      {"2.5.0.0", 1, "2"},     {"", 3, ""},             {"1.2.3", 0, "1.2.3"},
  };
  for (const auto& c : cases) EXPECT_EQ(CutVersion(c.version, c.parts), c.cut) << c.version << "/" << c.parts;
  TFileVersionInfo info = ReadFileVersionInfo("Tallis", "2.0.1.0", "(c) Holmvale");
  EXPECT_EQ(info.InternalName, "Tallis");
  EXPECT_EQ(info.Copyright, "(c) Holmvale");
  EXPECT_EQ(ShortDateText(0), "");
}

TEST_F(StartupTest, CatalogsBesideTheProgramElseInTheInstalledShareFolder) {
  // A program in <prefix>/bin with only the installed catalogs.
  std::filesystem::create_directories(Path("prefix/bin"));
  std::filesystem::create_directories(Path("prefix/share/corvane/locale/de/LC_MESSAGES"));
  EXPECT_EQ(CatalogFolder(Path("prefix/bin/")), Path("prefix/share/corvane/locale"));
  // Catalogs beside the program come first (the build folder, a portable copy).
  std::filesystem::create_directories(Path("prefix/bin/locale"));
  EXPECT_EQ(CatalogFolder(Path("prefix/bin/")), Path("prefix/bin/locale"));
  // Neither: the folder beside the program, where a missing catalog leaves the English texts.
  std::filesystem::create_directories(Path("prog"));
  EXPECT_EQ(CatalogFolder(Path("prog/")), Path("prog/locale"));
}
