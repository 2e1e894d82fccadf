// What a panel or a tool window may ask of the main window besides the machine (which it reaches
// through the controller): show an address in the memory grid, and the dialogs the windows share.
#pragma once

class TCommandDialog;
class TValueDialog;

class TNavigator {
public:
  // Selects the address in the memory grid (nothing outside memory).
  virtual void ShowAddress(int Addr) = 0;
  virtual TValueDialog& ValueDialog() = 0;
  virtual TCommandDialog& CommandDialog() = 0;

protected:
  ~TNavigator() = default;
};
