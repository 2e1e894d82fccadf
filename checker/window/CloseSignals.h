// SIGTERM and SIGINT close a window as its "Exit" button does. The signal handler only writes a
// byte into a pipe; the window's event loop (or a running check's catch-up) reads it and closes
// the window, after rejecting a modal dialog that is open.
#pragma once

class QWidget;

// Installs the handlers for the window; a later call moves them to another window. False when
// the pipe cannot be made.
bool CloseOnTerminationSignals(QWidget* window);
