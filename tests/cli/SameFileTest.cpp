// corvane-cli run refuses an output file that is one of its input files, however it is named
// (the same name, another path, a hard or a symbolic link), and then writes nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TestTempDir.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(SameFileTest, OutputThatIsAnInputIsRefused) {
  struct TCase {
    const char* Input;   // option and the name it gets
    const char* Output;  // option and name; "hard" and "soft" are links to in.bin
  };
  const TCase cases[] = {
      {"--ptr in.bin", "--ptp in.bin"},           {"--ttr in.bin", "--ttp ./in.bin"},
      {"--ptr in.bin", "--lpt hard"},             {"--ttr in.bin", "--trace-out soft"},
      {"--load-dump in.bin", "--save-dump in.bin"}, {"--load-dump in.bin", "--ptp ../d/in.bin"},
  };
  const std::string original("\001\000\377\177", 4);
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Input) + " " + c.Output);
    TTempDir dir;
    fs::create_directory(dir / "d");
    std::ofstream(dir / "d/in.bin", std::ios::binary) << original;
    fs::create_hard_link(dir / "d/in.bin", dir / "d/hard");
    fs::create_symlink("in.bin", dir / "d/soft");
    const std::string command = "cd '" + (dir / "d") + "' && LC_ALL=C LANGUAGE= XDG_CONFIG_HOME='" + (dir / "cfg") +
                                "' " CORVANE_BINARY_DIR "/corvane-cli run --max-instructions 100 " + c.Input + " " +
                                c.Output + " </dev/null >../out.txt 2>../err.txt";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(ReadAll(dir / "err.txt").find("is the same file as"), std::string::npos) << ReadAll(dir / "err.txt");
    EXPECT_EQ(ReadAll(dir / "out.txt"), "");
    EXPECT_EQ(ReadAll(dir / "d/in.bin"), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "d"), {}), 3) << "nothing new in the folder";
  }
}
