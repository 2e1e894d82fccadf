#include <gtest/gtest.h>

#include "PathUtils.h"

TEST(PathUtils, MakeFileNameAppliesDefaultExtensionAndFolder) {
  struct {
    const char *folder, *name, *ext, *expected;
  } cases[] = {
      {"/cfg/Holmvale", "Corvane", "ini", "/cfg/Holmvale/Corvane.ini"},
      {"/cfg/Holmvale/", "Corvane", ".ini", "/cfg/Holmvale/Corvane.ini"},  // leading "." dropped, no doubled "/"
      {"/cfg", "tape.bin", "ini", "/cfg/tape.bin"},                        // own extension kept
      {"/cfg", "tape", "", "/cfg/tape"},
      {"/cfg", "/abs/tape", "bin", "/abs/tape.bin"},                       // absolute name alone
      {"", "tape", "bin", "tape.bin"},                                     // empty folder: name alone
      {"/cfg", "my.dir/tape", "bin", "/cfg/my.dir/tape.bin"},              // "." only in a folder part
  };
  for (const auto& c : cases) EXPECT_EQ(MakeFileName(c.folder, c.name, c.ext), c.expected) << c.name;
}

TEST(PathUtils, JoinAndTrailingDelimiter) {
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", ""), "/a");
  EXPECT_EQ(JoinPath("", "b"), "b");
  EXPECT_EQ(IncludeTrailingDelimiter(""), "");
  EXPECT_EQ(IncludeTrailingDelimiter("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingDelimiter("/a/"), "/a/");
}

TEST(PathUtils, ExtensionOnlyAfterLastDelimiter) {
  struct {
    const char *name, *ext, *stem;
  } cases[] = {
      {"/a/tape.bin", "bin", "/a/tape"},
      {"/a/tape.tar.gz", "gz", "/a/tape.tar"},
      {"/a.b/tape", "", "/a.b/tape"},  // the only "." lies in a folder part
      {"tape.", "", "tape"},
      {"tape", "", "tape"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractFileExtension(c.name), c.ext) << c.name;
    EXPECT_EQ(RemoveFileExtension(c.name), c.stem) << c.name;
  }
}

TEST(PathUtils, ParentDirectory) {
  struct {
    const char *path, *parent;
  } cases[] = {
      {"/home/user/tapes", "/home/user"},
      {"/home/user/tapes/", "/home/user"},  // trailing delimiter: the one before it counts
      {"/home", "/"},
      {"/home/", "/"},
      {"/", "/"},
      {"a/b", "a"},
      {"tapes", "tapes"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ParentDirectory(c.path), c.parent) << c.path;
}

TEST(PathUtils, DirectoryEntryTest) {
  EXPECT_FALSE(IsDirectoryEntry("."));
  EXPECT_FALSE(IsDirectoryEntry(".."));
  EXPECT_TRUE(IsDirectoryEntry("...") && IsDirectoryEntry(".hidden") && IsDirectoryEntry("tapes"));
}

TEST(PathUtils, HomeRelativePathShortensOnlyInsideTheHomeFolder) {
  struct {
    const char *path, *home, *expected;
  } cases[] = {
      {"/home/ann/tapes/hello.bin", "/home/ann", "~/tapes/hello.bin"},
      {"/home/ann/tapes/hello.bin", "/home/ann/", "~/tapes/hello.bin"},
      {"/home/ann", "/home/ann", "~"},
      {"/home/anna/tape.bin", "/home/ann", "/home/anna/tape.bin"},  // another folder
      {"/tmp/tape.bin", "/home/ann", "/tmp/tape.bin"},
      {"/tmp/tape.bin", "/", "/tmp/tape.bin"},                      // a root home shortens nothing
      {"/tmp/tape.bin", "", "/tmp/tape.bin"},
      {"tape.bin", "/home/ann", "tape.bin"},
  };
  for (const auto& c : cases) EXPECT_EQ(HomeRelativePath(c.path, c.home), c.expected) << c.path << " in " << c.home;
}
