// A text typed on the teletype keyboard at the pace the program takes it: one key each time the
// typist sees the program waiting for one (see TTypist), so nothing typed is lost or overwritten.
// Line ends become carriage returns, as the Return key gives them.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "Typist.h"

class TTextTyping {
public:
  TTextTyping(TNovaMachine& Machine, const TPeripherals& Peripherals) : FMachine(Machine), FTypist(Machine, Peripherals) {}

  // The keys of a text: a line feed, and a carriage return followed by a line feed, become one
  // carriage return.
  static std::string Keys(std::string_view text);

  void Start(std::string_view text);
  void Cancel();
  bool Active() const { return FPos < FKeys.size(); }
  std::size_t Typed() const { return FPos; }
  std::size_t Total() const { return FKeys.size(); }

  // Called between two time slices of a run: types the next key when the program waits for one.
  // True when a key was typed.
  bool Pump(bool Upcase);

private:
  TNovaMachine& FMachine;
  TTypist FTypist;
  std::string FKeys;
  std::size_t FPos = 0;
};
