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

void OnSignal(int) {
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
  // A modal dialog would keep the event loop (and so the window) waiting for an answer.
  while (QWidget* modal = QApplication::activeModalWidget()) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (!dialog) break;
    dialog->reject();
    if (QApplication::activeModalWidget() == modal) break;
  }
  if (QWidget* window = Target()) window->close();
}

}  // namespace

bool CloseOnTerminationSignals(QWidget* window) {
  Target() = window;
  if (SignalPipe[0] >= 0) return true;
  if (::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { SignalArrived(); });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : {SIGTERM, SIGINT}) ::sigaction(s, &action, nullptr);
  return true;
}
