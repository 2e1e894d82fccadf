// Standard input as the teletype keyboard: a queue of bytes read without blocking. A terminal is
// put in raw mode (and restored), a line feed from it becomes a carriage return and Ctrl-E asks
// to end the run; piped bytes pass unchanged.
#pragma once
#include <deque>

class TKeyInput {
public:
  static constexpr unsigned char CtrlE = 005;

  explicit TKeyInput(int fd = 0);
  ~TKeyInput();  // restores the terminal
  TKeyInput(const TKeyInput&) = delete;
  TKeyInput& operator=(const TKeyInput&) = delete;

  // Detects a terminal and switches it to raw mode.
  void Start();
  // Restores the terminal (safe to call twice).
  void Finish();

  bool IsTerminal() const { return FTerminal; }
  // Reads what is available now into the queue, waiting at most timeoutMs for it.
  void Poll(int timeoutMs = 0);
  // The next byte, reading more when the queue is empty; -1 when none is there now.
  int Next();
  // No byte will come any more: the input has ended and the queue is empty.
  bool Ended() const { return FEnded && FQueue.empty(); }
  // Ctrl-E was typed on the terminal.
  bool StopRequested() const { return FStopRequested; }

private:
  int FFd;
  bool FTerminal = false;
  bool FRaw = false;
  bool FEnded = false;
  bool FStopRequested = false;
  std::deque<unsigned char> FQueue;
  struct TSavedMode;
  TSavedMode* FSaved = nullptr;
};
