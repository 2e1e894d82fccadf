// Output files written as they go (the punches and the printer): the target stays as it was
// until the first bytes are flushed, then holds what has been flushed, for others to read, and
// keeps it if the writer goes away; through a link the file it leads to is written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ReplacingFile.h"
#include "TestTempDir.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

}  // namespace

TEST(FileAsWritten, FlushedBytesAreInTheTargetWhileItIsWritten) {
  TTempDir dir;
  const std::string name = dir / "tape.bin";
  Write(name, "old tape");
  ::chmod(name.c_str(), 0640);
  TReplacingFile f;
  std::string error;
  ASSERT_TRUE(f.Open(name, error, TReplacingFile::wmAsWritten)) << error;
  ASSERT_TRUE(f.Flush(error)) << error;  // nothing written yet: the old tape stays
  EXPECT_EQ(ReadAll(name), "old tape");
  ASSERT_TRUE(f.Write("ab", 2, error) && f.Flush(error)) << error;
  EXPECT_EQ(ReadAll(name), "ab");
  ASSERT_TRUE(f.Write("c", 1, error));
  EXPECT_EQ(ReadAll(name), "ab");  // buffered
  ASSERT_TRUE(f.Flush(error));
  EXPECT_EQ(ReadAll(name), "abc");
  ASSERT_TRUE(f.Write("d", 1, error) && f.Commit(error)) << error;
  EXPECT_EQ(ReadAll(name), "abcd");
  EXPECT_EQ(fs::status(name).permissions() & fs::perms::all, fs::perms(0640));
  EXPECT_EQ(dir.FileCount(), 1u);
}

TEST(FileAsWritten, DiscardBeforeTheFirstBytesLeavesTheOldFile) {
  TTempDir dir;
  const std::string name = dir / "tape.bin";
  Write(name, "old tape");
  std::string error;
  {
    TReplacingFile f;
    ASSERT_TRUE(f.Open(name, error, TReplacingFile::wmAsWritten));
    ASSERT_TRUE(f.Write("new", 3, error));
    f.Discard();
  }
  EXPECT_EQ(ReadAll(name), "old tape");
  EXPECT_EQ(dir.FileCount(), 1u);
  {
    TReplacingFile f;  // flushed, then given up (a write error later): the tape so far stays
    ASSERT_TRUE(f.Open(name, error, TReplacingFile::wmAsWritten));
    ASSERT_TRUE(f.Write("new", 3, error) && f.Flush(error));
    ASSERT_TRUE(f.Write("er", 2, error));
  }
  EXPECT_EQ(ReadAll(name), "new");
  // Nothing written at all: the file is replaced by an empty one when it is closed.
  TReplacingFile f;
  ASSERT_TRUE(f.Open(name, error, TReplacingFile::wmAsWritten) && f.Commit(error)) << error;
  EXPECT_EQ(ReadAll(name), "");
  EXPECT_EQ(dir.FileCount(), 1u);
}

TEST(FileAsWritten, ThroughALinkAndRemovedWhileWritten) {
  TTempDir dir;
  fs::create_directory(dir / "real");
  Write(dir / "real/tape.bin", "old");
  fs::create_symlink(dir / "real/tape.bin", dir / "link.bin");
  TReplacingFile f;
  std::string error;
  ASSERT_TRUE(f.Open(dir / "link.bin", error, TReplacingFile::wmAsWritten));
  ASSERT_TRUE(f.Write("xy", 2, error) && f.Flush(error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir / "link.bin"));
  EXPECT_EQ(ReadAll(dir / "real/tape.bin"), "xy");
  ASSERT_TRUE(f.Commit(error));
  EXPECT_EQ(ReadAll(dir / "link.bin"), "xy");

  // The folder removed under a file being written: the loss is reported when it is closed.
  ASSERT_TRUE(f.Open(dir / "real/tape.bin", error, TReplacingFile::wmAsWritten));
  ASSERT_TRUE(f.Write("z", 1, error) && f.Flush(error));
  fs::remove_all(dir / "real");
  EXPECT_FALSE(f.Commit(error));
  EXPECT_EQ(error, "No such file or directory");
}
