// Absolute binary tapes built in the tests: words low byte first, checksums computed; punched
// labels and trailer texts as Data General's tapes carry them.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "PunchedLabel.h"

class TTape {
public:
  TTape& Nul(std::size_t count) {
    FBytes.append(count, '\0');
    return *this;
  }
  TTape& Words(std::initializer_list<std::uint16_t> words) {
    for (std::uint16_t w : words) Word(w);
    return *this;
  }
  TTape& Word(std::uint16_t w) {
    FBytes += static_cast<char>(w & 0xFF);
    FBytes += static_cast<char>(w >> 8);
    return *this;
  }
  // 1777xx (-n), address, checksum, n words
  TTape& Data(std::uint16_t address, std::vector<std::uint16_t> words) {
    const std::uint16_t count = static_cast<std::uint16_t>(0x10000 - words.size());
    std::uint16_t sum = static_cast<std::uint16_t>(count + address);
    for (std::uint16_t w : words) sum = static_cast<std::uint16_t>(sum + w);
    Words({count, address, static_cast<std::uint16_t>(-sum)});
    for (std::uint16_t w : words) Word(w);
    return *this;
  }
  // countWord (-n), address, checksum, the value (for n - 1 addresses)
  TTape& Repeat(std::uint16_t countWord, std::uint16_t address, std::uint16_t value) {
    return Words({countWord, address, static_cast<std::uint16_t>(-(countWord + address + value)), value});
  }
  TTape& Start(std::uint16_t address) {
    return Words({1, address, static_cast<std::uint16_t>(-(1 + address))});
  }
  // The text drawn in dots, one frame per column.
  TTape& Label(std::string_view text) {
    for (std::uint8_t f : tape::PunchLabel(text)) FBytes += static_cast<char>(f);
    return *this;
  }
  // The text with the top bit set where it makes the number of one bits even.
  TTape& EvenParity(std::string_view text) {
    for (char c : text) {
      const auto b = static_cast<std::uint8_t>(c & 0177);
      FBytes += static_cast<char>(__builtin_parity(b) ? b | 0200 : b);
    }
    return *this;
  }
  // Nul(128), the label, Nul(320): the head of a Data General tape.
  TTape& LabelledHead(std::string_view text) { return Nul(128).Label(text).Nul(320); }
  TTape& Bytes(const std::string& bytes) {
    FBytes += bytes;
    return *this;
  }
  const std::string& Str() const { return FBytes; }
  std::size_t Size() const { return FBytes.size(); }

private:
  std::string FBytes;
};
