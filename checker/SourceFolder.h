// Keeping a check run inside the folder the user chose: a pattern's directory part may not lead
// out of it, and text mode follows no symbolic link out of it.
#pragma once
#include <string>

// Empty when the directory part of pattern stays inside the source folder on its text alone;
// otherwise the message that refuses it (an absolute pattern, or a ".." that climbs above the
// folder).
std::string PatternLeavesFolder(const std::string& pattern);

// The path with every symbolic link resolved; empty when it does not exist.
std::string RealPath(const std::string& path);

// Whether realPath (already resolved) is realRoot or lies below it.
bool LiesInside(const std::string& realRoot, const std::string& realPath);
