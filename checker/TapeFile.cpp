#include "TapeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
// The largest buffer, and the smallest one a reader or writer starts with.
constexpr std::size_t MaxChunk = 256 * 1024;
constexpr std::size_t MinChunk = 4096;
}  // namespace

TTapeReader::TTapeReader() = default;

TTapeReader::~TTapeReader() { Close(); }

namespace {
TFileStamp StampOf(const struct stat& st) {
  return TFileStamp{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), std::uint64_t(st.st_size),
                    std::int64_t(st.st_mtim.tv_sec), std::int64_t(st.st_mtim.tv_nsec)};
}
}  // namespace

bool StampOfFile(const std::string& fileName, TFileStamp& stamp) {
  struct stat st;
  if (::stat(fileName.c_str(), &st) != 0) return false;
  stamp = StampOf(st);
  return true;
}

bool TTapeReader::Stamp(TFileStamp& stamp) const {
  struct stat st;
  if (FHandle < 0 || ::fstat(FHandle, &st) != 0) return false;
  stamp = StampOf(st);
  return true;
}

bool TTapeReader::Open(const std::string& fileName) {
  Close();
  FPos = FEnd = 0;
  FBase = 0;
  FError = 0;
  // Without blocking: a file swapped for a pipe after it was found must not stall the run.
  FHandle = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (FHandle < 0) return false;
  struct stat st;
  if (::fstat(FHandle, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    Close();
    errno = err;
    return false;
  }
  ::fcntl(FHandle, F_SETFL, ::fcntl(FHandle, F_GETFL) & ~O_NONBLOCK);
  Reserve(static_cast<std::uint64_t>(st.st_size));
  return true;
}

void TTapeReader::OpenBytes(const std::uint8_t* data, std::size_t size) {
  Close();
  FPos = FEnd = 0;
  FBase = 0;
  FError = 0;
  FBytes = data;
  FBytesLeft = size;
  Reserve(size);
}

void TTapeReader::Reserve(std::uint64_t size) {
  const std::size_t wanted = static_cast<std::size_t>(std::clamp<std::uint64_t>(size, MinChunk, MaxChunk));
  if (wanted <= FCapacity) return;
  FBuffer.reset(new std::uint8_t[wanted]);
  FCapacity = wanted;
}

void TTapeReader::Close() {
  if (FHandle >= 0) ::close(FHandle);
  FHandle = -1;
  FBytes = nullptr;
  FBytesLeft = 0;
}

bool TTapeReader::Fill() {
  if (FPos < FEnd) return true;
  if (FBytes) {
    if (FBytesLeft == 0) return false;
    FBase += FEnd;
    FPos = 0;
    FEnd = std::min(FBytesLeft, FCapacity);
    std::memcpy(FBuffer.get(), FBytes, FEnd);
    FBytes += FEnd;
    FBytesLeft -= FEnd;
    return true;
  }
  if (FHandle < 0 || FError != 0) return false;
  FBase += FEnd;
  FPos = FEnd = 0;
  for (;;) {
    const ssize_t n = ::read(FHandle, FBuffer.get(), FCapacity);
    if (n > 0) {
      FEnd = static_cast<std::size_t>(n);
      return true;
    }
    if (n == 0) return false;
    if (errno == EINTR) continue;
    FError = errno;
    return false;
  }
}

bool TTapeReader::SkipNulBytes() {
  for (;;) {
    if (FPos == FEnd && !Fill()) return false;
    const std::uint8_t* p = FBuffer.get() + FPos;
    const std::uint8_t* end = FBuffer.get() + FEnd;
    while (p != end && *p == 0) ++p;
    FPos = static_cast<std::size_t>(p - FBuffer.get());
    if (p != end) return true;
  }
}

TTapeWriter::TTapeWriter() = default;

TTapeWriter::~TTapeWriter() {
  if (FHandle >= 0) ::close(FHandle);
}

bool TTapeWriter::CreateNew(std::string& fileName, unsigned mode) {
  if (FHandle >= 0) ::close(FHandle);
  FPos = 0;
  FWritten = 0;
  FError = 0;
  // O_EXCL also refuses a symbolic link of that name, so nothing is written through one.
  FHandle = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (FHandle < 0 && errno == EEXIST) {
    std::string unique = fileName + ".XXXXXX";
    FHandle = ::mkostemp(unique.data(), O_CLOEXEC);
    if (FHandle >= 0) fileName = unique;
  }
  if (FHandle < 0) return false;
  ::fchmod(FHandle, static_cast<mode_t>(mode));  // the umask does not narrow the original's permissions
  return true;
}

void TTapeWriter::MakeRoom() {
  if (FCapacity == MaxChunk) {
    Flush();
    return;
  }
  const std::size_t bigger = FCapacity == 0 ? MinChunk : 2 * FCapacity;
  std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[bigger]);
  if (FPos != 0) std::memcpy(buffer.get(), FBuffer.get(), FPos);
  FBuffer = std::move(buffer);
  FCapacity = bigger;
}

void TTapeWriter::Flush() {
  const std::uint8_t* p = FBuffer.get();
  std::size_t left = FPos;
  while (left > 0 && FError == 0) {
    const ssize_t n = ::write(FHandle, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      FError = errno;
      break;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  FWritten += FPos;
  FPos = 0;
}

bool TTapeWriter::Finish() {
  if (FHandle < 0) {
    errno = EBADF;
    return false;
  }
  Flush();
  if (::close(FHandle) != 0 && FError == 0) FError = errno;
  FHandle = -1;
  if (FError != 0) {
    errno = FError;
    return false;
  }
  return true;
}
