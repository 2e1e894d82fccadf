// What an assembled program is written as: the listing, the symbol file, the absolute binary
// tape, the program-load tape and a memory image.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Assembler.h"

// The listing: per line the error letters, the address (5 octal digits), the word (6 digits)
// and the source line; the words after a text's first one on lines of their own; each error
// explained on the line below its line; the user's symbols at the end.
std::string ListingText(const TAsmProgram& program);

// One line per symbol: the name, a blank, the value as 6 octal digits; sorted by name.
std::string SymbolFileText(const TSymbolTable& symbols);

// The absolute binary tape (each word low byte first): NUL leader, data blocks of up to 16
// words, a repeat block for each run of 17 or more equal words at consecutive addresses, the
// start block (the start address, or 100000 when there is none: the loader halts), NUL trailer.
std::vector<std::uint8_t> AbsoluteTape(const TAsmProgram& program);

// The program-load tape the front panel's bootstrap loader reads (each word high byte first):
// NUL leader, a marker frame, the count word, the words from 101 on (gaps filled with 0) and a
// JMP to the start address last, NUL trailer. False, with the reason, when the program does not
// fit (words outside 101 to 376, no start address in page zero).
bool BootstrapTape(const TAsmProgram& program, std::vector<std::uint8_t>& tape, std::string& error);
constexpr std::uint16_t BootstrapFirst = 0101;
constexpr std::uint16_t BootstrapLast = 0377;  // the last word: the jump to the start

// A memory dump (words low byte first, from address 0 up to the highest word assembled; words
// not assembled are 0), as the simulator loads it.
std::vector<std::uint8_t> DumpImage(const TAsmProgram& program);
