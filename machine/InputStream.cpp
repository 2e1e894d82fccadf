#include "InputStream.h"

#include <fcntl.h>
#include <unistd.h>

#include "Translate.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

std::unique_ptr<TInputStream> TInputStream::Open(const std::string& AFilename, std::string& Error) {
  std::FILE* f = OpenRegularFile(AFilename, Error);
  if (!f) return nullptr;
  std::unique_ptr<TInputStream> stream(new TInputStream(AFilename, f));
  stream->FindLabel();
  return stream;
}

void TInputStream::FindLabel() {
  // The head of the tape: leader, the label and the leader and first block after it.
  std::vector<std::uint8_t> head(4 * tape::LabelWindow);
  const ssize_t n = ::pread(::fileno(FFile), head.data(), head.size(), 0);
  if (n > 0) tape::FindPunchedLabel(head.data(), std::size_t(n), Label);
}

std::FILE* OpenRegularFile(const std::string& Name, std::string& Error) {
  // Not blocking on a pipe without a writer; anything but a regular file is refused.
  const int fd = ::open(Name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    Error = std::strerror(errno);
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    Error = S_ISDIR(st.st_mode) ? std::string(std::strerror(EISDIR)) : _("not a regular file");
    ::close(fd);
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, "rb");
  if (!f) {
    Error = std::strerror(errno);
    ::close(fd);
  }
  return f;
}

TInputStream::~TInputStream() { std::fclose(FFile); }

int TInputStream::ReadByte(std::string& Error) {
  const int c = std::getc(FFile);
  if (c != EOF) {
    ++FPosition;
    return c;
  }
  if (std::ferror(FFile)) {
    Error = std::strerror(errno);
    std::clearerr(FFile);
    return rdError;
  }
  std::clearerr(FFile);  // a file that grows can be read on
  return rdEnd;
}

bool TInputStream::Rewind() {
  TrailerCount = 0;
  if (std::fseek(FFile, long(FStart), SEEK_SET) != 0) return false;
  FPosition = FStart;
  return true;
}

bool TInputStream::SetStart(std::int64_t Pos) {
  FStart = Pos;
  return Rewind();
}

bool TInputStream::MoveTo(std::int64_t Pos, int Trailer) {
  Pos = std::max(Pos, FStart);
  if (std::fseek(FFile, long(Pos), SEEK_SET) != 0) return false;
  FPosition = Pos;
  TrailerCount = Trailer;
  return true;
}

std::int64_t TInputStream::Size() const {
  struct stat st {};
  return ::fstat(::fileno(FFile), &st) == 0 ? std::int64_t(st.st_size) : 0;
}
