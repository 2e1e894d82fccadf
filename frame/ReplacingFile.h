// Files that replace their target only when complete: written under a temporary name beside the
// target and renamed over it at the end, so a failed or cut-off write never destroys the old file.
// Through symbolic links the file at the end of the chain is replaced (or created) and the links
// stay. An existing device, terminal or pipe (also one reached through /dev/stdout) is written
// directly, opened once (a pipe without a reader fails at once).
// Opened wmAsWritten (the punches and the printer), the file takes the target's place at the
// first Flush that has written something, and from then on is written where it is: what has
// been flushed is in the file for others to read, and stays should the program be killed.
// Until then the target is as it was (a full disk at the first byte keeps it).
// The one output helper of both programs: settings files, dumps, listings, punch, printer and
// trace files all go through it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct stat;

class TReplacingFile {
public:
  TReplacingFile() = default;
  ~TReplacingFile();  // an unfinished file is discarded
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  enum TWriteMode {
    wmWhenComplete,  // the target is replaced by Commit
    wmAsWritten,     // the target is replaced at the first Flush with data (see above)
  };
  // Creates the temporary file for Name. Error: the system's text.
  bool Open(const std::string& Name, std::string& Error, TWriteMode Mode = wmWhenComplete);
  // Buffered; false (with the system's text) when the data could not be written.
  bool Write(const void* Data, std::size_t Size, std::string& Error);
  bool WriteByte(std::uint8_t b, std::string& Error) { return Write(&b, 1, Error); }
  // Hands what is buffered to the system; wmAsWritten: puts the file in the target's place
  // once it holds data. False with the system's text when that failed.
  bool Flush(std::string& Error);
  // Writes the rest, closes and renames over the target (unless the file is in its place
  // already). On failure the target is untouched and the temporary file removed. The file is
  // closed either way.
  bool Commit(std::string& Error);
  // Closes and removes the temporary file; the target is untouched. (A wmAsWritten file in its
  // place already keeps what has been flushed.)
  void Discard();

  bool IsOpen() const { return FFd >= 0; }
  const std::string& Name() const { return FName; }
  std::int64_t Position() const { return FWritten; }

private:
  bool WriteBuffer(std::string& Error);
  bool OpenDirect(const std::string& Path, const struct stat& Info, std::string& Error);

  int FFd = -1;
  std::string FName;
  std::string FTarget;    // the file replaced (a symbolic link resolved)
  std::string FTempName;  // empty when writing directly
  bool FAsWritten = false;  // wmAsWritten, not yet in the target's place
  std::int64_t FWritten = 0;
  std::size_t FFill = 0;
  char FBuffer[8192];
};

// The file a write to Name replaces: the end of its chain of symbolic links (which need not exist
// yet); "" for a chain that does not end.
std::string ReplacedTarget(const std::string& Name);

// Removes the temporary files that writes to Name left behind when they were cut short (the
// program killed during a save): ".BASE.XXXXXX" beside the file that Name leads to, plain files
// of this user that no write holds open. Returns how many were removed.
int RemoveLeftoverTemporaries(const std::string& Name);

// The whole content at once, through TReplacingFile.
bool WriteFileReplacing(const std::string& Name, const void* Data, std::size_t Size, std::string& Error);
