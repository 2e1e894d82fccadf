// Memory dump files: raw 16-bit words, low byte first, no header.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "MachineError.h"
#include "MachineTypes.h"

class TReplacingFile;

// Reads at most 32768 words (a final odd byte is the low byte of one more word). The whole file
// is read before anything is returned; on failure Words is left empty and Error says why
// (ekNotFound, or ekRead with the system's text).
bool ReadDumpFile(const std::string& Name, std::vector<TWord>& Words, TMachineError& Error);
// The words of a dump file's bytes, as ReadDumpFile reads them: at most the first 65536 bytes.
std::vector<TWord> DumpWords(const unsigned char* Bytes, std::size_t Count);
// The bytes of a dump file holding the words.
std::vector<unsigned char> DumpBytes(const TWord* Words, std::size_t Count);
// Writes the words through a temporary file; the old file stays if anything fails (ekWrite).
bool WriteDumpFile(const std::string& Name, const TWord* Words, std::size_t Count, TMachineError& Error);
// The same into a file opened before (and kept open, so that a pipe is opened once); the file is
// committed, or discarded after an error.
bool WriteDumpTo(TReplacingFile& File, const TWord* Words, std::size_t Count, TMachineError& Error);

// Kept until every caller takes the error as data: Error gets the message box text.
bool ReadDumpFile(const std::string& Name, std::vector<TWord>& Words, std::string& Error);
