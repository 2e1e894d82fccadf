// corvane: the simulator's main window.
//
//   corvane [/lang:CODE] [/ini:LOCATION] [/portable] [--help] [--version] [FILE...]
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "CloseSignals.h"
#include "CommandLine.h"
#include "GivenFiles.h"
#include "ReplacingFile.h"
#include "SafeFormat.h"
#include "LanguageSwitch.h"
#include "DumpActions.h"
#include "MainForm.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "Translate.h"
#include "VersionInfo.h"

int main(int argc, char** argv) {
  StartUp(argc, argv, "Holmvale", "Corvane.cfg", {ToolkitDomain});
  if (AnswerInfoRequest(argc, argv,
                        _("Usage: corvane [/lang:CODE] [/ini:LOCATION] [/portable] [FILE...]\n"
                          "\n"
                          "Opens the window of the Nova 800 simulator: registers, memory, run control,\n"
                          "devices and the teletype. The memory and the settings of the last session\n"
                          "are restored. Each FILE is opened as its type says: a memory dump (.dmp) is\n"
                          "loaded, a machine state (.nvs) put back, a paper tape (.ab, .bin, .tap)\n"
                          "attached to the paper-tape reader, a text file to the teletype reader, and\n"
                          "assembler sources (.sr, .asm) are assembled into memory. While Corvane runs,\n"
                          "a second start hands its files to it and ends.\n"
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
  // The files on the line, Qt's own options taken out; a Corvane already running takes them.
  std::error_code ec;
  const std::vector<std::string> files = AbsoluteFileNames(
      FileArguments(std::vector<std::string>(argv + 1, argv + argc)), std::filesystem::current_path(ec).string());
  TSingleInstance instance(StartupValues().SettingsBase);
  std::string why;
  switch (instance.HandOver(files, why)) {
    case TSingleInstance::hoDone: return 0;
    case TSingleInstance::hoFailed:
      std::fprintf(stderr, "%s\n", SafeFormat(_("corvane: the running Corvane did not take the files: %s"), why).c_str());
      return 1;
    case TSingleInstance::hoNone: break;
  }

  TMainForm form;
  // The dialogs and tool windows are made once, at start-up, hidden, and reused.
  form.ValueDialog();
  form.CommandDialog();
  form.Dumps().WritePrgDialog();
  form.FrontPanel();
  form.DirDialog();
  form.TraceWin();
  form.WatchWin();
  form.BpWin();
  form.ListDialog();
  CloseOnTerminationSignals(&form);
  instance.OnFiles = [&form](const std::vector<std::string>& handed) {
    form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
    form.show();
    form.raise();
    form.activateWindow();
    OpenGivenFiles(form, handed);
  };
  if (!instance.Listen(why))
    std::fprintf(stderr, "%s\n", SafeFormat(_("corvane: later starts cannot hand their files over: %s"), why).c_str());
  form.show();
  // A termination signal during the first showing (an error box open) has shut the window down
  // already; the event loop would then wait for ever.
  if (form.ShutDownDone()) return 0;
  QTimer::singleShot(0, &form, [&form, &files] { OpenGivenFiles(form, files); });
  return app.exec();
}
