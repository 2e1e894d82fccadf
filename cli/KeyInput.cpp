#include "KeyInput.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

struct TKeyInput::TSavedMode {
  termios Mode;
};

TKeyInput::TKeyInput(int fd) : FFd(fd) {}

TKeyInput::~TKeyInput() {
  Finish();
  delete FSaved;
}

void TKeyInput::Start() {
  termios mode{};
  if (!::isatty(FFd) || ::tcgetattr(FFd, &mode) != 0) return;
  FTerminal = true;
  FSaved = new TSavedMode{mode};
  termios raw = mode;
  ::cfmakeraw(&raw);
  raw.c_oflag = mode.c_oflag;  // output as before: the program prints its own CR LF
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  FRaw = ::tcsetattr(FFd, TCSANOW, &raw) == 0;
}

void TKeyInput::Finish() {
  if (FRaw && FSaved) ::tcsetattr(FFd, TCSANOW, &FSaved->Mode);
  FRaw = false;
}

void TKeyInput::Poll(int timeoutMs) {
  if (FEnded) return;
  pollfd p{FFd, POLLIN, 0};
  const int r = ::poll(&p, 1, timeoutMs);
  if (r < 0) {
    if (errno != EINTR) FEnded = true;
    return;
  }
  if (r == 0) return;
  if (p.revents & POLLNVAL) {
    FEnded = true;
    return;
  }
  unsigned char buffer[4096];
  const ssize_t n = ::read(FFd, buffer, sizeof buffer);
  if (n < 0) {
    if (errno != EINTR && errno != EAGAIN) FEnded = true;
    return;
  }
  if (n == 0) {
    // End of a pipe or file. A terminal in raw mode reads 0 only when it has gone away.
    FEnded = true;
    return;
  }
  for (ssize_t i = 0; i < n; ++i) {
    unsigned char b = buffer[i];
    if (FTerminal) {
      if (b == CtrlE) {
        FStopRequested = true;
        continue;
      }
      if (b == '\n') b = '\r';
    }
    FQueue.push_back(b);
  }
}

int TKeyInput::Next() {
  if (FQueue.empty()) Poll();
  if (FQueue.empty()) return -1;
  const int b = FQueue.front();
  FQueue.pop_front();
  return b;
}
