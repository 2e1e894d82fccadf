// Run-time translation through GNU gettext (glibc's libintl).
//
// Texts of the programs' own windows and messages live in the domain "default" (_ / TranslateText),
// the shared dialogs' texts in "dialogs" (DialogsText), the shared units' texts in "units"
// (UnitsText). Catalogs are <locale folder>/<code>/LC_MESSAGES/<domain>.mo; a missing catalog or
// entry leaves the English text.
#pragma once
#include <string>
#include <vector>

inline constexpr const char* DefaultDomain = "default";
inline constexpr const char* DialogsDomain = "dialogs";
inline constexpr const char* UnitsDomain = "units";

std::string TranslateText(const char* msgid);           // domain "default"
std::string DialogsText(const char* msgid);             // domain "dialogs"
std::string UnitsText(const char* msgid);               // domain "units"
std::string DomainText(const char* domain, const char* msgid);

#ifndef _
#define _(msgid) TranslateText(msgid)
#endif
// Marks a text for extraction where it is translated later (tables of captions).
#ifndef N_
#define N_(msgid) msgid
#endif

// Binds "default", "dialogs" and "units" plus the extra domains to localeFolder with the codeset
// UTF-8 and makes "default" the current text domain. The list of domains starts anew, each
// domain once, in order.
void InitTranslation(const std::string& localeFolder, const std::vector<std::string>& extraDomains = {});
// Binds one more domain to a folder (codeset UTF-8) and adds it to the list.
void BindTranslationDomain(const std::string& domain, const std::string& localeFolder);
// Every domain bound so far, the three standard ones first. Domains that are not gettext
// catalogs (the toolkit's own translations) are listed here for the toolkit layer to load.
const std::vector<std::string>& TranslationDomains();
const std::string& TranslationFolder();

// Switches the translation layer to a language code ("de", "en"; used unchanged). A non-empty code
// sets LANGUAGE, moves a "C"/"POSIX" messages locale to "C.UTF-8" (glibc ignores LANGUAGE under
// C) and flushes glibc's catalog cache so that de -> en -> de works in one process. An empty code
// restores the process's original LANGUAGE and messages locale (the platform default).
void ActivateLanguage(const std::string& code);
// The code given to the last ActivateLanguage.
const std::string& ActiveLanguage();
// Activates the last code again. Call it after anything that resets the locale with
// setlocale(LC_ALL, ""), as the toolkit's application object does when it is constructed.
void ReactivateLanguage();
