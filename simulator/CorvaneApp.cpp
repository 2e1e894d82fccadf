// corvane: the simulator's main window.
//
//   corvane [/lang:CODE] [/ini:LOCATION] [/portable] [--help] [--version]
#include <QApplication>

#include "CloseSignals.h"
#include "CommandLine.h"
#include "ReplacingFile.h"
#include "LanguageSwitch.h"
#include "MainForm.h"
#include "Startup.h"
#include "Translate.h"
#include "VersionInfo.h"

int main(int argc, char** argv) {
  StartUp(argc, argv, "Holmvale", "Corvane.cfg", {ToolkitDomain});
  if (AnswerInfoRequest(argc, argv,
                        _("Usage: corvane [/lang:CODE] [/ini:LOCATION] [/portable]\n"
                          "\n"
                          "Opens the window of the Nova 800 simulator: registers, memory, run control,\n"
                          "devices and the teletype. The memory and the settings of the last session\n"
                          "are restored.\n"
                          "\n"
                          "  /lang:CODE     language of the window (de, en)\n"
                          "  /ini:LOCATION  folder of the language file\n"
                          "  /portable      keep the language file beside the program\n"
                          "  --help         print this help\n"
                          "  --version      print the version\n"),
                        "corvane", CutVersion(CORVANE_VERSION, 3)))
    return 0;
  QApplication app(argc, argv);
  StartUpQt();
  RemoveLeftoverTemporaries(StartupValues().LanguageFile);  // a language change cut short
  QApplication::setApplicationName("Corvane");

  TMainForm form;
  // The dialogs and tool windows are made once, at start-up, hidden, and reused.
  form.ValueDialog();
  form.CommandDialog();
  form.WritePrgDialog();
  form.FrontPanel();
  form.DirDialog();
  form.TraceWin();
  form.WatchWin();
  form.BpWin();
  form.ListDialog();
  CloseOnTerminationSignals(&form);
  form.show();
  // A termination signal during the first showing (an error box open) has shut the window down
  // already; the event loop would then wait for ever.
  if (form.ShutDownDone()) return 0;
  return app.exec();
}
