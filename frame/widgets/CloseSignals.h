// SIGTERM, SIGINT and SIGHUP (a logout, kill, Ctrl+C in the terminal, the terminal closed) close a
// program's main window as its own exit command does. The signal handler only writes a byte into
// a pipe; the window's event loop (or the catch-up of a long run) reads it, rejects the modal
// dialogs that are open (message boxes included) and closes the window, whose shutdown then
// asks nothing. A second signal while the first is still being handled ends the program at once.
#pragma once

class QWidget;

// Installs the handlers for the window; a later call moves them to another window. False when
// the pipe cannot be made.
bool CloseOnTerminationSignals(QWidget* window);

// True once a termination signal has been taken up: the window is closing without a user, so
// nothing may wait for an answer.
bool TerminationSignalled();
