// An error of a line of a file the user gave (a source, a symbol file, a listing): what the
// windows list and corvane-cli prints, the way compilers report.
#pragma once
#include <string>
#include <string_view>

struct TSourceError {
  std::string File;
  int Line = 0;  // from 1; 0 for the whole file
  std::string Message;

  // "FILE:LINE: message", or "FILE: message" for the whole file.
  std::string Text() const {
    return Line > 0 ? File + ":" + std::to_string(Line) + ": " + Message : File + ": " + Message;
  }
  bool operator==(const TSourceError&) const = default;
};

// Why a file cannot be read whole: "file not found", folderReason for a folder, or that it cannot
// be read (no permission, not a plain file, too large).
std::string WhyUnreadable(const std::string& fileName, std::string_view folderReason);
