// File name routines shared by both programs. The path delimiter is "/"; a name is absolute
// when it begins with "/".
#pragma once
#include <string>
#include <string_view>

constexpr char PathDelim = '/';

bool IsAbsolutePath(std::string_view name);
bool HasTrailingDelimiter(std::string_view path);

// Folder + name with a default extension: a leading "." of ext is dropped; ext is appended when
// the name has no extension; an absolute name or an empty folder gives the name alone.
std::string MakeFileName(std::string_view folder, std::string_view name, std::string_view ext);

// dir when name is empty, name when dir is empty, else dir + "/" (unless present) + name.
std::string JoinPath(std::string_view dir, std::string_view name);

// An empty directory stays empty; any other ends with "/" afterwards.
std::string IncludeTrailingDelimiter(std::string_view dir);
// Removes one trailing "/", except from the root "/".
std::string ExcludeTrailingDelimiter(std::string_view dir);

// Text after the last "." that follows the last "/", without the "."; empty when there is none.
std::string ExtractFileExtension(std::string_view name);
// The name with that last "." and what follows removed.
std::string RemoveFileExtension(std::string_view name);
// The name with its extension replaced; newExt includes its ".", e.g. ".cfg".
std::string ChangeFileExtension(std::string_view name, std::string_view newExt);

// Folder part including its trailing "/" ("" when the name has no "/").
std::string ExtractFilePath(std::string_view name);
// Part after the last "/".
std::string ExtractFileName(std::string_view name);

// The trailing "/" is removed, then the last element. "/home" gives the root "/", the root stays
// the root, and a name without any "/" is returned unchanged.
std::string ParentDirectory(std::string_view path);

// A path as a person reads it: one inside the home folder starts with "~/" ("~" for the home
// folder itself); any other path, and any path when home is empty or "/", is returned unchanged.
std::string HomeRelativePath(std::string_view path, std::string_view home);

// False for the entries "." and "..", true for every other name.
bool IsDirectoryEntry(std::string_view name);
