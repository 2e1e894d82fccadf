// Binary mode: one absolute binary tape, block by block.
//
// The blocks are those of AbsoluteTape.h; the start block ends the program, what follows is
// trailer.
#pragma once
#include "CheckContext.h"
#include "TapeFile.h"

// Before its blocks a tape may hold a program-load tape (ProgramLoadTape.h) or a punched label
// (PunchedLabel.h); both are reported and the blocks after them checked. After the start block a
// readable trailer text is shown.
//
// Checks the tape on an open reader and appends its block lines (with "Show contents" the
// block contents, errors with the offset just after the previous block) and the "Checked:"
// line. False when reading failed (reader.Error()); the "Checked:" line is then missing, as it
// is when the run is asked to stop (after the block at hand).
bool CheckBinaryTape(TTapeReader& reader, TCheckContext& ctx);
