// corvane: the simulator's main window.
//
//   corvane [/lang:CODE] [/ini:LOCATION] [/portable]
#include <QApplication>

#include "CloseSignals.h"
#include "LanguageSwitch.h"
#include "MainForm.h"
#include "Startup.h"

int main(int argc, char** argv) {
  StartUp(argc, argv, "Holmvale", "Corvane.cfg", {ToolkitDomain});
  QApplication app(argc, argv);
  StartUpQt();
  QApplication::setApplicationName("Corvane");

  TMainForm form;
  // The dialogs and tool windows are made once, at start-up, hidden, and reused.
  form.ValueDialog();
  form.CommandDialog();
  form.WritePrgDialog();
  form.DirDialog();
  form.TraceWin();
  form.WatchWin();
  form.BpWin();
  form.ListDialog();
  CloseOnTerminationSignals(&form);
  form.show();
  return app.exec();
}
