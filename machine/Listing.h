// Program listings: one line per address with address, contents and disassembly columns.
#pragma once
#include <functional>
#include <string>

#include "MachineError.h"
#include "MachineTypes.h"
#include "NumberUtils.h"

// Column bits of a listing.
constexpr int lcAddress = 1;
constexpr int lcContents = 2;
constexpr int lcDisassembly = 4;

// One line without its line end: "Address" and "Contents" in Base, each followed by two spaces,
// then the disassembly (columns on) with numbers in DisasmBase.
std::string ListingLine(int Addr, TWord Data, TNumMode Base, int Columns, TNumMode DisasmBase);

// The lines of First .. Last (none when Last < First), each ended by CR LF. ReadWord gives the
// word at an address (addresses reduced to 15 bits).
std::string ListingText(int First, int Last, TNumMode Base, int Columns, TNumMode DisasmBase,
                        const std::function<TWord(int)>& ReadWord);

// Writes the listing through a temporary file; the old file stays if anything fails (ekWrite).
bool WriteListing(const std::string& Name, int First, int Last, TNumMode Base, int Columns,
                  TNumMode DisasmBase, const std::function<TWord(int)>& ReadWord, TMachineError& Error);
// Kept until every caller takes the error as data: Error gets the message text.
bool WriteListing(const std::string& Name, int First, int Last, TNumMode Base, int Columns,
                  TNumMode DisasmBase, const std::function<TWord(int)>& ReadWord, std::string& Error);
