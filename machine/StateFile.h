// Machine state files (.nvs): a whole-machine state (MachineState.h) in a small versioned
// format of our own, described in docs/state-files.md. Written whole (a temporary file, then a
// rename); read with every field checked, so that a file that is cut short, damaged, foreign or
// of a newer format is refused and changes nothing.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "MachineError.h"
#include "MachineState.h"

class TReplacingFile;

constexpr std::uint16_t StateFormatVersion = 2;

// The file's bytes.
std::vector<std::uint8_t> EncodeState(const TMachineState& State);
// False, with the translated reason in Why and State unchanged, when the bytes are not a valid
// state of a format this program reads.
bool DecodeState(const std::uint8_t* Data, std::size_t Size, TMachineState& State, std::string& Why);

// ekWrite when the file cannot be written (the old file then stays as it was).
bool WriteStateFile(const std::string& Name, const TMachineState& State, TMachineError& Error);
// Into a file opened before; it is committed, or discarded after an error.
bool WriteStateTo(TReplacingFile& File, const TMachineState& State, TMachineError& Error);
// ekNotFound, or ekRead with the reason ("not a machine state file", ...).
bool ReadStateFile(const std::string& Name, TMachineState& State, TMachineError& Error);

// The state of the machine and its peripherals into a file (what the punches and the printer
// have written is handed to their files first, so the files hold the saved positions).
bool SaveMachineState(const std::string& Name, TNovaMachine& Machine, TPeripherals& Peripherals,
                      TMachineError& Error);
// The file read and put back (RestoreState). False with Error when the file is refused or the
// machine is executing: then nothing has changed. Problems lists the attached files that could
// not be attached again; the rest of the state is in place all the same.
bool LoadMachineState(const std::string& Name, TNovaMachine& Machine, TPeripherals& Peripherals,
                      TMachineError& Error, std::vector<TAttachProblem>& Problems);
