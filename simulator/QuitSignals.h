// SIGTERM and SIGINT (a logout, kill, Ctrl+C in the terminal) close the main window as "&Quit"
// does. The handler only writes a byte into a pipe; the event loop, or the pump of a running
// program, reads it, rejects an open modal dialog and closes the window.
#pragma once

class QWidget;

bool QuitOnTerminationSignals(QWidget* window);
