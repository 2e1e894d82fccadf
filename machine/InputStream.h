// A reader's tape: a file read byte by byte, with the count of trailer bytes produced after its end.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "PunchedLabel.h"

// Opens a regular file for reading (pipes, devices and folders are refused, without blocking).
// nullptr and the error text when that fails.
std::FILE* OpenRegularFile(const std::string& Name, std::string& Error);

class TInputStream {
public:
  // A trailer count of this or more: the tape has run out.
  static constexpr int RunOutCount = 100;

  // Opens the file for reading and looks for a punched label at its head; nullptr and the
  // system's error text when it cannot be opened.
  static std::unique_ptr<TInputStream> Open(const std::string& AFilename, std::string& Error);
  ~TInputStream();
  TInputStream(const TInputStream&) = delete;
  TInputStream& operator=(const TInputStream&) = delete;

  enum : int { rdEnd = -1, rdError = -2 };
  // The next byte, rdEnd at the end of the file, rdError when reading failed (Error then holds
  // the system's text).
  int ReadByte(std::string& Error);
  // Back to the start (trailer count 0).
  bool Rewind();
  // Where the tape lies in the reader, as the operator placed it: 0, or after its label (the
  // leader behind it). Moves there.
  bool SetStart(std::int64_t Pos);
  std::int64_t Start() const { return FStart; }
  // Moves to Pos (not before the start), the trailer count as given.
  bool MoveTo(std::int64_t Pos, int Trailer);
  std::int64_t Position() const { return FPosition; }
  std::int64_t Size() const;
  bool RunOut() const { return TrailerCount >= RunOutCount; }

  const std::string FName;
  int TrailerCount = 0;
  // The punched label at the head of a binary tape (PunchedLabel.h); End 0 when there is none.
  tape::TPunchedLabel Label;

private:
  TInputStream(std::string name, std::FILE* file) : FName(std::move(name)), FFile(file) {}
  void FindLabel();
  std::FILE* FFile;
  std::int64_t FPosition = 0;
  std::int64_t FStart = 0;
};
