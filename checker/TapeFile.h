// Buffered byte streams for tape files: large chunks, no per-byte virtual calls, memory
// independent of the file size (a small file gets a buffer of its own size, a large one 256 KB).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// What tells one version of a file from another: the file itself (device and inode), its size
// and its modification time.
struct TFileStamp {
  std::uint64_t Device = 0, Inode = 0, Size = 0;
  std::int64_t MTimeSec = 0, MTimeNsec = 0;
  bool operator==(const TFileStamp&) const = default;
};
// The stamp of the file a name leads to; false when there is none.
bool StampOfFile(const std::string& fileName, TFileStamp& stamp);

// Reads a file front to back. The first failing read ends the stream; Error() then tells why.
class TTapeReader {
public:
  TTapeReader();
  ~TTapeReader();
  TTapeReader(const TTapeReader&) = delete;
  TTapeReader& operator=(const TTapeReader&) = delete;

  // False with errno set when the file cannot be opened for reading or is not a regular file
  // (EISDIR, EINVAL).
  bool Open(const std::string& fileName);
  // Reads bytes in memory as if they were a file (no stamp); they must outlive the reading.
  void OpenBytes(const std::uint8_t* data, std::size_t size);
  void Close();
  // The stamp of the open file as it is now.
  bool Stamp(TFileStamp& stamp) const;

  // The next byte; false at the end of the file (or on a read error).
  bool GetByte(std::uint8_t& b) {
    if (FPos == FEnd && !Fill()) return false;
    b = FBuffer[FPos++];
    return true;
  }
  // The next 16-bit word, low byte first; false when the file ends before both bytes.
  bool GetWord(std::uint16_t& w) {
    if (FEnd - FPos >= 2) {
      w = static_cast<std::uint16_t>(FBuffer[FPos] | (FBuffer[FPos + 1] << 8));
      FPos += 2;
      return true;
    }
    std::uint8_t lo, hi;
    if (!GetByte(lo) || !GetByte(hi)) return false;
    w = static_cast<std::uint16_t>(lo | (hi << 8));
    return true;
  }
  // Skips NUL bytes; false when the file ends before a byte that is not NUL.
  bool SkipNulBytes();

  // Bytes consumed so far.
  std::uint64_t Offset() const { return FBase + FPos; }
  // errno of a failed read, 0 when the stream simply ended.
  int Error() const { return FError; }

  // Direct access to the buffered bytes, for loops that consume many at once.
  const std::uint8_t* Data() const { return FBuffer.get() + FPos; }
  std::size_t Available() const { return FEnd - FPos; }
  void Consume(std::size_t count) { FPos += count; }
  // Makes bytes available when none are; false at the end.
  bool Fill();

private:
  // A buffer of at least the given size (within the chunk limits); it only ever grows.
  void Reserve(std::uint64_t size);
  int FHandle = -1;
  std::unique_ptr<std::uint8_t[]> FBuffer;
  std::size_t FCapacity = 0;
  std::size_t FPos = 0, FEnd = 0;
  std::uint64_t FBase = 0;
  int FError = 0;
  const std::uint8_t* FBytes = nullptr;  // OpenBytes: what is still to be read
  std::size_t FBytesLeft = 0;
};

// Writes a file through a buffer. The first failing write is kept; Finish() reports it.
class TTapeWriter {
public:
  TTapeWriter();
  ~TTapeWriter();
  TTapeWriter(const TTapeWriter&) = delete;
  TTapeWriter& operator=(const TTapeWriter&) = delete;

  // Creates a file that did not exist, with the given permissions: fileName itself, or when that
  // name is taken, fileName with six random characters appended (the name is updated). An
  // existing file is never opened, replaced or removed. False with errno set.
  bool CreateNew(std::string& fileName, unsigned mode);
  void PutByte(std::uint8_t b) {
    if (FPos == FCapacity) MakeRoom();
    FBuffer[FPos++] = b;
  }
  std::uint64_t Written() const { return FWritten + FPos; }
  // Writes what is buffered and closes the file; false with errno set when anything failed.
  bool Finish();

private:
  // The buffer starts small and doubles up to 256 KB; a full buffer of that size is written.
  void MakeRoom();
  void Flush();
  int FHandle = -1;
  std::unique_ptr<std::uint8_t[]> FBuffer;
  std::size_t FCapacity = 0;
  std::size_t FPos = 0;
  std::uint64_t FWritten = 0;
  int FError = 0;
};
