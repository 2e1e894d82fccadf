#include "TextRepair.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "SafeFormat.h"
#include "Translate.h"

namespace {

constexpr std::size_t DisplayWidth = 40;
constexpr std::uint8_t ParityBit = 0200;
constexpr std::uint8_t Rubout = 0177;
constexpr unsigned MaxBackupAttempts = 10000;

unsigned NewFileMode(const std::string& fileName) {
  struct stat st;
  if (::stat(fileName.c_str(), &st) == 0) return st.st_mode & 0777;
  return 0666;
}

int SystemLink(const char* from, const char* to) { return ::linkat(AT_FDCWD, from, AT_FDCWD, to, 0); }
int SystemRenameNew(const char* from, const char* to) {
  return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}
int SystemReplace(const char* from, const char* to) { return std::rename(from, to); }
int SystemRemove(const char* name) { return ::unlink(name); }

// A table of the 7-bit characters that text tapes never hold.
struct TForeignTable {
  bool Foreign[128] = {};
  TForeignTable() {
    for (int c : {001, 002, 003, 004, 005, 006, 016, 017, 020, 025, 026, 027, 030, 031, 034, 035, 036, 037})
      Foreign[c] = true;
  }
};
const TForeignTable ForeignTable;

// The repair pass: every byte of the reader through the filter, the display lines to the list,
// and the kept bytes to writer when there is one.
void FilterText(TTapeReader& reader, TCheckContext& ctx, TTapeWriter* writer) {
  std::string display;
  display.reserve(DisplayWidth);
  while (reader.Fill()) {
    const std::uint8_t* p = reader.Data();
    const std::size_t n = reader.Available();
    for (std::size_t i = 0; i < n; ++i) {
      std::uint8_t b = p[i];
      if (b == 0) continue;  // before the parity bit goes: 200 becomes 000 and stays
      b &= static_cast<std::uint8_t>(~ParityBit);
      if (b == Rubout) continue;
      if (ctx.ShowContents) {
        if (display.size() < DisplayWidth) {
          display += b < ' ' ? ' ' : static_cast<char>(b);  // control characters shown as blanks
        } else {
          ctx.Line(" " + display);
          display.clear();
          ctx.LetCatchUp();  // a long listing keeps the window alive
          if (ctx.StopRequested()) return;
        }
      }
      if (writer) writer->PutByte(b);
    }
    reader.Consume(n);
  }
}

std::string ChangedMeanwhile() {
  return _("Not repaired: the file was changed or replaced while it was repaired; it is left as it is");
}

}  // namespace

bool IsForeignControl(std::uint8_t sevenBits) { return sevenBits < 128 && ForeignTable.Foreign[sevenBits]; }

bool ScanTextTape(TTapeReader& reader, TTextScan& scan) {
  std::uint64_t counts[256] = {};
  while (reader.Fill()) {
    const std::uint8_t* p = reader.Data();
    const std::size_t n = reader.Available();
    for (std::size_t i = 0; i < n; ++i) ++counts[p[i]];
    reader.Consume(n);
  }
  scan = TTextScan{};
  for (int b = 0; b < 256; ++b) {
    const std::uint64_t count = counts[b];
    if (count == 0) continue;
    const int sevenBits = b & 0177;
    if (b != 0 && (b & ParityBit)) scan.Parity += count;
    if (b == 0 || sevenBits == Rubout) {
      scan.Fill += count;
      continue;
    }
    scan.Content += count;
    if (IsForeignControl(static_cast<std::uint8_t>(sevenBits))) scan.Foreign += count;
  }
  return reader.Error() == 0;
}

bool RepairTextTape(const std::string& fileName, TTapeReader& reader, TCheckContext& ctx, std::string& error) {
  const auto readFailed = [&](int err) {
    error = SafeFormat(_("Cannot read file %s: %s"), fileName, std::strerror(err));
    return false;
  };
  // The version read: the repaired text takes the file's place only while the file is still it.
  TFileStamp read;
  const bool stamped = reader.Stamp(read);
  TTextScan scan;
  if (!ScanTextTape(reader, scan)) return readFailed(reader.Error());
  if (!scan.IsTextTape()) {
    ctx.Line("  " + _("Not a text tape: left unchanged"));
    ctx.LetCatchUp();
    return true;
  }
  if (!reader.Open(fileName)) return readFailed(errno);
  TFileStamp reopened;
  if (stamped && (!reader.Stamp(reopened) || !(reopened == read))) {
    ctx.Line("  " + ChangedMeanwhile());
    ctx.LetCatchUp();
    return true;
  }

  if (!scan.NeedsRepair()) {
    FilterText(reader, ctx, nullptr);  // the contents are still listed
    if (ctx.StopRequested()) return true;
    if (reader.Error() != 0) return readFailed(reader.Error());
    ctx.Line("  " + SafeFormat(_("File stripped by %u bytes"), 0u));
    ctx.Line("  " + _("Nothing to repair: left unchanged"));
    ctx.LetCatchUp();
    return true;
  }

  std::string tempName = fileName + ".tmp";
  TTapeWriter writer;
  if (!writer.CreateNew(tempName, NewFileMode(fileName))) {
    error = SafeFormat(_("Cannot create file %s: %s"), tempName, std::strerror(errno));
    return false;
  }
  FilterText(reader, ctx, &writer);
  if (ctx.StopRequested()) {  // stopped while listing: the file stays as it was
    writer.Finish();
    ::unlink(tempName.c_str());
    return true;
  }
  const int readError = reader.Error();
  const std::uint64_t written = writer.Written();
  const bool writeOk = writer.Finish();
  const int writeError = errno;
  if (readError != 0 || !writeOk) {
    ::unlink(tempName.c_str());
    if (readError != 0) return readFailed(readError);
    error = SafeFormat(_("Cannot write file %s: %s"), tempName, std::strerror(writeError));
    return false;
  }

  if (scan.Parity != 0) ctx.Line("  " + _("Parity removed"));
  ctx.Line("  " + SafeFormat(_("File stripped by %u bytes"), reader.Offset() - written));
  ctx.LetCatchUp();
  reader.Close();
  CommitRepair(fileName, tempName, ctx, TFileMoves::System(), stamped ? &read : nullptr);
  return true;
}

