// tallis: the tape file checker's window.
//
//   tallis [/lang:CODE] [/ini:LOCATION] [/portable] [--help] [--version] [FOLDER [PATTERN]]
#include <QApplication>
#include <QTimer>

#include "CloseSignals.h"
#include "CommandLine.h"
#include "GivenFolder.h"
#include "ReplacingFile.h"
#include "LanguageSwitch.h"
#include "ShellDirDlg.h"
#include "Startup.h"
#include "TallisMain.h"
#include "Translate.h"
#include "VersionInfo.h"

int main(int argc, char** argv) {
  // Fonts are named by the windows themselves and never pass through the translation.
  StartUp(argc, argv, "Holmvale", "Tallis.cfg", {ToolkitDomain});
  if (AnswerInfoRequest(argc, argv,
                        _("Usage: tallis [/lang:CODE] [/ini:LOCATION] [/portable] [FOLDER [PATTERN]]\n"
                          "\n"
                          "Opens the window of the tape file checker: checks absolute binary paper-tape\n"
                          "files and repairs text tapes. With a FOLDER (and a PATTERN of file names) the\n"
                          "fields are filled in and the check runs at once; a tape file is checked alone.\n"
                          "\n"
                          "  /lang:CODE     language of the window (de, en)\n"
                          "  /ini:LOCATION  folder of the language file\n"
                          "  /portable      keep the language file beside the program\n"
                          "  --help         print this help\n"
                          "  --version      print the version\n"),
                        "tallis", CutVersion(TALLIS_VERSION, 3)))
    return 0;
  QApplication app(argc, argv);
  StartUpQt();
  RemoveLeftoverTemporaries(StartupValues().LanguageFile);  // a language change cut short

  THauptForm form;
  TShellDirDialog dirDialog;
  form.SetDirDialog(&dirDialog);
  CloseOnTerminationSignals(&form);
  form.show();
  // A termination signal during the first showing (an error box open) has closed the window
  // already; the event loop would then wait for ever.
  if (!form.isVisible()) return 0;
  const std::vector<std::string> given = FileArguments(std::vector<std::string>(argv + 1, argv + argc));
  QTimer::singleShot(0, &form, [&form, given] { CheckGivenFolder(form, given); });
  return app.exec();
}
