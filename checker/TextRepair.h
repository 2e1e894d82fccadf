// Text mode: one punched text tape is rewritten without NUL and rubout frames and with the
// parity bit cleared; the old file is kept as "<name>.bak".
#pragma once
#include <string>

#include "CheckContext.h"
#include "TapeFile.h"

// Writes the repaired bytes of the open reader to "<fileName>.tmp", appends the report lines
// ("Parity removed", "File stripped by ...") and then moves the files (CommitRepair). False
// with error set when the run must end: the temporary file cannot be created or written, or
// the source cannot be read; the source is then untouched and no temporary file is left.
bool RepairTextTape(const std::string& fileName, TTapeReader& reader, TCheckContext& ctx, std::string& error);

// Returns 0, or -1 with errno set, as rename(2) does.
using TRenameFunc = int (*)(const char* from, const char* to);

// Moves fileName to "<fileName>.bak" (replacing an older backup) and "<fileName>.tmp" to
// fileName. When the first move fails, the temporary file is removed; when the second fails,
// the backup is moved back. Either way the original content ends up under its own name or
// under the backup name, and a line says what happened. True when the repaired file is in place.
bool CommitRepair(const std::string& fileName, TCheckContext& ctx, TRenameFunc renameFile = nullptr);
