#include "RangeText.h"

#include "QtText.h"

QString AddressOutOfRangeText(int Top, TNumMode Mode) {
  return QtText("Address out of range:\r\n0 .. ") + ToQString(FormatWord(Top, Mode));
}
