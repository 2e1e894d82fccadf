// Where a check run reports: the result list. The checker window implements it with its list
// box; tallis-cli prints the lines.
#pragma once
#include <string>

class TResultSink {
public:
  virtual ~TResultSink() = default;
  // Empties the list (at the start of a run).
  virtual void ClearLines() = 0;
  // Appends one line at the end.
  virtual void AppendLine(const std::string& line) = 0;
  // Makes the last appended line the selected one (a list scrolls to it).
  virtual void SelectLastLine() = 0;
};
