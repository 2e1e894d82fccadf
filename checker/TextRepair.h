// Text mode: one punched text tape is rewritten without NUL and rubout frames and with the
// parity bit cleared; the original is kept under a backup name that was free.
#pragma once
#include <cstdint>
#include <string>

#include "CheckContext.h"
#include "TapeFile.h"

// What a look at a whole file tells before anything is written.
struct TTextScan {
  std::uint64_t Content = 0;  // bytes that are neither NUL nor rubout (parity bit ignored)
  std::uint64_t Fill = 0;     // NUL and rubout frames: dropped by the repair
  std::uint64_t Parity = 0;   // bytes with the parity bit, NUL frames not counted
  std::uint64_t Foreign = 0;  // content bytes that paper-tape text never holds (see IsForeignControl)

  bool NeedsRepair() const { return Fill != 0 || Parity != 0; }
  // A text tape holds at most one foreign control character in a hundred content bytes.
  bool IsTextTape() const { return Foreign * 100 <= Content; }
};

// Control characters that no text tape holds: 001-006, 016-020, 025-031, 034-037 (octal), after
// the parity bit is cleared. Text keeps BEL, BS, HT, LF, VT, FF, CR, the tape control
// characters DC1-DC4, SUB and ESC.
bool IsForeignControl(std::uint8_t sevenBits);

// Reads the open reader to its end. False when reading failed (reader.Error()).
bool ScanTextTape(TTapeReader& reader, TTextScan& scan);

// Repairs fileName, whose reader is open at its start. A file that is plainly not a text tape,
// or that needs no repair, is left untouched (no temporary file, no backup). Otherwise the
// repaired bytes go to a temporary file that did not exist before, the report lines ("Parity
// removed", "File stripped by ...") are appended and the files are moved (CommitRepair). False
// with error set when the run must end: the temporary file cannot be created or written, or the
// source cannot be read; the source is then untouched and no temporary file is left. A stop
// requested while the contents are listed leaves the file untouched; one requested after the
// repaired text is complete lets it take the file's place first.
bool RepairTextTape(const std::string& fileName, TTapeReader& reader, TCheckContext& ctx, std::string& error);

// The file operations of CommitRepair, replaceable in tests. Each returns 0, or -1 with errno set.
struct TFileMoves {
  int (*Link)(const char* from, const char* to);       // a second name; EEXIST when it is taken
  int (*RenameNew)(const char* from, const char* to);  // a move that never replaces; EEXIST
  int (*Replace)(const char* from, const char* to);    // a move over an existing name
  int (*Remove)(const char* name);
  static const TFileMoves& System();
};

// The first free backup name of fileName: "<name>.bak", then "<name>.bak1", "<name>.bak2" ...
std::string BackupName(const std::string& fileName, unsigned attempt);
// When fileName is one of our backups ("<name>.bak" or "<name>.bakN" with a file "<name>"
// beside it): that name. Otherwise "".
std::string OriginalOfBackup(const std::string& fileName);

// Keeps the original under the first free backup name (a hard link, or where the file system has
// none, a move that never replaces) and then puts tempName in the file's place. An existing
// backup is never touched. When anything fails, the original ends up under its own name or,
// said in a line, under the backup name, and the temporary file is removed where it can be.
// With read given, the file at the name must still be that version (same file, size and time)
// when it is put aside; a file that another program changed or replaced meanwhile is left as it
// is now, and a line says so. True when the repaired file is in place.
bool CommitRepair(const std::string& fileName, const std::string& tempName, TCheckContext& ctx,
                  const TFileMoves& moves = TFileMoves::System(), const TFileStamp* read = nullptr);
