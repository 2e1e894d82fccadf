#include "WarningSound.h"

#include "MessageBoxes.h"

namespace {

TWarningSoundHandler& Handler() {
  static TWarningSoundHandler handler;
  return handler;
}

}  // namespace

void WarningSound() {
  if (Handler()) Handler()();
  else WarningBeep();
}

TWarningSoundHandler SetWarningSoundHandler(TWarningSoundHandler handler) {
  TWarningSoundHandler previous = std::move(Handler());
  Handler() = std::move(handler);
  return previous;
}