const TFileMoves& TFileMoves::System() {
  static const TFileMoves moves{SystemLink, SystemRenameNew, SystemReplace, SystemRemove};
  return moves;
}

std::string BackupName(const std::string& fileName, unsigned attempt) {
  return fileName + ".bak" + (attempt == 0 ? std::string() : std::to_string(attempt));
}

std::string OriginalOfBackup(const std::string& fileName) {
  const std::size_t at = fileName.rfind(".bak");
  if (at == std::string::npos || at == 0 || fileName[at - 1] == '/') return std::string();
  for (std::size_t i = at + 4; i < fileName.size(); ++i)
    if (fileName[i] < '0' || fileName[i] > '9') return std::string();
  const std::string original = fileName.substr(0, at);
  struct stat st;
  return ::lstat(original.c_str(), &st) == 0 ? original : std::string();
}

bool CommitRepair(const std::string& fileName, const std::string& tempName, TCheckContext& ctx,
                  const TFileMoves& moves, const TFileStamp* read) {
  const auto notRepaired = [&](const std::string& why) {
    ctx.Line("  " + why);
    return false;
  };
  const auto isRead = [read](const std::string& name) {
    TFileStamp now;
    return !read || (StampOfFile(name, now) && now == *read);
  };
  // 1. The original gets a backup name that nothing has yet.
  std::string backupName;
  bool linked = false;
  int err = EEXIST;
  for (unsigned attempt = 0; attempt < MaxBackupAttempts && err == EEXIST; ++attempt) {
    backupName = BackupName(fileName, attempt);
    if (moves.Link(fileName.c_str(), backupName.c_str()) == 0) {
      linked = true;
      err = 0;
    } else if (errno == EEXIST) {
      err = EEXIST;
    } else if (moves.RenameNew(fileName.c_str(), backupName.c_str()) == 0) {
      err = 0;  // no hard links here: the original has moved to the backup name
    } else {
      err = errno;
    }
  }
  if (err != 0) {
    moves.Remove(tempName.c_str());
    return notRepaired(SafeFormat(_("Not repaired: cannot keep the original as %s: %s"), backupName,
                                  std::strerror(err)));
  }
  // 2. What the backup holds must be the version that was read, and (linked) the name must
  // still lead to it: another program may have put a new version in its place meanwhile.
  if (!isRead(backupName) || (linked && !isRead(fileName))) {
    moves.Remove(tempName.c_str());
    if (linked) {
      moves.Remove(backupName.c_str());
      return notRepaired(ChangedMeanwhile());
    }
    if (moves.RenameNew(backupName.c_str(), fileName.c_str()) == 0) return notRepaired(ChangedMeanwhile());
    return notRepaired(SafeFormat(_("Not repaired: the file was replaced while it was repaired; the version "
                                    "found at its name is in %s"),
                                  backupName));
  }
  // 3. The repaired text takes the file's name.
  if (moves.Replace(tempName.c_str(), fileName.c_str()) == 0) return true;
  err = errno;
  // A linked original is still under its name; a moved one goes back.
  const bool originalInPlace =
      linked ? (moves.Remove(backupName.c_str()), true) : moves.RenameNew(backupName.c_str(), fileName.c_str()) == 0;
  if (originalInPlace) {
    moves.Remove(tempName.c_str());
    return notRepaired(
        SafeFormat(_("Not repaired: cannot move %s to the file's name: %s"), tempName, std::strerror(err)));
  }
  return notRepaired(SafeFormat(_("Not repaired: the original is in %s and the repaired text in %s: %s"),
                                backupName, tempName, std::strerror(err)));
}
