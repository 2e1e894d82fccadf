// Language of the Qt programs: the toolkit's own translations (domain "qt") and the switch at run
// time. Every window and dialog retranslates itself in changeEvent(QEvent::LanguageChange).
//
//   int main(int argc, char** argv) {
//     StartUp(argc, argv, "Holmvale", "", {ToolkitDomain, UnitsDomain});
//     QApplication app(argc, argv);
//     StartUpQt();  // language again (QApplication reset the locale), toolkit texts, fonts
//     ...
//   }
#pragma once
#include <QString>
#include <string>

// Name of the toolkit's domain in the list of translation domains.
inline constexpr const char* ToolkitDomain = "qt";

// After QApplication exists: activates the start-up language again, loads the toolkit's
// translations when the domain "qt" was registered, and installs the font substitutes.
void StartUpQt();

// Loads the toolkit's catalog (qtbase_<code>.qm from the Qt translations folder) for the code, in
// place of the one loaded before; an empty code or "en" leaves the built-in English texts. Nothing
// happens unless "qt" is among the registered translation domains. True when a catalog is in use.
bool LoadToolkitTranslations(const std::string& code);
// The Qt translations folder (QLibraryInfo::TranslationsPath).
QString ToolkitTranslationsFolder();

// The language switch of the simulator: ChangeLanguage (stores and activates the code), the
// toolkit's catalog for it, then every top-level widget receives QEvent::LanguageChange at once
// (children follow through QWidget's own propagation). Returns ChangeLanguage's result (false
// when the language file could not be written; the language is switched all the same).
bool SwitchLanguage(const std::string& code);

// Sends QEvent::LanguageChange to every top-level widget now.
void RetranslateAllWindows();
