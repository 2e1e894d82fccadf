#include "Startup.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "CommandLine.h"
#include "IniFile.h"
#include "PathUtils.h"
#include "SafeFormat.h"
#include "TextUtils.h"
#include "Translate.h"

namespace {

constexpr const char* LanguageSection = "Language";
constexpr const char* LanguageKey = "LangID";

TStartupValues& Values() {
  static TStartupValues values;
  return values;
}

std::string SelfExe() {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

}  // namespace

std::string CatalogFolder(const std::string& programFolder) {
  std::error_code ec;
  const std::string beside = programFolder + "locale";
  if (std::filesystem::is_directory(beside, ec)) return beside;
  const std::filesystem::path folder = std::filesystem::path(programFolder).parent_path();
  if (folder.filename() == "bin") {
    const std::filesystem::path installed = folder.parent_path() / "share" / "corvane" / "locale";
    if (std::filesystem::is_directory(installed, ec)) return installed.string();
  }
  return beside;
}

TStartupEnv ProcessStartupEnv(int argc, const char* const* argv) {
  TStartupEnv env;
  for (int i = 1; i < argc; ++i)
    if (argv[i]) env.Args.emplace_back(argv[i]);
  env.ExePath = SelfExe();
  if (env.ExePath.empty() && argc > 0 && argv[0]) env.ExePath = argv[0];
  std::error_code ec;
  env.WorkingFolder = std::filesystem::current_path(ec).string();
  env.Folders = ProcessPlatformFolders(ExtractFilePath(env.ExePath));
  env.Env = ProcessEnvironment();
  return env;
}

void StartUp(const std::string& makerFolder, const std::string& languageFileName,
             const std::vector<std::string>& extraDomains, const TStartupEnv& env) {
  // Under a file size limit a write beyond it must fail with "File too large" and be reported
  // like any other write error, not end the program without a word and leave a temporary file.
  ::signal(SIGXFSZ, SIG_IGN);
  TStartupValues v;
  v.ExePath = env.ExePath;
  v.ProgramFolder = IncludeTrailingDelimiter(ExtractFilePath(env.ExePath));
  v.ProgramName = env.ProgramName.empty() ? RemoveFileExtension(ExtractFileName(env.ExePath)) : env.ProgramName;
  v.MakerFolder = makerFolder;
  v.Folders = env.Folders;
  if (v.Folders.ProgramFolder.empty()) v.Folders.ProgramFolder = ExcludeTrailingDelimiter(v.ProgramFolder);

  // The language file's default place: <application data>/<maker folder>/<program>.cfg.
  const std::string fileName = languageFileName.empty() ? v.ProgramName + ".cfg" : languageFileName;
  if (IsAbsolutePath(makerFolder))
    v.SettingsBase = ExcludeTrailingDelimiter(makerFolder);
  else if (!v.Folders.AppData.empty())
    v.SettingsBase = JoinPath(v.Folders.AppData, makerFolder);
  else
    v.SettingsBase = ExcludeTrailingDelimiter(v.ProgramFolder);
  v.LanguageFile = JoinPath(v.SettingsBase, fileName);

  TCommandLine cmd = ParseCommandLine(
      env.Args, [&](std::string_view text) { return ExpandPlaceholders(text, v.Folders); }, v.ProgramFolder);
  v.Portable = cmd.Portable;
  v.LanguageFile = LanguageFileForLocation(v.LanguageFile, cmd, v.ProgramFolder, env.WorkingFolder);

  InitTranslation(env.LocaleFolder.empty() ? CatalogFolder(v.ProgramFolder) : env.LocaleFolder, extraDomains);

  if (!cmd.Language.empty()) {
    v.CurrentLanguage = cmd.Language;
    v.LanguageMaySave = false;
  } else {
    v.CurrentLanguage = Utf8Prefix(TIniFile(v.LanguageFile).ReadString(LanguageSection, LanguageKey, ""), 2);
    v.LanguageMaySave = true;
  }
  if (v.CurrentLanguage.empty() && env.Env) v.CurrentLanguage = PlatformLanguage(env.Env);

  Values() = std::move(v);
  ActivateLanguage(Values().CurrentLanguage);
}

void StartUp(int argc, const char* const* argv, const std::string& makerFolder, const std::string& languageFileName,
             const std::vector<std::string>& extraDomains) {
  StartUp(makerFolder, languageFileName, extraDomains, ProcessStartupEnv(argc, argv));
}

const TStartupValues& StartupValues() { return Values(); }

std::string RunningExecutable() { return Values().ExePath.empty() ? SelfExe() : Values().ExePath; }

bool ChangeLanguage(const std::string& code) {
  TStartupValues& v = Values();
  v.CurrentLanguage = Utf8Prefix(code, 2);
  bool saved = true;
  if (v.LanguageMaySave && !v.LanguageFile.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(ExtractFilePath(v.LanguageFile), ec);
    TIniFile ini(v.LanguageFile);
    ini.WriteString(LanguageSection, LanguageKey, v.CurrentLanguage);
    saved = ini.UpdateFile();
  }
  ActivateLanguage(v.CurrentLanguage);
  return saved;
}

namespace {
std::string SettingsFolderIssue;  // why the settings folder could not be used, with the folder
}  // namespace

std::string SettingsFolder() {
  const TStartupValues& v = Values();
  SettingsFolderIssue.clear();
  if (!v.SettingsBase.empty() && (IsAbsolutePath(v.MakerFolder) || !v.Folders.AppData.empty())) {
    std::error_code ec;
    std::filesystem::create_directories(v.SettingsBase, ec);
    std::error_code probe;
    if (std::filesystem::is_directory(v.SettingsBase, probe)) return IncludeTrailingDelimiter(v.SettingsBase);
    // A file in its place (or in the place of a folder above it) says "Not a directory".
    const bool inTheWay = std::filesystem::exists(v.SettingsBase, probe) || !ec || ec == std::errc::file_exists;
    SettingsFolderIssue = SafeFormat(_("The settings folder %s cannot be used (%s); the settings are kept in %s."),
                                     v.SettingsBase, inTheWay ? std::string(std::strerror(ENOTDIR)) : ec.message(),
                                     v.ProgramFolder);
  }
  return v.ProgramFolder;
}

std::string SettingsFolderNotice() { return SettingsFolderIssue; }

std::string DocumentsFolder() { return IncludeTrailingDelimiter(Values().Folders.Documents); }

std::string ProgramSettingsFile() { return MakeFileName(SettingsFolder(), Values().ProgramName, "ini"); }
