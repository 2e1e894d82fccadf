#include "PlatformFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "PathUtils.h"
#include "TextUtils.h"

namespace {

std::string WithoutTrailingDelimiters(std::string s) {
  while (!s.empty() && s.back() == PathDelim) s.pop_back();
  return s;
}

// An absolute folder from a variable; relative values are invalid and ignored.
std::string AbsoluteVar(const TEnvLookup& env, const char* name) {
  std::string v = env(name);
  return IsAbsolutePath(v) ? WithoutTrailingDelimiters(v) : std::string();
}

// XDG user directory: the variable itself, else the line of user-dirs.dirs, else home + fallback.
std::string UserDir(const TEnvLookup& env, const std::string& home, const std::string& configHome,
                    const char* name, const char* fallback) {
  std::string v = AbsoluteVar(env, name);
  if (!v.empty()) return v;
  if (!configHome.empty()) {
    std::ifstream in(configHome + "/user-dirs.dirs");
    std::string line;
    const std::string key = std::string(name) + "=";
    while (std::getline(in, line)) {
      if (line.rfind(key, 0) != 0) continue;
      std::string value = line.substr(key.size());
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
      if (value.rfind("$HOME", 0) == 0 && !home.empty()) value = home + value.substr(5);
      if (IsAbsolutePath(value)) return WithoutTrailingDelimiters(value);
    }
  }
  return home.empty() ? std::string() : home + "/" + fallback;
}

std::string FirstEntry(const std::string& list) {
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    std::string entry = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (IsAbsolutePath(entry)) return WithoutTrailingDelimiters(entry);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return std::string();
}

void ReplaceAllNoCase(std::string& text, std::string_view placeholder, const std::string& value) {
  const std::string key = LowerAscii(placeholder);
  std::size_t pos = 0;
  while (true) {
    pos = LowerAscii(text).find(key, pos);
    if (pos == std::string::npos) return;
    text.replace(pos, key.size(), value);
    pos += value.size();
  }
}

}  // namespace

TEnvLookup ProcessEnvironment() {
  return [](const std::string& name) {
    const char* v = std::getenv(name.c_str());
    return std::string(v ? v : "");
  };
}

TPlatformFolders ResolvePlatformFolders(const TEnvLookup& env, const std::string& programFolder) {
  TPlatformFolders f;
  const std::string home = AbsoluteVar(env, "HOME");
  f.Profile = home;
  f.AppData = AbsoluteVar(env, "XDG_CONFIG_HOME");
  if (f.AppData.empty() && !home.empty()) f.AppData = home + "/.config";
  f.LocalAppData = AbsoluteVar(env, "XDG_DATA_HOME");
  if (f.LocalAppData.empty() && !home.empty()) f.LocalAppData = home + "/.local/share";
  f.Documents = UserDir(env, home, f.AppData, "XDG_DOCUMENTS_DIR", "Documents");
  f.Desktop = UserDir(env, home, f.AppData, "XDG_DESKTOP_DIR", "Desktop");
  f.Public = UserDir(env, home, f.AppData, "XDG_PUBLICSHARE_DIR", "Public");
  f.Favorites = home;
  f.AllUsers = FirstEntry(env("XDG_CONFIG_DIRS"));
  if (f.AllUsers.empty()) f.AllUsers = "/etc/xdg";
  f.Programs = "/opt";
  f.CommonPrograms = "/usr/share";
  f.ProgramFolder = WithoutTrailingDelimiters(programFolder);
  f.UserName = env("USER");
  if (f.UserName.empty()) f.UserName = env("LOGNAME");
  f.ComputerName = env("HOSTNAME");
  return f;
}

TPlatformFolders ProcessPlatformFolders(const std::string& programFolder) {
  TEnvLookup base = ProcessEnvironment();
  const passwd* pw = ::getpwuid(::getuid());
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) host[0] = '\0';
  TEnvLookup env = [&](const std::string& name) {
    std::string v = base(name);
    if (!v.empty()) return v;
    if (name == "HOME" && pw && pw->pw_dir) return std::string(pw->pw_dir);
    if ((name == "USER" || name == "LOGNAME") && pw && pw->pw_name) return std::string(pw->pw_name);
    if (name == "HOSTNAME") return std::string(host);
    return v;
  };
  return ResolvePlatformFolders(env, programFolder);
}

std::string ExpandPlaceholders(std::string_view text, const TPlatformFolders& f) {
  const std::pair<const char*, const std::string*> table[] = {
      {"%perspath%", &f.Documents},
      {"%apppath%", &f.AppData},
      {"%profile%", &f.Profile},
      {"%desktop%", &f.Desktop},
      {"%favorites%", &f.Favorites},
      {"%progfiles%", &f.Programs},
      {"%progpath%", &f.ProgramFolder},
      {"%username%", &f.UserName},
      {"%computername%", &f.ComputerName},
      {"%user%", nullptr},
      {"%computer%", nullptr},
      {"%appdata%", &f.AppData},
      {"%localappdata%", &f.LocalAppData},
      {"%allusersprofile%", &f.AllUsers},
      {"%public%", &f.Public},
      {"%programfiles%", &f.Programs},
      {"%commonprogramfiles%", &f.CommonPrograms},
      {"%programfiles(x86)%", &f.Programs},
      {"%commonprogramfiles(x86)%", &f.CommonPrograms},
      {"%programdata%", &f.AllUsers},
      {"%userprofile%", &f.Profile},
  };
  std::string result(text);
  if (result.find('%') == std::string::npos) return result;
  for (const auto& [placeholder, value] : table)
    ReplaceAllNoCase(result, placeholder, value ? WithoutTrailingDelimiters(*value) : std::string());
  return result;
}

std::string LanguageCodeFor(std::string_view primary) {
  static const char* const codes[] = {"bg", "cs", "da", "de", "el", "en", "es", "fi", "fr",
                                      "hu", "it", "nl", "no", "pl", "pt", "ro", "ru", "hr",
                                      "sk", "sq", "sv", "tr", "uk", "sl", "et", "lv", "lt"};
  const std::string p = LowerAscii(primary);
  if (p == "nb" || p == "nn") return "no";
  for (const char* c : codes)
    if (p == c) return c;
  return std::string();
}

std::string PlatformLanguage(const TEnvLookup& env) {
  std::string value;
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    value = env(name);
    if (!value.empty()) break;
  }
  // LANGUAGE may hold a list "fr:de"; the first non-empty entry counts.
  std::string_view v = value;
  while (!v.empty() && v.front() == ':') v.remove_prefix(1);
  v = v.substr(0, v.find(':'));
  std::string_view primary = v.substr(0, v.find_first_of("_.@-"));
  if (primary == "C" || primary == "POSIX") return std::string();
  return LanguageCodeFor(primary);
}
