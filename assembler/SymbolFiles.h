// Symbols read back from files: a symbol file (NAME VALUE per line, as the assembler writes it),
// the symbols at the end of a listing in DG's layout, and the symbols kept beside the memory
// image so that they come back with it at the next start.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "NovaSymbols.h"
#include "SourceError.h"

struct TSymbolRead {
  TSymbolTable Symbols;             // empty when there are errors: nothing is half-loaded
  std::vector<TSourceError> Errors;  // every bad line, in order
  bool Ok() const { return Errors.empty(); }
};

// The symbols of a symbol file or a listing (text, read from fileName, which the errors name).
// A symbol file has a line per symbol: the name, blanks, its value in octal (up to 6 digits);
// a line may hold several such pairs, and a pair may end in "=" (a value, not a label; the
// symbols kept beside the memory image say so). A listing is recognised by its lines in DG's
// layout; its symbols are the lines after its last line (after the last blank line), and those
// written as labels in it are labels, the others values. An empty file has no symbols.
TSymbolRead ReadSymbolText(const std::string& fileName, std::string_view text);
// The same, read from the file (a missing or unreadable file is an error of line 0).
TSymbolRead ReadSymbolFile(const std::string& fileName);

// The symbol file kept beside a memory image: "autodump.dmp" gives "autodump.sym".
std::string SymbolsBesideImage(const std::string& imageFile);
// The symbol file's text with the values (equates, .DUSR) marked "=", so labels stay labels.
std::string SavedSymbolText(const TSymbolTable& symbols);
// Writes the symbols beside the image, whole (a temporary file renamed over the old one); with
// no symbols the old file is removed. False with the reason (naming the file) in error.
bool SaveSymbolsBeside(const std::string& imageFile, const TSymbolTable& symbols, std::string& error);
// The symbols kept beside the image; none (and no error) when there is no such file.
TSymbolRead LoadSymbolsBeside(const std::string& imageFile);
