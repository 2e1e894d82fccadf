// Start-up of both programs before any window exists: the program's folder and name, the language
// file (".cfg", section "Language", key "LangID") and its location from the command line, the
// language, and the translation catalogs. Also the settings paths and "change language".
//
//   int main(int argc, char** argv) {
//     StartUp(argc, argv, "Holmvale", "", {"qt", "units"});
//     QApplication app(argc, argv);
//     ReactivateLanguage();  // QApplication reset the locale
//     ...
//   }
#pragma once
#include <string>
#include <vector>

#include "PlatformFolders.h"

// Process-wide values, set by StartUp and kept until the program ends.
struct TStartupValues {
  std::string ProgramFolder;     // folder of the running executable, ending with "/"
  std::string ProgramName;       // executable's file name without folder and extension
  std::string ExePath;           // the running executable
  std::string MakerFolder;       // as handed to StartUp ("Holmvale")
  std::string SettingsBase;      // application data folder + maker folder (or the absolute maker folder)
  std::string LanguageFile;      // full path of the ".cfg" file
  std::string CurrentLanguage;   // at most 2 characters, possibly empty
  bool LanguageMaySave = true;   // false when the language came from the command line
  bool Portable = false;
  TPlatformFolders Folders;
};

// What StartUp reads from the process; tests build their own.
struct TStartupEnv {
  std::vector<std::string> Args;  // the arguments without the program path
  std::string ExePath;            // full path of the executable
  std::string ProgramName;        // "" = from ExePath
  std::string WorkingFolder;      // for relative "ini" locations
  std::string LocaleFolder;       // "" = program folder + "locale"
  TPlatformFolders Folders;
  TEnvLookup Env;                 // for the platform language
};

// The real process: argv[1..], /proc/self/exe, the current folder, the environment.
TStartupEnv ProcessStartupEnv(int argc, const char* const* argv);

// Sets the start-up values, binds the translation domains ("default", "dialogs", "units" and the
// extra ones), determines the language (command line, language file, platform) and activates it.
// It also ignores SIGXFSZ for the whole process: a write beyond a file size limit then fails with
// EFBIG ("File too large") and is reported like any other write error.
void StartUp(const std::string& makerFolder, const std::string& languageFileName,
             const std::vector<std::string>& extraDomains, const TStartupEnv& env);
void StartUp(int argc, const char* const* argv, const std::string& makerFolder,
             const std::string& languageFileName = "", const std::vector<std::string>& extraDomains = {});

const TStartupValues& StartupValues();
// Where a program in programFolder (ending with "/") finds its message catalogs: "locale" beside
// it (the build folder, a portable copy), else the installed "<prefix>/share/corvane/locale" for
// a program in "<prefix>/bin". With neither, the folder beside the program.
std::string CatalogFolder(const std::string& programFolder);
// The running executable: the one StartUp saw, else /proc/self/exe.
std::string RunningExecutable();

// The code (first 2 characters) becomes the current language; when the language may be saved,
// it is written to the language file at once (its folder is created when missing); then it is
// activated. Retranslating the open windows is the caller's part. Returns false when the file
// should have been written but could not be; the language is switched all the same.
bool ChangeLanguage(const std::string& code);

// The settings folder, ending with "/": application data folder + maker folder, created with its
// parents; the program folder when there is no application data folder or it cannot be created.
std::string SettingsFolder();
// After SettingsFolder fell back on the program folder: the message that says so and why
// (translated); empty when the settings folder could be used.
std::string SettingsFolderNotice();
// The user's documents folder, ending with "/" ("" when unknown).
std::string DocumentsFolder();
// <settings folder>/<program name>.ini
std::string ProgramSettingsFile();
