#include "QuitSignals.h"

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

int QuitPipe[2] = {-1, -1};

void OnQuitSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(QuitPipe[1], &byte, 1);
  errno = saved;
}

QPointer<QWidget>& QuitTarget() {
  static QPointer<QWidget> window;
  return window;
}

void QuitSignalArrived() {
  char buffer[16];
  while (::read(QuitPipe[0], buffer, sizeof buffer) > 0) {
  }
  while (QWidget* modal = QApplication::activeModalWidget()) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (!dialog) break;
    dialog->reject();
    if (QApplication::activeModalWidget() == modal) break;
  }
  if (QWidget* window = QuitTarget()) window->close();
}

}  // namespace

bool QuitOnTerminationSignals(QWidget* window) {
  QuitTarget() = window;
  if (QuitPipe[0] >= 0) return true;
  if (::pipe2(QuitPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  auto* notifier = new QSocketNotifier(QuitPipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { QuitSignalArrived(); });
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : {SIGTERM, SIGINT}) ::sigaction(s, &action, nullptr);
  return true;
}
