// tallis: the tape file checker's window.
//
//   tallis [/lang:CODE] [/ini:LOCATION] [/portable]
#include <QApplication>

#include "CloseSignals.h"
#include "LanguageSwitch.h"
#include "ShellDirDlg.h"
#include "Startup.h"
#include "TallisMain.h"

int main(int argc, char** argv) {
  // Fonts are named by the windows themselves and never pass through the translation.
  StartUp(argc, argv, "Holmvale", "Tallis.cfg", {ToolkitDomain});
  QApplication app(argc, argv);
  StartUpQt();

  THauptForm form;
  TShellDirDialog dirDialog;
  form.SetDirDialog(&dirDialog);
  CloseOnTerminationSignals(&form);
  form.show();
  return app.exec();
}
