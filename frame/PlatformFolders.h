// The user's folders and interface language as this platform (Linux, XDG base directories and
// user directories) provides them. Everything is computed from an environment lookup so that
// tests can supply their own; docs/folders.md lists the mapping.
#pragma once
#include <functional>
#include <string>
#include <string_view>

// Returns the variable's value, or "" when it is not set.
using TEnvLookup = std::function<std::string(const std::string& name)>;

// The process environment.
TEnvLookup ProcessEnvironment();

// Folders without trailing delimiter ("" when unknown).
struct TPlatformFolders {
  std::string AppData;         // $XDG_CONFIG_HOME, else $HOME/.config
  std::string LocalAppData;    // $XDG_DATA_HOME, else $HOME/.local/share
  std::string Documents;       // XDG_DOCUMENTS_DIR, else $HOME/Documents
  std::string Desktop;         // XDG_DESKTOP_DIR, else $HOME/Desktop
  std::string Public;          // XDG_PUBLICSHARE_DIR, else $HOME/Public
  std::string Profile;         // $HOME
  std::string Favorites;       // $HOME (the platform has no favourites folder)
  std::string AllUsers;        // first entry of $XDG_CONFIG_DIRS, else /etc/xdg
  std::string Programs;        // /opt
  std::string CommonPrograms;  // /usr/share
  std::string ProgramFolder;   // folder of the running executable
  std::string UserName;        // $USER, else $LOGNAME
  std::string ComputerName;    // $HOSTNAME
};

// Resolves the folders from the environment. XDG user directories are read from the environment
// variable of the same name or from $XDG_CONFIG_HOME/user-dirs.dirs.
TPlatformFolders ResolvePlatformFolders(const TEnvLookup& env, const std::string& programFolder);
// The same for this process; gaps in the environment (no HOME, USER, HOSTNAME) are filled from
// the password database and the host name.
TPlatformFolders ProcessPlatformFolders(const std::string& programFolder);

// Replaces the folder placeholders of the "ini" option ("%appdata%", "%perspath%", ...), matched
// without regard to case, every occurrence; folders are inserted without trailing delimiter.
std::string ExpandPlaceholders(std::string_view text, const TPlatformFolders& folders);

// The user's interface language as a two-letter code, or "": the first non-empty of LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG ("C"/"POSIX" mean none), reduced to its primary language and mapped
// through the table of supported languages.
std::string PlatformLanguage(const TEnvLookup& env);
// The code for a primary language tag ("de", "nb" -> "no"), or "" when it is not in the table.
std::string LanguageCodeFor(std::string_view primary);
