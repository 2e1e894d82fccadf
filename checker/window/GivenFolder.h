// tallis FOLDER [PATTERN] (the command line, a folder opened from the file manager): the source
// folder and the file names filled in, and the check run at once. A file given in place of the
// folder is checked alone, in its folder.
#pragma once
#include <string>
#include <vector>

class THauptForm;

// args are the command line's file arguments (FileArguments). A folder that is missing or cannot
// be read, or more than a folder and a pattern: a message, and the fields stay as they were.
void CheckGivenFolder(THauptForm& form, const std::vector<std::string>& args);
