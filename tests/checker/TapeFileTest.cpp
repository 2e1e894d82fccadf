// The tape reader and writer: whatever a file's size against their buffers (a small file's own
// size, 4 KB at the least, 256 KB at the most), every byte reads and writes as it is, words and
// runs of bytes across a buffer's edge included.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "CheckerTestUtils.h"
#include "TapeFile.h"

namespace {

// Sizes at the edges of the buffers.
const std::size_t Sizes[] = {0, 1, 2, 4095, 4096, 4097, 100001, 262143, 262144, 262145, 600001};

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

// Reads to the end as the checks do: runs of bytes from the buffer (leaving one byte at its
// end, so that the next word spans two fills), words and single bytes by turns.
std::string ReadAll(TTapeReader& reader, std::size_t size) {
  std::string got;
  for (int turn = 0;; turn = (turn + 1) % 3) {
    if (turn == 0) {
      if (!reader.Fill()) break;
      const std::size_t n = reader.Available() > 777 ? 777 : reader.Available() - 1;
      got.append(reinterpret_cast<const char*>(reader.Data()), n);
      reader.Consume(n);
    } else if (turn == 1 && size - reader.Offset() >= 2) {
      std::uint16_t w = 0;
      if (!reader.GetWord(w)) break;
      got += static_cast<char>(w & 0xFF);
      got += static_cast<char>(w >> 8);
    } else {
      std::uint8_t b = 0;
      if (!reader.GetByte(b)) break;
      got += static_cast<char>(b);
    }
  }
  return got;
}

}  // namespace

TEST(TapeFile, ReaderReadsFilesAndBytesOfEverySize) {
  TTempDir dir;
  TTapeReader reused;
  std::vector<std::size_t> sizes(std::begin(Sizes), std::end(Sizes));
  sizes.insert(sizes.end(), std::rbegin(Sizes), std::rend(Sizes));  // a small file after a big one
  for (const std::size_t size : sizes) {
    const std::string bytes = Pattern(size);
    WriteFile(dir / "t.bin", bytes);
    TTapeReader fresh;
    ASSERT_TRUE(fresh.Open(dir / "t.bin"));
    EXPECT_EQ(ReadAll(fresh, size), bytes) << size << " bytes from a file";
    EXPECT_EQ(fresh.Offset(), size);
    EXPECT_EQ(fresh.Error(), 0);

    ASSERT_TRUE(reused.Open(dir / "t.bin"));
    EXPECT_EQ(ReadAll(reused, size), bytes) << size << " bytes from a file, reader used before";
    reused.OpenBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    EXPECT_EQ(ReadAll(reused, size), bytes) << size << " bytes in memory";
    EXPECT_EQ(reused.Offset(), size);
  }
}

// The buffer is sized when the file opens; what is added later still reads, in more fills.
TEST(TapeFile, ReaderReadsWhatIsAppendedAfterOpening) {
  TTempDir dir;
  const std::string bytes = Pattern(300001);
  WriteFile(dir / "t.bin", bytes.substr(0, 10));
  TTapeReader reader;
  ASSERT_TRUE(reader.Open(dir / "t.bin"));
  std::ofstream(dir / "t.bin", std::ios::binary | std::ios::app) << bytes.substr(10);
  EXPECT_EQ(ReadAll(reader, bytes.size()), bytes);
}

TEST(TapeFile, WriterWritesEverySize) {
  TTempDir dir;
  TTapeWriter reused;
  for (const std::size_t size : Sizes) {
    const std::string bytes = Pattern(size);
    for (TTapeWriter* writer : {&reused, static_cast<TTapeWriter*>(nullptr)}) {
      TTapeWriter fresh;
      TTapeWriter& w = writer ? *writer : fresh;
      std::string name = dir / "out.bin";
      ASSERT_TRUE(w.CreateNew(name, 0644));
      ASSERT_EQ(name, dir / "out.bin");
      for (const char c : bytes) w.PutByte(static_cast<std::uint8_t>(c));
      EXPECT_EQ(w.Written(), size);
      ASSERT_TRUE(w.Finish());
      EXPECT_EQ(ReadFile(name), bytes) << size << " bytes" << (writer ? ", writer used before" : "");
      std::filesystem::remove(name);
    }
  }
}
