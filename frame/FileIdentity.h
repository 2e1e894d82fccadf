// Whether two names lead to one file.
#pragma once
#include <string>

// True when both names exist and are the same file (the same device and inode: hard links and
// symbolic links included); false when either does not exist.
bool IsSameFile(const std::string& a, const std::string& b);
