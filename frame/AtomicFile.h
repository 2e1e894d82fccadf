// Writing a file whole (through TReplacingFile, ReplacingFile.h): the content goes to a temporary
// file in the same folder, which then replaces the target by a rename. A crash or a full disk leaves the old file untouched. Through
// symbolic links the file at the end of the chain is replaced and the links stay; a device or a
// pipe is written directly (a pipe without a reader fails at once).
#pragma once
#include <string>
#include <string_view>

// True when the file now holds content. On failure the target is unchanged, no temporary file is
// left behind and error (when given) receives the system's reason.
bool WriteFileAtomic(const std::string& fileName, std::string_view content, std::string* error = nullptr);

// Reads a whole file of at most maxSize bytes; false when it is missing, unreadable or larger.
bool ReadWholeFile(const std::string& fileName, std::string& content, std::size_t maxSize = 64u << 20);
