#include "WarningSound.h"

#include <QApplication>

namespace {

TWarningSoundHandler& Handler() {
  static TWarningSoundHandler handler;
  return handler;
}

}  // namespace

void WarningSound() {
  if (Handler()) Handler()();
  else QApplication::beep();
}

TWarningSoundHandler SetWarningSoundHandler(TWarningSoundHandler handler) {
  TWarningSoundHandler previous = std::move(Handler());
  Handler() = std::move(handler);
  return previous;
}
