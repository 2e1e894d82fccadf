#include "CloseSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

namespace {

int SignalPipe[2] = {-1, -1};
volatile sig_atomic_t SignalsPending = 0;  // set by the handler, cleared when taken up
bool Signalled = false;

void OnSignal(int signal) {
  if (SignalsPending) {
    // The first one has not got through (something blocks the event loop): end now.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
    return;
  }
  SignalsPending = 1;
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(SignalPipe[1], &byte, 1);
  errno = saved;
}

QPointer<QWidget>& Target() {
  static QPointer<QWidget> window;
  return window;
}

void SignalArrived() {
  char buffer[16];
  while (::read(SignalPipe[0], buffer, sizeof buffer) > 0) {
  }
  Signalled = true;
  // A modal dialog would keep the event loop (and so the window) waiting for an answer.
  while (QWidget* modal = QApplication::activeModalWidget()) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (!dialog) break;
    dialog->reject();
    if (QApplication::activeModalWidget() == modal) break;
  }
  if (QWidget* window = Target()) window->close();
  SignalsPending = 0;
}

}  // namespace

bool CloseOnTerminationSignals(QWidget* window) {
  Target() = window;
  Signalled = false;
  if (SignalPipe[0] >= 0) return true;
  if (::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { SignalArrived(); });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(s, &action, nullptr);
  return true;
}

bool TerminationSignalled() { return Signalled; }
