#include "Listing.h"

#include "NovaUtils.h"
#include "ReplacingFile.h"

std::string ListingLine(int Addr, TWord Data, TNumMode Base, int Columns, TNumMode DisasmBase) {
  std::string line;
  if (Columns & lcAddress) line += FormatWord(Addr, Base) + "  ";
  if (Columns & lcContents) line += FormatWord(Data, Base) + "  ";
  if (Columns & lcDisassembly) line += CommandToStr(Addr & nova::AddrMask, Data, DisasmBase, true);
  return line;
}

std::string ListingText(int First, int Last, TNumMode Base, int Columns, TNumMode DisasmBase,
                        const std::function<TWord(int)>& ReadWord) {
  std::string text;
  for (int a = First; a <= Last; ++a) {
    text += ListingLine(a, ReadWord(a & nova::AddrMask), Base, Columns, DisasmBase);
    text += "\r\n";
  }
  return text;
}

bool WriteListing(const std::string& Name, int First, int Last, TNumMode Base, int Columns,
                  TNumMode DisasmBase, const std::function<TWord(int)>& ReadWord, TMachineError& Error) {
  const std::string text = ListingText(First, Last, Base, Columns, DisasmBase, ReadWord);
  std::string sysError;
  if (!WriteFileReplacing(Name, text.data(), text.size(), sysError)) {
    Error = TMachineError{ekWrite, Name, sysError};
    return false;
  }
  return true;
}

bool WriteListing(const std::string& Name, int First, int Last, TNumMode Base, int Columns,
                  TNumMode DisasmBase, const std::function<TWord(int)>& ReadWord, std::string& Error) {
  TMachineError error;
  if (WriteListing(Name, First, Last, Base, Columns, DisasmBase, ReadWord, error)) return true;
  Error = ErrorText(error);
  return false;
}
