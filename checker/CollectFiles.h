// Finding the files of a check run.
#pragma once
#include <string>
#include <vector>

// Appends the full names of the regular files in directory whose names match pattern (shell
// wildcards, case-sensitive; hidden files included). A directory part in the pattern
// ("sub/*.bin", "/abs/*.bin") is searched instead, relative to directory unless absolute, and
// the files are listed under it. With subDirs the files of the subdirectories come first,
// recursively and in name order, then the directory's own files in name order. Symbolic links
// are followed, but each directory is visited once, so a link loop ends. An empty directory
// means the current folder, and the names are then relative. Unreadable directories give nothing.
// With realRoot (a resolved path) set, a subdirectory whose links lead out of realRoot is not
// entered.
void CollectFiles(const std::string& directory, const std::string& pattern, bool subDirs,
                  std::vector<std::string>& files, const std::string& realRoot = {});
