// What a panel or a tool window may ask of the main window besides the machine (which it reaches
// through the controller): show an address in the memory grid, and the dialogs the windows share.
#pragma once
#include <QPoint>
#include <QString>

#include "NumberUtils.h"

class TCommandDialog;
class TSelectFromListDialog;
class TValueDialog;

class TNavigator {
public:
  // Selects the address in the memory grid (nothing outside memory).
  virtual void ShowAddress(int Addr) = 0;
  virtual TValueDialog& ValueDialog() = 0;
  virtual TCommandDialog& CommandDialog() = 0;
  virtual TSelectFromListDialog& ListDialog() = 0;
  // Asks for an address at the point, starting at Initial in the base Mode: the value dialog,
  // or, while symbols are loaded, a text field that takes a label too. False when cancelled or
  // not an address (the warning sound or the message given).
  virtual bool AskAddress(QPoint at, const QString& desc, TNumMode mode, int initial, int& addr) = 0;

protected:
  ~TNavigator() = default;
};
