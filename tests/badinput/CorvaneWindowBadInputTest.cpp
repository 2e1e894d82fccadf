// The corvane window program started as a user would start it (offscreen), in a working folder
// whose auto-saved image or settings file is unreadable or a folder, read-only, or under a file
// size limit that ends a process which does not ignore SIGXFSZ, and ended by SIGTERM as a logout
// ends it. Each time it ends at once (also with the start-up error box open), writes its
// settings, says on standard error what it could not write, and replaces no file it could not
// read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <regex>
#include <sstream>

#include "BadInputSupport.h"

namespace {

namespace fs = std::filesystem;

const std::string Corvane = CORVANE_BINARY_DIR "/corvane";

// The settings folder <home>/.config/Holmvale, whose Corvane.ini names the working folder.
struct TWindowFolder : TUserFolder {
  TWindowFolder() {
    fs::create_directories(Settings);
    std::ofstream(Ini) << "[Config]\nWorkPath=" << Work << "\n";
  }
  TChildOptions WindowOptions() const {
    TChildOptions o = Options();
    o.Env.emplace_back("QT_QPA_PLATFORM", "offscreen");
    o.TimeoutSeconds = 60;
    return o;
  }
  const std::string Home = Work.substr(0, Work.rfind('/')) + "/home";
  const std::string Settings = Home + "/.config/Holmvale";
  const std::string Ini = Settings + "/Corvane.ini";
  const std::string Image = Work + "/autodump.dmp";
};

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// What the program printed, without the offscreen platform's notes.
std::string Messages(const std::string& err) {
  std::string kept, line;
  std::istringstream in(err);
  while (std::getline(in, line))
    if (line.starts_with("corvane:")) kept += line + "\n";
  return kept;
}

struct TWindowCase {
  const char* Name;
  std::function<void(TWindowFolder&, TChildOptions&)> Make;
  const char* Err;  // what standard error says ("{work}" and "{settings}" filled in)
  std::function<void(const TWindowFolder&)> Check;
};
void PrintTo(const TWindowCase& c, std::ostream* os) { *os << c.Name; }

const std::string OldImage(65536, '\x5a');

const TWindowCase WindowCases[] = {
    {"UnreadableImage",
     [](TWindowFolder& u, TChildOptions& o) {
       u.Write("autodump.dmp", OldImage);
       ::chmod(u.Image.c_str(), 0);
       o.ObeyPermissions = true;
     },
     "^corvane: The auto-saved image {work}/autodump.dmp could not be read at the start and is kept as it is; "
     "the memory is saved in {work}/autodump-1.dmp.\n$",
     [](const TWindowFolder& u) {
       EXPECT_EQ(ReadAll(u.Image), OldImage);
       EXPECT_EQ(fs::status(u.Image).permissions(), fs::perms::none);
       EXPECT_EQ(fs::file_size(u.Work + "/autodump-1.dmp"), 65536u);
     }},
    // The start-up error box ("Is a directory") is open when the signal comes.
    {"ImageIsAFolder", [](TWindowFolder& u, TChildOptions&) { fs::create_directory(u.Image); },
     "^corvane: The auto-saved image {work}/autodump.dmp could not be read at the start and is kept as it is; "
     "the memory is saved in {work}/autodump-1.dmp.\n$",
     [](const TWindowFolder& u) {
       EXPECT_TRUE(fs::is_directory(u.Image));
       EXPECT_TRUE(fs::is_regular_file(u.Work + "/autodump-1.dmp"));
     }},
    {"ReadOnlyWorkingFolder",
     [](TWindowFolder& u, TChildOptions& o) {
       ::chmod(u.Work.c_str(), 0555);
       o.ObeyPermissions = true;
     },
     "^corvane: Cannot write file {work}/autodump.dmp: Permission denied\n$",
     [](const TWindowFolder& u) { EXPECT_TRUE(u.Names().empty()); }},
    // Under "ulimit -f" the image does not fit: the write fails, the program does not die.
    {"FileSizeLimit",
     [](TWindowFolder&, TChildOptions& o) {
       o.FileSizeLimit = 8192;
       o.FileSizeSignal = true;
     },
     "^corvane: Cannot write file {work}/autodump.dmp: File too large\n$",
     [](const TWindowFolder& u) { EXPECT_TRUE(u.Names().empty()); }},
    {"UnreadableSettings",
     [](TWindowFolder& u, TChildOptions& o) {
       std::ofstream(u.Ini, std::ios::app) << "NumBase=1\n";
       ::chmod(u.Ini.c_str(), 0);
       o.ObeyPermissions = true;
     },
     "^corvane: The settings file {settings}/Corvane.ini could not be read at the start and is kept as it is; "
     "the settings are saved in {settings}/Corvane-1.ini.\n",
     [](const TWindowFolder& u) {
       ::chmod(u.Ini.c_str(), 0644);
       EXPECT_NE(ReadAll(u.Ini).find("NumBase=1\n"), std::string::npos);
       EXPECT_NE(ReadAll(u.Settings + "/Corvane-1.ini").find("[Config]"), std::string::npos);
     }},
};

class WindowFiles : public ::testing::TestWithParam<TWindowCase> {};

TEST_P(WindowFiles, TerminationEndsItAndNothingIsLost) {
  const TWindowCase& c = GetParam();
  TWindowFolder u;
  TChildOptions options = u.WindowOptions();
  c.Make(u, options);
  const TChildResult r = RunProgramUntilSignalled(Corvane, {}, options);
  ::chmod(u.Work.c_str(), 0755);
  EXPECT_FALSE(r.TimedOut()) << "the program did not end";
  EXPECT_EQ(r.Status, 0) << r.Err;
  std::string expected = c.Err;
  for (const auto& [key, value] : {std::pair<std::string, std::string>{"{work}", u.Work}, {"{settings}", u.Settings}})
    for (std::size_t at; (at = expected.find(key)) != std::string::npos;) expected.replace(at, key.size(), value);
  const std::string messages = Messages(r.Err);
  EXPECT_TRUE(std::regex_search(messages, std::regex(expected))) << messages;
  // The settings are written in every case (beside a file that could not be read).
  const std::string side = u.Settings + "/Corvane-1.ini";
  EXPECT_NE(ReadAll(fs::exists(side) ? side : u.Ini).find("Top="), std::string::npos);
  // No temporary file of the shutdown stays behind.
  for (const auto& e : fs::directory_iterator(u.Settings))
    EXPECT_FALSE(e.path().filename().string().starts_with(".")) << e.path();
  c.Check(u);
}

INSTANTIATE_TEST_SUITE_P(Window, WindowFiles, ::testing::ValuesIn(WindowCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
