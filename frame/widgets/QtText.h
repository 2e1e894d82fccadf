// Qt side of the translation layer: gettext texts as QStrings, in the default domain, in the
// shared dialogs' domain "dialogs", or in any named domain. Safe formatting straight to a QString.
#pragma once
#include <QString>
#include <string>
#include <string_view>

#include "SafeFormat.h"

inline QString ToQString(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string FromQString(const QString& s) { return s.toStdString(); }

QString QtText(const char* msgid);                      // domain "default"
QString QtDialogsText(const char* msgid);               // domain "dialogs"
QString QtUnitsText(const char* msgid);                 // domain "units"
QString QtDomainText(const char* domain, const char* msgid);

// SafeFormat (never fails: a bad format gives "Format error: " and the format) as a QString.
// QString arguments are passed as UTF-8 texts.
template <class T>
decltype(auto) FormatArgFor(const T& v) {
  if constexpr (std::is_same_v<T, QString>)
    return v.toStdString();
  else
    return (v);
}

template <class... TArgs>
QString QSafeFormat(const QString& format, const TArgs&... args) {
  return ToQString(SafeFormat(format.toStdString(), FormatArgFor(args)...));
}
