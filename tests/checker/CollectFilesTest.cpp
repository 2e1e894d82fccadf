// Finding files: patterns, order, subdirectories and link loops.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CheckerTestUtils.h"
#include "CollectFiles.h"

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

namespace {

class CollectFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* name : {"b.bin", "a.bin", "A.BIN", ".hidden.bin", "notes.txt", "z/z1.bin", "z/deep/d.bin",
                             "m/m1.bin", "m/m2.txt"})
      WriteFile(Dir / name, "x");
    fs::create_directory(Dir / "dir.bin");  // a directory is never a file
  }
  Names Collect(const std::string& pattern, bool subDirs, const std::string& directory = "") {
    Names files;
    CollectFiles(directory.empty() ? Dir.Path() : directory, pattern, subDirs, files);
    for (std::string& f : files)
      if (f.starts_with(Dir.Path() + "/")) f.erase(0, Dir.Path().size() + 1);
    return files;
  }
  TTempDir Dir;
};

}  // namespace

TEST_F(CollectFilesTest, MatchesCaseSensitivelyWithHiddenFilesInNameOrder) {
  EXPECT_EQ(Collect("*.bin", false), (Names{".hidden.bin", "a.bin", "b.bin"}));
  EXPECT_EQ(Collect("?.BIN", false), Names{"A.BIN"});
  EXPECT_EQ(Collect("[ab].bin", false), (Names{"a.bin", "b.bin"}));
  EXPECT_EQ(Collect("nothing*", false), Names{});
}

TEST_F(CollectFilesTest, SubdirectoryFilesComeFirstDepthFirst) {
  EXPECT_EQ(Collect("*.bin", true), (Names{"m/m1.bin", "z/deep/d.bin", "z/z1.bin", ".hidden.bin", "a.bin", "b.bin"}));
}

TEST_F(CollectFilesTest, DirectoryPartOfAPatternIsSearched) {
  EXPECT_EQ(Collect("z/*.bin", false), Names{"z/z1.bin"});
  EXPECT_EQ(Collect("z/*.bin", true), (Names{"z/deep/d.bin", "z/z1.bin"}));
  EXPECT_EQ(Collect(Dir / "m/*", false), (Names{"m/m1.bin", "m/m2.txt"}));
  EXPECT_EQ(Collect("z/", false), Names{});
}

TEST_F(CollectFilesTest, MissingDirectoryGivesNothing) {
  EXPECT_EQ(Collect("*", true, Dir / "missing"), Names{});
  EXPECT_EQ(Collect("*", true, Dir / "a.bin"), Names{});
}

TEST_F(CollectFilesTest, LinkLoopsEndAndEachDirectoryIsVisitedOnce) {
  fs::create_directory_symlink("..", Dir / "z/up");          // back to the top
  fs::create_directory_symlink(Dir / "m", Dir / "z/to-m");   // a second way into m
  fs::create_directory_symlink(".", Dir / "m/self");
  fs::create_symlink(Dir / "a.bin", Dir / "m/link.bin");     // a link to a file is a file
  fs::create_symlink(Dir / "gone", Dir / "m/dangling.bin");  // a dangling link is not
  ASSERT_EQ(::mkfifo((Dir / "m/pipe.bin").c_str(), 0600), 0);  // reading a pipe could block
  EXPECT_EQ(Collect("*.bin", true), (Names{"m/link.bin", "m/m1.bin", "z/deep/d.bin", "z/z1.bin", ".hidden.bin",
                                           "a.bin", "b.bin"}));
}
