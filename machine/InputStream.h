// A reader's tape: a file read byte by byte, with the count of trailer bytes produced after its end.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// Opens a regular file for reading (pipes, devices and folders are refused, without blocking).
// nullptr and the error text when that fails.
std::FILE* OpenRegularFile(const std::string& Name, std::string& Error);

class TInputStream {
public:
  // A trailer count of this or more: the tape has run out.
  static constexpr int RunOutCount = 100;

  // Opens the file for reading; nullptr and the system's error text when it cannot be opened.
  static std::unique_ptr<TInputStream> Open(const std::string& AFilename, std::string& Error);
  ~TInputStream();
  TInputStream(const TInputStream&) = delete;
  TInputStream& operator=(const TInputStream&) = delete;

  enum : int { rdEnd = -1, rdError = -2 };
  // The next byte, rdEnd at the end of the file, rdError when reading failed (Error then holds
  // the system's text).
  int ReadByte(std::string& Error);
  bool Rewind();
  std::int64_t Position() const { return FPosition; }
  std::int64_t Size() const;
  bool RunOut() const { return TrailerCount >= RunOutCount; }

  const std::string FName;
  int TrailerCount = 0;

private:
  TInputStream(std::string name, std::FILE* file) : FName(std::move(name)), FFile(file) {}
  std::FILE* FFile;
  std::int64_t FPosition = 0;
};
