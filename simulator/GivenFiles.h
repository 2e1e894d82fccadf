// Files given to Corvane on its command line (corvane FILE..., a double click in the file
// manager) or handed over by a second start: each does what its type says. A memory dump is
// loaded, a machine state file put back, a paper tape attached to the paper-tape reader, a text
// file to the teletype reader, and assembler sources assembled together into memory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TMainForm;

enum TGivenKind { gkUnknown, gkDump, gkState, gkTape, gkText, gkSource };

// The kind of a file by its first bytes (a machine state file is known by its magic whatever its
// name) and its extension, case ignored: .dmp, .nvs, .ab/.bin/.tap, one of the text file types
// (textFiles, comma-separated), .sr/.asm (a source before the text file types).
TGivenKind GivenFileKind(const std::string& name, const std::string& textFiles, const std::uint8_t* head,
                         std::size_t size);

// The names made absolute against folder (the working folder of the start that named them).
std::vector<std::string> AbsoluteFileNames(const std::vector<std::string>& names, const std::string& folder);

// Opens the files in order; the sources among them are assembled as one program, where the first
// of them stands. A file that is missing, unreadable, a folder or of no known kind gets a message
// and changes nothing; the others are opened all the same. While a program runs, it is stopped
// and the files are opened once it has.
void OpenGivenFiles(TMainForm& form, const std::vector<std::string>& files);
