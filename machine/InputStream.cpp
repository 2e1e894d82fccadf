#include "InputStream.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

std::unique_ptr<TInputStream> TInputStream::Open(const std::string& AFilename, std::string& Error) {
  std::FILE* f = std::fopen(AFilename.c_str(), "rb");
  if (!f) {
    Error = std::strerror(errno);
    return nullptr;
  }
  struct stat st {};
  if (::fstat(::fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(f);
    Error = std::strerror(EISDIR);
    return nullptr;
  }
  return std::unique_ptr<TInputStream>(new TInputStream(AFilename, f));
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
  if (std::fseek(FFile, 0, SEEK_SET) != 0) return false;
  FPosition = 0;
  return true;
}

std::int64_t TInputStream::Size() const {
  struct stat st {};
  return ::fstat(::fileno(FFile), &st) == 0 ? std::int64_t(st.st_size) : 0;
}
