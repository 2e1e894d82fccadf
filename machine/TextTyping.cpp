#include "TextTyping.h"

std::string TTextTyping::Keys(std::string_view text) {
  std::string keys;
  keys.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // the LF gives the CR
    keys.push_back(c == '\n' ? '\r' : c);
  }
  return keys;
}

void TTextTyping::Start(std::string_view text) {
  FKeys = Keys(text);
  FPos = 0;
  FTypist.Typed();
}

void TTextTyping::Cancel() {
  FKeys.clear();
  FPos = 0;
}

bool TTextTyping::Pump(bool Upcase) {
  if (!Active() || !FTypist.Check()) return false;
  FMachine.KeyPress(static_cast<unsigned char>(FKeys[FPos++]), Upcase);
  FTypist.Typed();
  return true;
}
