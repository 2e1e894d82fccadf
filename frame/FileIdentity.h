// Whether two names lead to one file, and a name that leads to none.
#pragma once
#include <string>

// True when both names exist and are the same file (the same device and inode: hard links and
// symbolic links included); false when either does not exist.
bool IsSameFile(const std::string& a, const std::string& b);

// The first of NAME-1.EXT, NAME-2.EXT, ... beside name ("autodump.dmp" gives "autodump-1.dmp")
// that nothing has, not even a dangling link: where a file that must not be replaced is saved
// next to.
std::string FreeNameBeside(const std::string& name);
