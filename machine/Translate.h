// Translation of the machine core's user-visible texts (domain "default").
#pragma once
#include <libintl.h>

#include <initializer_list>
#include <string>

namespace machine_text {
inline const char* Tr(const char* msgid) { return dgettext("default", msgid); }
// Replaces the first "%s" of the translated pattern by each argument in turn.
std::string Format(const char* msgid, std::initializer_list<std::string> args);
}  // namespace machine_text
