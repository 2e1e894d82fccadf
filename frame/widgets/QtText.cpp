#include "QtText.h"

#include "Translate.h"

QString QtDomainText(const char* domain, const char* msgid) { return ToQString(DomainText(domain, msgid)); }
QString QtText(const char* msgid) { return QtDomainText(DefaultDomain, msgid); }
QString QtDialogsText(const char* msgid) { return QtDomainText(DialogsDomain, msgid); }
QString QtUnitsText(const char* msgid) { return QtDomainText(UnitsDomain, msgid); }
