// Binary mode: one absolute binary tape, block by block.
//
// A tape is a sequence of 16-bit words, low byte first. NUL frames (bytes, any number) lead and
// separate the blocks. A block's first word w decides its kind:
//   000001           start block: w, start address, checksum; it ends the program, what follows
//                    is trailer
//   177760..177777   data block of n = 200000 - w words: w, load address, checksum, n words
//   anything else    repeat block: w, address, checksum, one value for n - 1 addresses
// Every block's words, checksum included, sum to 0 modulo 2^16.
#pragma once
#include "CheckContext.h"
#include "TapeFile.h"

// Checks the tape on an open reader and appends its block lines (with "Show contents" the
// block contents, errors with the offset just after the previous block) and the "Checked:"
// line. False when reading failed (reader.Error()); the "Checked:" line is then missing, as it
// is when the run is asked to stop (after the block at hand).
bool CheckBinaryTape(TTapeReader& reader, TCheckContext& ctx);
