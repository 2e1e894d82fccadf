#include <gtest/gtest.h>

#include "CommandLine.h"

namespace {

const std::string ProgFolder = "/opt/corvane/";

TCommandLine Parse(const std::vector<std::string>& args) {
  return ParseCommandLine(
      args, [](std::string_view t) { return t == "%appdata%/x" ? std::string("/home/u/.config/x") : std::string(t); },
      ProgFolder);
}

}  // namespace

TEST(CommandLine, OptionsAndAbbreviations) {
  struct {
    std::vector<std::string> args;
    const char* language;
    const char* location;
    bool portable;
  } cases[] = {
      {{"/LANG:German"}, "Ge", "", false},  // first 2 characters, unchanged
      {{"-l:en"}, "en", "", false},
      {{"/La:fr"}, "fr", "", false},
      {{"/:de"}, "de", "", false},              // empty keyword means "lang"
      {{"/lang:"}, "", "", false},              // nothing after the colon: no language option
      {{"/lang:de", "-lang:fr"}, "fr", "", false},  // later options win
      {{"/lang:\xC3\xA4\xC3\xB6x"}, "\xC3\xA4\xC3\xB6", "", false},  // characters, not bytes
      {{"/language:de"}, "", "", false},        // longer than the keyword
      {{"/ix:foo"}, "", "", false},
      {{"/i:%appdata%/x"}, "", "/home/u/.config/x", false},  // placeholders expanded
      {{"-INI:/etc/x/"}, "", "/etc/x/", false},
      {{"/p"}, "", "/opt/corvane/", true},      // portable: the program folder
      {{"-"}, "", "/opt/corvane/", true},       // the introducer alone is "portable" too
      {{"/PORTABLE", "/ini:cfg/mine.ini"}, "", "cfg/mine.ini", true},
      {{"/ini:a/", "/port"}, "", "a/", true},   // portable keeps a location given before
      {{"de", "tape.bin", "/portables", "/pox", ""}, "", "", false},
  };
  for (const auto& c : cases) {
    TCommandLine cmd = Parse(c.args);
    std::string shown = c.args.empty() ? "" : c.args.front();
    EXPECT_EQ(cmd.Language, c.language) << shown;
    EXPECT_EQ(cmd.Location, c.location) << shown;
    EXPECT_EQ(cmd.Portable, c.portable) << shown;
  }
}

TEST(CommandLine, LanguageFileLocationTable) {
  const std::string defaultFile = "/home/u/.config/Holmvale/Corvane.cfg";
  const std::string work = "/home/u/work";
  struct {
    const char* location;
    bool portable;
    const char* expected;
  } cases[] = {
      {"", false, "/home/u/.config/Holmvale/Corvane.cfg"},
      {"/data/cfg/", false, "/data/cfg/Corvane.cfg"},                 // ends with a delimiter
      {"/data/cfg/", true, "/data/cfg/Corvane.cfg"},
      {"/data/cfg/mine.ini", false, "/data/cfg/Corvane.cfg"},         // absolute: only the folder counts
      {"/data/cfg/mine.ini", true, "/data/cfg/mine.cfg"},             // portable: its own name
      {"sub/mine.ini", false, "/home/u/work/sub/Corvane.cfg"},        // relative with delimiter
      {"../other/mine.ini", false, "/home/u/other/Corvane.cfg"},
      {"cfg/mine.ini", true, "/opt/corvane/cfg/mine.ini/mine.cfg"},   // a folder named mine.ini
      {"mine.ini", false, "/home/u/.config/Holmvale/Corvane.cfg"},    // no delimiter: unchanged
      {"mine.ini", true, "/opt/corvane/mine.cfg"},
      {"mine", true, "/opt/corvane/mine.cfg"},
  };
  for (const auto& c : cases) {
    TCommandLine cmd{"", c.location, c.portable};
    EXPECT_EQ(LanguageFileForLocation(defaultFile, cmd, ProgFolder, work), c.expected)
        << c.location << (c.portable ? " portable" : "");
  }
}

// Files beside the options on a window program's line: absolute paths are files unless they read
// as one of the options ("/p" is "portable"), everything beginning with "-" is an option.
TEST(CommandLine, FileArgumentsBesideOptions) {
  const std::vector<std::string> args = {"/lang:de", "tape.ab",  "/tmp/x.dmp", "-portable",   "/home/lang:de",
                                         "--help",   "/p",       "/pox",       "/ini:/etc/x", "my tape.ab",
                                         "",         "/LANGUAGE:de", "Bänder/ä.nvs", "./-x.sr"};
  const std::vector<std::string> files = {"tape.ab",    "/tmp/x.dmp",         "/home/lang:de", "/pox", "my tape.ab",
                                          "/LANGUAGE:de", "Bänder/ä.nvs", "./-x.sr"};
  EXPECT_EQ(FileArguments(args), files);
  // What the option parser takes is never a file, and the other way round.
  for (const std::string& arg : args) {
    if (arg.empty()) continue;
    const TCommandLine alone = Parse({arg});
    const bool parsed = !alone.Language.empty() || !alone.Location.empty() || alone.Portable;
    if (parsed) EXPECT_TRUE(IsProgramOption(arg)) << arg;
  }
}
