// corvane: the simulator's main window.
//
//   corvane [/lang:CODE] [/ini:LOCATION] [/portable]
#include <QApplication>

#include "LanguageSwitch.h"
#include "MainForm.h"
#include "QuitSignals.h"
#include "Startup.h"

int main(int argc, char** argv) {
  StartUp(argc, argv, "Holmvale", "Corvane.cfg", {ToolkitDomain});
  QApplication app(argc, argv);
  StartUpQt();
  QApplication::setApplicationName("Corvane");

  TMainForm form;
  QuitOnTerminationSignals(&form);
  form.show();
  return app.exec();
}
