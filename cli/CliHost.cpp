#include "CliHost.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "CliText.h"

namespace {

volatile std::sig_atomic_t StopSignal = 0;

// A terminal is read every few milliseconds for Ctrl-E and type-ahead.
constexpr auto TerminalPollInterval = std::chrono::milliseconds(20);
// How long a pump may sleep while the program waits for a key that has not come yet.
constexpr int IdleWaitMs = 10;

}  // namespace

void TCliHost::RequestStop() { StopSignal = 1; }

TCliHost::TCliHost(TNovaMachine& Machine, TPeripherals& Peripherals, TKeyInput& Keys)
    : FMachine(Machine),
      FPeripherals(Peripherals),
      FKeys(Keys),
      FTypist(Machine, Peripherals),
      FClock([this] { FMachine.Rtc.TimeElapsed(); }) {
  FMachine.Rtc.SetTimer(&FClock);
  // The printer would print on without a file; here its output would be lost, so it stops too.
  FPeripherals.LptNeedsFile = true;
}

void TCliHost::Fail(const std::string& text) {
  NoteError(text);
  FMachine.Stop(srStop, text);
}

void TCliHost::PumpEvents() {
  const TClock::time_point now = TClock::now();
  FClock.Poll(now);
  if (!FOut.empty()) FlushOutput();
  FPeripherals.FlushOutputsWhenDue();
  if (StopSignal) FMachine.Stop(srStop, Tr("ended by a signal"));
  Keyboard(now);
}

// Types the next key when the program waits for one, and ends the run on Ctrl-E.
void TCliHost::Keyboard(TClock::time_point now) {
  if (FKeys.IsTerminal() && now - FLastTerminalPoll >= TerminalPollInterval) {
    FLastTerminalPoll = now;
    FKeys.Poll();
  }
  if (FKeys.StopRequested()) {
    FMachine.Stop(srStop, Tr("ended by Ctrl-E"));
    return;
  }
  const bool waitsForKey = FTypist.Check();
  std::string stall;
  if (waitsForKey) {
    int key = FKeys.Next();
    if (key < 0 && !FKeys.Ended() && !FClock.Enabled()) {
      // Nothing to type yet: give the processor a rest instead of circling at full speed.
      FlushOutput();
      FKeys.Poll(IdleWaitMs);
      key = FKeys.Next();
    }
    if (key >= 0) {
      FMachine.KeyPress(key, false);
      FTypist.Typed();
    } else if (FKeys.Ended()) {
      stall = TrFormat("the program has waited for a key for %s seconds after the end of the input",
                       {std::to_string(InputEndWait.count())});
    }
  } else if (const int reader = FTypist.StalledReader(); reader >= 0) {
    stall = TrFormat("the program has waited for %s for %s seconds after its tape ran out",
                     {PeriphDeviceName(reader == nova::DevPTR ? pdPtr : pdTtr),
                      std::to_string(InputEndWait.count())});
  }
  Stall(now, stall);
}

// A wait for input that can never come ends the run once it has lasted InputEndWait without a
// pause. Message: why, or empty when the program does not wait so.
void TCliHost::Stall(TClock::time_point now, const std::string& message) {
  if (message.empty()) {
    FStalled = false;
    return;
  }
  if (!FClock.Enabled()) ::poll(nullptr, 0, IdleWaitMs);  // nothing will come: rest
  if (!FStalled) {
    FStalled = true;
    FStallStart = now;
  } else if (now - FStallStart >= InputEndWait) {
    FMachine.Stop(srStop, message);
  }
}

void TCliHost::TraceChanged(int) {
  if (!FTrace) return;
  std::string error;
  if (!FTrace->WriteNew(error)) {
    FTrace = nullptr;
    Fail(error);
  }
}

void TCliHost::TeletypeOut(std::uint8_t b) { FOut += char(b); }

void TCliHost::NoteError(const std::string& text) {
  if (std::find(FErrors.begin(), FErrors.end(), text) == FErrors.end()) FErrors.push_back(text);
}

bool TCliHost::FlushOutput() {
  std::size_t done = 0;
  while (done < FOut.size()) {
    const ssize_t n = ::write(1, FOut.data() + done, FOut.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd p{1, POLLOUT, 0};
      ::poll(&p, 1, -1);
      continue;
    }
    if (n <= 0) {
      FOut.clear();
      Fail(Tr("standard output cannot be written"));
      return false;
    }
    done += std::size_t(n);
  }
  FOut.clear();
  return true;
}
