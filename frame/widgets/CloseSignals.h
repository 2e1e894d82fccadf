// SIGTERM and SIGINT (a logout, kill, Ctrl+C in the terminal) close a program's main window as
// its own exit command does. The signal handler only writes a byte into a pipe; the window's
// event loop (or the catch-up of a long run) reads it and closes the window, after rejecting a
// modal dialog that is open.
#pragma once

class QWidget;

// Installs the handlers for the window; a later call moves them to another window. False when
// the pipe cannot be made.
bool CloseOnTerminationSignals(QWidget* window);
