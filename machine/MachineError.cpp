#include "MachineError.h"

#include "SafeFormat.h"
#include "Translate.h"

std::string ErrorText(const TMachineError& Error, TErrorLayout Layout) {
  const char* const lineBreak = Layout == elBox ? "\r\n" : " ";
  switch (Error.Kind) {
    case ekNone: return std::string();
    case ekNotFound: return _("File not found:") + lineBreak + Error.File;
    case ekOpen: return _("Error opening file:") + lineBreak + Error.File;
    case ekRead: return SafeFormat(_("Cannot read file %s: %s"), Error.File, Error.System);
    case ekWrite: return SafeFormat(_("Cannot write file %s: %s"), Error.File, Error.System);
  }
  return std::string();
}
