// A failure the core meets with a file (one that cannot be found, opened, read or written),
// handed out as data: what failed, the file, and the system's own text. The program around the
// core words it for the place it is shown (a message box, a line on standard error).
#pragma once
#include <string>

enum TErrorKind : int {
  ekNone = 0,
  ekNotFound,  // "File not found:" and the name
  ekOpen,      // "Error opening file:" and the name
  ekRead,      // "Cannot read file NAME: SYSTEM"
  ekWrite,     // "Cannot write file NAME: SYSTEM"
};

struct TMachineError {
  TErrorKind Kind = ekNone;
  std::string File;
  std::string System;  // the system's text (strerror and the like); may be empty
  explicit operator bool() const { return Kind != ekNone; }
  bool operator==(const TMachineError&) const = default;
};

// How a message is laid out: for a message box the name goes on a line of its own ("\r\n"),
// on a terminal everything stays on one line.
enum TErrorLayout { elBox, elLine };

// The translated message of an error; empty for ekNone.
std::string ErrorText(const TMachineError& Error, TErrorLayout Layout = elBox);
