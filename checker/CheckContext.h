// What the per-file checks of one run share: the result list, the catch-up callback and the
// "Show contents" option. Internal to the checker library.
#pragma once
#include <functional>
#include <string>

#include "ResultSink.h"

struct TCheckContext {
  TResultSink& Sink;
  const std::function<void()>& CatchUp;
  bool ShowContents = false;
  const bool* StopFlag = nullptr;  // set by a stop request during a catch-up

  // The run was asked to stop: the file's work ends at the next safe point.
  bool StopRequested() const { return StopFlag && *StopFlag; }

  void Line(const std::string& line) { Sink.AppendLine(line); }
  void SelectedLine(const std::string& line) {
    Sink.AppendLine(line);
    Sink.SelectLastLine();
  }
  void LetCatchUp() const {
    if (CatchUp) CatchUp();
  }
};

// Format texts of the checker print %x in upper-case digits ("$%x" shows $1F4). Returns the
// format with every x conversion turned into X.
std::string UpperHexFormat(const std::string& format);
