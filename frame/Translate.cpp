#include "Translate.h"

#include <libintl.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>

// glibc's catalog generation counter; incrementing it makes every later lookup reload catalogs.
extern "C" int _nl_msg_cat_cntr;

namespace {

struct TTranslationState {
  std::string Folder;
  std::vector<std::string> Domains;
  std::string Active;
  bool OriginalSaved = false;
  std::optional<std::string> OriginalLanguage;  // the process's LANGUAGE before we changed it
};

TTranslationState& State() {
  static TTranslationState state;
  return state;
}

void SaveOriginal() {
  TTranslationState& s = State();
  if (s.OriginalSaved) return;
  s.OriginalSaved = true;
  if (const char* v = std::getenv("LANGUAGE")) s.OriginalLanguage = v;
}

bool IsPlainCLocale(const char* name) {
  return name == nullptr || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0;
}

void FlushCatalogCache() { ++_nl_msg_cat_cntr; }

void Bind(const std::string& domain, const std::string& folder) {
  bindtextdomain(domain.c_str(), folder.c_str());
  bind_textdomain_codeset(domain.c_str(), "UTF-8");
  auto& domains = State().Domains;
  if (std::find(domains.begin(), domains.end(), domain) == domains.end()) domains.push_back(domain);
}

}  // namespace

std::string DomainText(const char* domain, const char* msgid) {
  // An empty msgid would return the catalog header.
  if (msgid == nullptr || *msgid == '\0') return std::string();
  return dgettext(domain, msgid);
}

std::string TranslateText(const char* msgid) { return DomainText(DefaultDomain, msgid); }
std::string DialogsText(const char* msgid) { return DomainText(DialogsDomain, msgid); }
std::string UnitsText(const char* msgid) { return DomainText(UnitsDomain, msgid); }

void InitTranslation(const std::string& localeFolder, const std::vector<std::string>& extraDomains) {
  State().Folder = localeFolder;
  State().Domains.clear();
  for (const char* d : {DefaultDomain, DialogsDomain, UnitsDomain}) Bind(d, localeFolder);
  for (const std::string& d : extraDomains)
    if (!d.empty()) Bind(d, localeFolder);
  textdomain(DefaultDomain);
  FlushCatalogCache();
}

void BindTranslationDomain(const std::string& domain, const std::string& localeFolder) {
  if (domain.empty()) return;
  Bind(domain, localeFolder);
  FlushCatalogCache();
}

const std::vector<std::string>& TranslationDomains() { return State().Domains; }
const std::string& TranslationFolder() { return State().Folder; }

void ActivateLanguage(const std::string& code) {
  SaveOriginal();
  TTranslationState& s = State();
  s.Active = code;
  if (code.empty()) {
    if (s.OriginalLanguage)
      setenv("LANGUAGE", s.OriginalLanguage->c_str(), 1);
    else
      unsetenv("LANGUAGE");
    std::setlocale(LC_MESSAGES, "");
  } else {
    setenv("LANGUAGE", code.c_str(), 1);
    if (IsPlainCLocale(std::setlocale(LC_MESSAGES, nullptr))) {
      if (std::setlocale(LC_MESSAGES, "C.UTF-8") == nullptr) std::setlocale(LC_MESSAGES, "C.utf8");
    }
  }
  FlushCatalogCache();
}

const std::string& ActiveLanguage() { return State().Active; }

void ReactivateLanguage() { ActivateLanguage(State().Active); }
