#include "MemoryDump.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "InputStream.h"
#include "ReplacingFile.h"

bool ReadDumpFile(const std::string& Name, std::vector<TWord>& Words, TMachineError& Error) {
  Words.clear();
  struct stat st {};
  if (::stat(Name.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
    Error = TMachineError{ekNotFound, Name, std::strerror(errno)};
    return false;
  }
  std::string openError;
  std::FILE* f = OpenRegularFile(Name, openError);
  if (!f) {
    Error = TMachineError{ekRead, Name, openError};
    return false;
  }
  std::vector<unsigned char> bytes(2 * MemoryWords);
  const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
  const int err = std::ferror(f) ? errno : 0;
  std::fclose(f);
  if (err != 0) {
    Error = TMachineError{ekRead, Name, std::strerror(err)};
    return false;
  }
  Words = DumpWords(bytes.data(), n);
  return true;
}

std::vector<TWord> DumpWords(const unsigned char* Bytes, std::size_t Count) {
  Count = std::min<std::size_t>(Count, 2 * MemoryWords);
  std::vector<TWord> words((Count + 1) / 2);
  for (std::size_t i = 0; i < Count; ++i) words[i / 2] |= TWord(Bytes[i] << (i % 2 ? 8 : 0));
  return words;
}

std::vector<unsigned char> DumpBytes(const TWord* Words, std::size_t Count) {
  std::vector<unsigned char> bytes(2 * Count);
  for (std::size_t i = 0; i < Count; ++i) {
    bytes[2 * i] = static_cast<unsigned char>(Words[i] & 0xff);
    bytes[2 * i + 1] = static_cast<unsigned char>(Words[i] >> 8);
  }
  return bytes;
}

bool ReadDumpFile(const std::string& Name, std::vector<TWord>& Words, std::string& Error) {
  TMachineError error;
  if (ReadDumpFile(Name, Words, error)) return true;
  Error = ErrorText(error);
  return false;
}

bool WriteDumpTo(TReplacingFile& File, const TWord* Words, std::size_t Count, TMachineError& Error) {
  const std::vector<unsigned char> bytes = DumpBytes(Words, Count);
  const std::string name = File.Name();
  std::string sysError;
  if (!File.Write(bytes.data(), bytes.size(), sysError) || !File.Commit(sysError)) {
    File.Discard();
    Error = TMachineError{ekWrite, name, sysError};
    return false;
  }
  return true;
}

bool WriteDumpFile(const std::string& Name, const TWord* Words, std::size_t Count, TMachineError& Error) {
  TReplacingFile file;
  std::string sysError;
  if (!file.Open(Name, sysError)) {
    Error = TMachineError{ekWrite, Name, sysError};
    return false;
  }
  return WriteDumpTo(file, Words, Count, Error);
}
