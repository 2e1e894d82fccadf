#include "TextRepair.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "SafeFormat.h"
#include "Translate.h"

namespace {

constexpr std::size_t DisplayWidth = 40;
constexpr std::uint8_t ParityBit = 0200;
constexpr std::uint8_t Rubout = 0177;

unsigned NewFileMode(const std::string& fileName) {
  struct stat st;
  if (::stat(fileName.c_str(), &st) == 0) return st.st_mode & 0777;
  return 0666;
}

int SystemRename(const char* from, const char* to) { return std::rename(from, to); }

}  // namespace

bool RepairTextTape(const std::string& fileName, TTapeReader& reader, TCheckContext& ctx, std::string& error) {
  const std::string tempName = fileName + ".tmp";
  TTapeWriter writer;
  if (!writer.Create(tempName, NewFileMode(fileName))) {
    error = SafeFormat(_("Cannot create file %s: %s"), tempName, std::strerror(errno));
    return false;
  }

  bool paritySeen = false;
  std::string display;
  display.reserve(DisplayWidth);
  while (reader.Fill()) {
    const std::uint8_t* p = reader.Data();
    const std::size_t n = reader.Available();
    for (std::size_t i = 0; i < n; ++i) {
      std::uint8_t b = p[i];
      if (b == 0) continue;  // before the parity bit goes: 200 becomes 000 and stays
      if (b & ParityBit) paritySeen = true;
      b &= static_cast<std::uint8_t>(~ParityBit);
      if (b == Rubout) continue;
      if (ctx.ShowContents) {
        if (display.size() < DisplayWidth) {
          display += b < ' ' ? ' ' : static_cast<char>(b);  // control characters shown as blanks
        } else {
          ctx.Line(" " + display);
          display.clear();
        }
      }
      writer.PutByte(b);
    }
    reader.Consume(n);
  }
  const int readError = reader.Error();
  const std::uint64_t written = writer.Written();
  const bool writeOk = writer.Finish();
  const int writeError = errno;
  if (readError != 0 || !writeOk) {
    ::unlink(tempName.c_str());
    error = readError != 0 ? SafeFormat(_("Cannot read file %s: %s"), fileName, std::strerror(readError))
                           : SafeFormat(_("Cannot write file %s: %s"), tempName, std::strerror(writeError));
    return false;
  }

  if (paritySeen) ctx.Line("  " + _("Parity removed"));
  ctx.Line("  " + SafeFormat(_("File stripped by %u bytes"), reader.Offset() - written));
  ctx.LetCatchUp();
  reader.Close();
  CommitRepair(fileName, ctx);
  return true;
}

bool CommitRepair(const std::string& fileName, TCheckContext& ctx, TRenameFunc renameFile) {
  if (!renameFile) renameFile = SystemRename;
  const std::string tempName = fileName + ".tmp";
  const std::string backupName = fileName + ".bak";
  if (renameFile(fileName.c_str(), backupName.c_str()) != 0) {
    const int err = errno;
    ::unlink(tempName.c_str());
    ctx.Line("  " + SafeFormat(_("Not repaired: cannot move the file to %s: %s"), backupName, std::strerror(err)));
    return false;
  }
  if (renameFile(tempName.c_str(), fileName.c_str()) != 0) {
    const int err = errno;
    if (renameFile(backupName.c_str(), fileName.c_str()) == 0) {
      ::unlink(tempName.c_str());
      ctx.Line("  " + SafeFormat(_("Not repaired: cannot move %s to the file's name: %s"), tempName,
                                 std::strerror(err)));
    } else {
      ctx.Line("  " + SafeFormat(_("Not repaired: the original is in %s and the repaired text in %s: %s"),
                                 backupName, tempName, std::strerror(err)));
    }
    return false;
  }
  return true;
}
